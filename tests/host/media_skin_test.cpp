// The players' arithmetic and the skin's geometry: skips, read-outs, record formats, start words,
// hot spots and faces, stacking, backgrounds and the palette.
#include <gtest/gtest.h>

#include <set>

#include "model/start_words.h"
#include "model/record_formats.h"
#include "model/media_math.h"
#include "model/wave_format.h"
#include "model/readout.h"
#include "model/readout.h"
#include "model/layout.h"
#include "model/palette.h"
#include "model/skin_faces.h"

namespace {

TEST(Media, SkipsStayInTheirTrackStepsWrapAndReadoutKeysGiveTheTextsShown)
{
    EXPECT_EQ(0x0C1B0305u, MakeTmsf(5, 3, 27, 12)) << "the track in the low byte, as MCI packs TMSF";
    auto at = [](unsigned minutes, unsigned seconds) { return MakeTmsf(4, minutes, seconds, 0); };  // back 0: nowhere
    for (auto [from, back, forward] : {std::tuple{at(0, 0), 0u, at(0, 10)}, {at(0, 7), at(0, 0), at(0, 17)}, {at(3, 10), at(3, 0), at(3, 20)},
             {at(3, 4), at(2, 54), at(3, 14)}, {at(2, 55) | 44u << 24, at(2, 45), at(3, 5)}, {at(79, 50), at(79, 40), at(80, 0)}}) {
        const SkipTarget b = CdSkipBackwardTarget(from);  // frames dropped, the track's length not read
        EXPECT_EQ(std::tuple(back != 0, back, forward), std::tuple(b.seek, b.seek ? b.target : 0, CdSkipForwardTarget(from)))
            << std::hex << from;
    }
    EXPECT_EQ(std::tuple(at(0, 0), MakeTmsf(12, 0, 0, 0), 0u, 1500u, 3500u), std::tuple(CdTrackStartOf(at(3, 27) | 12u << 24),
              CdEntryStart(11), MsSkipBackwardTarget(999), MsSkipBackwardTarget(2500), MsSkipForwardTarget(2500)));
    for (auto [current, count, next, previous] : {std::tuple{0, 3, 1, 2}, {1, 3, 2, 0}, {2, 3, 0, 1}, {0, 0, 0, -1}})
        EXPECT_EQ(std::tuple(next, previous), std::tuple(NextEntryIndex(current, count), PreviousEntryIndex(current, count)))
            << current << " of " << count;
    for (auto [key, text] : {std::pair{kInitialMidiDisplayKey, "00:00 W 01"}, {MidiDisplayKey(false, 0, 0), "00:00 W 01"},
             {MidiDisplayKey(true, 999, 0), "00:00 W 01"}, {MidiDisplayKey(true, 65999, 2), "01:05 W 03"},
             {MidiDisplayKey(false, 65999, 2), "00:00 W 03"}, {MidiDisplayKey(false, 0, -1), "00:00 W 00"},
             {MidiDisplayKey(false, 0, 99), "00:00 W 100"}, {MidiDisplayKey(false, 0, 255), "00:00 W 00"},
             {MidiDisplayKey(true, 15367000, 0), "00:07 W 01"}, {SoundDisplayKey(true, false, 7400, 4), "00:00 W 01"},  // 256 min 7 s
             {SoundDisplayKey(false, true, 65999, 2), "01:05 W 03"}, {SoundDisplayKey(true, true, 7400, 4), "00:07 W 01"}}) {
        char shown[32];
        FormatReadoutOfKey(key, "W", shown, sizeof shown);
        EXPECT_STREQ(text, shown) << std::hex << key;
    }
    auto cd = [](bool listed, bool read) { return CdReadoutOf(listed, read, MakeTmsf(5, 3, 27, 40), 2); };
    EXPECT_EQ(std::tuple(5, 27, 4, 1, 0, 3, 2), std::tuple(cd(true, true).number, cd(true, true).seconds, cd(true, true).current,
              cd(true, false).number, cd(true, false).current, cd(false, false).number, cd(false, false).current));
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
        EXPECT_EQ(std::tuple(f.samplesPerSec, f.bitsPerSample, f.channels, w.bitsPerSample / 8 * w.channels,
                             w.samplesPerSec * w.blockAlign, kWaveFormatPcm),
                  std::tuple(w.samplesPerSec, w.bitsPerSample, w.channels, w.blockAlign, w.avgBytesPerSec, w.formatTag)) << row;
    }
    EXPECT_EQ(std::tuple(RecordFormatTable.size(), RecordFormatTable.size(), std::size_t{1}, false),
              std::tuple(RecordFormatTable.size(), texts.size(), texts.count("11 KHz, 8-Bit, Stereo"), IsRecordFormatRow(17)));
    auto format = [](std::uint32_t row) { auto w = RecordingWaveFormatOf(row); return std::tuple(w.samplesPerSec, +w.bitsPerSample, +w.channels); };
    EXPECT_EQ(std::tuple(22050u, 16, 1), format(kDefaultWavefmt)) << "the default row";
    EXPECT_EQ(std::tuple(format(kDefaultWavefmt), format(kDefaultWavefmt)), std::tuple(format(17), format(0xFFFFFFFF)));
    for (auto [args, mode] : {std::pair<const char*, StartMode>{"TRAYAPP", START_TRAY}, {" \t\r\n\x01tRAYaPP", START_TRAY},
             {"Cd", START_CD}, {"  cD", START_CD}, {"", START_NORMAL}, {nullptr, START_NORMAL}, {"cd trayapp", START_NORMAL},
             {"CD ", START_NORMAL}, {"CDX", START_NORMAL}, {"TRAY", START_NORMAL}, {"C", START_NORMAL}, {"\xe9" "CD", START_NORMAL}})
        EXPECT_EQ(mode, ParseStartWords(args)) << '"' << (args ? args : "(null)") << '"';
}

