// What the media layer's files share and nothing else uses: the command sender, the wave device's
// rest and the review file.
#pragma once

#include <windows.h>
#include <mmsystem.h>

// mciSendCommandA through the seam.
MCIERROR SendMciCommand(DWORD deviceId, UINT message, DWORD flags, void* parms);

// Wine's wave driver ends a stop, a save, a recording or a play on a worker thread that is still
// inside the driver for a moment after the command has returned or the end notice was posted.
// Closing the device in that moment unloads the driver under the thread and crashes the program
// (about once in 15 to 40 recordings); saving in it races the last buffers of a recording. So the
// layer notes each such moment and lets the device rest 100 ms after it before a close or a save.
constexpr DWORD kWaveRestMs = 100;
void MarkWaveDeviceBusy();
void RestWaveDevice();

// The review file that a stopped recording is kept in (review_file.cpp); empty while there is none.
extern char g_reviewFile[MAX_PATH];
// The element a new recording opens: its review file once it has one, else the empty name, which
// makes MCI create a new untitled element.
const char* RecordingElementName();
// Deletes the review file of the recording that the close of the wave device has just ended.
void ForgetReviewFile();
