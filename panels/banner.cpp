// The banner panel: its buttons become main-window commands; the window is dragged by the banner.
#include "base/app_state.h"
#include "media/media_device.h"
#include "panels/panels.h"
#include "resources/resource.h"
#include "ui/skin.h"

namespace {

// InvalidateRect with no window would redraw every window on the screen, so a control that
// does not exist (or a panel that was never created) is skipped.
void RedrawControl(HWND panel, int id)
{
    HWND control = panel ? GetDlgItem(panel, id) : nullptr;
    if (control) InvalidateRect(control, nullptr, FALSE);
}

void SendToMain(HWND panel, UINT command)
{
    SendMessageA(GetParent(panel), WM_COMMAND, command, 0);
}

bool RecordingUnderway()
{
    return (g_app.SoundDevice.flags & MDF_NEWRECORDING) != 0;
}

// With the tray icon on, Power stops and closes the players and hides the window instead of exiting.
void PressPower(HWND panel)
{
    if (RecordingUnderway()) {
        ShowResourceMessage(IDS_RECORDING_BUSY, MB_ICONEXCLAMATION);
        return;
    }
    if (!(g_app.settings.Config & CFG_TRAY)) {
        SendToMain(panel, IDM_EXIT);
        return;
    }
    MediaDevice* devices[] = {&g_app.CdDevice, &g_app.MidiDevice, &g_app.SoundDevice};
    for (MediaDevice* device : devices) StopMedia(device);
    for (MediaDevice* device : devices) CloseMediaDevice(device);
    ShowWindow(g_app.mainWindow, SW_HIDE);
}

void PressSound(HWND panel)
{
    if (RecordingUnderway())
        ShowResourceMessage(IDS_RECORDING_BUSY, MB_ICONEXCLAMATION);
    else
        SendToMain(panel, IDM_SOUNDPLAYER);
}

INT_PTR RunBannerCommand(HWND panel, UINT id)
{
    switch (id) {
    case IDOK:
    case IDCANCEL:          return TRUE;  // Enter and Escape do nothing in the banner
    case IDC_CD:            SendToMain(panel, IDM_CDPLAYER); break;
    case IDC_MIDI:          SendToMain(panel, IDM_MIDIPLAYER); break;
    case IDC_SOUND:         PressSound(panel); break;
    case IDC_MIXER:         SendToMain(panel, IDM_MIXER); break;
    case IDC_POWER:         PressPower(panel); break;
    case IDC_MINIMIZE:
    case IDC_HIDDEN_X:      SendToMain(panel, IDM_MINIMIZE); break;
    case IDC_PROPERTIES:    SendToMain(panel, IDM_PROPERTIES); break;
    case IDC_BANNER:        SendToMain(panel, IDM_ABOUT); break;
    }
    RedrawControl(panel, static_cast<int>(id));
    return FALSE;
}

// A press outside the Banner button starts moving the captionless main window.
INT_PTR PressBackground(HWND panel)
{
    POINT pt;
    GetCursorPos(&pt);
    RECT banner;
    GetWindowRect(GetDlgItem(panel, IDC_BANNER), &banner);
    if (PtInRect(&banner, pt)) return TRUE;
    SendMessageA(GetParent(panel), WM_NCLBUTTONDOWN, HTCAPTION, 0);
    return FALSE;
}

}  // namespace

INT_PTR CALLBACK MainPanelProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    switch (msg) {
    case WM_INITDIALOG:
        InitPanel(hDlg, &g_app.MainPanel, 0, 0, 72);
        return TRUE;
    case WM_PAINT:          PaintPanel(hDlg, IDD_MAINPANEL); return FALSE;
    case WM_SETCURSOR:      return TrackPointer(hDlg);
    case WM_DRAWITEM:
        DrawButtonFace(hDlg, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        TrackPointer(hDlg);
        return TRUE;
    case WM_COMMAND:        return RunBannerCommand(hDlg, LOWORD(wParam));
    case WM_LBUTTONDOWN:    return PressBackground(hDlg);
    }
    return FALSE;
}
