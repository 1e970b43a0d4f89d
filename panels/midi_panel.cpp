// The MIDI player panel: transport commands, the position read-out and the end of each file.
#include <iterator>

#include "base/app_state.h"
#include "media/media_device.h"
#include "model/readout.h"
#include "panels/panels.h"
#include "resources/resource.h"

namespace {

// The key of the text last put into the read-out.
std::uint32_t g_midiDisplayKey = kInitialMidiDisplayKey;

void ShowMidiEntry(HWND panel)
{
    ShowCurrentEntryName(panel, IDC_DISPLAY, &g_app.MidiDevice);
    RefreshMidiDisplay(panel, FALSE);
}

void EditMidiPlaylist(HWND panel)
{
    DialogBoxParamA(g_app.instance, MAKEINTRESOURCEA(IDD_MIDIPLAYLIST), panel, MidiPlaylistProc, 0);
}

void RunMidiCommand(HWND panel, UINT id)
{
    MediaDevice* device = &g_app.MidiDevice;
    switch (id) {
    case IDC_NEXT:      OpenIfClosed(device); NextPlaylistEntry(device); ShowMidiEntry(panel); break;
    case IDC_STOP:      StopMedia(device); SeekToStart(device, 0); break;
    case IDC_PAUSE:     TogglePauseMedia(device); break;
    case IDC_FORWARD:   OpenIfClosed(device); SkipForward(device); break;
    case IDC_REWIND:    OpenIfClosed(device); SkipBackward(device); break;
    case IDC_BACK:      OpenIfClosed(device); PreviousPlaylistEntry(device); ShowMidiEntry(panel); break;
    case IDC_PLAYLIST:  EditMidiPlaylist(panel); ShowMidiEntry(panel); break;
    case IDC_PLAY:      OpenIfClosed(device); PlayMedia(device); ShowMidiEntry(panel); break;
    }
    RepaintAfterCommand(panel, id);
}

void OnMidiNotify(HWND panel, WPARAM code, LPARAM deviceId)
{
    MediaDevice* device = &g_app.MidiDevice;
    if (!IsEndOfPlayNotice(device, code, deviceId)) return;
    PlayOnAfterEnd(device);
    ShowCurrentEntryName(panel, IDC_DISPLAY, device);
}

}  // namespace

int RefreshMidiDisplay(HWND panel, BOOL force)
{
    const MediaDevice& device = g_app.MidiDevice;
    DWORD position = 0;
    bool known = QueryDevicePosition(device.deviceId, &position) != 0;
    std::uint32_t key = MidiDisplayKey(known, position, device.playlist.current);
    if (!force && key == g_midiDisplayKey) return 0;
    g_midiDisplayKey = key;
    char word[40] = {};
    LoadStringA(g_app.instance, IDS_MUSIC, word, static_cast<int>(std::size(word)));
    char text[64] = {};
    FormatReadoutOfKey(key, word, text, std::size(text));
    SetDlgItemTextA(panel, IDC_TRACK, text);
    return 0;
}

INT_PTR CALLBACK MidiPanelProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    switch (msg) {
    case WM_INITDIALOG:
        InitPanel(hDlg, &g_app.MidiPanel, 0, 170, 98);
        ShowCurrentEntryName(hDlg, IDC_DISPLAY, &g_app.MidiDevice);
        RefreshMidiDisplay(hDlg, TRUE);
        return TRUE;
    case WM_PAINT:          PaintPanel(hDlg, IDD_MIDIPANEL); return FALSE;
    case WM_SETCURSOR:      return TrackPointer(hDlg);
    case WM_DRAWITEM:       return DrawPlayerItem(hDlg, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_COMMAND:        RunMidiCommand(hDlg, LOWORD(wParam)); return FALSE;
    case MM_MCINOTIFY:      OnMidiNotify(hDlg, wParam, lParam); return FALSE;
    }
    return FALSE;
}
