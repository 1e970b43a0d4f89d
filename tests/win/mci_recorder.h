// A stand-in for winmm behind the media layer's seam: devices open as id 7 unless the script says
// otherwise, and the commands that change a device are kept in a short trace.
#pragma once

#include <windows.h>

#include <string>

struct MciScript {
    MCIERROR openError = 0;
    UINT failing = 0;  // a command that answers MCIERR_HARDWARE
    DWORD mode = MCI_MODE_STOP;
    DWORD tracks = 2;
    DWORD clock = 1000;  // the wave device's rest clock: it moves only when the layer sleeps
};
extern MciScript g_script;

// Puts the stand-in into the seam with a fresh script and an empty trace.
void InstallMciRecorder();
// The commands since the last call, joined by blanks: "OPEN file", "PLAY#7", "WAIT 100", ...
// Queries (STATUS) and settings (SET) are left out.
std::string TakeMci();
