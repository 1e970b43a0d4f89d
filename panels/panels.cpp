// Creation, placement and stacking of the four panels; the painting, drawing, repainting and
// pointer tracking that every panel shares; the twice-a-second poll of the panels.
#include "panels/panels.h"

#include "base/app_state.h"
#include "media/media_device.h"
#include "model/layout.h"
#include "resources/resource.h"
#include "ui/skin.h"

namespace {

constexpr DWORD kHandWaitMs = 50;

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

void PaintPanel(HWND panel, int templateId)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(panel, &ps);
    PaintPanelBackground(hdc, templateId);
    EndPaint(panel, &ps);
}

INT_PTR DrawPlayerItem(HWND panel, const DRAWITEMSTRUCT* item)
{
    DrawButtonFace(panel, item);
    DrawLcdItem(panel, item);
    TrackPointer(panel);
    return TRUE;
}

// An id that names no control (IDOK from Enter, IDCANCEL from Esc) repaints nothing more: a null
// window here would repaint every window on the desktop.
void RepaintAfterCommand(HWND panel, UINT id)
{
    InvalidateRect(GetDlgItem(panel, IDC_PLAY), nullptr, FALSE);
    if (id == IDC_PLAY) return;
    if (HWND control = GetDlgItem(panel, static_cast<int>(id))) InvalidateRect(control, nullptr, FALSE);
}

// The hand stays for 50 ms before the panel goes on. The wait blocks the thread without
// processing messages, as a busy loop on the tick count would, but costs no processor time.
int TrackPointer(HWND panel)
{
    std::span<const HotSpot> table = HotSpotTable(PanelKindOf(panel));
    if (table.empty()) return 0;
    POINT pt;
    GetCursorPos(&pt);
    // Every hot spot lies inside its panel, so a pointer outside the panel needs no row tested:
    // this runs on every timer tick and every button redraw.
    RECT panelRect;
    if (!GetWindowRect(panel, &panelRect) || !PtInRect(&panelRect, pt)) return 0;
    for (const HotSpot& spot : table) {
        if (spot.id == IDC_DISPLAY || spot.id == IDC_TRACK) continue;
        RECT rect;
        if (!GetWindowRect(GetDlgItem(panel, spot.id), &rect) || !PtInRect(&rect, pt)) continue;
        SetCursor(LoadCursorA(g_app.instance, MAKEINTRESOURCEA(IDCUR_HAND)));
        ShowCursor(TRUE);
        Sleep(kHandWaitMs);
        return 1;
    }
    return 0;
}

namespace {

constexpr unsigned kClosedDiscPollTicks = 4;
unsigned g_pollCount = 0;

// The faces that follow the devices are checked on every tick but drawn only when they change:
// drawing unchanged faces twice a second would cost more than everything else the idle program does.
void RedrawChangedFace(HWND panel, int id)
{
    HWND control = panel ? GetDlgItem(panel, id) : nullptr;
    if (control && FaceOutOfDate(control)) InvalidateRect(control, nullptr, FALSE);
}

}  // namespace

// Keeps the hand current and the faces that follow the devices up to date, twice a second.
void PollPanels()
{
    ++g_pollCount;
    TrackPointer(g_app.MainPanel);
    std::uint32_t config = g_app.settings.Config;
    if (config & CFG_CD) {
        TrackPointer(g_app.CdPanel);
        RedrawChangedFace(g_app.CdPanel, IDC_PLAY);
        // With the CD device closed, asking for a disc opens and closes the cdaudio driver, which
        // costs more than the other polls: then a disc is looked for every 2 s.
        if (g_app.CdDevice.deviceId != 0 || g_pollCount % kClosedDiscPollTicks == 0)
            RedrawChangedFace(g_app.CdPanel, IDC_PLAYLIST);
    }
    if (config & CFG_MIDI) {
        TrackPointer(g_app.MidiPanel);
        RedrawChangedFace(g_app.MidiPanel, IDC_PLAY);
    }
    if (config & CFG_SOUND) {
        TrackPointer(g_app.SoundPanel);
        RedrawChangedFace(g_app.SoundPanel, IDC_PLAY);
    }
}
