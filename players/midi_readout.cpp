// The MIDI panel's position read-out: its display key and its text.
#include "players/midi_readout.h"

#include <cstdio>

std::uint32_t MidiDisplayKey(bool positionKnown, std::uint32_t positionMs, int current)
{
    std::uint32_t minutes = 0;
    std::uint32_t seconds = 0;
    if (positionKnown) {
        std::uint32_t s = positionMs / 1000;
        // Past 255 minutes the minutes would spill into the seconds byte; they wrap instead.
        minutes = (s / 60) & 0xFF;
        seconds = s % 60;
    }
    std::uint32_t number = (static_cast<std::uint32_t>(current) + 1u) & 0xFF;
    return number | (minutes << 8) | (seconds << 16);
}

int FormatMidiReadout(std::uint32_t key, const char* word, char* out, std::size_t size)
{
    int n = std::snprintf(out, size, "%02u:%02u %s %02u", (key >> 8) & 0xFF, (key >> 16) & 0xFF, word,
                          key & 0xFF);
    return n < 0 ? 0 : n;
}
