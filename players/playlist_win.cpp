// The Windows half of the playlist model.
#include "players/playlist_win.h"

#include <iterator>

#include "app/app.h"
#include "resources/resource.h"

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
