// The common file dialog, list-box transfers and the current entry's name.
#include "panels/panels.h"

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "base/app_state.h"
#include "media/media_device.h"
#include "resources/resource.h"

namespace {

constexpr DWORD kOpenFlags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY;
constexpr DWORD kSaveFlags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
constexpr char kSavePattern[] = "*.wav";

#if !defined(_WIN64)
static_assert(offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR) == 76, "the 400-size dialog record has 76 bytes");
#endif

using FileDialogProc = BOOL(WINAPI*)(LPOPENFILENAMEA);
using WideFileDialogProc = BOOL(WINAPI*)(LPOPENFILENAMEW);

// The common dialog library is loaded at the first file dialog rather than with the program, whose
// start it would slow: under Wine it brings the print spooler with it. It is asked for once; a
// library that could not be had stays null.
HMODULE g_commonDialogs = nullptr;
bool g_commonDialogsAsked = false;

// Null when the library or the routine cannot be had.
FileDialogProc FileDialog(BOOL save)
{
    if (!g_commonDialogsAsked) {
        g_commonDialogs = LoadLibraryA("comdlg32.dll");
        g_commonDialogsAsked = true;
    }
    if (!g_commonDialogs) return nullptr;
    return reinterpret_cast<FileDialogProc>(
        reinterpret_cast<void*>(GetProcAddress(g_commonDialogs, save ? "GetSaveFileNameA" : "GetOpenFileNameA")));
}

// The common dialog's code for why the last dialog failed; 0 when it was cancelled.
DWORD FileDialogError()
{
    using ErrorProc = DWORD(WINAPI*)();
    HMODULE library = GetModuleHandleA("comdlg32.dll");
    auto error = library ? reinterpret_cast<ErrorProc>(
                               reinterpret_cast<void*>(GetProcAddress(library, "CommDlgExtendedError")))
                         : nullptr;
    return error ? error() : CDERR_INITIALIZATION;
}

// The Open dialog's selection in the ANSI dialog's layout: one full path, or the folder and then
// the names, each in its ANSI form. A file that has none is left out; nothing is left when the
// folder has none, when no name is left (a folder alone would read as one file) or when it would
// not fit.
void WriteAnsiSelection(const wchar_t* chosen, char* out, DWORD outSize)
{
    char ansi[MAX_PATH] = {};
    std::string selection;
    if (AnsiPathOf(chosen, ansi, MAX_PATH) == 0) selection.append(ansi).push_back('\0');
    const wchar_t* name = chosen + wcslen(chosen) + 1;
    std::size_t folderOnly = selection.size();
    if (*name && folderOnly > 0) {
        std::wstring folder(chosen);
        if (folder.back() != L'\\') folder += L'\\';
        for (; *name; name += wcslen(name) + 1) {
            if (AnsiPathOf((folder + name).c_str(), ansi, MAX_PATH) != 0) continue;
            const char* last = std::strrchr(ansi, '\\');
            selection.append(last ? last + 1 : ansi).push_back('\0');
        }
        if (selection.size() == folderOnly) selection.clear();
    }
    selection.push_back('\0');
    if (selection.size() > outSize) selection.assign(2, '\0');
    std::memcpy(out, selection.data(), selection.size() < outSize ? selection.size() : outSize);
}

// The Open dialog in UTF-16, so that a name outside the ANSI code page comes back whole.
BOOL OpenFilesWide(WideFileDialogProc dialog, OPENFILENAMEA* ofn)
{
    std::size_t filterLength = 0;
    while (ofn->lpstrFilter[filterLength] || ofn->lpstrFilter[filterLength + 1]) ++filterLength;
    std::vector<wchar_t> filter(filterLength + 2, L'\0');
    MultiByteToWideChar(CP_ACP, 0, ofn->lpstrFilter, static_cast<int>(filterLength + 2), filter.data(),
                        static_cast<int>(filter.size()));
    std::vector<wchar_t> chosen(ofn->nMaxFile, L'\0');
    OPENFILENAMEW wide{};
    wide.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    wide.hwndOwner = ofn->hwndOwner;
    wide.lpstrFilter = filter.data();
    wide.lpstrFile = chosen.data();
    wide.nMaxFile = ofn->nMaxFile;
    wide.Flags = ofn->Flags;
    if (!dialog(&wide)) return FALSE;
    WriteAnsiSelection(chosen.data(), ofn->lpstrFile, ofn->nMaxFile);
    return TRUE;
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
    if (!dialog) return CDERR_INITIALIZATION;
    BOOL chosen;
    if (save) {
        lstrcpynA(fileName, kSavePattern, static_cast<int>(fileNameSize));
        ofn.Flags = kSaveFlags;
        chosen = dialog(&ofn);
    } else {
        ofn.Flags = kOpenFlags;
        // Systems without the wide dialog have only ANSI names anyway.
        auto wide = reinterpret_cast<WideFileDialogProc>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("comdlg32.dll"), "GetOpenFileNameW")));
        chosen = wide && filter ? OpenFilesWide(wide, &ofn) : dialog(&ofn);
    }
    if (chosen) return 0;
    DWORD error = FileDialogError();
    return error == 0 ? -1 : static_cast<int>(error);
}

int AddSelectedFiles(HWND hDlg, int listBoxId, const char* buffer)
{
    for (const std::string& path : SelectedFilePaths(buffer))
        SendDlgItemMessageA(hDlg, listBoxId, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path.c_str()));
    return 0;
}

// A list of tens of thousands of entries: the list box reserves its room once and neither redraws
// nor updates its scroll bar per string, which under Wine would take many seconds for 65535
// entries; it is redrawn once at the end.
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
