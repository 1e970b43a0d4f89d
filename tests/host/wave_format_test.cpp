// The wave format of a recording for each row of the recording format table.
#include <gtest/gtest.h>

#include "model/wave_format.h"

namespace {

struct Expected {
    std::uint32_t rate;
    std::uint16_t bits;
    std::uint16_t channels;
    std::uint32_t bytesPerSecond;
    std::uint16_t blockAlign;
};

// Written out by hand for every row, so a row that drifts shows up by number.
const Expected kRows[17] = {
    {8000, 8, 1, 8000, 1},     {8000, 8, 2, 16000, 2},    {8000, 16, 1, 16000, 2},   {8000, 16, 2, 32000, 4},
    {11025, 8, 1, 11025, 1},   {11025, 8, 2, 22050, 2},   {11025, 16, 1, 22050, 2},  {11025, 16, 2, 44100, 4},
    {22050, 8, 1, 22050, 1},   {22050, 8, 2, 44100, 2},   {22050, 16, 1, 44100, 2},  {22050, 16, 2, 88200, 4},
    {44100, 8, 1, 44100, 1},   {44100, 8, 2, 88200, 2},   {44100, 16, 1, 88200, 2},  {44100, 16, 2, 176400, 4},
    {48000, 16, 2, 192000, 4},
};

}  // namespace

TEST(RecordingWaveFormat, EveryRowGivesPcmWithBytesPerSecondOfRateTimesBlockAlign)
{
    for (std::uint32_t row = 0; row < 17; ++row) {
        RecordingWaveFormat format = RecordingWaveFormatOf(row);
        const Expected& want = kRows[row];
        EXPECT_EQ(kWaveFormatPcm, format.formatTag) << "row " << row;
        EXPECT_EQ(want.rate, format.samplesPerSec) << "row " << row;
        EXPECT_EQ(want.bits, format.bitsPerSample) << "row " << row;
        EXPECT_EQ(want.channels, format.channels) << "row " << row;
        EXPECT_EQ(want.blockAlign, format.blockAlign) << "row " << row;
        EXPECT_EQ(want.bytesPerSecond, format.avgBytesPerSec) << "row " << row;
        EXPECT_EQ(format.samplesPerSec * format.blockAlign, format.avgBytesPerSec) << "row " << row;
    }
}

TEST(RecordingWaveFormat, TellingRows)
{
    RecordingWaveFormat standard = RecordingWaveFormatOf(10);
    EXPECT_EQ(22050u, standard.samplesPerSec);
    EXPECT_EQ(44100u, standard.avgBytesPerSec) << "the default row";
    EXPECT_EQ(2, standard.blockAlign);

    RecordingWaveFormat smallest = RecordingWaveFormatOf(0);
    EXPECT_EQ(8000u, smallest.avgBytesPerSec);
    EXPECT_EQ(1, smallest.blockAlign);

    RecordingWaveFormat largest = RecordingWaveFormatOf(16);
    EXPECT_EQ(4u * 48000u, largest.avgBytesPerSec);
    EXPECT_EQ(4, largest.blockAlign);
}

TEST(RecordingWaveFormat, AValueThatNamesNoRowRecordsInTheDefaultRow)
{
    for (std::uint32_t wavefmt : {17u, 18u, 255u, 0x80000000u, 0xFFFFFFFFu}) {
        RecordingWaveFormat format = RecordingWaveFormatOf(wavefmt);
        EXPECT_EQ(22050u, format.samplesPerSec) << "Wavefmt " << wavefmt;
        EXPECT_EQ(16, format.bitsPerSample) << "Wavefmt " << wavefmt;
        EXPECT_EQ(1, format.channels) << "Wavefmt " << wavefmt;
        EXPECT_EQ(44100u, format.avgBytesPerSec) << "Wavefmt " << wavefmt;
    }
}
