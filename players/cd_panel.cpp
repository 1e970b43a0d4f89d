// The Cd player panel.
#include "app/app.h"
#include "resources/resource.h"
#include "ui/panels.h"
#include "ui/skin.h"

namespace {

void PaintCdPanel(HWND panel)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(panel, &ps);
    PaintPanelBackground(hdc, IDD_CDPANEL);
    EndPaint(panel, &ps);
}

}  // namespace

int RefreshCdDisplay(HWND /*panel*/, BOOL /*force*/)
{
    return 0;
}

INT_PTR CALLBACK CdPanelProc(HWND hDlg, UINT msg, WPARAM /*wParam*/, LPARAM lParam) noexcept
{
    switch (msg) {
    case WM_INITDIALOG:
        InitPanel(hDlg, &g_app.CdPanel, 0, 72, 98);
        RefreshCdDisplay(hDlg, TRUE);
        return TRUE;
    case WM_PAINT:          PaintCdPanel(hDlg); return FALSE;
    case WM_SETCURSOR:      return TrackPointer(hDlg);
    case WM_DRAWITEM: {
        auto item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        DrawButtonFace(hDlg, item);
        DrawLcdItem(hDlg, item);
        TrackPointer(hDlg);
        return TRUE;
    }
    }
    return FALSE;
}
