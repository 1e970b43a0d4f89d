// The Properties dialog: recording format and tray option.
#include "dialogs/dialogs.h"

INT_PTR CALLBACK PropertiesDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM) noexcept
{
    switch (msg) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:      EndDialog(hDlg, 1); return TRUE;
        case IDCANCEL:  EndDialog(hDlg, 0); return TRUE;
        }
        break;
    }
    return FALSE;
}
