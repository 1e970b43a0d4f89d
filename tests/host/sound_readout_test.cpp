// The Sound read-out key: the entry number while playing, 01 while a recording is made or reviewed.
#include <gtest/gtest.h>

#include <string>

#include "model/readout.h"

namespace {

std::string Readout(std::uint32_t key, const char* word)
{
    char text[64];
    FormatReadoutOfKey(key, word, text, sizeof text);
    return text;
}

}  // namespace

TEST(SoundReadout, PlayingShowsTheCurrentEntry)
{
    EXPECT_EQ(kInitialSoundDisplayKey, SoundDisplayKey(false, false, 0, 0));
    EXPECT_EQ("00:00 Sound 01", Readout(kInitialSoundDisplayKey, "Sound"));
    EXPECT_EQ("01:05 Sound 03", Readout(SoundDisplayKey(false, true, 65999, 2), "Sound"));
    EXPECT_EQ("00:00 Sound 03", Readout(SoundDisplayKey(false, false, 65999, 2), "Sound")) << "position unknown";
}

TEST(SoundReadout, RecordingShowsNumberOneAndTheRecordedLength)
{
    EXPECT_EQ("00:00 Record 01", Readout(SoundDisplayKey(true, false, 0, 4), "Record"));
    EXPECT_EQ("00:07 Record 01", Readout(SoundDisplayKey(true, true, 7400, 4), "Record"));
    EXPECT_EQ("02:00 Record 01", Readout(SoundDisplayKey(true, true, 120000, -1), "Record"));
    EXPECT_EQ(SoundDisplayKey(true, true, 0, 0), SoundDisplayKey(false, true, 0, 0))
        << "the key holds no word: leaving a recording must force the refresh";
}
