// The Midi player panel.
#include "app/app.h"
#include "resources/resource.h"
#include "ui/panels.h"
#include "ui/skin.h"

namespace {

void PaintMidiPanel(HWND panel)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(panel, &ps);
    PaintPanelBackground(hdc, IDD_MIDIPANEL);
    EndPaint(panel, &ps);
}

}  // namespace

int RefreshMidiDisplay(HWND /*panel*/, BOOL /*force*/)
{
    return 0;
}

INT_PTR CALLBACK MidiPanelProc(HWND hDlg, UINT msg, WPARAM /*wParam*/, LPARAM lParam) noexcept
{
    switch (msg) {
    case WM_INITDIALOG:
        InitPanel(hDlg, &g_app.MidiPanel, 0, 170, 98);
        RefreshMidiDisplay(hDlg, TRUE);
        return TRUE;
    case WM_PAINT:          PaintMidiPanel(hDlg); return FALSE;
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
