// The playlist editor dialogs of the three players.
#pragma once

#include <windows.h>

INT_PTR CALLBACK CdPlaylistProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
