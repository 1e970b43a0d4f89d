// The CD player panel: its transport commands, the position read-out and the end of the disc.
#include <iterator>

#include "base/app_state.h"
#include "media/media_device.h"
#include "model/readout.h"
#include "panels/panels.h"
#include "resources/resource.h"

namespace {

// The key of the text last put into Track.
std::uint32_t g_lastCdDisplayKey = kInitialCdDisplayKey;

// Opens the device when needed and reads the disc's track list; false when there is no usable disc.
bool OpenAndCheckCd(MediaDevice* cd)
{
    OpenIfClosed(cd);
    return RefreshCdTrackList(cd) == 0;
}

void PressPlaylist(HWND panel, MediaDevice* cd)
{
    if (OpenAndCheckCd(cd) && cd->playlist.count > 0)
        DialogBoxParamA(g_app.instance, MAKEINTRESOURCEA(IDD_CDPLAYLIST), panel, CdPlaylistProc, 0);
    ShowCurrentEntryName(panel, IDC_DISPLAY, cd);
}

// Opening the door closes the device and forgets the disc; closing it looks at the new disc at once.
void PressEject(MediaDevice* cd)
{
    OpenIfClosed(cd);
    StopMedia(cd);
    SeekToStart(cd, 0);
    if (ToggleCdDoor(cd)) {
        RefreshCdTrackList(cd);
    } else {
        CloseMediaDevice(cd);
        ClearPlaylist(&cd->playlist);
    }
}

void RunCdCommand(HWND panel, UINT id)
{
    MediaDevice* cd = &g_app.CdDevice;
    switch (id) {
    case IDC_NEXT:      if (OpenAndCheckCd(cd)) NextPlaylistEntry(cd); break;
    case IDC_STOP:      StopMedia(cd); SeekToStart(cd, 0); break;
    case IDC_PAUSE:     TogglePauseMedia(cd); break;
    case IDC_FORWARD:   if (OpenAndCheckCd(cd)) SkipForward(cd); break;
    case IDC_REWIND:    if (OpenAndCheckCd(cd)) SkipBackward(cd); break;
    case IDC_BACK:      if (OpenAndCheckCd(cd)) PreviousPlaylistEntry(cd); break;
    case IDC_PLAYLIST:  PressPlaylist(panel, cd); break;
    case IDC_EJECT:     PressEject(cd); break;
    case IDC_PLAY:      if (OpenAndCheckCd(cd)) PlayMedia(cd); break;
    }
}

// The disc has played to its end: back to track 1, stopped, with the device left open.
void EndOfDisc(WPARAM code)
{
    if (code != MCI_NOTIFY_SUCCESSFUL) return;
    SeekToStart(&g_app.CdDevice, 1);
    g_app.CdDevice.playlist.current = 0;
}

}  // namespace

int RefreshCdDisplay(HWND panel, BOOL force)
{
    MediaDevice* cd = &g_app.CdDevice;
    bool listed = (cd->flags & MDF_OPEN) && cd->playlist.count >= 1;
    DWORD position = 0;
    bool gotPosition = listed && QueryDevicePosition(cd->deviceId, &position);
    CdReadout readout = CdReadoutOf(listed, gotPosition, position, cd->playlist.current);
    cd->playlist.current = readout.current;

    std::uint32_t key = DisplayKey(readout.number, readout.minutes, readout.seconds);
    if (!force && key == g_lastCdDisplayKey) return 0;
    g_lastCdDisplayKey = key;

    char word[40] = {};
    LoadStringA(g_app.instance, IDS_TRACK, word, static_cast<int>(std::size(word)));
    char text[64] = {};
    FormatReadout(text, sizeof(text), readout.minutes, readout.seconds, word, readout.number);
    SetDlgItemTextA(panel, IDC_TRACK, text);
    return 0;
}

INT_PTR CALLBACK CdPanelProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    switch (msg) {
    case WM_INITDIALOG:
        InitPanel(hDlg, &g_app.CdPanel, 0, 72, 98);
        RefreshCdDisplay(hDlg, TRUE);
        return TRUE;
    case WM_PAINT:          PaintPanel(hDlg, IDD_CDPANEL); return FALSE;
    case WM_SETCURSOR:      return TrackPointer(hDlg);
    case WM_DRAWITEM:       return DrawPlayerItem(hDlg, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_COMMAND:
        RunCdCommand(hDlg, LOWORD(wParam));
        RepaintAfterCommand(hDlg, LOWORD(wParam));
        return FALSE;
    case MM_MCINOTIFY:      EndOfDisc(wParam); return FALSE;
    }
    return FALSE;
}
