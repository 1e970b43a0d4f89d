// A player's device as the program keeps it: its MCI type and id, its flags and its playlist; and
// the play states and device modes that the rest of the program reads.
#pragma once

#include <cstdint>

#include "model/playlist.h"

enum MediaDeviceFlags : std::uint32_t {
    MDF_OPEN         = 0x1,
    MDF_LOOP         = 0x2,
    MDF_NEWRECORDING = 0x8,
};

// The program's own idea of what a device type is doing; MCI's mode is asked separately.
enum PlayState : int { PLAYSTATE_STOPPED = 0, PLAYSTATE_PLAYING = 1, PLAYSTATE_PAUSED = 2 };

// The mode MCI reports for a playing device (MCI_MODE_PLAY).
constexpr std::uint32_t kMciModePlay = 526;

struct MediaDevice {
    std::uint32_t deviceType = 0;  // MCI_DEVTYPE_CD_AUDIO, _SEQUENCER or _WAVEFORM_AUDIO
    std::uint32_t deviceId = 0;    // 0 while closed
    std::uint32_t flags = 0;
    Playlist playlist;
};
