// Position arithmetic of the players: packed CD positions, skip targets, entry steps and track labels.
#pragma once

#include <cstddef>
#include <cstdint>

// A CD position packed as MCI packs TMSF: track in the low byte, then minutes, seconds, frames.
constexpr std::uint32_t MakeTmsf(unsigned track, unsigned minutes, unsigned seconds, unsigned frames)
{
    return (track & 0xFFu) | (minutes & 0xFFu) << 8 | (seconds & 0xFFu) << 16 | (frames & 0xFFu) << 24;
}
constexpr unsigned TmsfTrack(std::uint32_t tmsf)  { return tmsf & 0xFFu; }
constexpr unsigned TmsfMinute(std::uint32_t tmsf) { return tmsf >> 8 & 0xFFu; }
constexpr unsigned TmsfSecond(std::uint32_t tmsf) { return tmsf >> 16 & 0xFFu; }
constexpr unsigned TmsfFrame(std::uint32_t tmsf)  { return tmsf >> 24 & 0xFFu; }

// Where a skip lands; `seek` is false when there is nowhere to go.
struct SkipTarget {
    bool seek;
    std::uint32_t target;
};

// Ten seconds back within the track; at 0:00 of a track there is nowhere to go.
SkipTarget CdSkipBackwardTarget(std::uint32_t position);
// Ten seconds forward within the track's numbering; the track's length is not looked at.
std::uint32_t CdSkipForwardTarget(std::uint32_t position);
// One second back (never below 0) and forward (unbounded), in milliseconds.
std::uint32_t MsSkipBackwardTarget(std::uint32_t position);
std::uint32_t MsSkipForwardTarget(std::uint32_t position);

// The start of the track that a position lies in, and the start of the track of a 0-based entry.
std::uint32_t CdTrackStartOf(std::uint32_t position);
std::uint32_t CdEntryStart(int index);

// Next and previous entry with wrapping; previous on an empty list gives -1.
int NextEntryIndex(int current, int count);
int PreviousEntryIndex(int current, int count);

// "Track 3": the label of a CD track entry.
int FormatTrackLabel(char* out, std::size_t size, const char* word, int number);
