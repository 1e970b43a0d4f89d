// The process-wide state, and the operations of start-up and the main window.
#pragma once

#include <windows.h>

#include "media/media_device.h"
#include "settings/settings.h"

constexpr UINT TRAY_CALLBACK = WM_USER + 128;  // 1152: the tray icon's notifications
constexpr UINT_PTR TIMER_REFRESH = 1;
constexpr UINT kRefreshPeriodMs = 500;
constexpr UINT kTrayIconId = 147;
constexpr const char kAppName[] = "Velutra";
constexpr const char kHelpFile[] = "Velutra.HLP";
constexpr const char kEndingProp[] = "VelutraEnding";  // on the main window once the copy is ending

struct AppState {
    HINSTANCE instance = nullptr;
    HWND mainWindow = nullptr;  // stored only after CreateWindowExA returns
    // The five modeless windows, in the order the message loop offers them messages.
    HWND MainPanel = nullptr;
    HWND CdPanel = nullptr;
    HWND MidiPanel = nullptr;
    HWND SoundPanel = nullptr;
    HWND RecordReview = nullptr;
    // The Sound panel as the recorder knows it: the panel sets it on every message it receives,
    // and a recording that fails to start sends its commands there.
    HWND recorderPanel = nullptr;
    HPALETTE palette = nullptr;
    HPALETTE replacedPalette = nullptr;
    HMENU trayMenu = nullptr;
    UINT taskbarCreated = 0;  // the shell's registered "TaskbarCreated" message
    char modulePath[256] = {};
    char className[32] = {};
    char windowTitle[32] = {};
    int colorDepth = 0;
    int mainWidth = 0;
    int mainHeight = 0;
    AppSettings settings;
    MediaDevice CdDevice;
    MediaDevice MidiDevice;
    MediaDevice SoundDevice;
    BOOL cdStart = FALSE;
};

extern AppState g_app;

// Start-up (main.cpp, app_state.cpp).
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

// Tray icon (tray.cpp).
BOOL NotifyTrayIcon(HWND hwnd, DWORD operation, const char* tip);
int SetTrayIcon(HWND hwnd, BOOL on);
void OnTrayNotify(HWND hwnd, UINT mouseMessage);
void OnTaskbarCreated(HWND hwnd);
