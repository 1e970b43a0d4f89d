// The three playlist editor dialogs (CD, MIDI, Sound), run modally by their panels.
#pragma once

#include <windows.h>

// The size of the buffer that the Open dialog of Add fills: a directory and many file names.
constexpr DWORD kAddBufferSize = 8192;

INT_PTR CALLBACK CdPlaylistProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
INT_PTR CALLBACK MidiPlaylistProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
INT_PTR CALLBACK SoundPlaylistProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
