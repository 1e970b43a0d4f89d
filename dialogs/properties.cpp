// The Properties dialog: recording format and tray option.
#include "dialogs/dialogs.h"

#include <iterator>

// Up to the application: the tray option takes effect at once through the application's SetTrayIcon,
// which keeps the icon, its menu and the Config bit together.
#include "app/app.h"
#include "model/record_formats.h"
#include "resources/resource.h"

namespace {

// The list is not sorted, so an entry's index is its row in the format table.
void FillFormatList(HWND combo, std::uint32_t wavefmt)
{
    for (const RecordFormat& format : RecordFormatTable) {
        char text[kRecordFormatTextSize];
        FormatRecordFormatText(format, text, std::size(text));
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    // A row the table does not have (only a hand-edited registry gives one) selects nothing.
    WPARAM selection = IsRecordFormatRow(wavefmt) ? static_cast<WPARAM>(wavefmt) : static_cast<WPARAM>(-1);
    SendMessageA(combo, CB_SETCURSEL, selection, 0);
}

void FillPropertiesDialog(HWND hDlg)
{
    FillFormatList(GetDlgItem(hDlg, IDC_FORMAT), g_app.settings.Wavefmt);
    WPARAM check = (g_app.settings.Config & CFG_TRAY) ? BST_CHECKED : BST_UNCHECKED;
    SendDlgItemMessageA(hDlg, IDC_TRAYOPTION, BM_SETCHECK, check, 0);
    ShowWindow(hDlg, SW_SHOW);
}

// Both settings take effect at once; they reach the registry at the next Exit.
void ApplyPropertiesDialog(HWND hDlg)
{
    LRESULT row = SendDlgItemMessageA(hDlg, IDC_FORMAT, CB_GETCURSEL, 0, 0);
    if (row != CB_ERR) g_app.settings.Wavefmt = static_cast<std::uint32_t>(row);
    BOOL tray = SendDlgItemMessageA(hDlg, IDC_TRAYOPTION, BM_GETCHECK, 0, 0) == BST_CHECKED;
    SetTrayIcon(GetParent(hDlg), tray);
}

}  // namespace

INT_PTR CALLBACK PropertiesDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM) noexcept
{
    switch (msg) {
    case WM_INITDIALOG:
        FillPropertiesDialog(hDlg);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:      ApplyPropertiesDialog(hDlg); EndDialog(hDlg, 1); return TRUE;
        case IDCANCEL:  EndDialog(hDlg, 0); return TRUE;
        }
        break;
    }
    return FALSE;
}
