// MCI control of the three players' devices.
#include "media/media_device.h"

#include <iterator>

#include "base/app_state.h"
#include "media/mci_seam.h"
#include "media/media_internal.h"
#include "model/media_math.h"
#include "resources/resource.h"

MciSeam g_mci = {mciSendCommandA, mciGetErrorStringA, GetTickCount, Sleep};

namespace {

// The program's own idea of what each device type is doing; MCI's mode is asked separately.
int g_playState[3] = {PLAYSTATE_STOPPED, PLAYSTATE_STOPPED, PLAYSTATE_STOPPED};

int* PlayStateSlot(DWORD deviceType)
{
    switch (deviceType) {
    case MCI_DEVTYPE_CD_AUDIO:        return &g_playState[0];
    case MCI_DEVTYPE_SEQUENCER:       return &g_playState[1];
    case MCI_DEVTYPE_WAVEFORM_AUDIO:  return &g_playState[2];
    }
    return nullptr;
}

bool IsCd(const MediaDevice* device)
{
    return device->deviceType == MCI_DEVTYPE_CD_AUDIO;
}

const char* TypeName(DWORD deviceType)
{
    switch (deviceType) {
    case MCI_DEVTYPE_CD_AUDIO:  return "cdaudio";
    case MCI_DEVTYPE_SEQUENCER: return "sequencer";
    }
    return "waveaudio";
}

// The panel that receives the end-of-play notice of a device type.
HWND NoticeWindow(DWORD deviceType)
{
    switch (deviceType) {
    case MCI_DEVTYPE_CD_AUDIO:  return g_app.CdPanel;
    case MCI_DEVTYPE_SEQUENCER: return g_app.MidiPanel;
    }
    return g_app.SoundPanel;
}

MCIERROR Send(DWORD deviceId, UINT message, DWORD flags, void* parms)
{
    return SendMciCommand(deviceId, message, flags, parms);
}

bool IsWave(const MediaDevice* device)
{
    return device->deviceType == MCI_DEVTYPE_WAVEFORM_AUDIO;
}

// When the wave device last stopped or saved, and whether it has rested since.
DWORD g_waveBusyTick = 0;
bool g_waveBusy = false;

MCIERROR SendClose(DWORD deviceId)
{
    MCI_GENERIC_PARMS close{};
    return Send(deviceId, MCI_CLOSE, MCI_WAIT, &close);
}

MCIERROR SendSeek(DWORD deviceId, DWORD target)
{
    MCI_SEEK_PARMS seek{};
    seek.dwTo = target;
    return Send(deviceId, MCI_SEEK, MCI_TO | MCI_WAIT, &seek);
}

}  // namespace

MCIERROR SendMciCommand(DWORD deviceId, UINT message, DWORD flags, void* parms)
{
    return g_mci.sendCommand(static_cast<MCIDEVICEID>(deviceId), message, flags,
                             reinterpret_cast<DWORD_PTR>(parms));
}

void MarkWaveDeviceBusy()
{
    g_waveBusy = true;
    g_waveBusyTick = g_mci.tickCount();
}

// Sleeps only what is left of the rest: a close long after the last stop costs nothing.
void RestWaveDevice()
{
    if (!g_waveBusy) return;
    g_waveBusy = false;
    DWORD elapsed = g_mci.tickCount() - g_waveBusyTick;
    if (elapsed < kWaveRestMs) g_mci.sleep(kWaveRestMs - elapsed);
}

int InitMediaDevice(MediaDevice* device, DWORD deviceType)
{
    device->deviceType = deviceType;
    device->deviceId = 0;
    device->flags = 0;
    InitPlaylist(&device->playlist);
    return 0;
}

int ReleaseMediaDevice(MediaDevice* device)
{
    StopMedia(device);
    CloseMediaDevice(device);
    ClearPlaylist(&device->playlist);
    return 0;
}

int GetPlayState(DWORD deviceType, int* state)
{
    if (const int* slot = PlayStateSlot(deviceType)) *state = *slot;
    return 0;
}

int SetPlayState(DWORD deviceType, int state)
{
    if (int* slot = PlayStateSlot(deviceType)) *slot = state;
    return 0;
}

void OpenIfClosed(MediaDevice* device)
{
    if (!(device->flags & MDF_OPEN)) OpenMediaDevice(device);
}

