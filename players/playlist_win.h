// The Win32 routines around a playlist: the common file dialog, the editors' list boxes and the
// current entry's name on a panel.
#pragma once

#include <windows.h>

#include "media/media_device.h"

// The Open dialog (several files) or, with save set, the Save As dialog with "*.wav" in the name
// box. 0 when the user confirmed, -1 when the dialog was cancelled, otherwise the common dialog's
// error code (FNERR_BUFFERTOOSMALL for a name longer than the buffer, CDERR_INITIALIZATION when
// the library cannot be had).
int ChooseFiles(HWND owner, const char* filter, char* fileName, DWORD fileNameSize, BOOL save);

// A path as the ANSI functions and the store take it: as it is when it converts whole to the ANSI
// code page, else its short (8.3) form, which is ASCII. -1 (out empty) when neither fits out.
int AnsiPathOf(const wchar_t* path, char* out, int outSize);

// Adds the full path of each file in an Open dialog's buffer to the list box. A path that would
// pass 255 characters is not added.
int AddSelectedFiles(HWND hDlg, int listBoxId, const char* buffer);

// Adds every entry's text to the list box, in list order, after what it already holds.
int FillListFromPlaylist(HWND hDlg, int listBoxId, const Playlist* list);

// Replaces the list by the list box's items (current 0, numbered 1..n). -1, list untouched, when
// the list box answers LB_ERR. An item longer than 255 characters is left out, never cut.
int FillPlaylistFromList(HWND hDlg, int listBoxId, Playlist* list);

// 1 when the list box's selection differs from *index and was stored there, else 0.
int TakeListSelection(HWND hDlg, int listBoxId, int* index);

// The current entry's file name, "Recording ..." during a recording, or "EMPTY" (result -1) when
// no entry is current.
int ShowCurrentEntryName(HWND hDlg, int controlId, const MediaDevice* device);
