// Position arithmetic of the players.
#include "model/media_math.h"

#include <cstdio>

SkipTarget CdSkipBackwardTarget(std::uint32_t position)
{
    unsigned track = TmsfTrack(position);
    unsigned minutes = TmsfMinute(position);
    unsigned seconds = TmsfSecond(position);
    if (minutes == 0 && seconds == 0) return {false, 0};
    if (seconds >= 10) {
        seconds -= 10;
    } else if (minutes > 0) {
        minutes -= 1;
        seconds += 50;
    } else {
        seconds = 0;
    }
    return {true, MakeTmsf(track, minutes, seconds, 0)};
}

std::uint32_t CdSkipForwardTarget(std::uint32_t position)
{
    unsigned minutes = TmsfMinute(position);
    unsigned seconds = TmsfSecond(position) + 10;
    if (seconds >= 60) {
        seconds -= 60;
        minutes += 1;
    }
    return MakeTmsf(TmsfTrack(position), minutes, seconds, 0);
}

std::uint32_t MsSkipBackwardTarget(std::uint32_t position)
{
    return position < 1000 ? 0 : position - 1000;
}

std::uint32_t MsSkipForwardTarget(std::uint32_t position)
{
    return position + 1000;
}

std::uint32_t CdTrackStartOf(std::uint32_t position)
{
    return MakeTmsf(TmsfTrack(position), 0, 0, 0);
}

std::uint32_t CdEntryStart(int index)
{
    return MakeTmsf(static_cast<unsigned>(index + 1), 0, 0, 0);
}

int NextEntryIndex(int current, int count)
{
    int next = current + 1;
    return next < count ? next : 0;
}

int PreviousEntryIndex(int current, int count)
{
    int previous = current - 1;
    return previous < 0 ? count - 1 : previous;
}

int FormatTrackLabel(char* out, std::size_t size, const char* word, int number)
{
    return std::snprintf(out, size, "%s %d", word, number);
}
