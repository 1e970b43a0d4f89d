// The record review dialog: plays a stopped recording back, saves it under a name of the user's
// choice (which joins the Sound playlist), or drops it. Either way it hands back to the Sound
// panel with Recordend, which destroys this dialog.
#include <cstring>
#include <iterator>

#include "base/app_state.h"
#include "media/media_device.h"
#include "panels/panels.h"
#include "resources/resource.h"

namespace {

constexpr char kWaveFilters[] = "Wave Files\0*.wav\0All Files\0*.*\0";
constexpr DWORD kSaveNameSize = 260;

// The panel destroys this dialog while handling it; the caller returns at once afterwards.
void EndReview()
{
    SendMessageA(g_app.SoundPanel, WM_COMMAND, IDC_RECORDEND, 0);
}

void RewindRecording(MediaDevice* device)
{
    StopMedia(device);
    SeekToStart(device, 0);
}

// When the play ends, the panel puts the recording back at its start for the next press.
void PlayOrStop(MediaDevice* device)
{
    if (QueryDeviceMode(device->deviceId) == MCI_MODE_PLAY)
        RewindRecording(device);
    else
        PlayMedia(device);
}

// A playlist entry holds at most 255 characters: a longer path is refused, never cut. The system's
// own text says why, in the user's language.
void RefuseLongPath()
{
    char text[256] = {};
    if (!FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_FILENAME_EXCED_RANGE,
                        0, text, static_cast<DWORD>(std::size(text)), nullptr))
        text[0] = '\0';
    MessageBoxA(g_app.mainWindow, text, kAppName, MB_OK);
}

// A cancelled Save As drops the recording. A Save As that failed, a name that cannot be listed,
// or a save that MCI refuses keeps the dialog open with the recording, so the user can choose
// another name or quit; only a saved recording joins the playlist, as its last entry, the current
// entry unchanged.
void SaveReviewedRecording(HWND dialog, MediaDevice* device)
{
    char name[kSaveNameSize] = {};
    RewindRecording(device);
    int chosen = ChooseFiles(dialog, kWaveFilters, name, static_cast<DWORD>(std::size(name)), TRUE);
    if (chosen == -1) {
        EndReview();
        return;
    }
    if (chosen == FNERR_BUFFERTOOSMALL) {
        RefuseLongPath();
        return;
    }
    if (chosen != 0) {
        ReportMciError(device, MCIERR_FILE_NOT_SAVED);
        return;
    }
    std::size_t length = strnlen(name, std::size(name));
    if (length >= kEntryTextSize) {
        RefuseLongPath();
        return;
    }
    if (SaveRecording(device, name) != 0) return;
    PlaylistEntry entry;
    entry.number = device->playlist.count + 1;
    std::memcpy(entry.text, name, length + 1);
    AppendPlaylistEntry(&device->playlist, &entry);
    EndReview();
}

void QuitReview(MediaDevice* device)
{
    RewindRecording(device);
    EndReview();
}

}  // namespace

int ShowRecordReview(HWND owner)
{
    HWND dialog = CreateDialogParamA(g_app.instance, MAKEINTRESOURCEA(IDD_RECORDREVIEW), owner, RecordReviewProc, 0);
    if (dialog) {
        ShowWindow(dialog, SW_SHOW);
        g_app.RecordReview = dialog;
    }
    return 0;
}

INT_PTR CALLBACK RecordReviewProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM) noexcept
{
    MediaDevice* device = &g_app.SoundDevice;
    switch (msg) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_PLAYSTOP:  PlayOrStop(device); break;
        case IDOK:          SaveReviewedRecording(hDlg, device); break;
        case IDCANCEL:      QuitReview(device); break;
        }
        return FALSE;
    }
    return FALSE;
}
