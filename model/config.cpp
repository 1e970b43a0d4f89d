// Config bit helpers, and the checks of what the registry gives back.
#include "model/config.h"

#include "model/record_formats.h"

bool ToggleConfigBit(AppSettings* settings, std::uint32_t bit)
{
    settings->Config ^= bit;
    return (settings->Config & bit) != 0;
}

std::uint32_t ValidWavefmt(std::uint32_t wavefmt)
{
    return IsRecordFormatRow(wavefmt) ? wavefmt : kDefaultWavefmt;
}

std::string RunEntryText(const char* modulePath)
{
    constexpr std::size_t kModulePathSize = 256;
    std::size_t length = 0;
    while (length < kModulePathSize && modulePath[length] != '\0') ++length;
    if (length == 0 || length >= kModulePathSize - 1) return {};
    std::string path(modulePath, length);
    if (path.find_first_of(" \t") != std::string::npos) path = '"' + path + '"';
    return path + " TRAYAPP";
}
