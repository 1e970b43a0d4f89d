// The panels: the banner and the three player panels, their creation, placement and stacking, the
// handling they share, the playlist editors and the record review.
#pragma once

#include <windows.h>

#include "media/media_device.h"

// Creation, placement and the handling every panel shares (panels.cpp).
int CreatePanels(HWND mainWindow);
int CreateMainPanel(HWND parent);
int CreateCdPanel(HWND parent);
int CreateMidiPanel(HWND parent);
int CreateSoundPanel(HWND parent);
int PlacePanelControls(HWND panel, int x, int y, int width, int height);
int LayoutPanels(HWND mainWindow);
// Records the handle, places the controls from the table and shows the panel: WM_INITDIALOG of every panel.
void InitPanel(HWND panel, HWND* slot, int x, int y, int height);
// WM_PAINT of every panel: its background art.
void PaintPanel(HWND panel, int templateId);
// WM_DRAWITEM of the player panels: a button's face or an LCD line, then the hand pointer.
INT_PTR DrawPlayerItem(HWND panel, const DRAWITEMSTRUCT* item);
// After a player command: Play, which follows the device, and the pressed control are redrawn.
void RepaintAfterCommand(HWND panel, UINT id);
// The hand pointer over a panel's buttons: 1 when it is shown.
int TrackPointer(HWND panel);
// Keeps the hand current and the faces that follow the devices up to date, twice a second.
void PollPanels();

// The panels' dialog procedures (banner.cpp, cd_panel.cpp, midi_panel.cpp, sound_panel.cpp).
INT_PTR CALLBACK MainPanelProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
INT_PTR CALLBACK CdPanelProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
INT_PTR CALLBACK MidiPanelProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
INT_PTR CALLBACK SoundPanelProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;

// The players' read-outs.
int RefreshCdDisplay(HWND panel, BOOL force);
int RefreshMidiDisplay(HWND panel, BOOL force);
int RefreshSoundDisplay(HWND panel, BOOL force);

// Enables the Sound panel's buttons but Stop when no recording is made or reviewed, disables them
// otherwise, then shows the current entry's name (or "Recording ...") in Display.
int UpdateSoundControls(HWND panel, const MediaDevice* device);

// The record review dialog that the Sound panel's Stop opens after a recording (record_review.cpp).
// Shown modeless; its window is kept as g_app.RecordReview.
int ShowRecordReview(HWND owner);
INT_PTR CALLBACK RecordReviewProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;

// The three playlist editor dialogs, run modally by their panels (playlist_editors.cpp).
// The size of the buffer that the Open dialog of Add fills: a directory and many file names.
constexpr DWORD kAddBufferSize = 8192;
INT_PTR CALLBACK CdPlaylistProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
INT_PTR CALLBACK MidiPlaylistProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
INT_PTR CALLBACK SoundPlaylistProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;

// The Win32 routines around a playlist: the common file dialog, the editors' list boxes and the
// current entry's name on a panel (playlist_win.cpp).
// The Open dialog (several files) or, with save set, the Save As dialog with "*.wav" in the name
// box. 0 when the user confirmed, -1 when the dialog was cancelled, otherwise the common dialog's
// error code (FNERR_BUFFERTOOSMALL for a name longer than the buffer, CDERR_INITIALIZATION when
// the library cannot be had).
int ChooseFiles(HWND owner, const char* filter, char* fileName, DWORD fileNameSize, BOOL save);
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
