// The four panel windows, their placement and stacking, and the shared message helpers.
#pragma once

#include <windows.h>

#include "model/hot_spots.h"

int CreatePanels(HWND mainWindow);
int CreateMainPanel(HWND parent);
int CreateCdPanel(HWND parent);
int CreateMidiPanel(HWND parent);
int CreateSoundPanel(HWND parent);
int PlacePanelControls(HWND panel, int x, int y, int width, int height);
int LayoutPanels(HWND mainWindow);
int ShowModelessDialog(HWND owner, int templateId, DLGPROC proc);

// Records the handle, places the controls from the table and shows the panel: WM_INITDIALOG of every panel.
void InitPanel(HWND panel, HWND* slot, int x, int y, int height);
// WM_PAINT of every panel: its background art.
void PaintPanel(HWND panel, int templateId);
// After a player command: Play, which follows the device, and the pressed control are redrawn.
void RepaintAfterCommand(HWND panel, UINT id);

// Panel dialog procedures.
INT_PTR CALLBACK MainPanelProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
INT_PTR CALLBACK CdPanelProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
INT_PTR CALLBACK MidiPanelProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
INT_PTR CALLBACK SoundPanelProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;

// Read-outs of the player panels.
int RefreshCdDisplay(HWND panel, BOOL force);
int RefreshMidiDisplay(HWND panel, BOOL force);
int RefreshSoundDisplay(HWND panel, BOOL force);
