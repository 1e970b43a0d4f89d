// The common file dialog, list-box transfers and the current entry's name.
#include "players/playlist_win.h"

#include <cstddef>
#include <cstring>
#include <vector>

#include "app/app.h"
#include "resources/resource.h"

namespace {

constexpr DWORD kOpenFlags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY;
constexpr DWORD kSaveFlags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
constexpr char kSavePattern[] = "*.wav";

#if !defined(_WIN64)
static_assert(offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR) == 76, "the 400-size dialog record has 76 bytes");
#endif

using FileDialogProc = BOOL(WINAPI*)(LPOPENFILENAMEA);

// The common dialog library is loaded at the first file dialog rather than with the program:
// under Wine it brings the print spooler with it, and importing it made every start about 85 ms
// slower. Null when the library or the routine cannot be had.
FileDialogProc FileDialog(BOOL save)
{
    static HMODULE library = LoadLibraryA("comdlg32.dll");
    if (!library) return nullptr;
    return reinterpret_cast<FileDialogProc>(
        reinterpret_cast<void*>(GetProcAddress(library, save ? "GetSaveFileNameA" : "GetOpenFileNameA")));
}

void ShowStringInControl(HWND hDlg, int controlId, UINT stringId)
{
    char text[kEntryTextSize] = {};
    LoadStringA(g_app.instance, stringId, text, static_cast<int>(std::size(text)));
    SetDlgItemTextA(hDlg, controlId, text);
}

}  // namespace

int ChooseFiles(HWND owner, const char* filter, char* fileName, DWORD fileNameSize, BOOL save)
{
    if (!fileName || fileNameSize == 0) return -1;
    OPENFILENAMEA ofn{};
    // The 400 size, so the dialog has the same fields on every system the program runs on.
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter;
    ofn.nFilterIndex = 0;
    ofn.lpstrFile = fileName;
    ofn.nMaxFile = fileNameSize;
    FileDialogProc dialog = FileDialog(save);
    if (!dialog) return -1;
    if (save) {
        lstrcpynA(fileName, kSavePattern, static_cast<int>(fileNameSize));
        ofn.Flags = kSaveFlags;
    } else {
        ofn.Flags = kOpenFlags;
    }
    return dialog(&ofn) ? 0 : -1;
}

int AddSelectedFiles(HWND hDlg, int listBoxId, const char* buffer)
{
    for (const std::string& path : SelectedFilePaths(buffer))
        SendDlgItemMessageA(hDlg, listBoxId, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path.c_str()));
    return 0;
}

// A list of tens of thousands of entries: the list box reserves its room once and neither redraws
// nor updates its scroll bar per string (string by string, 65535 entries took about 23 s under
// Wine, and the editor now opens in about 0.3 s); it is redrawn once at the end.
int FillListFromPlaylist(HWND hDlg, int listBoxId, const Playlist* list)
{
    HWND listBox = GetDlgItem(hDlg, listBoxId);
    SendMessageA(listBox, WM_SETREDRAW, FALSE, 0);
    SendMessageA(listBox, LB_INITSTORAGE, static_cast<WPARAM>(list->count), static_cast<LPARAM>(list->count) * 64);
    PlaylistEntry entry;
    for (PlaylistHandle node = FirstPlaylistNode(list); node;) {
        node = ReadPlaylistNode(node, &entry);
        SendMessageA(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.text));
    }
    SendMessageA(listBox, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(listBox, nullptr, TRUE);
    return 0;
}

int FillPlaylistFromList(HWND hDlg, int listBoxId, Playlist* list)
{
    LRESULT count = SendDlgItemMessageA(hDlg, listBoxId, LB_GETCOUNT, 0, 0);
    if (count == LB_ERR) return -1;
    ClearPlaylist(list);
    for (LRESULT i = 0; i < count; ++i) {
        // LB_GETTEXT has no size: the buffer is sized from LB_GETTEXTLEN, which may report more
        // than the item holds but never less, at most two bytes a character. A reported length
        // above twice what an entry holds cannot fit, and is not fetched at all: with Common
        // Controls 6 under Wine, the list box is a Unicode control whose ANSI LB_GETTEXT passes
        // through a fixed 512-character buffer, which a longer item overruns.
        LRESULT length = SendDlgItemMessageA(hDlg, listBoxId, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length == LB_ERR || length < 0) continue;
        if (static_cast<std::size_t>(length) > 2 * kEntryTextMax) continue;
        std::vector<char> text(static_cast<std::size_t>(length) + 1, '\0');
        LRESULT copied = SendDlgItemMessageA(hDlg, listBoxId, LB_GETTEXT, static_cast<WPARAM>(i),
                                             reinterpret_cast<LPARAM>(text.data()));
        if (copied == LB_ERR || copied < 0) continue;
        if (static_cast<std::size_t>(copied) > kEntryTextMax) continue;
        PlaylistEntry entry;
        std::memcpy(entry.text, text.data(), static_cast<std::size_t>(copied));
        entry.number = list->count + 1;
        AppendPlaylistEntry(list, &entry);
    }
    return 0;
}

int TakeListSelection(HWND hDlg, int listBoxId, int* index)
{
    LRESULT selection = SendDlgItemMessageA(hDlg, listBoxId, LB_GETCURSEL, 0, 0);
    if (selection == LB_ERR || selection == *index) return 0;
    *index = static_cast<int>(selection);
    return 1;
}

int ShowCurrentEntryName(HWND hDlg, int controlId, const MediaDevice* device)
{
    if (device->flags & MDF_NEWRECORDING) {
        ShowStringInControl(hDlg, controlId, IDS_RECORDING);
        return 0;
    }
    PlaylistHandle node = FindPlaylistNode(&device->playlist, device->playlist.current);
    if (!node) {
        ShowStringInControl(hDlg, controlId, IDS_EMPTY);
        return -1;
    }
    PlaylistEntry entry;
    ReadPlaylistNode(node, &entry);
    char name[kEntryTextSize];
    FileNameOfPath(entry.text, name);
    SetDlgItemTextA(hDlg, controlId, name);
    return 0;
}
