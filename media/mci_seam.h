// The two winmm calls that carry all of the players' MCI traffic, and the clock of the wave
// device's rest. They sit behind one set of pointers, through which the traffic can be recorded or
// answered by a stand-in.
#pragma once

#include <windows.h>
#include <mmsystem.h>

struct MciSeam {
    MCIERROR (WINAPI* sendCommand)(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR parms);
    BOOL (WINAPI* getErrorString)(MCIERROR error, LPSTR text, UINT size);
    DWORD (WINAPI* tickCount)();
    VOID (WINAPI* sleep)(DWORD milliseconds);
};

// Starts out as mciSendCommandA, mciGetErrorStringA, GetTickCount and Sleep.
extern MciSeam g_mci;
