// Creation, placement and stacking of the four panels; the modeless dialog slot;
// the painting and repainting that every panel shares.
#include "ui/panels.h"

#include "base/app_state.h"
#include "media/media_device.h"
#include "resources/resource.h"
#include "model/layout.h"
#include "ui/skin.h"

namespace {

int CreatePanel(HWND parent, int templateId, DLGPROC proc, HWND* slot)
{
    *slot = CreateDialogParamA(g_app.instance, MAKEINTRESOURCEA(templateId), parent, proc, 0);
    return *slot ? 0 : -1;
}

}  // namespace

int CreateMainPanel(HWND parent)  { return CreatePanel(parent, IDD_MAINPANEL, MainPanelProc, &g_app.MainPanel); }
int CreateCdPanel(HWND parent)    { return CreatePanel(parent, IDD_CDPANEL, CdPanelProc, &g_app.CdPanel); }
int CreateMidiPanel(HWND parent)  { return CreatePanel(parent, IDD_MIDIPANEL, MidiPanelProc, &g_app.MidiPanel); }
int CreateSoundPanel(HWND parent) { return CreatePanel(parent, IDD_SOUNDPANEL, SoundPanelProc, &g_app.SoundPanel); }

int CreatePanels(HWND mainWindow)
{
    std::uint32_t config = g_app.settings.Config;
    if (config & CFG_CD) CreateCdPanel(mainWindow);
    if (config & CFG_MIDI) CreateMidiPanel(mainWindow);
    if (config & CFG_SOUND) CreateSoundPanel(mainWindow);
    if (config & CFG_BANNER) CreateMainPanel(mainWindow);
    return 1;
}

int PlacePanelControls(HWND panel, int x, int y, int width, int height)
{
    SetWindowPos(panel, nullptr, x, y, width - 1, height, SWP_NOZORDER);
    for (const HotSpot& spot : HotSpotTable(PanelKindOf(panel))) {
        PanelRect r = HotSpotRect(spot);
        SetWindowPos(GetDlgItem(panel, spot.id), nullptr, r.left, r.top, r.Width(), r.Height(),
                     SWP_NOZORDER | SWP_NOSENDCHANGING);
    }
    return 0;
}

void InitPanel(HWND panel, HWND* slot, int x, int y, int height)
{
    // The placement finds the table by this handle, so it is recorded first.
    *slot = panel;
    PlacePanelControls(panel, x, y, kPanelPlaceWidth, height);
    ShowWindow(panel, SW_SHOW);
}

int LayoutPanels(HWND mainWindow)
{
    PanelStack stack = StackPanels(g_app.settings.Config);
    HWND players[3] = {g_app.CdPanel, g_app.MidiPanel, g_app.SoundPanel};
    for (int i = 0; i < 3; ++i) {
        if (stack.shown[i]) {
            SetWindowPos(players[i], nullptr, 0, stack.top[i], 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            ShowWindow(players[i], SW_SHOW);
        } else {
            ShowWindow(players[i], SW_HIDE);
        }
    }
    g_app.mainWidth = kMainWidth;
    g_app.mainHeight = stack.height;
    SetWindowPos(mainWindow, nullptr, 0, 0, g_app.mainWidth, g_app.mainHeight, SWP_NOMOVE | SWP_NOZORDER);
    return 0;
}

int ShowModelessDialog(HWND owner, int templateId, DLGPROC proc)
{
    HWND dialog = CreateDialogParamA(g_app.instance, MAKEINTRESOURCEA(static_cast<WORD>(templateId)), owner,
                                     proc, 0);
    if (dialog) {
        ShowWindow(dialog, SW_SHOW);
        g_app.RecordReview = dialog;
    }
    return 0;
}

void PaintPanel(HWND panel, int templateId)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(panel, &ps);
    PaintPanelBackground(hdc, templateId);
    EndPaint(panel, &ps);
}

// An id that names no control (IDOK from Enter, IDCANCEL from Esc) repaints nothing more: a null
// window here would repaint every window on the desktop.
void RepaintAfterCommand(HWND panel, UINT id)
{
    InvalidateRect(GetDlgItem(panel, IDC_PLAY), nullptr, FALSE);
    if (id == IDC_PLAY) return;
    if (HWND control = GetDlgItem(panel, static_cast<int>(id))) InvalidateRect(control, nullptr, FALSE);
}
