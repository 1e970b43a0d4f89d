// The notification-area icon and its menu.
#include "app/app.h"

BOOL NotifyTrayIcon(HWND /*hwnd*/, DWORD /*operation*/, const char* /*tip*/)
{
    return FALSE;
}

int SetTrayIcon(HWND /*hwnd*/, BOOL on)
{
    if (on)
        g_app.settings.Config |= CFG_TRAY;
    else
        g_app.settings.Config &= ~CFG_TRAY;
    return 0;
}

void OnTrayNotify(HWND /*hwnd*/, UINT /*mouseMessage*/)
{
}
