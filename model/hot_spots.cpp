// The four hot-spot tables, in the order controls are placed and the pointer test visits them.
#include "model/hot_spots.h"

const std::array<HotSpot, 8> MainPanelHotSpots{{
    {1026, 125, 2, 280, 27, "Banner"},
    {1004, 0, 42, 63, 64, "Power"},
    {1018, 340, 42, 367, 64, "Minimize"},
    {1019, 370, 42, 390, 64, "Properties"},
    {1000, 99, 41, 146, 65, "CD"},
    {1001, 151, 41, 198, 65, "MIDI"},
    {1002, 202, 41, 249, 65, "SOUND"},
    {1003, 253, 41, 300, 65, "MIXER"},
}};

const std::array<HotSpot, 11> CdPanelHotSpots{{
    {1013, 10, 6, 195, 32, "CDPlayList"},
    {1020, 231, 9, 375, 27, "Track"},
    {1016, 231, 28, 375, 47, "Display"},
    {1012, 61, 58, 95, 87, "Back"},
    {1010, 98, 58, 133, 87, "Rewind"},
    {1014, 136, 58, 170, 87, "Eject"},
    {1009, 174, 58, 208, 87, "Forward"},
    {1005, 212, 58, 246, 87, "Next"},
    {1008, 250, 66, 284, 86, "Pause"},
    {1024, 288, 66, 347, 86, "Play"},
    {1007, 350, 66, 384, 86, "Stop"},
}};

const std::array<HotSpot, 10> MidiPanelHotSpots{{
    {1013, 19, 10, 164, 49, "CDPlayList"},
    {1020, 231, 10, 375, 28, "Track"},
    {1016, 231, 29, 375, 48, "Display"},
    {1012, 95, 59, 129, 88, "Back"},
    {1010, 133, 59, 167, 88, "Rewind"},
    {1009, 171, 59, 205, 88, "Forward"},
    {1005, 208, 59, 242, 88, "Next"},
    {1008, 250, 67, 284, 87, "Pause"},
    {1024, 288, 67, 347, 87, "Play"},
    {1007, 350, 67, 384, 87, "Stop"},
}};

const std::array<HotSpot, 11> SoundPanelHotSpots{{
    {1013, 6, 7, 126, 88, "CDPlayList"},
    {1020, 231, 10, 375, 28, "Track"},
    {1016, 231, 29, 375, 48, "Display"},
    {1012, 135, 31, 169, 60, "Back"},
    {1010, 173, 31, 207, 60, "Rewind"},
    {1006, 135, 61, 169, 90, "Record"},
    {1009, 173, 61, 207, 90, "Forward"},
    {1005, 211, 61, 245, 90, "Next"},
    {1008, 250, 67, 284, 87, "Pause"},
    {1024, 288, 67, 347, 87, "Play"},
    {1007, 350, 67, 384, 87, "Stop"},
}};

std::span<const HotSpot> HotSpotTable(PanelKind panel)
{
    switch (panel) {
    case PANEL_MAIN:  return MainPanelHotSpots;
    case PANEL_CD:    return CdPanelHotSpots;
    case PANEL_MIDI:  return MidiPanelHotSpots;
    case PANEL_SOUND: return SoundPanelHotSpots;
    case PANEL_NONE:  break;
    }
    return {};
}

PanelRect HotSpotRect(const HotSpot& spot)
{
    return {spot.left, spot.top, spot.right + 1, spot.bottom + 1};
}
