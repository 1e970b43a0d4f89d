// The review file: the file of the temporary folder that a stopped recording is kept in.
#include <windows.h>

#include "media/media_internal.h"

// A stopped recording is saved at once into this file of the temporary folder, and the device
// then holds that file as its element. Wine's wave driver keeps the length of an untitled element
// at 0 until it is saved, so it cannot play a recording back before then, and a save that fails
// leaves the driver without its element. With the review file the recording plays in the review
// dialog, and after a failed save it is opened again from the file. Empty while there is none;
// the close that ends the recording deletes it.
char g_reviewFile[MAX_PATH] = {};

const char* RecordingElementName()
{
    return g_reviewFile;
}

void ForgetReviewFile()
{
    if (!g_reviewFile[0]) return;
    DeleteFileA(g_reviewFile);
    g_reviewFile[0] = '\0';
}
