// The hot-spot tables: what each row places, and the tables a panel looks up.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "model/hot_spots.h"

TEST(HotSpots, RectangleIncludesRightAndBottom)
{
    PanelRect r = HotSpotRect(HotSpot{1000, 99, 41, 146, 65, "CD"});
    EXPECT_EQ(99, r.left);
    EXPECT_EQ(41, r.top);
    EXPECT_EQ(48, r.Width());
    EXPECT_EQ(25, r.Height());
    PanelRect dot = HotSpotRect(HotSpot{1, 5, 6, 5, 6, "dot"});
    EXPECT_EQ(1, dot.Width());
    EXPECT_EQ(1, dot.Height());
}

TEST(HotSpots, EachPanelFindsItsTable)
{
    EXPECT_EQ(8u, HotSpotTable(PANEL_MAIN).size());
    EXPECT_EQ(11u, HotSpotTable(PANEL_CD).size());
    EXPECT_EQ(10u, HotSpotTable(PANEL_MIDI).size());
    EXPECT_EQ(11u, HotSpotTable(PANEL_SOUND).size());
    EXPECT_TRUE(HotSpotTable(PANEL_NONE).empty());
    EXPECT_EQ(MainPanelHotSpots.data(), HotSpotTable(PANEL_MAIN).data());
    EXPECT_EQ(SoundPanelHotSpots.data(), HotSpotTable(PANEL_SOUND).data());
}

TEST(HotSpots, TablesKeepTheirOrder)
{
    // Rows are placed, and later hit-tested, in table order.
    const int mainIds[] = {1026, 1004, 1018, 1019, 1000, 1001, 1002, 1003};
    const int cdIds[] = {1013, 1020, 1016, 1012, 1010, 1014, 1009, 1005, 1008, 1024, 1007};
    const int midiIds[] = {1013, 1020, 1016, 1012, 1010, 1009, 1005, 1008, 1024, 1007};
    const int soundIds[] = {1013, 1020, 1016, 1012, 1010, 1006, 1009, 1005, 1008, 1024, 1007};
    auto expectIds = [](PanelKind panel, const int* ids, std::size_t count) {
        std::span<const HotSpot> table = HotSpotTable(panel);
        ASSERT_EQ(count, table.size()) << "panel " << panel;
        for (std::size_t i = 0; i < count; ++i) EXPECT_EQ(ids[i], table[i].id) << "panel " << panel << " row " << i + 1;
    };
    expectIds(PANEL_MAIN, mainIds, std::size(mainIds));
    expectIds(PANEL_CD, cdIds, std::size(cdIds));
    expectIds(PANEL_MIDI, midiIds, std::size(midiIds));
    expectIds(PANEL_SOUND, soundIds, std::size(soundIds));
}

TEST(HotSpots, KnownRowsGiveTheirPixelRectangles)
{
    struct Known {
        PanelKind panel;
        int row;
        int left, top, width, height;
        const char* name;
    };
    const Known known[] = {
        {PANEL_MAIN, 0, 125, 2, 156, 26, "Banner"},    {PANEL_MAIN, 1, 0, 42, 64, 23, "Power"},
        {PANEL_MAIN, 4, 99, 41, 48, 25, "CD"},         {PANEL_MAIN, 7, 253, 41, 48, 25, "MIXER"},
        {PANEL_CD, 0, 10, 6, 186, 27, "CDPlayList"},   {PANEL_CD, 4, 98, 58, 36, 30, "Rewind"},
        {PANEL_CD, 9, 288, 66, 60, 21, "Play"},        {PANEL_MIDI, 0, 19, 10, 146, 40, "CDPlayList"},
        {PANEL_MIDI, 6, 208, 59, 35, 30, "Next"},      {PANEL_SOUND, 0, 6, 7, 121, 82, "CDPlayList"},
        {PANEL_SOUND, 5, 135, 61, 35, 30, "Record"},   {PANEL_SOUND, 10, 350, 67, 35, 21, "Stop"},
    };
    for (const Known& k : known) {
        const HotSpot& spot = HotSpotTable(k.panel)[static_cast<std::size_t>(k.row)];
        PanelRect r = HotSpotRect(spot);
        EXPECT_EQ(k.left, r.left) << k.name;
        EXPECT_EQ(k.top, r.top) << k.name;
        EXPECT_EQ(k.width, r.Width()) << k.name;
        EXPECT_EQ(k.height, r.Height()) << k.name;
        EXPECT_STREQ(k.name, spot.name);
    }
}

TEST(HotSpots, EveryControlFitsItsPanelOnce)
{
    struct Panel {
        PanelKind kind;
        int height;
    };
    for (Panel panel : {Panel{PANEL_MAIN, 72}, Panel{PANEL_CD, 98}, Panel{PANEL_MIDI, 98}, Panel{PANEL_SOUND, 98}}) {
        std::set<int> ids;
        for (const HotSpot& spot : HotSpotTable(panel.kind)) {
            PanelRect r = HotSpotRect(spot);
            EXPECT_TRUE(ids.insert(spot.id).second) << spot.name << ": id " << spot.id << " twice";
            EXPECT_GE(r.left, 0) << spot.name;
            EXPECT_GE(r.top, 0) << spot.name;
            EXPECT_LE(r.right, 401) << spot.name;
            EXPECT_LE(r.bottom, panel.height) << spot.name;
            EXPECT_GT(r.Width(), 0) << spot.name;
            EXPECT_GT(r.Height(), 0) << spot.name;
            EXPECT_LT(std::strlen(spot.name), sizeof(spot.name)) << "a name fills its 16 characters";
        }
    }
}
