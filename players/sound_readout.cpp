// The Sound panel's position read-out key.
#include "players/sound_readout.h"

#include "players/midi_readout.h"

std::uint32_t SoundDisplayKey(bool recording, bool positionKnown, std::uint32_t positionMs, int current)
{
    // Both players count minutes and seconds alike; only the number and the word differ.
    return MidiDisplayKey(positionKnown, positionMs, recording ? 0 : current);
}