int OpenMediaDevice(MediaDevice* device)
{
    if (device->deviceId != 0) return 1;

    MCI_OPEN_PARMSA open{};
    open.lpstrDeviceType = TypeName(device->deviceType);
    DWORD flags = MCI_OPEN_TYPE | MCI_WAIT;
    PlaylistEntry entry;
    if (!IsCd(device)) {
        if (device->deviceType == MCI_DEVTYPE_WAVEFORM_AUDIO && (device->flags & MDF_NEWRECORDING)) {
            open.lpstrElementName = RecordingElementName();
        } else {
            PlaylistHandle node = FindPlaylistNode(&device->playlist, device->playlist.current);
            if (!node) {
                ShowResourceMessage(IDS_PLAYLIST_EMPTY, MB_ICONHAND);
                return 0;
            }
            ReadPlaylistNode(node, &entry);
            open.lpstrElementName = entry.text;
        }
        flags |= MCI_OPEN_ELEMENT;
    }
    // After a failed open the block's device id is garbage: it is read only on success.
    if (Send(0, MCI_OPEN, flags, &open) != 0) {
        ShowResourceMessage(IDS_DEVICE_UNAVAILABLE, MB_ICONHAND);
        return 0;
    }
    DWORD deviceId = open.wDeviceID;

    MCI_STATUS_PARMS status{};
    status.dwItem = MCI_STATUS_TIME_FORMAT;
    if (MCIERROR error = Send(deviceId, MCI_STATUS, MCI_STATUS_ITEM, &status)) ReportMciError(device, error);

    MCI_SET_PARMS set{};
    set.dwTimeFormat = IsCd(device) ? MCI_FORMAT_TMSF : MCI_FORMAT_MILLISECONDS;
    if (MCIERROR error = Send(deviceId, MCI_SET, MCI_SET_TIME_FORMAT, &set)) {
        ReportMciError(device, error);
        SendClose(deviceId);
        return 0;
    }

    SetPlayState(device->deviceType, PLAYSTATE_STOPPED);
    device->deviceId = deviceId;
    device->flags |= MDF_OPEN;
    return 1;
}

int CloseMediaDevice(MediaDevice* device)
{
    if (device->deviceId == 0) {
        // A failed save whose reopen failed too leaves the review file without a device.
        if (IsWave(device)) ForgetReviewFile();
        return 1;
    }
    if (IsWave(device)) {
        // A wave device that may still play, record or have just ended is stopped first, so its
        // worker thread is out of the driver before the close unloads it. This stop's errors
        // are of no use to anyone: the close follows either way.
        int state = PLAYSTATE_STOPPED;
        GetPlayState(device->deviceType, &state);
        if (state != PLAYSTATE_STOPPED) {
            Send(device->deviceId, MCI_STOP, 0, nullptr);
            MarkWaveDeviceBusy();
        }
        RestWaveDevice();
    }
    if (MCIERROR error = SendClose(device->deviceId)) ReportMciError(device, error);
    if (IsWave(device)) ForgetReviewFile();
    SetPlayState(device->deviceType, PLAYSTATE_STOPPED);
    device->deviceId = 0;
    device->flags &= ~static_cast<DWORD>(MDF_NEWRECORDING | MDF_OPEN);
    return 1;
}

DWORD QueryDeviceMode(DWORD deviceId)
{
    if (deviceId == 0) return MCI_MODE_NOT_READY;
    MCI_STATUS_PARMS status{};
    status.dwItem = MCI_STATUS_MODE;
    if (Send(deviceId, MCI_STATUS, MCI_STATUS_ITEM, &status) != 0) return MCI_MODE_NOT_READY;
    return static_cast<DWORD>(status.dwReturn);
}

int QueryDevicePosition(DWORD deviceId, DWORD* position)
{
    if (deviceId == 0) return 0;
    MCI_STATUS_PARMS status{};
    status.dwItem = MCI_STATUS_POSITION;
    if (Send(deviceId, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, &status) != 0) return 0;
    *position = static_cast<DWORD>(status.dwReturn);
    return 1;
}

int QueryCdTracks(DWORD deviceId, int* trackCount)
{
    if (deviceId == 0) {
        *trackCount = 0;
        return 0;
    }
    MCI_STATUS_PARMS status{};
    status.dwItem = MCI_STATUS_NUMBER_OF_TRACKS;
    if (Send(deviceId, MCI_STATUS, MCI_STATUS_ITEM, &status) != 0) {
        *trackCount = -1;  // no disc, or the drive is not ready
        return 0;
    }
    *trackCount = static_cast<int>(status.dwReturn);

    MCI_STATUS_PARMS type{};
    type.dwItem = MCI_CDA_STATUS_TYPE_TRACK;
    type.dwTrack = 1;
    if (Send(deviceId, MCI_STATUS, MCI_STATUS_ITEM | MCI_TRACK, &type) == 0 &&
        type.dwReturn != MCI_CDA_TRACK_AUDIO)
        return -1;
    return 0;
}

