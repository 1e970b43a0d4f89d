// The playlist editor dialogs: the list box holds every edit until OK rebuilds the playlist.
#include "panels/panels.h"

#include "base/app_state.h"
#include "media/media_device.h"
#include "resources/resource.h"

namespace {

// One editor per player. The CD editor has no filter list: it edits nothing, it only picks a track.
struct PlaylistEditor {
    MediaDevice* device;
    const char* filters;  // description and pattern pairs, each NUL-terminated, ending in an empty one
    BOOL changed;         // the list box differs from the playlist
};

constexpr char kMidiFilters[] = "MIDI Files\0*.mid;*.rmi\0All Files\0*.*\0";
constexpr char kSoundFilters[] = "Wave Files\0*.wav\0All Files\0*.*\0";

PlaylistEditor g_cdEditor{&g_app.CdDevice, nullptr, FALSE};
PlaylistEditor g_midiEditor{&g_app.MidiDevice, kMidiFilters, FALSE};
PlaylistEditor g_soundEditor{&g_app.SoundDevice, kSoundFilters, FALSE};

LRESULT SendList(HWND dialog, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return SendDlgItemMessageA(dialog, IDC_LIST, msg, wParam, lParam);
}

void OpenEditor(PlaylistEditor* editor, HWND dialog)
{
    if (editor->filters) {
        WPARAM check = (editor->device->flags & MDF_LOOP) ? BST_CHECKED : BST_UNCHECKED;
        SendDlgItemMessageA(dialog, IDC_LOOP, BM_SETCHECK, check, 0);
    }
    FillListFromPlaylist(dialog, IDC_LIST, &editor->device->playlist);
    editor->changed = FALSE;
}

// The Open dialog fills a zeroed movable block: a directory and many names can take several
// kilobytes. Only paths that really reached the list box count as an edit.
void AddFiles(PlaylistEditor* editor, HWND dialog)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, kAddBufferSize);
    if (!memory) return;
    if (auto buffer = static_cast<char*>(GlobalLock(memory))) {
        if (ChooseFiles(dialog, editor->filters, buffer, kAddBufferSize, FALSE) == 0) {
            LRESULT before = SendList(dialog, LB_GETCOUNT);
            AddSelectedFiles(dialog, IDC_LIST, buffer);
            if (SendList(dialog, LB_GETCOUNT) != before) editor->changed = TRUE;
        }
        GlobalUnlock(memory);
    }
    GlobalFree(memory);
}

// The selected indices come in ascending order; deleting from the last one down keeps the
// indices still to be deleted valid.
void RemoveSelected(PlaylistEditor* editor, HWND dialog)
{
    LRESULT count = SendList(dialog, LB_GETSELCOUNT);
    if (count <= 0) return;
    auto selected = static_cast<int*>(LocalAlloc(LMEM_FIXED | LMEM_ZEROINIT, count * sizeof(int)));
    if (!selected) return;
    LRESULT got = SendList(dialog, LB_GETSELITEMS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(selected));
    for (LRESULT i = (got < count ? got : count) - 1; i >= 0; --i)
        SendList(dialog, LB_DELETESTRING, static_cast<WPARAM>(selected[i]));
    LocalFree(selected);
    editor->changed = TRUE;
}

// The question is asked even when the list box is already empty.
void ClearList(PlaylistEditor* editor, HWND dialog)
{
    if (SendList(dialog, LB_GETCOUNT) == LB_ERR) return;
    if (ShowResourceMessage(IDS_CLEAR_PLAYLIST, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    SendList(dialog, LB_RESETCONTENT);
    editor->changed = TRUE;
}

// A list box with extended selection answers LB_GETCURSEL with its caret item even when nothing
// is selected; that is no choice of the user's and must not move the player.
bool HasSelection(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_LIST);
    if (!(GetWindowLongA(list, GWL_STYLE) & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL))) return true;
    return SendMessageA(list, LB_GETSELCOUNT, 0, 0) > 0;
}

// The order matters: the rebuild reopens the device on the first entry, then the selection moves
// it (and a player that was playing plays on with the selected entry), then the loop switch.
void AcceptEdits(PlaylistEditor* editor, HWND dialog)
{
    MediaDevice* device = editor->device;
    if (editor->changed) {
        FillPlaylistFromList(dialog, IDC_LIST, &device->playlist);
        CloseMediaDevice(device);
        OpenMediaDevice(device);
    }
    int index = device->playlist.current;
    if (HasSelection(dialog) && TakeListSelection(dialog, IDC_LIST, &index)) SelectPlaylistEntry(device, index);
    if (editor->filters) {
        if (SendDlgItemMessageA(dialog, IDC_LOOP, BM_GETCHECK, 0, 0) == BST_CHECKED)
            device->flags |= MDF_LOOP;
        else
            device->flags &= ~MDF_LOOP;
    }
    EndDialog(dialog, 1);
}

void RunEditorCommand(PlaylistEditor* editor, HWND dialog, WPARAM wParam)
{
    UINT id = LOWORD(wParam);
    if (id == IDC_LIST) {
        if (HIWORD(wParam) == LBN_DBLCLK) SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        return;
    }
    switch (id) {
    case IDOK:      AcceptEdits(editor, dialog); return;
    case IDCANCEL:  EndDialog(dialog, 0); return;
    }
    if (!editor->filters) return;
    switch (id) {
    case IDC_ADD:    AddFiles(editor, dialog); return;
    case IDC_REMOVE: RemoveSelected(editor, dialog); return;
    case IDC_CLEAR:  ClearList(editor, dialog); return;
    }
}

INT_PTR RunPlaylistEditor(PlaylistEditor* editor, HWND hDlg, UINT msg, WPARAM wParam)
{
    switch (msg) {
    case WM_INITDIALOG: OpenEditor(editor, hDlg); return TRUE;
    case WM_COMMAND:    RunEditorCommand(editor, hDlg, wParam); return FALSE;
    }
    return FALSE;
}

}  // namespace

INT_PTR CALLBACK CdPlaylistProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM) noexcept
{
    return RunPlaylistEditor(&g_cdEditor, hDlg, msg, wParam);
}

INT_PTR CALLBACK MidiPlaylistProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM) noexcept
{
    return RunPlaylistEditor(&g_midiEditor, hDlg, msg, wParam);
}

INT_PTR CALLBACK SoundPlaylistProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM) noexcept
{
    return RunPlaylistEditor(&g_soundEditor, hDlg, msg, wParam);
}
