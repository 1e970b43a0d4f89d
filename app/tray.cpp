// The notification-area icon and its menu.
#include "app/app.h"
#include "resources/resource.h"

#if !defined(_WIN64)
// The oldest shells accept only this size of the record.
static_assert(NOTIFYICONDATAA_V1_SIZE == 88, "the tray icon record must be the 88-byte form");
#endif

namespace {

// The tip field of the record in its original size, terminating zero included.
constexpr int kTrayTipSize = 64;

// The held tray menu lives from one add to the next add or a delete.
void ReplaceTrayMenu(HMENU menu)
{
    if (g_app.trayMenu) DestroyMenu(g_app.trayMenu);
    g_app.trayMenu = menu;
}

// The foreground switch lets the menu close when the user clicks elsewhere; the posted
// message afterwards makes the next tray click open it again.
void ShowTrayMenu(HWND hwnd)
{
    HMENU popup = GetSubMenu(g_app.trayMenu, 0);
    if (!popup) return;
    POINT pt{};
    GetCursorPos(&pt);
    SetForegroundWindow(hwnd);
    TrackPopupMenu(popup, 0, pt.x, pt.y, 0, hwnd, nullptr);
    PostMessageA(hwnd, WM_USER, 0, 0);
}

}  // namespace

BOOL NotifyTrayIcon(HWND hwnd, DWORD operation, const char* tip)
{
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = hwnd;
    data.uID = kTrayIconId;
    if (operation == NIM_ADD) {
        ReplaceTrayMenu(LoadMenuA(g_app.instance, IDR_TRAY_NAME));
        data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        data.uCallbackMessage = TRAY_CALLBACK;
        data.hIcon = LoadIconA(g_app.instance, MAKEINTRESOURCEA(IDI_VELUTRA));
        lstrcpynA(data.szTip, tip ? tip : "", kTrayTipSize);
    } else if (operation == NIM_DELETE) {
        ReplaceTrayMenu(nullptr);
    }
    return Shell_NotifyIconA(operation, &data);
}

// The add's result is not examined: a refused icon still counts as on, so it is never added twice.
int SetTrayIcon(HWND hwnd, BOOL on)
{
    if (!on) {
        NotifyTrayIcon(hwnd, NIM_DELETE, kAppName);
        g_app.settings.Config &= ~CFG_TRAY;
        return 0;
    }
    if (!(g_app.settings.Config & CFG_TRAY)) NotifyTrayIcon(hwnd, NIM_ADD, kAppName);
    g_app.settings.Config |= CFG_TRAY;
    return 0;
}

void OnTrayNotify(HWND hwnd, UINT mouseMessage)
{
    switch (mouseMessage) {
    case WM_LBUTTONDBLCLK:  SendMessageA(hwnd, WM_COMMAND, IDM_OPEN, 0); break;
    case WM_RBUTTONDOWN:    ShowTrayMenu(hwnd); break;
    }
}

// A restarted shell has forgotten every icon; it says so once it is ready for new ones.
void OnTaskbarCreated(HWND hwnd)
{
    if (g_app.settings.Config & CFG_TRAY) NotifyTrayIcon(hwnd, NIM_ADD, kAppName);
}
