// The main window: creation of the working state, command dispatch, timer and shut-down.
#include <windowsx.h>

#include "app/app.h"
#include "dialogs/dialogs.h"
#include "panels/panels.h"
#include "resources/resource.h"
#include "ui/skin.h"

namespace {

// Set as Exit begins to save and release everything: the end of the session may still reach the
// window while it is being destroyed, and a save then would write the released, empty lists.
bool g_shutDown = false;

void CheckMenuCommand(HWND hwnd, UINT id, bool checked)
{
    CheckMenuItem(GetMenu(hwnd), id, checked ? MF_CHECKED : MF_UNCHECKED);
}

void OpenMainWindow(HWND hwnd)
{
    ShowWindow(hwnd, IsIconic(hwnd) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(hwnd);
}

void DestroySlot(HWND* slot)
{
    if (*slot) {
        DestroyWindow(*slot);
        *slot = nullptr;
    }
}

// A hidden player stops and closes its device; its read-out then shows the resting position.
void TogglePlayer(HWND hwnd, UINT command)
{
    struct Player {
        UINT command;
        std::uint32_t bit;
        MediaDevice* device;
        HWND* panel;
        int (*refresh)(HWND, BOOL);
        BOOL forceRefresh;
    };
    const Player players[] = {
        {IDM_CDPLAYER, CFG_CD, &g_app.CdDevice, &g_app.CdPanel, RefreshCdDisplay, FALSE},
        {IDM_MIDIPLAYER, CFG_MIDI, &g_app.MidiDevice, &g_app.MidiPanel, RefreshMidiDisplay, FALSE},
        {IDM_SOUNDPLAYER, CFG_SOUND, &g_app.SoundDevice, &g_app.SoundPanel, RefreshSoundDisplay, TRUE},
    };
    for (const Player& p : players) {
        if (p.command != command) continue;
        bool shown = ToggleConfigBit(&g_app.settings, p.bit);
        CheckMenuCommand(hwnd, command, shown);
        LayoutPanels(hwnd);
        if (!shown) {
            StopMedia(p.device);
            CloseMediaDevice(p.device);
            p.refresh(*p.panel, p.forceRefresh);
        }
    }
}

void ToggleMixer(HWND hwnd)
{
    CheckMenuCommand(hwnd, IDM_MIXER, ToggleConfigBit(&g_app.settings, CFG_MIXER));
    if (FindWindowA(nullptr, "Master Volume")) return;
    // Windows since Vista has no SNDVOL32; its volume mixer is "sndvol". WinExec returns 31 or
    // less when it cannot start the program.
    if (WinExec("SNDVOL32", SW_SHOW) <= 31) WinExec("sndvol", SW_SHOW);
}

void ExitProgram(HWND hwnd)
{
    if (g_app.SoundDevice.flags & MDF_NEWRECORDING) {
        ShowResourceMessage(IDS_RECORDING_BUSY, MB_ICONEXCLAMATION);
        return;
    }
    LeaveSingleInstance(hwnd);
    ShutDownMainWindow(hwnd);
    SendMessageA(hwnd, WM_CLOSE, 0, 0);
}

// A recording that the window's end cuts short is dropped: the close deletes its review file,
// which nothing would delete later.
void DropRecording()
{
    if (g_app.SoundDevice.flags & MDF_NEWRECORDING) CloseMediaDevice(&g_app.SoundDevice);
}

// Windows ends a tray program with the session instead of letting it reach Exit: save what Exit
// saves, so the playlists and settings survive a log-off or shutdown.
void SaveForNextRun()
{
    // A review open at the end of the session is dropped too; a recording still under way has no
    // review file yet and goes on until Windows ends the program.
    if (g_app.RecordReview) DropRecording();
    if (g_shutDown) return;
    SavePlaylistStore();
    SaveSettings();
}

void ShowContextMenu(HWND hwnd, LPARAM lParam)
{
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(hwnd, &pt);
    HMENU view = GetSubMenu(GetMenu(hwnd), 2);
    if (!view) {
        MessageBeep(0);
        return;
    }
    TrackPopupMenu(view, 0, pt.x, pt.y, 0, hwnd, nullptr);
}

LRESULT RunCommand(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    UINT id = LOWORD(wParam);
    switch (id) {
    case IDM_OPEN:          OpenMainWindow(hwnd); return 0;
    case IDM_EXIT:          ExitProgram(hwnd); return 0;
    case IDM_HELP_CONTENTS:
    case IDM_HELP_SEARCH:
    case IDM_HELP_HELP:
    case IDM_HELP_FINDER:   RunHelpCommand(hwnd, id); return 0;
    case IDM_ABOUT:
        DialogBoxParamA(g_app.instance, "AboutBox", hwnd, AboutDlgProc, 0);
        return 0;
    case IDM_CDSTART:       SendMessageA(g_app.CdPanel, WM_COMMAND, IDC_PLAY, 0); return 0;
    case IDM_MIXER:         ToggleMixer(hwnd); return 0;
    case IDM_CDPLAYER:
    case IDM_MIDIPLAYER:
    case IDM_SOUNDPLAYER:   TogglePlayer(hwnd, id); return 0;
    case IDM_REGULAR:       return 0;
    case IDM_MINIMIZE:      ShowWindow(hwnd, SW_MINIMIZE); return 0;
    case IDM_PROPERTIES:
        DialogBoxParamA(g_app.instance, MAKEINTRESOURCEA(IDD_PROPERTIES), hwnd, PropertiesDlgProc, 0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void OnPaint(HWND hwnd)
{
    PAINTSTRUCT ps;
    BeginPaint(hwnd, &ps);
    EndPaint(hwnd, &ps);
}

void OnDestroy(HWND hwnd)
{
    LeaveSingleInstance(hwnd);
    DropRecording();
    KillTimer(hwnd, TIMER_REFRESH);
    WinHelpA(hwnd, kHelpFile, HELP_QUIT, 0);
    NotifyTrayIcon(hwnd, NIM_DELETE, kAppName);
    PostQuitMessage(0);
}

}  // namespace

// The order matters: the playlists are loaded before the panels that show them are created,
// and the panels are created before the settings that hide some of them are read.
int InitMainWindow(HWND hwnd)
{
    LoadPlaylistStore();
    CreatePanels(hwnd);
    LoadSettings();
    if (g_app.settings.Config & CFG_TRAY) {
        g_app.settings.Config &= ~CFG_TRAY;
        SetTrayIcon(hwnd, TRUE);
    }
    if (g_app.colorDepth == 8) {
        g_app.palette = CreateSkinPalette(256);
        SelectSkinPalette(TRUE);
    }
    LayoutPanels(hwnd);
    CheckMenuCommand(hwnd, IDM_CDPLAYER, g_app.settings.Config & CFG_CD);
    CheckMenuCommand(hwnd, IDM_MIDIPLAYER, g_app.settings.Config & CFG_MIDI);
    CheckMenuCommand(hwnd, IDM_SOUNDPLAYER, g_app.settings.Config & CFG_SOUND);
    CheckMenuCommand(hwnd, IDM_REGULAR, true);
    CheckMenuCommand(hwnd, IDM_MIXER, true);
    RefreshPlayerDisplays();
    return 1;
}

int ShutDownMainWindow(HWND /*hwnd*/)
{
    g_shutDown = true;
    SavePlaylistStore();
    SaveSettings();
    ReleaseMediaDevice(&g_app.CdDevice);
    ReleaseMediaDevice(&g_app.MidiDevice);
    ReleaseMediaDevice(&g_app.SoundDevice);
    if (g_app.colorDepth == 8) {
        SelectSkinPalette(FALSE);
        DeleteObject(g_app.palette);
        g_app.palette = nullptr;
    }
    DestroySlot(&g_app.MainPanel);
    DestroySlot(&g_app.RecordReview);
    DestroySlot(&g_app.SoundPanel);
    DestroySlot(&g_app.MidiPanel);
    DestroySlot(&g_app.CdPanel);
    return 1;
}

int RefreshPlayerDisplays()
{
    std::uint32_t config = g_app.settings.Config;
    if (config & CFG_CD) RefreshCdDisplay(g_app.CdPanel, FALSE);
    if (config & CFG_MIDI) RefreshMidiDisplay(g_app.MidiPanel, FALSE);
    if (config & CFG_SOUND) RefreshSoundDisplay(g_app.SoundPanel, FALSE);
    return 1;
}

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    if (msg == g_app.taskbarCreated && msg != 0) {
        OnTaskbarCreated(hwnd);
        return 0;
    }
    switch (msg) {
    case WM_CREATE:
        InitMainWindow(hwnd);
        SetTimer(hwnd, TIMER_REFRESH, kRefreshPeriodMs, nullptr);
        return 0;
    case WM_DESTROY:        OnDestroy(hwnd); return 0;
    case WM_NCDESTROY:      RemovePropA(hwnd, kEndingProp); break;
    case WM_SIZE:           return 0;
    case WM_PAINT:          OnPaint(hwnd); return 0;
    case WM_DISPLAYCHANGE:  return 0;
    case WM_TIMER:          RefreshPlayerDisplays(); PollPanels(); return 0;
    case WM_COMMAND:        return RunCommand(hwnd, msg, wParam, lParam);
    case WM_RBUTTONDOWN:    ShowContextMenu(hwnd, lParam); return 0;
    case TRAY_CALLBACK:     OnTrayNotify(hwnd, static_cast<UINT>(lParam)); return 0;
    case WM_ENDSESSION:     if (wParam) SaveForNextRun(); return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}
