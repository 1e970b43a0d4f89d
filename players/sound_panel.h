// The Sound panel's control update and the record review dialog that its Stop opens.
#pragma once

#include <windows.h>

#include "media/media_device.h"

// Enables the buttons but Stop when no recording is made or reviewed, disables them otherwise,
// then shows the current entry's name (or "Recording ...") in Display.
int UpdateSoundControls(HWND panel, const MediaDevice* device);

INT_PTR CALLBACK RecordReviewProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
