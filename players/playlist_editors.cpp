// The playlist editor dialogs.
#include "players/playlist_editors.h"

INT_PTR CALLBACK CdPlaylistProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM) noexcept
{
    switch (msg) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL:  EndDialog(hDlg, LOWORD(wParam)); return TRUE;
        }
        break;
    }
    return FALSE;
}
