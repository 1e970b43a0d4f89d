// The process-wide record of the running program, and the helpers that every layer uses.
#pragma once

#include <windows.h>

#include "model/config.h"
#include "model/hot_spots.h"
#include "model/player_device.h"

constexpr const char kAppName[] = "Velutra";
constexpr const char kHelpFile[] = "Velutra.HLP";

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

// A message box with a string of the resources, titled with the class name and owned by the main window.
int ShowResourceMessage(UINT stringId, UINT flags);

// Which of the four panels a window is, by its slot in the record.
PanelKind PanelKindOf(HWND panel);

// A path as the ANSI functions and the store take it: as it is when it converts whole to the ANSI
// code page, else its short (8.3) form, which is ASCII. -1 (out empty) when neither fits out.
int AnsiPathOf(const wchar_t* path, char* out, int outSize);
