// Config bit helpers shared by the main window and the banner.
#include "settings/settings.h"

bool ToggleConfigBit(AppSettings* settings, std::uint32_t bit)
{
    settings->Config ^= bit;
    return (settings->Config & bit) != 0;
}
