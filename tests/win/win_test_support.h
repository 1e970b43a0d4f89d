// Helpers of the Win32 tests: the virtual sequencer's registration and settings, files, a window
// that collects MCI notices, message pumping, and a thread that answers modal boxes.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/drivers/sequencer/smf_builder.h"

// The folder of the test program, with a trailing backslash.
std::string TestDirectory();
// A fresh scratch folder under the test program's folder, with a trailing backslash.
std::string ScratchDirectory(const char* name);
bool WriteBytes(const std::string& path, const Bytes& data);
std::string ReadText(const std::string& path);

// Registers vseq.dll (beside the test program) as the "sequencer" MCI driver. False when it cannot.
bool RegisterVirtualSequencer();
// Speed in percent of real time (0 freezes the clock) and the log file of the virtual sequencer.
void SetSequencerSpeed(DWORD percent);
void SetSequencerLog(const std::string& path);

// A hidden window that records each MM_MCINOTIFY it gets as (wParam, lParam).
struct NoticeWindow {
    HWND hwnd = nullptr;
    std::vector<std::pair<WPARAM, LPARAM>> notices;
};
HWND CreateNoticeWindow(NoticeWindow* window);

// Dispatches this thread's messages until the condition holds or the time runs out; says which.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 10000);

// Answers, from another thread, the first window of the given class and caption that appears
// while the test thread runs `action`: `answer` runs on the helper thread with that window.
// Returns false when no such window appeared.
bool AnswerModal(const char* className, const char* caption, const std::function<void(HWND)>& answer,
                 const std::function<void()>& action, DWORD timeoutMs = 20000);
