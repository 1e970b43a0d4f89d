// The settings in the registry, and the autostart entry.
#include "app/app.h"

int LoadSettings()
{
    g_app.settings.Config |= CFG_BANNER;
    return -1;
}

int SaveSettings()
{
    return -1;
}
