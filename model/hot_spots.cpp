// The four hot-spot tables, in the order controls are placed and the pointer test visits them.
#include "model/hot_spots.h"

#include "resources/resource.h"

const std::array<HotSpot, 8> MainPanelHotSpots{{
    {IDC_BANNER, 125, 2, 280, 27, "Banner"},
    {IDC_POWER, 0, 42, 63, 64, "Power"},
    {IDC_MINIMIZE, 340, 42, 367, 64, "Minimize"},
    {IDC_PROPERTIES, 370, 42, 390, 64, "Properties"},
    {IDC_CD, 99, 41, 146, 65, "CD"},
    {IDC_MIDI, 151, 41, 198, 65, "MIDI"},
    {IDC_SOUND, 202, 41, 249, 65, "SOUND"},
    {IDC_MIXER, 253, 41, 300, 65, "MIXER"},
}};

const std::array<HotSpot, 11> CdPanelHotSpots{{
    {IDC_PLAYLIST, 10, 6, 195, 32, "CDPlayList"},
    {IDC_TRACK, 231, 9, 375, 27, "Track"},
    {IDC_DISPLAY, 231, 28, 375, 47, "Display"},
    {IDC_BACK, 61, 58, 95, 87, "Back"},
    {IDC_REWIND, 98, 58, 133, 87, "Rewind"},
    {IDC_EJECT, 136, 58, 170, 87, "Eject"},
    {IDC_FORWARD, 174, 58, 208, 87, "Forward"},
    {IDC_NEXT, 212, 58, 246, 87, "Next"},
    {IDC_PAUSE, 250, 66, 284, 86, "Pause"},
    {IDC_PLAY, 288, 66, 347, 86, "Play"},
    {IDC_STOP, 350, 66, 384, 86, "Stop"},
}};

const std::array<HotSpot, 10> MidiPanelHotSpots{{
    {IDC_PLAYLIST, 19, 10, 164, 49, "CDPlayList"},
    {IDC_TRACK, 231, 10, 375, 28, "Track"},
    {IDC_DISPLAY, 231, 29, 375, 48, "Display"},
    {IDC_BACK, 95, 59, 129, 88, "Back"},
    {IDC_REWIND, 133, 59, 167, 88, "Rewind"},
    {IDC_FORWARD, 171, 59, 205, 88, "Forward"},
    {IDC_NEXT, 208, 59, 242, 88, "Next"},
    {IDC_PAUSE, 250, 67, 284, 87, "Pause"},
    {IDC_PLAY, 288, 67, 347, 87, "Play"},
    {IDC_STOP, 350, 67, 384, 87, "Stop"},
}};

const std::array<HotSpot, 11> SoundPanelHotSpots{{
    {IDC_PLAYLIST, 6, 7, 126, 88, "CDPlayList"},
    {IDC_TRACK, 231, 10, 375, 28, "Track"},
    {IDC_DISPLAY, 231, 29, 375, 48, "Display"},
    {IDC_BACK, 135, 31, 169, 60, "Back"},
    {IDC_REWIND, 173, 31, 207, 60, "Rewind"},
    {IDC_RECORD, 135, 61, 169, 90, "Record"},
    {IDC_FORWARD, 173, 61, 207, 90, "Forward"},
    {IDC_NEXT, 211, 61, 245, 90, "Next"},
    {IDC_PAUSE, 250, 67, 284, 87, "Pause"},
    {IDC_PLAY, 288, 67, 347, 87, "Play"},
    {IDC_STOP, 350, 67, 384, 87, "Stop"},
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
