// A hidden top-level window that stands in for the main window in tests: it keeps the messages
// that reach it and, in the first idle moment of a dialog, message box or menu it owns, runs
// the test's script on that window.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct OwnerWindow {
    HWND hwnd = nullptr;
    std::vector<MSG> received;              // WM_COMMAND, WM_USER and the menu-loop messages
    std::function<void(HWND)> onDialogIdle;  // run once with the dialog or message box
    std::function<void(HWND)> onMenuIdle;    // run once with the menu window
    int dialogIdleCount = 0;                 // scripts run on a dialog
    int menuIdleCount = 0;                   // menus seen waiting for input
    bool dialogForced = false;               // a dialog outlived its script and was ended
};

OwnerWindow& TestOwner();

// Sets the script for the next dialog or message box the owner gets. Message boxes send no idle
// message, so the owner also looks for its active dialog on a short timer.
void WhenDialogWaits(std::function<void(HWND)> script);

// Process-wide state as at a fresh start, with the test owner as main window; no icon held.
void ResetAppForTest();

// Dispatches every message already waiting for this thread.
void PumpPending();

// The messages of one kind that reached the owner, in order.
std::vector<MSG> ReceivedOf(UINT message);

// Text of a dialog's control, by id.
std::string ControlText(HWND dialog, int id);

// Posts a key press and release to the control that has the focus.
void PostKey(HWND focus, UINT vk);
