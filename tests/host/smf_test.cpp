// The test sequencer's reading of MIDI files: lengths through tempo changes, and refusals.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/drivers/sequencer/smf.h"
#include "tests/drivers/sequencer/smf_builder.h"

namespace {

bool Read(const Bytes& file, SmfInfo* info)
{
    return ReadSmf(file.data(), file.size(), info);
}

Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

TEST(SmfLength, FollowsTempoChangesAcrossTracks)
{
    SmfInfo info;
    ASSERT_TRUE(Read(MidiOfLength(2500), &info));
    EXPECT_EQ(2500u, info.lengthMs) << "one tick a millisecond";
    EXPECT_EQ(0, info.format);

    // No tempo event: 120 beats a minute. 960 ticks at 480 a quarter are one second.
    ASSERT_TRUE(Read(SmfFile(0, 480, {TrackChunk(EndOfTrack(960))}), &info));
    EXPECT_EQ(1000u, info.lengthMs) << "default tempo";

    // Format 1: the tempo track halves the speed after one quarter; the note track is longer.
    Bytes tempoTrack = Concat({TempoEvent(0, 500000), TempoEvent(480, 1000000), EndOfTrack(0)});
    Bytes noteTrack = Concat({Bytes{0x00, 0x90, 0x40, 0x40}, Bytes{0x87, 0x40, 0x80, 0x40, 0x00}, EndOfTrack(0)});
    ASSERT_TRUE(Read(SmfFile(1, 480, {TrackChunk(tempoTrack), TrackChunk(noteTrack)}), &info));
    EXPECT_EQ(500u + 1000u, info.lengthMs) << "480 ticks at 0.5 s, then 480 at 1 s";
    EXPECT_EQ(2, info.trackCount);

    // Format 2: independent sequences play one after the other.
    ASSERT_TRUE(Read(SmfFile(2, 480, {TrackChunk(EndOfTrack(480)), TrackChunk(Concat({TempoEvent(0, 250000),
                                                                                       EndOfTrack(480)}))}),
                     &info));
    EXPECT_EQ(500u + 250u, info.lengthMs);

    // SMPTE division: 25 frames of 40 ticks, one tick a millisecond.
    ASSERT_TRUE(Read(SmfFile(0, 0xE728, {TrackChunk(EndOfTrack(3000))}), &info));
    EXPECT_EQ(3000u, info.lengthMs) << "25 fps";
}

TEST(SmfLength, ReadsRunningStatusSysexAndForeignChunks)
{
    // Running status (note on, then data bytes only), a program change with one data byte,
    // a sysex, a text meta event and a chunk of an unknown kind before the track.
    Bytes body = Concat({Bytes{0x00, 0x90, 0x3C, 0x40, 0x83, 0x60, 0x3C, 0x00, 0x00, 0xC1, 0x05},
                         Bytes{0x00, 0xF0, 0x03, 0x7E, 0x7F, 0xF7, 0x00, 0xFF, 0x01, 0x02, 'h', 'i'}, EndOfTrack(480)});
    Bytes alien{'X', 'Y', 'Z', 'W', 0, 0, 0, 2, 1, 2};
    Bytes file = SmfFile(0, 480, {});
    file[11] = 1;
    file = Concat({file, alien, TrackChunk(body)});
    SmfInfo info;
    ASSERT_TRUE(Read(file, &info));
    EXPECT_EQ(1000u, info.lengthMs);

    // The same song wrapped in a RIFF RMID form.
    Bytes smf = MidiOfLength(1234);
    auto le = [](std::uint32_t v) {
        return Bytes{static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                     static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
    };
    Bytes rmid = Concat({Bytes{'R', 'I', 'F', 'F'}, le(static_cast<std::uint32_t>(smf.size() + 12)),
                         Bytes{'R', 'M', 'I', 'D', 'd', 'a', 't', 'a'}, le(static_cast<std::uint32_t>(smf.size())), smf});
    ASSERT_TRUE(Read(rmid, &info)) << "RMID";
    EXPECT_EQ(1234u, info.lengthMs);
}

TEST(SmfLength, RefusesWhatIsNotAMidiFile)
{
    SmfInfo info;
    const char text[] = "This is a text file, not music.\r\n";
    EXPECT_FALSE(ReadSmf(reinterpret_cast<const unsigned char*>(text), std::strlen(text), &info)) << "text";
    EXPECT_FALSE(ReadSmf(nullptr, 0, &info)) << "empty file";

    Bytes good = MidiOfLength(1000);
    for (std::size_t cut : {std::size_t{4}, std::size_t{13}, std::size_t{20}, good.size() - 5}) {
        Bytes truncated(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut));
        EXPECT_FALSE(Read(truncated, &info)) << "cut at " << cut;
    }
    Bytes noTracks = SmfFile(0, 480, {});
    EXPECT_FALSE(Read(noTracks, &info)) << "no track";
    EXPECT_FALSE(Read(SmfFile(3, 480, {TrackChunk(EndOfTrack(0))}), &info)) << "format 3";
    EXPECT_FALSE(Read(SmfFile(0, 0, {TrackChunk(EndOfTrack(0))}), &info)) << "division 0";
    EXPECT_FALSE(Read(SmfFile(0, 480, {TrackChunk(Bytes{0x00, 0x3C, 0x40})}), &info)) << "data without status";
    EXPECT_FALSE(Read(SmfFile(0, 480, {TrackChunk(Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0x7F})}), &info))
        << "delta time longer than four bytes";
    Bytes wave{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'};
    EXPECT_FALSE(Read(wave, &info)) << "wave file";
}

}  // namespace
