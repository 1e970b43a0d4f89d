// The playlist routines that work through windows: the common file dialog, list boxes, the title line.
#include "players/playlist_win.h"

#include <commdlg.h>

#include <cstring>
#include <iterator>

#include "app/app.h"
#include "resources/resource.h"

int ChooseFiles(HWND owner, const char* filters, char* buffer, DWORD size, BOOL save)
{
    OPENFILENAMEA ofn{};
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filters;
    ofn.nFilterIndex = 0;
    ofn.lpstrFile = buffer;
    ofn.nMaxFile = size;
    if (save) {
        lstrcpynA(buffer, "*.wav", static_cast<int>(size));
        ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
        return GetSaveFileNameA(&ofn) ? 0 : -1;
    }
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY;
    return GetOpenFileNameA(&ofn) ? 0 : -1;
}

// A path that does not fit an entry's 255 characters is left out, never cut.
int AddSelectedFiles(HWND dialog, int listId, const char* buffer)
{
    const char* first = buffer;
    std::size_t firstLength = std::strlen(first);
    const char* name = first + firstLength + 1;
    if (*name == '\0') {
        if (firstLength < kEntryTextSize)
            SendDlgItemMessageA(dialog, listId, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(first));
        return 0;
    }
    char path[kEntryTextSize] = {};
    for (; *name; name += std::strlen(name) + 1) {
        std::size_t nameLength = std::strlen(name);
        if (firstLength + 1 + nameLength >= kEntryTextSize) continue;
        std::memcpy(path, first, firstLength);
        path[firstLength] = '\\';
        std::memcpy(path + firstLength + 1, name, nameLength + 1);
        SendDlgItemMessageA(dialog, listId, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path));
    }
    return 0;
}

int FillListFromPlaylist(HWND dialog, int listId, const Playlist* list)
{
    PlaylistEntry entry;
    for (PlaylistHandle node = FirstPlaylistNode(list); node;) {
        node = ReadPlaylistNode(node, &entry);
        SendDlgItemMessageA(dialog, listId, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.text));
    }
    return 0;
}

int FillPlaylistFromList(HWND dialog, int listId, Playlist* list)
{
    LRESULT count = SendDlgItemMessageA(dialog, listId, LB_GETCOUNT, 0, 0);
    if (count == LB_ERR) return -1;
    ClearPlaylist(list);
    for (LRESULT i = 0; i < count; ++i) {
        PlaylistEntry entry;
        LRESULT length = SendDlgItemMessageA(dialog, listId, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length == LB_ERR || length >= static_cast<LRESULT>(kEntryTextSize)) continue;
        SendDlgItemMessageA(dialog, listId, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(entry.text));
        entry.number = static_cast<int>(i) + 1;
        AppendPlaylistEntry(list, &entry);
    }
    return 0;
}

int TakeListSelection(HWND dialog, int listId, int* index)
{
    LRESULT selected = SendDlgItemMessageA(dialog, listId, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR || selected == *index) return 0;
    *index = static_cast<int>(selected);
    return 1;
}

int ShowCurrentEntryName(HWND dialog, int controlId, const MediaDevice* device)
{
    char text[256] = {};
    if (device->flags & MDF_NEWRECORDING) {
        LoadStringA(g_app.instance, IDS_RECORDING, text, static_cast<int>(std::size(text)));
        SetDlgItemTextA(dialog, controlId, text);
        return 0;
    }
    PlaylistHandle node = FindPlaylistNode(&device->playlist, device->playlist.current);
    if (!node) {
        LoadStringA(g_app.instance, IDS_EMPTY, text, static_cast<int>(std::size(text)));
        SetDlgItemTextA(dialog, controlId, text);
        return -1;
    }
    PlaylistEntry entry;
    ReadPlaylistNode(node, &entry);
    FileNameOfPath(entry.text, text);
    SetDlgItemTextA(dialog, controlId, text);
    return 0;
}
