// The three values that outlive a run, and the Config bits.
#pragma once

#include <cstdint>
#include <string>

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

// A stored recording format outside the table's rows falls back to the default row.
std::uint32_t ValidWavefmt(std::uint32_t wavefmt);

// The autostart command: the program's path, a blank and "TRAYAPP". The path is quoted when it
// holds a blank, or Windows would split the command there. Empty when the path fills its 256-byte
// buffer, because the system may then have cut it short and the command would name another file.
std::string RunEntryText(const char* modulePath);
