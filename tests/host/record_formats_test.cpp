// The recording formats: the rows the registry's Wavefmt refers to and their combo-box texts.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <tuple>

#include "model/record_formats.h"

namespace {

std::string TextOf(std::size_t row)
{
    char text[kRecordFormatTextSize];
    EXPECT_TRUE(FormatRecordFormatText(RecordFormatTable[row], text, sizeof(text))) << "row " << row;
    return text;
}

}  // namespace

TEST(RecordFormats, EveryRowHasItsComboText)
{
    const char* expected[] = {
        "8 KHz, 8-Bit, Mono",    "8 KHz, 8-Bit, Stereo",   "8 KHz, 16-Bit, Mono",    "8 KHz, 16-Bit, Stereo",
        "11 KHz, 8-Bit, Mono",   "11 KHz, 8-Bit, Stereo",  "11 KHz, 16-Bit, Mono",   "11 KHz, 16-Bit, Stereo",
        "22 KHz, 8-Bit, Mono",   "22 KHz, 8-Bit, Stereo",  "22 KHz, 16-Bit, Mono",   "22 KHz, 16-Bit, Stereo",
        "44 KHz, 8-Bit, Mono",   "44 KHz, 8-Bit, Stereo",  "44 KHz, 16-Bit, Mono",   "44 KHz, 16-Bit, Stereo",
        "48 KHz, 16-Bit, Stereo",
    };
    ASSERT_EQ(std::size(expected), RecordFormatTable.size());
    for (std::size_t row = 0; row < RecordFormatTable.size(); ++row)
        EXPECT_EQ(expected[row], TextOf(row)) << "row " << row;
}

// Rows 0 to 15 walk rate, then bits, then channels; row 16 is the only 48 kHz format.
TEST(RecordFormats, RowsFollowRateBitsChannelsOrder)
{
    const std::uint32_t rates[] = {8000, 11025, 22050, 44100};
    std::size_t row = 0;
    for (std::uint32_t rate : rates)
        for (std::uint32_t bits : {8u, 16u})
            for (std::uint32_t channels : {1u, 2u}) {
                const RecordFormat& f = RecordFormatTable[row];
                EXPECT_EQ(std::make_tuple(rate, bits, channels),
                          std::make_tuple(f.samplesPerSec, f.bitsPerSample, f.channels))
                    << "row " << row;
                ++row;
            }
    const RecordFormat& last = RecordFormatTable[16];
    EXPECT_EQ(std::make_tuple(48000u, 16u, 2u), std::make_tuple(last.samplesPerSec, last.bitsPerSample, last.channels));

    std::set<std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>> distinct;
    for (const RecordFormat& f : RecordFormatTable) distinct.insert({f.samplesPerSec, f.bitsPerSample, f.channels});
    EXPECT_EQ(RecordFormatTable.size(), distinct.size()) << "a format appears twice";
}

TEST(RecordFormats, DefaultRowIsTwentyTwoKilohertzSixteenBitMono)
{
    EXPECT_EQ("22 KHz, 16-Bit, Mono", TextOf(10));
}

TEST(RecordFormats, OnlyTableRowsAreFormats)
{
    EXPECT_TRUE(IsRecordFormatRow(0));
    EXPECT_TRUE(IsRecordFormatRow(16));
    EXPECT_FALSE(IsRecordFormatRow(17));
    EXPECT_FALSE(IsRecordFormatRow(0xFFFFFFFFu));
}

// A buffer too small gets an empty text, never a cut or overrun one.
TEST(RecordFormats, TextRefusesASmallBuffer)
{
    char text[16];
    std::memset(text, 'x', sizeof(text));
    EXPECT_FALSE(FormatRecordFormatText(RecordFormatTable[16], text, 10));
    EXPECT_STREQ("", text);
    EXPECT_EQ('x', text[10]) << "wrote past the given size";

    const std::size_t exact = std::strlen("48 KHz, 16-Bit, Stereo") + 1;
    char fits[32];
    EXPECT_TRUE(FormatRecordFormatText(RecordFormatTable[16], fits, exact));
    EXPECT_STREQ("48 KHz, 16-Bit, Stereo", fits);
    EXPECT_FALSE(FormatRecordFormatText(RecordFormatTable[16], fits, exact - 1));
    EXPECT_FALSE(FormatRecordFormatText(RecordFormatTable[16], fits, 0));
}
