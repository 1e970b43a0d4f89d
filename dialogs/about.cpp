// The About box and the help commands.
#include "dialogs/dialogs.h"

#include "app/app.h"
#include "resources/resource.h"
#include "ui/panels.h"

// The box sets no focus of its own: WM_INITDIALOG is left to the dialog manager.
INT_PTR CALLBACK AboutDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM) noexcept
{
    switch (msg) {
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:      EndDialog(hDlg, 1); return TRUE;
        case IDCANCEL:  EndDialog(hDlg, 0); return TRUE;
        }
        break;
    }
    return FALSE;
}

// Help on help names no file, so it works without the program's help file.
void RunHelpCommand(HWND mainWindow, UINT command)
{
    BOOL shown = FALSE;
    switch (command) {
    case IDM_HELP_CONTENTS: shown = WinHelpA(mainWindow, kHelpFile, HELP_CONTENTS, 0); break;
    case IDM_HELP_SEARCH:
        shown = WinHelpA(mainWindow, kHelpFile, HELP_PARTIALKEY, reinterpret_cast<ULONG_PTR>(""));
        break;
    case IDM_HELP_HELP:     shown = WinHelpA(mainWindow, nullptr, HELP_HELPONHELP, 0); break;
    case IDM_HELP_FINDER:   shown = WinHelpA(mainWindow, kHelpFile, HELP_FINDER, 0); break;
    default:                return;
    }
    if (!shown) ShowResourceMessage(IDS_NO_HELP, MB_ICONHAND);
}
