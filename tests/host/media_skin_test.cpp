// The players' arithmetic and the skin's geometry: skips, read-outs, record formats, start words,
// hot spots and faces, stacking, backgrounds and the palette.
#include <gtest/gtest.h>

#include <set>

#include "model/layout.h"
#include "model/media_math.h"
#include "model/palette.h"
#include "model/readout.h"
#include "model/record_formats.h"
#include "model/skin_faces.h"
#include "model/start_words.h"
#include "model/wave_format.h"

namespace {

TEST(Media, SkipsStayInTheirTrackStepsWrapAndReadoutKeysGiveTheTextsShown)
{
    auto at = [](unsigned minutes, unsigned seconds) { return MakeTmsf(4, minutes, seconds, 0); };
    const std::tuple<unsigned, unsigned, unsigned> skips[] = {  // from, back (0: no seek), forward
        {at(0, 0), 0u, at(0, 10)}, {at(0, 7), at(0, 0), at(0, 17)}, {at(3, 10), at(3, 0), at(3, 20)},
        {at(3, 4), at(2, 54), at(3, 14)}, {at(2, 55) | 44u << 24, at(2, 45), at(3, 5)},
        {at(79, 50), at(79, 40), at(80, 0)}};
    for (auto [from, back, forward] : skips) {
        const SkipTarget b = CdSkipBackwardTarget(from);  // frames dropped, the track's length not read
        EXPECT_EQ(back, b.seek ? b.target : 0) << std::hex << from;
        EXPECT_EQ(back != 0, b.seek) << std::hex << from;
        EXPECT_EQ(forward, CdSkipForwardTarget(from)) << std::hex << from;
    }
    EXPECT_EQ((std::vector{0u, 1500u, 3500u}),
              (std::vector{MsSkipBackwardTarget(999), MsSkipBackwardTarget(2500), MsSkipForwardTarget(2500)}));
    for (auto [i, n, next, back] : {std::tuple{0, 3, 1, 2}, {1, 3, 2, 0}, {2, 3, 0, 1}, {0, 0, 0, -1}})  // i of n
        EXPECT_EQ(std::pair(next, back), std::pair(NextEntryIndex(i, n), PreviousEntryIndex(i, n))) << i << "/" << n;
    const std::pair<unsigned, const char*> readouts[] = {{kInitialMidiDisplayKey, "00:00 W 01"},
        {MidiDisplayKey(true, 999, 0), "00:00 W 01"}, {MidiDisplayKey(true, 65999, 2), "01:05 W 03"},
        {MidiDisplayKey(false, 65999, 2), "00:00 W 03"}, {MidiDisplayKey(false, 0, -1), "00:00 W 00"},
        {MidiDisplayKey(false, 0, 99), "00:00 W 100"}, {MidiDisplayKey(false, 0, 255), "00:00 W 00"},
        {SoundDisplayKey(true, false, 7400, 4), "00:00 W 01"}, {SoundDisplayKey(false, true, 65999, 2), "01:05 W 03"},
        {SoundDisplayKey(true, true, 7400, 4), "00:07 W 01"}, {MidiDisplayKey(true, 15367000, 0), "00:07 W 01"}};
    for (auto [key, text] : readouts) {
        char shown[32];
        FormatReadoutOfKey(key, "W", shown, sizeof shown);
        EXPECT_STREQ(text, shown) << std::hex << key;
    }
}

TEST(Media, RecordFormatRowsKeepTheirOrderAndGiveConsistentPcmBlocksAndStartWordsAreWhole)
{
    std::set<std::string> texts;
    for (std::uint32_t row = 0; row < RecordFormatTable.size(); ++row) {
        const RecordFormat &f = RecordFormatTable[row], &p = RecordFormatTable[row ? row - 1 : 0];
        const RecordingWaveFormat w = RecordingWaveFormatOf(row);
        char text[kRecordFormatTextSize];
        texts.insert(FormatRecordFormatText(f, text, sizeof text) && IsRecordFormatRow(row) ? text : "");
        EXPECT_TRUE(!row || std::tie(p.samplesPerSec, p.bitsPerSample, p.channels) <
                                std::tie(f.samplesPerSec, f.bitsPerSample, f.channels)) << "the stored rows' order";
        EXPECT_EQ(std::tuple(f.samplesPerSec, f.bitsPerSample, f.channels),
                  std::tuple(w.samplesPerSec, w.bitsPerSample, w.channels)) << row;
        EXPECT_TRUE(w.formatTag == kWaveFormatPcm && w.blockAlign == w.bitsPerSample / 8 * w.channels &&
                    w.avgBytesPerSec == w.samplesPerSec * w.blockAlign) << "PCM blocks of row " << row;
    }
    EXPECT_EQ(RecordFormatTable.size(), texts.size()) << "each row has a text of its own";
    EXPECT_EQ(1u, texts.count("11 KHz, 8-Bit, Stereo"));
    EXPECT_FALSE(IsRecordFormatRow(17));
    const std::pair<const char*, StartMode> words[] = {{" \t\r\n\x01tRAYaPP", START_TRAY}, {"  cD", START_CD},
        {nullptr, START_NORMAL}, {"cd trayapp", START_NORMAL}, {"CD ", START_NORMAL}, {"CDX", START_NORMAL},
        {"TRAY", START_NORMAL}, {"\xe9" "CD", START_NORMAL}};
    for (auto [args, mode] : words) EXPECT_EQ(mode, ParseStartWords(args)) << '"' << (args ? args : "(null)") << '"';
}

const std::tuple<PanelKind, int, int> kPanels[] = {  // panel, template, height
    {PANEL_MAIN, IDD_MAINPANEL, kBannerHeight}, {PANEL_CD, IDD_CDPANEL, kPlayerHeight},
    {PANEL_MIDI, IDD_MIDIPANEL, kPlayerHeight}, {PANEL_SOUND, IDD_SOUNDPANEL, kPlayerHeight}};

bool Overlap(const HotSpot& a, const HotSpot& b)
{
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

TEST(Skin, EachPanelHasItsControlsInsideItApartEachLitByItsOwnFactAndPressedInItsOwnFace)
{
    const std::tuple<int, PanelKind, SkinState> lit[] = {  // PANEL_NONE: on every panel
        {IDC_CD, PANEL_MAIN, {.config = CFG_CD}}, {IDC_MIDI, PANEL_MAIN, {.config = CFG_MIDI}},
        {IDC_PLAY, PANEL_NONE, {.playing = true}}, {IDC_SOUND, PANEL_MAIN, {.config = CFG_SOUND}},
        {IDC_BANNER, PANEL_MAIN, {.trueColor = true}}, {IDC_RECORD, PANEL_SOUND, {.recording = true}},
        {IDC_PLAYLIST, PANEL_CD, {.discPresent = true}}, {IDC_PLAYLIST, PANEL_MIDI, {.midiEntries = 1}},
        {IDC_PLAYLIST, PANEL_SOUND, {.soundEntries = 2}}};
    std::set<std::pair<int, int>> controls;
    for (auto [panel, templateId, height] : kPanels) {
        for (const HotSpot& spot : HotSpotTable(panel)) {
            const PanelRect a = HotSpotRect(spot);
            EXPECT_TRUE(a.left >= 0 && a.top >= 0 && a.right <= kMainWidth && a.bottom <= height) << spot.name;
            EXPECT_TRUE(a.right > a.left && a.bottom > a.top && controls.insert({panel, spot.id}).second) << spot.name;
            for (const HotSpot* o = HotSpotTable(panel).data(); o != &spot; ++o)
                EXPECT_FALSE(Overlap(spot, *o)) << spot.name << " overlaps " << o->name;
            const int normal = SkinFaceFor(spot.id, panel, false, {}), pressed = SkinFaceFor(spot.id, panel, true, {});
            EXPECT_EQ(spot.id != IDC_TRACK && spot.id != IDC_DISPLAY, normal != 0) << spot.name << " has a face";
            EXPECT_TRUE(!normal || spot.id == IDC_BANNER || (pressed && pressed != normal)) << spot.name << " pressed";
            for (const auto& [id, litPanel, state] : lit) {
                const int face = SkinFaceFor(spot.id, panel, false, state);
                EXPECT_EQ(id == spot.id && (litPanel == panel || litPanel == PANEL_NONE), face != normal)
                    << spot.name << " on panel " << panel << " for the fact of " << id;
                EXPECT_EQ(spot.id == IDC_BANNER ? face : pressed, SkinFaceFor(spot.id, panel, true, state))
                    << spot.name << " pressed while lit";
            }
        }
    }
    EXPECT_EQ(8u + 3 * 10 + 2, controls.size()) << "the banner's 8 and each player's 10, Eject and Record";
    for (auto [state, mode, plays] : {std::tuple{1, 526u, true}, {1, 529u, false}, {1, 525u, false}, {2, 526u, false}})
        EXPECT_EQ(plays, PlayerCountsAsPlaying(state, mode)) << state << " " << mode;
}

TEST(Skin, PanelsStackInOrderUnderTheBannerOnTheirOwnBackgroundsAndThePaletteHasItsThreeParts)
{
    const std::tuple<std::uint32_t, int, int, int, int> stacks[] = {  // config; CD, MIDI, Sound tops; height
        {CFG_MIDI | CFG_SOUND, -1, 0, 98, 196}, {CFG_BANNER | CFG_TRAY, -1, -1, -1, 72},
        {CFG_BANNER | CFG_CD | CFG_SOUND | CFG_MIXER | 0xFFFFFF00u, 72, -1, 170, 268}};
    for (auto [config, cd, midi, sound, height] : stacks) {
        const PanelStack s = StackPanels(config);
        auto top = [&s](int i) { return s.shown[i] ? s.top[i] : -1; };
        EXPECT_EQ((std::vector{cd, midi, sound}), (std::vector{top(0), top(1), top(2)})) << config;
        EXPECT_EQ(height, s.height) << config;
    }
    std::set<int> bitmaps;
    for (auto [panel, templateId, height] : kPanels) {
        const BackgroundChoice b8 = ChooseBackground(templateId, false), b24 = ChooseBackground(templateId, true);
        EXPECT_EQ(std::pair(height, height), std::pair(b8.rows, b24.rows)) << templateId;
        bitmaps.insert({b8.bitmap, b24.bitmap});
        EXPECT_EQ(panel == PANEL_MAIN, b8.bitmap == ChooseBackground(0, false).bitmap &&
                                           b24.bitmap == ChooseBackground(0, true).bitmap)
            << templateId << ": an unknown template gets the banner's background";
    }
    EXPECT_EQ(8u, bitmaps.size()) << "two panels or art sets share a background";
    const int last = kGreyRampEntries - 1;
    for (int i = -1; i <= kSkinPaletteEntries; ++i) {  // a grey ramp from black to white, white, the colour table
        const SkinColor c = SkinPaletteEntry(i);
        const int step = c.red - SkinPaletteEntry(i - 1).red;
        const bool grey = c == SkinColor{c.red, c.red, c.red, 0} && (i ? step == 8 || step == 9 : !c.red);
        if (i < 0 || i >= kSkinPaletteEntries) EXPECT_EQ(SkinColor{}, c) << i;
        else if (i <= last) EXPECT_TRUE(grey && (i != last || c.red == 255)) << i;
        else if (i < kSkinColorTableStart) EXPECT_EQ((SkinColor{255, 255, 255, 0}), c) << i;
        else EXPECT_EQ(SkinColorTable[std::size_t(i - kSkinColorTableStart)], c) << i;
    }
    for (auto [depth, trueColor, palette] : {std::tuple{4, false, false}, {8, false, true}, {15, true, false},
                                             {32, true, false}})
        EXPECT_EQ(std::pair(trueColor, palette), std::pair(UsesTrueColorArt(depth), UsesSkinPalette(depth))) << depth;
}

}  // namespace