const std::tuple<PanelKind, int, int> kPanels[] = {{PANEL_MAIN, IDD_MAINPANEL, kBannerHeight},  // panel, template, height
    {PANEL_CD, IDD_CDPANEL, kPlayerHeight}, {PANEL_MIDI, IDD_MIDIPANEL, kPlayerHeight}, {PANEL_SOUND, IDD_SOUNDPANEL, kPlayerHeight}};

TEST(Skin, EachPanelHasItsControlsInsideItApartEachLitByItsOwnFactAndPressedInItsOwnFace)
{
    const std::tuple<int, PanelKind, SkinState> lit[] = {  // PANEL_NONE: on every panel
        {IDC_CD, PANEL_MAIN, {.config = CFG_CD}}, {IDC_MIDI, PANEL_MAIN, {.config = CFG_MIDI}}, {IDC_PLAY, PANEL_NONE, {.playing = true}},
        {IDC_SOUND, PANEL_MAIN, {.config = CFG_SOUND}}, {IDC_BANNER, PANEL_MAIN, {.trueColor = true}},
        {IDC_RECORD, PANEL_SOUND, {.recording = true}}, {IDC_PLAYLIST, PANEL_CD, {.discPresent = true}},
        {IDC_PLAYLIST, PANEL_MIDI, {.midiEntries = 1}}, {IDC_PLAYLIST, PANEL_SOUND, {.soundEntries = 2}}};
    std::set<std::pair<int, int>> controls, expected{{PANEL_CD, IDC_EJECT}, {PANEL_SOUND, IDC_RECORD}};
    for (int id : {IDC_BANNER, IDC_POWER, IDC_MINIMIZE, IDC_PROPERTIES, IDC_CD, IDC_MIDI, IDC_SOUND, IDC_MIXER})
        expected.insert({PANEL_MAIN, id});
    for (int id : {IDC_PLAYLIST, IDC_TRACK, IDC_DISPLAY, IDC_BACK, IDC_REWIND, IDC_FORWARD, IDC_NEXT, IDC_PAUSE, IDC_PLAY, IDC_STOP})
        expected.insert({{PANEL_CD, id}, {PANEL_MIDI, id}, {PANEL_SOUND, id}});
    for (auto [panel, templateId, height] : kPanels) {
        for (const HotSpot& spot : HotSpotTable(panel)) {
            const PanelRect a = HotSpotRect(spot);
            EXPECT_TRUE(a.left >= 0 && a.top >= 0 && a.right <= kMainWidth && a.bottom <= height && a.right > a.left &&
                        a.bottom > a.top && controls.insert({panel, spot.id}).second) << spot.name << ", panel " << panel;
            for (const HotSpot* o = HotSpotTable(panel).data(); o != &spot; ++o)
                EXPECT_FALSE(spot.left <= o->right && o->left <= spot.right && spot.top <= o->bottom && o->top <= spot.bottom)
                    << spot.name << " overlaps " << o->name;
            const int normal = SkinFaceFor(spot.id, panel, false, {}), pressed = SkinFaceFor(spot.id, panel, true, {});
            EXPECT_EQ(spot.id != IDC_TRACK && spot.id != IDC_DISPLAY, normal != 0) << spot.name << " has a face";
            EXPECT_TRUE(!normal || spot.id == IDC_BANNER || (pressed && pressed != normal)) << spot.name << " pressed";
            for (const auto& [id, litPanel, state] : lit) {
                const int face = SkinFaceFor(spot.id, panel, false, state);
                EXPECT_EQ(id == spot.id && (litPanel == panel || litPanel == PANEL_NONE), face != normal)
                    << spot.name << " on panel " << panel << " for the fact of " << id;
                EXPECT_EQ(spot.id == IDC_BANNER ? face : pressed, SkinFaceFor(spot.id, panel, true, state)) << spot.name;
            }
        }
    }
    EXPECT_EQ(expected, controls);
    EXPECT_EQ(48, HotSpotRect({1, 99, 41, 146, 65, "CD"}).Width()) << "right and bottom are inclusive";
    for (auto [state, mode, playing] : {std::tuple{1, 526u, true}, {1, 529u, false}, {1, 525u, false}, {2, 526u, false}})
        EXPECT_EQ(playing, PlayerCountsAsPlaying(state, mode)) << state << " " << mode;
}