int IsAudioCdPresent(MediaDevice* device)
{
    int trackCount = -1;
    if (device->deviceId != 0) {
        if (QueryCdTracks(device->deviceId, &trackCount) == -1) return 0;
        return trackCount > 0 ? 1 : 0;
    }
    MCI_OPEN_PARMSA open{};
    open.lpstrDeviceType = "cdaudio";
    if (Send(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_WAIT, &open) != 0) return 0;
    int present = QueryCdTracks(open.wDeviceID, &trackCount) == 0 && trackCount > 0 ? 1 : 0;
    SendClose(open.wDeviceID);
    return present;
}

int ToggleCdDoor(MediaDevice* device)
{
    if (device->deviceId == 0) return 0;
    bool closing = QueryDeviceMode(device->deviceId) == MCI_MODE_OPEN;
    if (MCIERROR error = Send(device->deviceId, MCI_SET, closing ? MCI_SET_DOOR_CLOSED : MCI_SET_DOOR_OPEN, nullptr))
        ReportMciError(device, error);
    return closing ? 1 : 0;
}

void PlayMedia(MediaDevice* device)
{
    if (device->deviceId == 0) return;
    int state = PLAYSTATE_STOPPED;
    GetPlayState(device->deviceType, &state);
    // Stopped by MCI while the program still says playing: the medium ran to its end.
    if (QueryDeviceMode(device->deviceId) == MCI_MODE_STOP && state == PLAYSTATE_PLAYING) SeekToStart(device, 1);

    MCI_PLAY_PARMS play{};
    play.dwCallback = reinterpret_cast<DWORD_PTR>(NoticeWindow(device->deviceType));
    if (MCIERROR error = Send(device->deviceId, MCI_PLAY, MCI_NOTIFY, &play)) {
        ReportMciError(device, error);
        return;
    }
    SetPlayState(device->deviceType, PLAYSTATE_PLAYING);
}

void TogglePauseMedia(MediaDevice* device)
{
    if (device->deviceId == 0) return;
    int state = PLAYSTATE_STOPPED;
    GetPlayState(device->deviceType, &state);
    MCIERROR error;
    int next;
    if (state == PLAYSTATE_PAUSED) {
        next = PLAYSTATE_PLAYING;
        if (IsCd(device)) {
            // A plain play from where the disc stands: no notice will come at its end.
            MCI_PLAY_PARMS play{};
            error = Send(device->deviceId, MCI_PLAY, 0, &play);
        } else {
            // The system's sequencer has no resume: there a play from where the pause left the
            // file goes on, with the notice of a play so that the end still moves the list on.
            MCI_GENERIC_PARMS resume{};
            error = Send(device->deviceId, MCI_RESUME, 0, &resume);
            if (error != 0) {
                MCI_PLAY_PARMS play{};
                play.dwCallback = reinterpret_cast<DWORD_PTR>(NoticeWindow(device->deviceType));
                error = Send(device->deviceId, MCI_PLAY, MCI_NOTIFY, &play);
            }
        }
    } else {
        next = PLAYSTATE_PAUSED;
        error = Send(device->deviceId, MCI_PAUSE, 0, nullptr);
    }
    if (error == 0) SetPlayState(device->deviceType, next);
}

void StopMedia(MediaDevice* device)
{
    if (device->deviceId == 0) return;
    int state = PLAYSTATE_STOPPED;
    GetPlayState(device->deviceType, &state);
    MCIERROR stopped = Send(device->deviceId, MCI_STOP, 0, nullptr);
    // Only a device that was doing something has a worker thread to wind down.
    if (IsWave(device) && state != PLAYSTATE_STOPPED) MarkWaveDeviceBusy();
    if (MCIERROR error = stopped) {
        ReportMciError(device, error);
        return;
    }
    SetPlayState(device->deviceType, PLAYSTATE_STOPPED);
}

void SeekToStart(MediaDevice* device, int toFirstTrack)
{
    if (device->deviceId == 0) return;
    DWORD target = 0;
    if (IsCd(device)) {
        DWORD position = 0;
        if (!QueryDevicePosition(device->deviceId, &position)) return;
        target = toFirstTrack ? MakeTmsf(1, 0, 0, 0) : CdTrackStartOf(position);
    }
    if (MCIERROR error = SendSeek(device->deviceId, target)) ReportMciError(device, error);
}

