// Stacking arithmetic of the panels inside the main window.
#pragma once

#include <cstdint>

constexpr int kMainWidth = 401;        // main window and panel width in pixels
constexpr int kPanelPlaceWidth = 402;  // width handed to the placement, one pixel wider
constexpr int kBannerHeight = 72;
constexpr int kPlayerHeight = 98;

// Where each player panel goes for a Config word, and how tall the window becomes.
struct PanelStack {
    bool shown[3] = {};  // CD, MIDI, Sound
    int top[3] = {};     // y of each shown panel; meaningless for a hidden one
    int height = 0;      // main window height
};

PanelStack StackPanels(std::uint32_t config);
