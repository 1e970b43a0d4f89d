// What the Win32 tests share: a hidden stand-in main window, and recorders of the program's message
// boxes, MCI commands, tray icon calls and font requests.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "media/media_device.h"
#include "tests/host/playlist_texts.h"

struct Recorded {
    std::function<void(HWND)> script;      // run once in the next modal dialog waiting for input
    int boxAnswer = IDOK;                  // message boxes captioned "Velutra" are answered at once...
    std::vector<std::string> boxes;        // ...and kept as "text|icon"
    MCIERROR openError = 0;                // MCI: devices open as id 7 unless this fails them
    UINT failing = 0;                      // a command that answers MCIERR_HARDWARE
    DWORD mode = MCI_MODE_STOP;            // what a query of the mode gives
    DWORD clock = 1000;                    // the wave rest's clock: it moves only when the layer sleeps
    std::string mci;                       // "OPEN file PLAY#7 WAIT 100 ": opens, closes, plays, stops
    BOOL shellAnswer = TRUE;               // Shell_NotifyIconA's answer
    std::vector<std::pair<DWORD, NOTIFYICONDATAA>> shellCalls;
    std::vector<LOGFONTA> fonts;           // CreateFontIndirectA's requests, which are then made
};
extern Recorded g_rec;

// The process-wide state as at a fresh start, the stand-in as main window, nothing recorded.
void ResetApp();
class Program : public testing::Test {  // each test starts from a fresh state
protected:
    void SetUp() override { ResetApp(); }
};
HWND Owner();
// A dialog still open at its next idle moment after the script is ended with -77.
inline INT_PTR RunDialog(const char* name, DLGPROC proc, std::function<void(HWND)> script)
{
    g_rec.script = std::move(script);
    return DialogBoxParamA(GetModuleHandleA(nullptr), name, Owner(), proc, 0);
}
inline std::string TakeMci() { return std::exchange(g_rec.mci, ""); }  // the MCI commands since the last call
