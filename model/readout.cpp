// The position read-outs of the three players.
#include "model/readout.h"

#include <cstdio>

#include "model/media_math.h"

std::uint32_t DisplayKey(int number, int minutes, int seconds)
{
    return static_cast<std::uint32_t>(number) % 256u + static_cast<std::uint32_t>(minutes) * 256u +
           static_cast<std::uint32_t>(seconds) * 65536u;
}

int FormatReadout(char* out, std::size_t size, int minutes, int seconds, const char* word, int number)
{
    return std::snprintf(out, size, "%02d:%02d %s %02d", minutes, seconds, word, number);
}

int FormatReadoutOfKey(std::uint32_t key, const char* word, char* out, std::size_t size)
{
    int n = FormatReadout(out, size, static_cast<int>(key >> 8 & 0xFF), static_cast<int>(key >> 16 & 0xFF), word,
                          static_cast<int>(key & 0xFF));
    return n < 0 ? 0 : n;
}

CdReadout CdReadoutOf(bool listed, bool gotPosition, std::uint32_t position, int current)
{
    if (!listed) return {current + 1, 0, 0, current};
    if (!gotPosition) return {1, 0, 0, 0};
    int track = static_cast<int>(TmsfTrack(position));
    return {track, static_cast<int>(TmsfMinute(position)), static_cast<int>(TmsfSecond(position)), track - 1};
}

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

std::uint32_t SoundDisplayKey(bool recording, bool positionKnown, std::uint32_t positionMs, int current)
{
    // Both players count minutes and seconds alike; only the number and the word differ.
    return MidiDisplayKey(positionKnown, positionMs, recording ? 0 : current);
}
