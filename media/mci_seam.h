// The two winmm calls that carry all of the players' MCI traffic. They sit behind one pair of
// pointers so that a test can put a recorder in their place.
#pragma once

#include <windows.h>
#include <mmsystem.h>

struct MciSeam {
    MCIERROR (WINAPI* sendCommand)(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR parms);
    BOOL (WINAPI* getErrorString)(MCIERROR error, LPSTR text, UINT size);
};

// Starts out as mciSendCommandA and mciGetErrorStringA.
extern MciSeam g_mci;
