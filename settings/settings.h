// The three values that outlive a run, and the Config bits.
// Portable: no Windows headers, so the host build tests it.
#pragma once

#include <cstdint>

enum ConfigBits : std::uint32_t {
    CFG_BANNER = 0x01,
    CFG_MIXER  = 0x02,
    CFG_CD     = 0x04,
    CFG_MIDI   = 0x08,
    CFG_SOUND  = 0x10,
    CFG_TRAY   = 0x80,
};

constexpr std::uint32_t kDefaultConfig  = 0x9F;
constexpr std::uint32_t kDefaultOption  = 0;
constexpr std::uint32_t kDefaultWavefmt = 10;

struct AppSettings {
    std::uint32_t Config  = kDefaultConfig;
    std::uint32_t Option  = kDefaultOption;
    std::uint32_t Wavefmt = kDefaultWavefmt;
};

// Flips one view bit and says whether it is now set.
bool ToggleConfigBit(AppSettings* settings, std::uint32_t bit);

// Registry half (settings_win.cpp).
int LoadSettings();
int SaveSettings();
