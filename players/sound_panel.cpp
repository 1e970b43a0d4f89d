// The Sound player panel.
#include "app/app.h"
#include "resources/resource.h"
#include "ui/panels.h"
#include "ui/skin.h"

namespace {

void PaintSoundPanel(HWND panel)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(panel, &ps);
    PaintPanelBackground(hdc, IDD_SOUNDPANEL);
    EndPaint(panel, &ps);
}

}  // namespace

int RefreshSoundDisplay(HWND /*panel*/, BOOL /*force*/)
{
    return 0;
}

INT_PTR CALLBACK SoundPanelProc(HWND hDlg, UINT msg, WPARAM /*wParam*/, LPARAM lParam) noexcept
{
    switch (msg) {
    case WM_INITDIALOG:
        InitPanel(hDlg, &g_app.SoundPanel, 0, 268, 98);
        RefreshSoundDisplay(hDlg, TRUE);
        return TRUE;
    case WM_PAINT:          PaintSoundPanel(hDlg); return FALSE;
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
