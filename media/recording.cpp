// Wave recording: a new untitled element, its format from the chosen row, recording until the
// user's Stop, a review file to play the recording back from, and the save to the user's file.
#include <iterator>

#include "media/media_device.h"
#include "media/media_internal.h"
#include "model/wave_format.h"
#include "resources/resource.h"

namespace {

constexpr DWORD kWaveFormatFlags = MCI_WAVE_SET_FORMATTAG | MCI_WAVE_SET_CHANNELS | MCI_WAVE_SET_SAMPLESPERSEC |
                                   MCI_WAVE_SET_AVGBYTESPERSEC | MCI_WAVE_SET_BLOCKALIGN | MCI_WAVE_SET_BITSPERSAMPLE;

MCIERROR SendSave(const MediaDevice* device, const char* path)
{
    RestWaveDevice();
    MCI_SAVE_PARMSA save{};
    save.lpfilename = path;
    MCIERROR error = SendMciCommand(device->deviceId, MCI_SAVE, MCI_SAVE_FILE | MCI_WAIT, &save);
    MarkWaveDeviceBusy();
    return error;
}

// After a failed save the device is opened afresh on the review file, so the recording can be
// played and saved again; on a system whose driver kept its element this changes nothing.
void ReopenFromReviewFile(MediaDevice* device)
{
    if (!g_reviewFile[0] || device->deviceId == 0) return;
    RestWaveDevice();
    MCI_GENERIC_PARMS close{};
    if (MCIERROR error = SendMciCommand(device->deviceId, MCI_CLOSE, MCI_WAIT, &close))
        ReportMciError(device, error);
    device->deviceId = 0;
    device->flags &= ~static_cast<DWORD>(MDF_OPEN);
    SetPlayState(device->deviceType, PLAYSTATE_STOPPED);
    OpenMediaDevice(device);
}

}  // namespace

// A review file still held here belongs to an earlier take: the new one starts from an empty element.
void StartRecording(MediaDevice* device, std::uint32_t wavefmt, HWND panel)
{
    ForgetReviewFile();
    if (!OpenMediaDevice(device)) return;

    RecordingWaveFormat format = RecordingWaveFormatOf(wavefmt);
    MCI_WAVE_SET_PARMS set{};
    set.wFormatTag = format.formatTag;
    set.nChannels = format.channels;
    set.nSamplesPerSec = format.samplesPerSec;
    set.nAvgBytesPerSec = format.avgBytesPerSec;
    set.nBlockAlign = format.blockAlign;
    set.wBitsPerSample = format.bitsPerSample;
    // On failure the device records in whatever format it has.
    if (MCIERROR error = SendMciCommand(device->deviceId, MCI_SET, kWaveFormatFlags, &set))
        ReportMciError(device, error);

    SetPlayState(device->deviceType, PLAYSTATE_PLAYING);
    // No notice, no wait, no end: MCI records until the user's Stop.
    MCI_RECORD_PARMS record{};
    if (MCIERROR error = SendMciCommand(device->deviceId, MCI_RECORD, 0, &record)) {
        ReportMciError(device, error);
        SendMessageA(panel, WM_COMMAND, IDC_RECORDEND, 0);
        SendMessageA(panel, WM_COMMAND, IDC_STOP, 0);
    }
}

int KeepRecordingForReview(MediaDevice* device)
{
    if (device->deviceId == 0 || g_reviewFile[0]) return -1;
    char folder[MAX_PATH] = {};
    DWORD length = GetTempPathA(static_cast<DWORD>(std::size(folder)), folder);
    if (length == 0 || length >= std::size(folder)) return -1;
    // This creates the file, so the name is the program's until the close deletes it.
    if (!GetTempFileNameA(folder, "VLR", 0, g_reviewFile)) {
        g_reviewFile[0] = '\0';
        return -1;
    }
    if (MCIERROR error = SendSave(device, g_reviewFile)) {
        ReportMciError(device, error);
        DeleteFileA(g_reviewFile);
        g_reviewFile[0] = '\0';
        return -1;
    }
    SeekToStart(device, 0);
    return 0;
}

int SaveRecording(MediaDevice* device, const char* path)
{
    // Saving onto the review file would delete the recording before it is written.
    if (g_reviewFile[0] && lstrcmpiA(path, g_reviewFile) == 0) {
        ReportMciError(device, MCIERR_FILE_NOT_SAVED);
        return -1;
    }
    // Sent even to a device that never opened: MCI refuses it and its text is shown.
    MCIERROR error = SendSave(device, path);
    if (error == 0) return 0;
    ReportMciError(device, error);
    ReopenFromReviewFile(device);
    return -1;
}
