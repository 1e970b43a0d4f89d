// Reading a Standard MIDI File: header, tracks, tempo changes, length in milliseconds.
#include "tests/drivers/sequencer/smf.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr std::uint32_t kDefaultTempo = 500000;  // microseconds per quarter note: 120 beats a minute

struct Reader {
    const unsigned char* p;
    const unsigned char* end;

    bool Has(std::size_t n) const { return static_cast<std::size_t>(end - p) >= n; }
    bool Byte(unsigned* v)
    {
        if (!Has(1)) return false;
        *v = *p++;
        return true;
    }
    bool Be(std::size_t n, std::uint32_t* v)
    {
        if (!Has(n)) return false;
        *v = 0;
        for (std::size_t i = 0; i < n; ++i) *v = (*v << 8) | *p++;
        return true;
    }
    bool Skip(std::uint32_t n)
    {
        if (!Has(n)) return false;
        p += n;
        return true;
    }
    // A variable-length quantity has at most four bytes.
    bool Vlq(std::uint32_t* v)
    {
        *v = 0;
        for (int i = 0; i < 4; ++i) {
            unsigned b;
            if (!Byte(&b)) return false;
            *v = (*v << 7) | (b & 0x7F);
            if (!(b & 0x80)) return true;
        }
        return false;
    }
};

struct TempoChange {
    std::uint64_t tick;
    std::uint32_t tempo;
};

struct Track {
    std::uint64_t endTick = 0;
    std::vector<TempoChange> tempos;
};

bool ReadTrack(Reader r, Track* track)
{
    std::uint64_t tick = 0;
    unsigned running = 0;
    while (r.Has(1)) {
        std::uint32_t delta;
        if (!r.Vlq(&delta)) return false;
        tick += delta;
        unsigned status;
        if (!r.Byte(&status)) return false;
        if (status == 0xFF) {
            unsigned type;
            std::uint32_t length;
            if (!r.Byte(&type) || !r.Vlq(&length) || !r.Has(length)) return false;
            if (type == 0x51 && length == 3) {
                std::uint32_t tempo = (std::uint32_t{r.p[0]} << 16) | (std::uint32_t{r.p[1]} << 8) | r.p[2];
                if (tempo == 0) return false;
                track->tempos.push_back({tick, tempo});
            }
            r.Skip(length);
            running = 0;
            if (type == 0x2F) {
                track->endTick = tick;
                return true;
            }
        } else if (status == 0xF0 || status == 0xF7) {
            std::uint32_t length;
            if (!r.Vlq(&length) || !r.Skip(length)) return false;
            running = 0;
        } else if (status >= 0xF1) {
            return false;  // system common and real-time messages do not belong in a file
        } else {
            unsigned dataBytes;
            if (status & 0x80) {
                running = status;
                dataBytes = ((status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0) ? 1 : 2;
            } else {
                if (!running) return false;  // a data byte with no status to run on
                dataBytes = ((running & 0xF0) == 0xC0 || (running & 0xF0) == 0xD0) ? 0 : 1;
            }
            if (!r.Skip(dataBytes)) return false;
        }
        track->endTick = tick;
    }
    return true;  // a track without its end marker ends at its last event
}

// Microseconds from tick 0 to a tick, through a tempo map sorted by tick.
std::uint64_t TicksToMicroseconds(std::uint64_t ticks, const std::vector<TempoChange>& tempos, unsigned division)
{
    std::uint64_t scaled = 0;  // sum of ticks x tempo, divided by the division once at the end
    std::uint64_t at = 0;
    std::uint32_t tempo = kDefaultTempo;
    for (const TempoChange& change : tempos) {
        if (change.tick >= ticks) break;
        scaled += (change.tick - at) * tempo;
        at = change.tick;
        tempo = change.tempo;
    }
    scaled += (ticks - at) * tempo;
    return scaled / division;
}

// SMPTE division: frames per second in the high byte (as a negative number), ticks per frame below.
std::uint64_t SmpteTicksToMicroseconds(std::uint64_t ticks, unsigned division)
{
    unsigned fps = 256 - (division >> 8);
    unsigned perFrame = division & 0xFF;
    if (fps == 29) return ticks * 1000000ull * 1001ull / (30000ull * perFrame);  // 29.97 drop-frame
    return ticks * 1000000ull / (static_cast<std::uint64_t>(fps) * perFrame);
}

bool FindRmidData(Reader* r)
{
    if (!r->Has(12) || std::memcmp(r->p, "RIFF", 4) != 0 || std::memcmp(r->p + 8, "RMID", 4) != 0) return true;
    r->p += 12;
    while (r->Has(8)) {
        bool isData = std::memcmp(r->p, "data", 4) == 0;
        std::uint32_t size = r->p[4] | (r->p[5] << 8) | (r->p[6] << 16) | (std::uint32_t{r->p[7]} << 24);
        r->p += 8;
        if (!r->Has(size)) return false;
        if (isData) {
            r->end = r->p + size;
            return true;
        }
        r->p += size + (size & 1);
    }
    return false;
}

}  // namespace

