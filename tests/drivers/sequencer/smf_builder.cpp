// Small Standard MIDI Files made by the tests themselves.
#include "tests/drivers/sequencer/smf_builder.h"

void PutVlq(Bytes* out, std::uint32_t value)
{
    unsigned char groups[5];
    int n = 0;
    do {
        groups[n++] = value & 0x7F;
        value >>= 7;
    } while (value);
    while (n > 1) out->push_back(groups[--n] | 0x80);
    out->push_back(groups[0]);
}

Bytes TempoEvent(std::uint32_t delta, std::uint32_t tempo)
{
    Bytes e;
    PutVlq(&e, delta);
    e.insert(e.end(), {0xFF, 0x51, 0x03, static_cast<unsigned char>(tempo >> 16),
                       static_cast<unsigned char>(tempo >> 8), static_cast<unsigned char>(tempo)});
    return e;
}

Bytes EndOfTrack(std::uint32_t delta)
{
    Bytes e;
    PutVlq(&e, delta);
    e.insert(e.end(), {0xFF, 0x2F, 0x00});
    return e;
}

Bytes TrackChunk(const Bytes& body)
{
    Bytes c{'M', 'T', 'r', 'k'};
    std::uint32_t n = static_cast<std::uint32_t>(body.size());
    c.insert(c.end(), {static_cast<unsigned char>(n >> 24), static_cast<unsigned char>(n >> 16),
                       static_cast<unsigned char>(n >> 8), static_cast<unsigned char>(n)});
    c.insert(c.end(), body.begin(), body.end());
    return c;
}

Bytes SmfFile(int format, unsigned division, std::initializer_list<Bytes> tracks)
{
    Bytes f{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, static_cast<unsigned char>(format), 0,
            static_cast<unsigned char>(tracks.size()), static_cast<unsigned char>(division >> 8),
            static_cast<unsigned char>(division)};
    for (const Bytes& t : tracks) f.insert(f.end(), t.begin(), t.end());
    return f;
}

// 480 ticks to the quarter note at 480000 microseconds per quarter: one tick is one millisecond.
Bytes MidiOfLength(std::uint32_t lengthMs)
{
    Bytes body = TempoEvent(0, 480000);
    body.insert(body.end(), {0x00, 0xC0, 0x00, 0x00, 0x90, 0x3C, 0x64});
    PutVlq(&body, lengthMs);
    body.insert(body.end(), {0x80, 0x3C, 0x40});
    Bytes end = EndOfTrack(0);
    body.insert(body.end(), end.begin(), end.end());
    return SmfFile(0, 480, {TrackChunk(body)});
}
