// The Windows half of the playlist model: list boxes, file dialogs, entry names in controls.
#pragma once

#include <windows.h>

#include "media/media_device.h"

int ShowCurrentEntryName(HWND dialog, int controlId, const MediaDevice* device);
