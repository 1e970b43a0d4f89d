// The Sound player panel: transport commands, recording from Record to Recordend, the position
// read-out and the end of each file.
#include "panels/panels.h"

#include <iterator>

#include "base/app_state.h"
#include "media/media_device.h"
#include "model/readout.h"
#include "resources/resource.h"

namespace {

// The key of the text last put into the read-out.
std::uint32_t g_soundDisplayKey = kInitialSoundDisplayKey;

// Every button but Stop, which must always be able to end a recording; in the order they change.
constexpr int kRecordingLocks[] = {IDC_PLAYLIST, IDC_RECORD, IDC_PLAY, IDC_REWIND,
                                   IDC_FORWARD,  IDC_BACK,   IDC_NEXT, IDC_PAUSE};

bool IsRecording(const MediaDevice* device)
{
    return (device->flags & MDF_NEWRECORDING) != 0;
}

void ShowControlsAndReadout(HWND panel)
{
    UpdateSoundControls(panel, &g_app.SoundDevice);
    RefreshSoundDisplay(panel, TRUE);
}

// Whatever played is stopped and closed (the current entry stays current) before the device
// opens a new element to record into.
void BeginRecording(HWND panel, MediaDevice* device)
{
    char text[256] = {};
    LoadStringA(g_app.instance, IDS_RECORDING, text, static_cast<int>(std::size(text)));
    SetDlgItemTextA(panel, IDC_DISPLAY, text);
    StopMedia(device);
    SeekToStart(device, 0);
    CloseMediaDevice(device);
    device->flags |= MDF_NEWRECORDING;
    UpdateSoundControls(panel, device);
    RefreshSoundDisplay(panel, TRUE);
    StartRecording(device, g_app.settings.Wavefmt, g_app.recorderPanel);
}

// The review dialog sends this from inside its own command handling: it is destroyed here while
// its procedure still runs, and that procedure does nothing after the send returns. The panel and
// its buttons are given back first, so they are usable the moment the dialog is gone; the close,
// which waits for the rest of the wave device, comes last.
void EndRecording(HWND panel, MediaDevice* device)
{
    device->flags &= ~static_cast<DWORD>(MDF_NEWRECORDING);
    EnableWindow(panel, TRUE);
    UpdateSoundControls(panel, device);
    if (g_app.RecordReview) {
        DestroyWindow(g_app.RecordReview);
        g_app.RecordReview = nullptr;
    }
    CloseMediaDevice(device);  // a recording that was not saved is dropped here
}

// Stop ends a recording too; the recording then stays in the device for the review dialog, and
// the panel takes no input until the dialog ends the recording. Without the dialog nothing could
// end it: the recording is dropped with MCI's word for an unsaved file, and the panel stays usable.
void StopSound(HWND panel, MediaDevice* device)
{
    StopMedia(device);
    SeekToStart(device, 0);
    if (!IsRecording(device)) return;
    KeepRecordingForReview(device);
    EnableWindow(panel, FALSE);
    ShowRecordReview(panel);
    if (g_app.RecordReview) return;
    ReportMciError(device, MCIERR_FILE_NOT_SAVED);
    EndRecording(panel, device);
}

void EditSoundPlaylist(HWND panel)
{
    DialogBoxParamA(g_app.instance, MAKEINTRESOURCEA(IDD_SOUNDPLAYLIST), panel, SoundPlaylistProc, 0);
}

void RunSoundCommand(HWND panel, UINT id)
{
    MediaDevice* device = &g_app.SoundDevice;
    switch (id) {
    case IDC_NEXT:      OpenIfClosed(device); NextPlaylistEntry(device); ShowControlsAndReadout(panel); break;
    case IDC_RECORD:    BeginRecording(panel, device); break;
    case IDC_STOP:      StopSound(panel, device); ShowControlsAndReadout(panel); break;
    case IDC_PAUSE:     TogglePauseMedia(device); break;
    case IDC_FORWARD:   OpenIfClosed(device); SkipForward(device); RefreshSoundDisplay(panel, FALSE); break;
    case IDC_REWIND:    OpenIfClosed(device); SkipBackward(device); RefreshSoundDisplay(panel, FALSE); break;
    case IDC_RECORDEND: EndRecording(panel, device); ShowControlsAndReadout(panel); break;
    case IDC_BACK:      OpenIfClosed(device); PreviousPlaylistEntry(device); ShowControlsAndReadout(panel); break;
    case IDC_PLAYLIST:  EditSoundPlaylist(panel); ShowControlsAndReadout(panel); break;
    case IDC_PLAY:      OpenIfClosed(device); PlayMedia(device); ShowControlsAndReadout(panel); break;
    }
    RepaintAfterCommand(panel, id);
}

// While a recording is reviewed, the play that ended was the review dialog playing it: it goes
// back to the start to be played again. The timer refreshes the read-out.
void OnSoundNotify(HWND panel, WPARAM code, LPARAM deviceId)
{
    MediaDevice* device = &g_app.SoundDevice;
    if (!IsEndOfPlayNotice(device, code, deviceId)) return;
    if (IsRecording(device)) {
        SeekToStart(device, 0);
        return;
    }
    PlayOnAfterEnd(device);
    UpdateSoundControls(panel, device);
}

}  // namespace

int UpdateSoundControls(HWND panel, const MediaDevice* device)
{
    BOOL enable = IsRecording(device) ? FALSE : TRUE;
    for (int id : kRecordingLocks) EnableWindow(GetDlgItem(panel, id), enable);
    ShowCurrentEntryName(panel, IDC_DISPLAY, device);
    return 0;
}

int RefreshSoundDisplay(HWND panel, BOOL force)
{
    const MediaDevice& device = g_app.SoundDevice;
    bool recording = IsRecording(&device);
    DWORD position = 0;
    bool known = QueryDevicePosition(device.deviceId, &position) != 0;
    std::uint32_t key = SoundDisplayKey(recording, known, position, device.playlist.current);
    if (!force && key == g_soundDisplayKey) return 0;
    g_soundDisplayKey = key;
    char word[40] = {};
    LoadStringA(g_app.instance, recording ? IDS_RECORD : IDS_SOUND, word, static_cast<int>(std::size(word)));
    char text[64] = {};
    FormatReadoutOfKey(key, word, text, std::size(text));
    SetDlgItemTextA(panel, IDC_TRACK, text);
    return 0;
}

INT_PTR CALLBACK SoundPanelProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    g_app.recorderPanel = hDlg;
    switch (msg) {
    case WM_INITDIALOG:
        InitPanel(hDlg, &g_app.SoundPanel, 0, 268, 98);
        UpdateSoundControls(hDlg, &g_app.SoundDevice);
        RefreshSoundDisplay(hDlg, TRUE);
        return TRUE;
    case WM_PAINT:          PaintPanel(hDlg, IDD_SOUNDPANEL); return FALSE;
    case WM_SETCURSOR:      return TrackPointer(hDlg);
    case WM_DRAWITEM:       return DrawPlayerItem(hDlg, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_COMMAND:        RunSoundCommand(hDlg, LOWORD(wParam)); return FALSE;
    case MM_MCINOTIFY:      OnSoundNotify(hDlg, wParam, lParam); return FALSE;
    }
    return FALSE;
}
