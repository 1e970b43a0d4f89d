// The MIDI read-out: its key from position and entry, and the text drawn from a key.
#include <gtest/gtest.h>

#include <string>

#include "model/readout.h"

namespace {

std::string Readout(std::uint32_t key, const char* word = "Music")
{
    char text[64];
    FormatReadoutOfKey(key, word, text, sizeof text);
    return text;
}

TEST(MidiReadout, KeyPacksNumberMinutesSeconds)
{
    EXPECT_EQ(kInitialMidiDisplayKey, MidiDisplayKey(false, 0, 0)) << "closed device, first entry";
    EXPECT_EQ("00:00 Music 01", Readout(kInitialMidiDisplayKey));
    EXPECT_EQ("00:00 Music 01", Readout(MidiDisplayKey(true, 999, 0))) << "below one second";
    EXPECT_EQ("01:05 Music 03", Readout(MidiDisplayKey(true, 65999, 2)));
    EXPECT_EQ("00:00 Music 03", Readout(MidiDisplayKey(false, 65999, 2))) << "a failed query shows zero time";
    EXPECT_NE(MidiDisplayKey(true, 1000, 0), MidiDisplayKey(true, 0, 0)) << "each second changes the key";
}

TEST(MidiReadout, NumberCountsModulo256WithTwoDigits)
{
    EXPECT_EQ("00:00 Music 00", Readout(MidiDisplayKey(false, 0, -1))) << "no current entry";
    EXPECT_EQ("00:00 Music 100", Readout(MidiDisplayKey(false, 0, 99)));
    EXPECT_EQ("00:00 Music 255", Readout(MidiDisplayKey(false, 0, 254)));
    EXPECT_EQ("00:00 Music 00", Readout(MidiDisplayKey(false, 0, 255)));
    EXPECT_EQ("00:00 Music 01", Readout(MidiDisplayKey(false, 0, 256)));
    EXPECT_EQ("00:00 Music 00", Readout(MidiDisplayKey(false, 0, 2147483647))) << "largest index";
}

TEST(MidiReadout, LongPositionsKeepSecondsInTheirByte)
{
    // 256 minutes and 7 seconds: the minutes wrap, the seconds stay right.
    std::uint32_t ms = (256u * 60u + 7u) * 1000u;
    EXPECT_EQ("00:07 Music 01", Readout(MidiDisplayKey(true, ms, 0)));
    EXPECT_EQ("255:59 Music 01", Readout(MidiDisplayKey(true, (255u * 60u + 59u) * 1000u, 0)));
}

TEST(MidiReadout, WordComesFromTheCaller)
{
    EXPECT_EQ("02:03 Musik 04", Readout(MidiDisplayKey(true, 123000, 3), "Musik"));
    EXPECT_EQ("00:00 \xe9\x9f\xb3\xe6\xa8\x82 01", Readout(1, "\xe9\x9f\xb3\xe6\xa8\x82")) << "bytes pass through";
}

}  // namespace
