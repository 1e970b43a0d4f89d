// The About box and the help commands.
#include "dialogs/dialogs.h"

#include <iterator>

#include "base/app_state.h"
#include "resources/resource.h"

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

namespace {

// The help engine answers a missing file with a question of its own and then reports success,
// so a file that cannot be found is refused here, before the engine is started.
bool HelpFileFound()
{
    char path[MAX_PATH];
    DWORD length = SearchPathA(nullptr, kHelpFile, nullptr, static_cast<DWORD>(std::size(path)), path, nullptr);
    if (length == 0 || length >= std::size(path)) return false;
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

BOOL CallHelp(HWND mainWindow, UINT command)
{
    switch (command) {
    case IDM_HELP_CONTENTS: return WinHelpA(mainWindow, kHelpFile, HELP_CONTENTS, 0);
    case IDM_HELP_SEARCH:
        return WinHelpA(mainWindow, kHelpFile, HELP_PARTIALKEY, reinterpret_cast<ULONG_PTR>(""));
    case IDM_HELP_FINDER:   return WinHelpA(mainWindow, kHelpFile, HELP_FINDER, 0);
    }
    return FALSE;
}

}  // namespace

// Help on help names no file, so it works without the program's help file.
void RunHelpCommand(HWND mainWindow, UINT command)
{
    BOOL shown = FALSE;
    switch (command) {
    case IDM_HELP_HELP:
        shown = WinHelpA(mainWindow, nullptr, HELP_HELPONHELP, 0);
        break;
    case IDM_HELP_CONTENTS:
    case IDM_HELP_SEARCH:
    case IDM_HELP_FINDER:
        shown = HelpFileFound() && CallHelp(mainWindow, command);
        break;
    default:
        return;
    }
    if (!shown) ShowResourceMessage(IDS_NO_HELP, MB_ICONHAND);
}