void SelectPlaylistEntry(MediaDevice* device, int index)
{
    if (device->deviceId == 0) {
        device->playlist.current = index;
        return;
    }
    device->flags &= ~static_cast<DWORD>(MDF_NEWRECORDING);
    DWORD mode = QueryDeviceMode(device->deviceId);
    StopMedia(device);
    if (IsCd(device)) {
        DWORD position = 0;
        if (!QueryDevicePosition(device->deviceId, &position)) return;
        if (MCIERROR error = SendSeek(device->deviceId, CdEntryStart(index))) {
            ReportMciError(device, error);
            device->playlist.current = index;
            return;
        }
    } else {
        CloseMediaDevice(device);
        device->playlist.current = index;
        OpenMediaDevice(device);
    }
    if (mode == MCI_MODE_PLAY) PlayMedia(device);
    device->playlist.current = index;
}

void NextPlaylistEntry(MediaDevice* device)
{
    if (device->deviceId == 0) return;
    SelectPlaylistEntry(device, NextEntryIndex(device->playlist.current, device->playlist.count));
}

void PreviousPlaylistEntry(MediaDevice* device)
{
    if (device->deviceId == 0) return;
    SelectPlaylistEntry(device, PreviousEntryIndex(device->playlist.current, device->playlist.count));
}

void SkipBackward(MediaDevice* device)
{
    if (device->deviceId == 0) return;
    DWORD mode = QueryDeviceMode(device->deviceId);
    StopMedia(device);
    DWORD position = 0;
    if (!QueryDevicePosition(device->deviceId, &position)) return;
    DWORD target;
    if (IsCd(device)) {
        SkipTarget skip = CdSkipBackwardTarget(position);
        if (!skip.seek) return;  // at 0:00 of a track: stays stopped where it is
        target = skip.target;
    } else {
        target = MsSkipBackwardTarget(position);
    }
    if (MCIERROR error = SendSeek(device->deviceId, target)) {
        ReportMciError(device, error);
        return;
    }
    if (mode == MCI_MODE_PLAY) PlayMedia(device);
}

void SkipForward(MediaDevice* device)
{
    if (device->deviceId == 0) return;
    DWORD mode = QueryDeviceMode(device->deviceId);
    StopMedia(device);
    DWORD position = 0;
    if (!QueryDevicePosition(device->deviceId, &position)) return;
    DWORD target = IsCd(device) ? CdSkipForwardTarget(position) : MsSkipForwardTarget(position);
    // Past the end MCI refuses the seek; the device then stays stopped without a word.
    if (SendSeek(device->deviceId, target) != 0) return;
    if (mode == MCI_MODE_PLAY) PlayMedia(device);
}

bool IsEndOfPlayNotice(const MediaDevice* device, WPARAM code, LPARAM deviceId)
{
    if (code != MCI_NOTIFY_SUCCESSFUL) return false;
    return device->deviceId != 0 && static_cast<DWORD>(deviceId) == device->deviceId;
}

void PlayOnAfterEnd(MediaDevice* device)
{
    if ((device->flags & MDF_LOOP) || device->playlist.current + 1 < device->playlist.count) {
        NextPlaylistEntry(device);
        PlayMedia(device);
    } else {
        CloseMediaDevice(device);
        device->playlist.current = 0;
    }
}

int RefreshCdTrackList(MediaDevice* device)
{
    if (!(device->flags & MDF_OPEN)) return -1;
    int trackCount = 0;
    if (QueryCdTracks(device->deviceId, &trackCount) == -1) {
        ShowResourceMessage(IDS_NOT_AUDIO_CD, MB_ICONASTERISK);
        return -1;
    }
    if (trackCount < 0) {
        ShowResourceMessage(IDS_NO_CD, MB_ICONASTERISK);
        return -1;
    }
    int current = device->playlist.current;
    ClearPlaylist(&device->playlist);
    char label[40] = {};
    LoadStringA(g_app.instance, IDS_TRACK, label, static_cast<int>(std::size(label)));
    for (int track = 1; track <= trackCount; ++track) {
        PlaylistEntry entry;
        entry.number = track;
        FormatTrackLabel(entry.text, sizeof(entry.text), label, track);
        AppendPlaylistEntry(&device->playlist, &entry);
    }
    device->playlist.current = current;  // kept even when it now lies beyond the count
    return 0;
}

void ReportMciError(const MediaDevice* device, MCIERROR error)
{
    if (IsCd(device)) return;
    char text[256] = {};
    g_mci.getErrorString(error, text, static_cast<UINT>(std::size(text)));
    MessageBoxA(g_app.mainWindow, text, kAppName, MB_OK);
}