bool ReadSmf(const unsigned char* data, std::size_t size, SmfInfo* info)
{
    Reader r{data, data + size};
    if (!FindRmidData(&r)) return false;
    std::uint32_t headerLength, format, trackCount, division;
    if (!r.Has(8) || std::memcmp(r.p, "MThd", 4) != 0) return false;
    r.p += 4;
    if (!r.Be(4, &headerLength) || headerLength < 6 || !r.Has(headerLength)) return false;
    Reader header{r.p, r.p + headerLength};
    r.p += headerLength;
    header.Be(2, &format);
    header.Be(2, &trackCount);
    header.Be(2, &division);
    if (format > 2 || trackCount == 0 || (division & 0x7FFF) == 0) return false;
    bool smpte = (division & 0x8000) != 0;
    if (smpte && (division & 0xFF) == 0) return false;

    std::vector<Track> tracks;
    while (r.Has(8) && tracks.size() < trackCount) {
        bool isTrack = std::memcmp(r.p, "MTrk", 4) == 0;
        r.p += 4;
        std::uint32_t length;
        r.Be(4, &length);
        if (!r.Has(length)) return false;
        Reader body{r.p, r.p + length};
        r.p += length;
        if (!isTrack) continue;  // other chunks are skipped, as readers must
        Track track;
        if (!ReadTrack(body, &track)) return false;
        tracks.push_back(std::move(track));
    }
    if (tracks.empty()) return false;

    std::uint64_t microseconds = 0;
    if (smpte) {
        for (const Track& t : tracks)
            microseconds = format == 2 ? microseconds + SmpteTicksToMicroseconds(t.endTick, division)
                                       : std::max(microseconds, SmpteTicksToMicroseconds(t.endTick, division));
    } else if (format == 2) {
        // Independent sequences, one after the other, each with its own tempo changes.
        for (Track& t : tracks) {
            std::stable_sort(t.tempos.begin(), t.tempos.end(),
                             [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
            microseconds += TicksToMicroseconds(t.endTick, t.tempos, division);
        }
    } else {
        // One tempo map for all tracks, wherever its changes were written.
        std::vector<TempoChange> tempos;
        std::uint64_t endTick = 0;
        for (const Track& t : tracks) {
            tempos.insert(tempos.end(), t.tempos.begin(), t.tempos.end());
            endTick = std::max(endTick, t.endTick);
        }
        std::stable_sort(tempos.begin(), tempos.end(),
                         [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
        microseconds = TicksToMicroseconds(endTick, tempos, division);
    }
    std::uint64_t ms = microseconds / 1000;
    info->format = static_cast<int>(format);
    info->trackCount = static_cast<int>(tracks.size());
    info->lengthMs = ms > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<std::uint32_t>(ms);
    return true;
}
