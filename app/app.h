// The application: start-up, the main window and the tray icon.
#pragma once

#include <windows.h>

#include "base/app_state.h"
#include "media/media_device.h"
#include "settings/settings.h"

constexpr UINT TRAY_CALLBACK = WM_USER + 128;  // 1152: the tray icon's notifications
constexpr UINT_PTR TIMER_REFRESH = 1;
constexpr UINT kRefreshPeriodMs = 500;
constexpr UINT kTrayIconId = 147;
constexpr const char kEndingProp[] = "VelutraEnding";  // on the main window once the copy is ending

// Start-up (startup.cpp).
ATOM RegisterMainClass(HINSTANCE instance, BOOL trayStart);
int CreateMainWindow(HINSTANCE instance, BOOL trayStart, int showCommand);
void InitDefaults();
// Marks the window of a copy that is ending, so that a new start passes over it and runs as the first.
void LeaveSingleInstance(HWND hwnd);

// Main window (main_window.cpp).
LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
int InitMainWindow(HWND hwnd);
int ShutDownMainWindow(HWND hwnd);
int RefreshPlayerDisplays();

// What outlives a run, for this process's record (persistence.cpp): the settings and the MIDI and
// Sound playlists, through settings/.
int LoadSettings();
int SaveSettings();
int LoadPlaylistStore();
int SavePlaylistStore();

// Tray icon (tray.cpp).
BOOL NotifyTrayIcon(HWND hwnd, DWORD operation, const char* tip);
int SetTrayIcon(HWND hwnd, BOOL on);
void OnTrayNotify(HWND hwnd, UINT mouseMessage);
void OnTaskbarCreated(HWND hwnd);
