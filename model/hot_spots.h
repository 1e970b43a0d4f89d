// The panels' hot-spot tables: where each owner-drawn control sits, in pixels.
#pragma once

#include <array>
#include <cstdint>
#include <span>

// A rectangle in pixels; right and bottom are exclusive, as in a Win32 RECT.
struct PanelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// One row of a hot-spot table; right and bottom are inclusive.
struct HotSpot {
    std::int32_t id;
    std::int32_t left, top, right, bottom;
    char name[16];
};

enum PanelKind : int { PANEL_MAIN, PANEL_CD, PANEL_MIDI, PANEL_SOUND, PANEL_NONE };

extern const std::array<HotSpot, 8> MainPanelHotSpots;
extern const std::array<HotSpot, 11> CdPanelHotSpots;
extern const std::array<HotSpot, 10> MidiPanelHotSpots;
extern const std::array<HotSpot, 11> SoundPanelHotSpots;

// The table of a panel; empty for PANEL_NONE.
std::span<const HotSpot> HotSpotTable(PanelKind panel);

// The pixel rectangle a row places its control in.
PanelRect HotSpotRect(const HotSpot& spot);