TEST(Skin, PanelsStackInOrderUnderTheBannerOnTheirOwnBackgroundsAndThePaletteHasItsThreeParts)
{
    for (auto [config, cd, midi, sound, height] : {std::tuple{kDefaultConfig, 72, 170, 268, 366}, {CFG_MIDI | CFG_SOUND, -1, 0, 98, 196},
             {CFG_BANNER | CFG_TRAY, -1, -1, -1, 72}, {CFG_BANNER | CFG_CD | CFG_SOUND | CFG_MIXER | 0xFFFFFF00u, 72, -1, 170, 268}}) {
        const PanelStack s = StackPanels(config);
        auto top = [&s](int i) { return s.shown[i] ? s.top[i] : -1; };
        EXPECT_EQ(std::tuple(cd, midi, sound, height), std::tuple(top(0), top(1), top(2), s.height)) << config;
    }
    std::set<int> bitmaps;
    for (auto [panel, templateId, height] : kPanels) {
        const BackgroundChoice b8 = ChooseBackground(templateId, false), b24 = ChooseBackground(templateId, true);
        EXPECT_EQ(std::tuple(height, height), std::tuple(b8.rows, b24.rows)) << templateId;
        bitmaps.insert({b8.bitmap, b24.bitmap});
        EXPECT_EQ(panel == PANEL_MAIN, b8.bitmap == ChooseBackground(0, false).bitmap && b24.bitmap == ChooseBackground(0, true).bitmap)
            << templateId << ": an unknown template gets the banner's background";
    }
    EXPECT_EQ(8u, bitmaps.size()) << "two panels or art sets share a background";
    for (int i = -1; i <= kSkinPaletteEntries; ++i) {  // a grey ramp from black to white, white, the colour table
        const SkinColor c = SkinPaletteEntry(i);
        const int step = c.red - SkinPaletteEntry(i - 1).red, last = kGreyRampEntries - 1;
        const bool grey = c == SkinColor{c.red, c.red, c.red, 0} && (i ? step == 8 || step == 9 : !c.red) && (i != last || c.red == 255);
        EXPECT_TRUE((i < 0 || i >= kSkinPaletteEntries ? c == SkinColor{} : i <= last ? grey : i < kSkinColorTableStart
                    ? c == SkinColor{255, 255, 255, 0} : c == SkinColorTable[std::size_t(i - kSkinColorTableStart)])) << i;
    }
    for (auto [depth, trueColor, palette] : {std::tuple{4, false, false}, {8, false, true}, {15, true, false}, {32, true, false}})
        EXPECT_EQ(std::tuple(trueColor, palette), std::tuple(UsesTrueColorArt(depth), UsesSkinPalette(depth))) << depth;
}

}  // namespace
