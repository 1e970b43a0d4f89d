// Which skin bitmap a panel background and each button face uses, by colour depth and state.
#pragma once

#include <array>
#include <cstdint>

#include "model/config.h"
#include "model/hot_spots.h"
#include "model/player_device.h"
#include "resources/resource.h"

// The condition under which a button shows its alternative normal face.
enum FaceCondition : int {
    FACE_NO_ALTERNATIVE,
    FACE_CD_SHOWN,       // CFG_CD set
    FACE_MIDI_SHOWN,     // CFG_MIDI set
    FACE_SOUND_SHOWN,    // CFG_SOUND set
    FACE_RECORDING,      // the sound device has MDF_NEWRECORDING
    FACE_DISC_PRESENT,   // an audio disc is in the CD drive
    FACE_MIDI_ENTRIES,   // the MIDI playlist is not empty
    FACE_SOUND_ENTRIES,  // the sound playlist is not empty
    FACE_PLAYING,        // the drawn panel's player plays
    FACE_TRUE_COLOR,     // the display takes the true-colour art
};

// One button's faces. A row for PANEL_NONE serves every panel; pressed 0 means the pressed button
// shows its normal face.
struct SkinFace {
    std::int32_t controlId;
    PanelKind panel;
    std::int32_t normal;
    std::int32_t alternative;
    FaceCondition condition;
    std::int32_t pressed;
};

inline constexpr std::array<SkinFace, 21> SkinFaces{{
    {IDC_CD, PANEL_NONE, IDB_CD, IDB_CD_ON, FACE_CD_SHOWN, IDB_CD_DOWN},
    {IDC_MIDI, PANEL_NONE, IDB_MIDI, IDB_MIDI_ON, FACE_MIDI_SHOWN, IDB_MIDI_DOWN},
    {IDC_SOUND, PANEL_NONE, IDB_SOUND, IDB_SOUND_ON, FACE_SOUND_SHOWN, IDB_SOUND_DOWN},
    {IDC_MIXER, PANEL_NONE, IDB_MIXER, 0, FACE_NO_ALTERNATIVE, IDB_MIXER_DOWN},
    {IDC_POWER, PANEL_NONE, IDB_POWER, 0, FACE_NO_ALTERNATIVE, IDB_POWER_DOWN},
    {IDC_NEXT, PANEL_NONE, IDB_NEXT, 0, FACE_NO_ALTERNATIVE, IDB_NEXT_DOWN},
    {IDC_RECORD, PANEL_NONE, IDB_RECORD, IDB_RECORD_ON, FACE_RECORDING, IDB_RECORD_DOWN},
    {IDC_STOP, PANEL_NONE, IDB_STOP, 0, FACE_NO_ALTERNATIVE, IDB_STOP_DOWN},
    {IDC_PAUSE, PANEL_NONE, IDB_PAUSE, 0, FACE_NO_ALTERNATIVE, IDB_PAUSE_DOWN},
    {IDC_FORWARD, PANEL_NONE, IDB_FORWARD, 0, FACE_NO_ALTERNATIVE, IDB_FORWARD_DOWN},
    {IDC_REWIND, PANEL_NONE, IDB_REWIND, 0, FACE_NO_ALTERNATIVE, IDB_REWIND_DOWN},
    {IDC_BACK, PANEL_NONE, IDB_BACK, 0, FACE_NO_ALTERNATIVE, IDB_BACK_DOWN},
    {IDC_PLAYLIST, PANEL_CD, IDB_CDLIST, IDB_CDLIST_ON, FACE_DISC_PRESENT, IDB_CDLIST_DOWN},
    {IDC_PLAYLIST, PANEL_MIDI, IDB_MIDILIST, IDB_MIDILIST_ON, FACE_MIDI_ENTRIES, IDB_MIDILIST_DOWN},
    {IDC_PLAYLIST, PANEL_SOUND, IDB_SOUNDLIST, IDB_SOUNDLIST_ON, FACE_SOUND_ENTRIES, IDB_SOUNDLIST_DOWN},
    {IDC_EJECT, PANEL_NONE, IDB_EJECT, 0, FACE_NO_ALTERNATIVE, IDB_EJECT_DOWN},
    {IDC_MINIMIZE, PANEL_NONE, IDB_MINIMIZE, 0, FACE_NO_ALTERNATIVE, IDB_MINIMIZE_DOWN},
    {IDC_PROPERTIES, PANEL_NONE, IDB_PROPERTIES, 0, FACE_NO_ALTERNATIVE, IDB_PROPERTIES_DOWN},
    {IDC_PLAY, PANEL_NONE, IDB_PLAY, IDB_PLAY_ON, FACE_PLAYING, IDB_PLAY_DOWN},
    {IDC_BANNER, PANEL_NONE, IDB_BANNER_8, IDB_BANNER_24, FACE_TRUE_COLOR, 0},
}};

// The facts the face conditions read; the Win32 side fills in what a face needs.
struct SkinState {
    std::uint32_t config = 0;
    bool trueColor = false;
    bool recording = false;
    bool discPresent = false;
    int midiEntries = 0;
    int soundEntries = 0;
    bool playing = false;  // the player of the panel being drawn
};

// A player counts as playing only when its own play state says playing and MCI reports the
// device's mode as playing; paused or stopped modes never count.
bool PlayerCountsAsPlaying(int playState, std::uint32_t mciMode);

// The faces of a control on a panel, or nullptr when it has none (nothing is drawn).
const SkinFace* FindSkinFace(int controlId, PanelKind panel);

// Whether a pressed button needs the state at all (only a button without a pressed face does).
bool PressedFaceNeedsState(const SkinFace& face);

bool FaceConditionHolds(FaceCondition condition, const SkinState& state);

// The bitmap id to draw: pressed face, alternative face or normal face.
int ChooseFaceBitmap(const SkinFace& face, bool pressed, const SkinState& state);

// The face of a control, 0 when nothing is drawn.
int SkinFaceFor(int controlId, PanelKind panel, bool pressed, const SkinState& state);

// Panel backgrounds: one row per panel template; unknown templates use the banner's row.
struct SkinBackground {
    std::int32_t templateId;
    std::int32_t bitmap8;   // 256-colour art
    std::int32_t bitmap24;  // true-colour art
    std::int32_t rows;      // rows copied onto the panel
};

inline constexpr std::array<SkinBackground, 4> SkinBackgrounds{{
    {IDD_MAINPANEL, IDB_MAIN_8, IDB_MAIN_24, 72},
    {IDD_CDPANEL, IDB_CD_8, IDB_CD_24, 98},
    {IDD_MIDIPANEL, IDB_MIDI_8, IDB_MIDI_24, 98},
    {IDD_SOUNDPANEL, IDB_SOUND_8, IDB_SOUND_24, 98},
}};

constexpr int kBackgroundCopyWidth = 402;

struct BackgroundChoice {
    int bitmap;
    int rows;
};

BackgroundChoice ChooseBackground(int templateId, bool trueColor);
