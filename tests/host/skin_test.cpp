// The skin's geometry and faces: hot spots, panel stacking, faces and backgrounds, and the palette.
#include <gtest/gtest.h>

#include <set>

#include "ui/layout.h"
#include "ui/palette.h"
#include "ui/skin_faces.h"

namespace {

const std::tuple<PanelKind, int, int> kPanels[] = {{PANEL_MAIN, IDD_MAINPANEL, kBannerHeight},
    {PANEL_CD, IDD_CDPANEL, kPlayerHeight}, {PANEL_MIDI, IDD_MIDIPANEL, kPlayerHeight}, {PANEL_SOUND, IDD_SOUNDPANEL, kPlayerHeight}};

// Hot spots lie inside their panel and never overlap; each panel has its own controls, each with its face.
TEST(Skin, HotSpotsFitTheirPanelAndEachControlLightsForItsOwnFact)
{
    const std::tuple<int, PanelKind, SkinState> lit[] = {  // PANEL_NONE: on every panel
        {IDC_CD, PANEL_MAIN, {.config = CFG_CD}}, {IDC_MIDI, PANEL_MAIN, {.config = CFG_MIDI}},
        {IDC_SOUND, PANEL_MAIN, {.config = CFG_SOUND}}, {IDC_BANNER, PANEL_MAIN, {.trueColor = true}},
        {IDC_RECORD, PANEL_SOUND, {.recording = true}}, {IDC_PLAYLIST, PANEL_CD, {.discPresent = true}},
        {IDC_PLAYLIST, PANEL_MIDI, {.midiEntries = 1}}, {IDC_PLAYLIST, PANEL_SOUND, {.soundEntries = 2}},
        {IDC_PLAY, PANEL_NONE, {.playing = true}}};
    std::set<std::pair<PanelKind, int>> controls;
    for (auto [panel, templateId, height] : kPanels) {
        std::span<const HotSpot> table = HotSpotTable(panel);
        for (const HotSpot& spot : table) {
            PanelRect a = HotSpotRect(spot);
            EXPECT_TRUE(a.left >= 0 && a.top >= 0 && a.right <= kMainWidth && a.bottom <= height && a.Width() > 0 &&
                        a.Height() > 0) << spot.name << " outside panel " << panel;
            for (const HotSpot* other = table.data(); other != &spot; ++other) {
                PanelRect b = HotSpotRect(*other);
                EXPECT_FALSE(a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom)
                    << spot.name << " overlaps " << other->name << " on panel " << panel;
            }
            EXPECT_TRUE(controls.insert({panel, spot.id}).second) << spot.name << " twice on panel " << panel;
            const int normal = SkinFaceFor(spot.id, panel, false, {}), pressed = SkinFaceFor(spot.id, panel, true, {});
            EXPECT_EQ(spot.id != IDC_TRACK && spot.id != IDC_DISPLAY, normal != 0) << spot.name << " has a face";
            for (const auto& [id, litPanel, state] : lit) {
                const bool own = id == spot.id && (litPanel == panel || litPanel == PANEL_NONE);
                const int face = SkinFaceFor(spot.id, panel, false, state);
                EXPECT_EQ(own, face != normal) << spot.name << " on panel " << panel << " lit for the fact of " << id;
                EXPECT_EQ(spot.id == IDC_BANNER ? face : pressed, SkinFaceFor(spot.id, panel, true, state)) << spot.name;
            }
            EXPECT_TRUE(!normal || spot.id == IDC_BANNER || (pressed != normal && pressed != 0)) << spot.name;
        }
    }
    EXPECT_EQ(HotSpotRect({1, 99, 41, 146, 65, "CD"}).Width(), 48) << "right and bottom are inclusive";
    for (int id : {IDC_BANNER, IDC_POWER, IDC_MINIMIZE, IDC_PROPERTIES, IDC_CD, IDC_MIDI, IDC_SOUND, IDC_MIXER})
        EXPECT_TRUE(controls.count({PANEL_MAIN, id})) << id;
    for (PanelKind player : {PANEL_CD, PANEL_MIDI, PANEL_SOUND})
        for (int id : {IDC_PLAYLIST, IDC_TRACK, IDC_DISPLAY, IDC_BACK, IDC_REWIND, IDC_FORWARD, IDC_NEXT, IDC_PLAY, IDC_STOP})
            EXPECT_TRUE(controls.count({player, id})) << "panel " << player << " control " << id;
    EXPECT_EQ(std::tuple(1u, 0u, 0u, 1u), std::tuple(controls.count({PANEL_CD, IDC_EJECT}), controls.count({PANEL_MIDI, IDC_EJECT}),
                                                     controls.count({PANEL_CD, IDC_RECORD}), controls.count({PANEL_SOUND, IDC_RECORD})));
    EXPECT_EQ(0, SkinFaceFor(IDC_PLAYLIST, PANEL_MAIN, false, {}));
    for (auto [state, mode, playing] : {std::tuple{1, 526u, true}, {1, 529u, false}, {1, 525u, false}, {2, 526u, false}})
        EXPECT_EQ(playing, PlayerCountsAsPlaying(state, mode)) << state << " " << mode;
}

TEST(Skin, ShownPanelsStackInOrderUnderTheBannerEachOnItsOwnBackground)
{
    for (std::uint32_t bits = 0; bits < 0x200; ++bits) {
        const std::uint32_t config = bits | (bits & 0x100 ? 0xFFFFFF00u : 0), players[3] = {CFG_CD, CFG_MIDI, CFG_SOUND};
        PanelStack stack = StackPanels(config);
        int y = config & CFG_BANNER ? kBannerHeight : 0;
        for (int i = 0; i < 3; ++i) {
            ASSERT_EQ((config & players[i]) != 0, stack.shown[i]) << std::hex << config;
            ASSERT_TRUE(!stack.shown[i] || stack.top[i] == y) << std::hex << config;
            y += stack.shown[i] ? kPlayerHeight : 0;
        }
        ASSERT_EQ(y, stack.height) << std::hex << config;
    }
    PanelStack full = StackPanels(kDefaultConfig);
    EXPECT_EQ(std::tuple(72, 170, 268, 366, 196), std::tuple(full.top[0], full.top[1], full.top[2], full.height,
                                                          StackPanels(CFG_MIDI | CFG_SOUND).height));
    std::set<int> bitmaps;
    for (auto [panel, templateId, height] : kPanels) {
        BackgroundChoice b8 = ChooseBackground(templateId, false), b24 = ChooseBackground(templateId, true);
        EXPECT_EQ(std::tuple(height, height), std::tuple(b8.rows, b24.rows)) << templateId;
        bitmaps.insert({b8.bitmap, b24.bitmap});
    }
    EXPECT_EQ(8u, bitmaps.size()) << "two panels or art sets share a background";
    for (bool trueColor : {false, true})
        EXPECT_EQ(ChooseBackground(IDD_MAINPANEL, trueColor).bitmap, ChooseBackground(0, trueColor).bitmap);
}

TEST(Skin, PaletteIsAGreyRampWhiteAndTheColourTable)
{
    for (int i = -1; i <= kSkinPaletteEntries; ++i) {
        const SkinColor c = SkinPaletteEntry(i), before = SkinPaletteEntry(i - 1);
        if (i < 0 || i >= kSkinPaletteEntries) EXPECT_EQ((SkinColor{0, 0, 0, 0}), c) << i;
        else if (i < kGreyRampEntries) EXPECT_TRUE(c.red == c.green && c.green == c.blue && !c.zero && (i ? c.red - before.red == 8 || c.red - before.red == 9 : !c.red)) << i;
        else if (i < kSkinColorTableStart) EXPECT_EQ((SkinColor{255, 255, 255, 0}), c) << i;
        else EXPECT_EQ(SkinColorTable[std::size_t(i - kSkinColorTableStart)], c) << i;
    }
    EXPECT_EQ(255, SkinPaletteEntry(kGreyRampEntries - 1).red) << "the ramp ends in white";
    for (auto [depth, trueColor, palette] : {std::tuple{4, false, false}, {8, false, true}, {15, true, false}, {32, true, false}})
        EXPECT_EQ(std::tuple(trueColor, palette), std::tuple(UsesTrueColorArt(depth), UsesSkinPalette(depth))) << depth;
}

}  // namespace
