// The MIDI panel's position read-out: its display key and its text.
#include "players/midi_readout.h"

#include "model/media_math.h"

std::uint32_t MidiDisplayKey(bool positionKnown, std::uint32_t positionMs, int current)
{
    int minutes = 0;
    int seconds = 0;
    if (positionKnown) {
        std::uint32_t s = positionMs / 1000;
        // Past 255 minutes the minutes would spill into the seconds byte; they wrap instead.
        minutes = static_cast<int>((s / 60) & 0xFF);
        seconds = static_cast<int>(s % 60);
    }
    int number = static_cast<int>((static_cast<std::uint32_t>(current) + 1u) & 0xFF);
    return DisplayKey(number, minutes, seconds);
}

int FormatMidiReadout(std::uint32_t key, const char* word, char* out, std::size_t size)
{
    int n = FormatReadout(out, size, static_cast<int>(key >> 8 & 0xFF), static_cast<int>(key >> 16 & 0xFF), word,
                          static_cast<int>(key & 0xFF));
    return n < 0 ? 0 : n;
}
