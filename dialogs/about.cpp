// The About box and the help commands.
#include "dialogs/dialogs.h"

#include "app/app.h"

INT_PTR CALLBACK AboutDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM) noexcept
{
    switch (msg) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL:  EndDialog(hDlg, 1); return TRUE;
        }
        break;
    }
    return FALSE;
}

void RunHelpCommand(HWND /*mainWindow*/, UINT /*command*/)
{
}
