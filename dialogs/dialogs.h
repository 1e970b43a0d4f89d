// The Properties dialog and the About box.
#pragma once

#include <windows.h>

INT_PTR CALLBACK PropertiesDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
INT_PTR CALLBACK AboutDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;

// The Help menu's commands (IDM_HELP_CONTENTS, _SEARCH, _HELP, _FINDER) through the system help engine.
void RunHelpCommand(HWND mainWindow, UINT command);
