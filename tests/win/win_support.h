// What the Win32 tests share: a hidden stand-in main window that runs a script in each modal dialog
// it owns, message boxes answered and recorded, and the shell's tray icon calls and the font
// requests of the program's code recorded.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "media/media_device.h"

// The process-wide state as at a fresh start, with the stand-in as main window; records cleared.
void ResetApp();
HWND Owner();
// The WM_COMMAND ids the owner received.
extern std::vector<UINT> g_commands;

// Runs `script` once in the next modal dialog of the owner, when it waits for input; a dialog
// still open at its next idle moment is ended with -77.
void WhenDialogWaits(std::function<void(HWND)> script);
INT_PTR RunDialog(const char* name, DLGPROC proc, std::function<void(HWND)> script);

// Message boxes captioned "Velutra" are answered at once with g_boxAnswer; each leaves
// "text|icon" (hand, question, exclamation or none).
extern int g_boxAnswer;
std::vector<std::string> TakeBoxes();

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 10000);
std::string TextOf(HWND window);
// Appends entries to a player's playlist; its entries' texts joined by blanks.
void Fill(MediaDevice* device, std::initializer_list<const char*> texts);
std::string Entries(const MediaDevice& device);

// Shell_NotifyIconA of the program's code: recorded, answered with g_shellAnswer, never shown.
struct ShellCall {
    DWORD operation;
    NOTIFYICONDATAA record;
};
extern std::vector<ShellCall> g_shellCalls;
extern BOOL g_shellAnswer;
// CreateFontIndirectA of the program's code: recorded, then passed on.
extern std::vector<LOGFONTA> g_fonts;
