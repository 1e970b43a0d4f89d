// The players' arithmetic: CD skips, entry steps, read-outs, recording formats and the start words.
#include <gtest/gtest.h>

#include <set>

#include "app/start_words.h"
#include "media/media_math.h"
#include "media/wave_format.h"
#include "players/midi_readout.h"
#include "players/sound_readout.h"
#include "settings/settings.h"
#include "dialogs/record_formats.h"

namespace {

TEST(Media, SkipsStayInTheirTrackAndStepsWrap)
{
    EXPECT_EQ(0x0C1B0305u, MakeTmsf(5, 3, 27, 12)) << "the track in the low byte, as MCI packs TMSF";
    const std::tuple<std::uint32_t, std::uint32_t, std::uint32_t> cd[] = {  // at, back (0: nowhere), forward
        {MakeTmsf(4, 0, 0, 0), 0, MakeTmsf(4, 0, 10, 0)}, {MakeTmsf(4, 0, 7, 0), MakeTmsf(4, 0, 0, 0), MakeTmsf(4, 0, 17, 0)},
        {MakeTmsf(2, 3, 4, 0), MakeTmsf(2, 2, 54, 0), MakeTmsf(2, 3, 14, 0)},
        {MakeTmsf(1, 2, 55, 44), MakeTmsf(1, 2, 45, 0), MakeTmsf(1, 3, 5, 0)},
        {MakeTmsf(3, 79, 59, 0), MakeTmsf(3, 79, 49, 0), MakeTmsf(3, 80, 9, 0)}};  // the track's length is not read
    for (auto [at, back, forward] : cd) {
        SkipTarget b = CdSkipBackwardTarget(at);
        EXPECT_EQ(std::tuple(back != 0, back, forward), std::tuple(b.seek, b.seek ? b.target : 0, CdSkipForwardTarget(at)))
            << std::hex << at;
    }
    EXPECT_EQ(std::tuple(MakeTmsf(5, 0, 0, 0), MakeTmsf(12, 0, 0, 0), 0u, 1500u, 3500u),
              std::tuple(CdTrackStartOf(MakeTmsf(5, 3, 27, 12)), CdEntryStart(11), MsSkipBackwardTarget(999),
                         MsSkipBackwardTarget(2500), MsSkipForwardTarget(2500)));
    for (auto [current, count, next, previous] : {std::tuple{0, 3, 1, 2}, {1, 3, 2, 0}, {2, 3, 0, 1}, {0, 0, 0, -1}})
        EXPECT_EQ(std::tuple(next, previous), std::tuple(NextEntryIndex(current, count), PreviousEntryIndex(current, count)))
            << current << " of " << count;
}

TEST(Media, ReadoutKeysGiveTheTextsShown)
{
    const std::tuple<std::uint32_t, const char*, std::string> cases[] = {
        {kInitialMidiDisplayKey, "Music", "00:00 Music 01"}, {MidiDisplayKey(false, 0, 0), "Music", "00:00 Music 01"},
        {kInitialSoundDisplayKey, "Sound", "00:00 Sound 01"}, {MidiDisplayKey(true, 999, 0), "M", "00:00 M 01"},
        {MidiDisplayKey(true, 65999, 2), "M", "01:05 M 03"}, {MidiDisplayKey(false, 65999, 2), "M", "00:00 M 03"},
        {MidiDisplayKey(false, 0, -1), "M", "00:00 M 00"}, {MidiDisplayKey(false, 0, 99), "M", "00:00 M 100"},
        {MidiDisplayKey(false, 0, 255), "M", "00:00 M 00"}, {DisplayKey(257, 3, 27), "Track", "03:27 Track 01"},
        {MidiDisplayKey(true, 15367000, 0), "M", "00:07 M 01"},  // 256 minutes wrap, the seconds stay
        {SoundDisplayKey(false, true, 65999, 2), "S", "01:05 S 03"}, {SoundDisplayKey(true, true, 7400, 4), "R", "00:07 R 01"},
        {SoundDisplayKey(true, false, 7400, 4), "R", "00:00 R 01"}};
    for (const auto& [key, word, text] : cases) {
        char shown[64];
        FormatMidiReadout(key, word, shown, sizeof shown);
        EXPECT_EQ(text, shown) << std::hex << key;
    }
    for (auto [listed, read, current, number, seconds, nowCurrent] : {std::tuple{true, true, 0, 5, 27, 4},
                                                                     {true, false, 6, 1, 0, 0}, {false, false, 2, 3, 0, 2}}) {
        CdReadout r = CdReadoutOf(listed, read, MakeTmsf(5, 3, 27, 40), current);  // the current entry follows the disc
        EXPECT_EQ(std::tuple(number, seconds, nowCurrent), std::tuple(r.number, r.seconds, r.current)) << listed << read;
    }
    char small[8];
    FormatReadout(small, sizeof small, 3, 27, "Track", 5);
    EXPECT_STREQ("03:27 T", small) << "a short buffer is never overrun";
}

TEST(Media, RecordFormatRowsAreOrderedDistinctAndGiveConsistentPcmBlocks)
{
    ASSERT_EQ(kWavefmtRows, RecordFormatTable.size());
    std::set<std::string> texts;
    for (std::uint32_t row = 0; row < kWavefmtRows; ++row) {
        const RecordFormat &f = RecordFormatTable[row], &p = RecordFormatTable[row ? row - 1 : 0];
        char text[kRecordFormatTextSize];
        ASSERT_TRUE(FormatRecordFormatText(f, text, sizeof text) && IsRecordFormatRow(row)) << row;
        texts.insert(text);
        EXPECT_TRUE(row == 0 || std::tie(p.samplesPerSec, p.bitsPerSample, p.channels) <
                                    std::tie(f.samplesPerSec, f.bitsPerSample, f.channels)) << "stored rows keep their order";
        RecordingWaveFormat w = RecordingWaveFormatOf(row);
        EXPECT_EQ(std::tuple(f.samplesPerSec, f.bitsPerSample, f.channels, kWaveFormatPcm, w.bitsPerSample / 8 * w.channels,
                             w.samplesPerSec * w.blockAlign),
                  std::tuple(w.samplesPerSec, w.bitsPerSample, w.channels, w.formatTag, w.blockAlign, w.avgBytesPerSec)) << row;
    }
    EXPECT_EQ(std::tuple(kWavefmtRows, false, 1u), std::tuple(texts.size(), IsRecordFormatRow(kWavefmtRows),
                                                              texts.count("11 KHz, 8-Bit, Stereo")));
    for (std::uint32_t row : {kDefaultWavefmt, kWavefmtRows, 0xFFFFFFFFu}) {
        RecordingWaveFormat w = RecordingWaveFormatOf(row);
        EXPECT_EQ(std::tuple(22050u, 16, 1), std::tuple(w.samplesPerSec, int{w.bitsPerSample}, int{w.channels})) << row;
    }
    char text[16] = "xxxxxxxxxxxxxxx";
    EXPECT_FALSE(FormatRecordFormatText(RecordFormatTable[16], text, 10)) << "a short buffer gets an empty text";
    EXPECT_EQ(std::tuple('\0', 'x'), std::tuple(text[0], text[10]));
}

TEST(Media, StartWordsAreTheWholeArgumentInAnyCaseAfterBlanks)
{
    for (auto [args, mode] : {std::pair<const char*, StartMode>{"TRAYAPP", START_TRAY}, {"tRAYaPP", START_TRAY},
                              {" \t\r\n\x01trayapp", START_TRAY}, {"Cd", START_CD}, {"  cD", START_CD}, {"", START_NORMAL},
                              {nullptr, START_NORMAL}, {"cd trayapp", START_NORMAL}, {"CD ", START_NORMAL},
                              {"CDX", START_NORMAL}, {"TRAY", START_NORMAL}, {"C", START_NORMAL}, {"\xe9" "CD", START_NORMAL}})
        EXPECT_EQ(mode, ParseStartWords(args)) << '"' << (args ? args : "(null)") << '"';
}

}  // namespace
