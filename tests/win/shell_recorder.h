// Records every Shell_NotifyIconA call the program's code makes, then passes it on to the shell.
#pragma once

#include <windows.h>

#include <vector>

struct NotifyCall {
    DWORD operation = 0;
    NOTIFYICONDATAA record{};  // the bytes the caller filled, up to its cbSize; the rest zero
    DWORD passedSize = 0;       // cbSize as given
    BOOL result = FALSE;        // what the shell answered
};

// Reroutes this test program's import of Shell_NotifyIconA (once) and clears the record.
void StartShellRecording();
const std::vector<NotifyCall>& RecordedNotifyCalls();
int CountRecorded(DWORD operation);

// Asks the shell, without recording, whether it holds the icon (window, id): a modify with
// no fields to change succeeds only for a known icon.
bool ShellHasIcon(HWND hwnd, UINT id);
// Removes an icon behind the program's back, as a restarted shell would, without recording.
BOOL ShellDeleteIcon(HWND hwnd, UINT id);
