// MCI control of the three players' devices.
#include "media/media_device.h"

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

int GetPlayState(DWORD, int*) { return 0; }
int SetPlayState(DWORD, int) { return 0; }
int OpenMediaDevice(MediaDevice*) { return 0; }
int CloseMediaDevice(MediaDevice*) { return 1; }
DWORD QueryDeviceMode(DWORD) { return MCI_MODE_NOT_READY; }
int QueryDevicePosition(DWORD, DWORD*) { return 0; }
int QueryCdTracks(DWORD, int* trackCount) { *trackCount = 0; return 0; }
int IsAudioCdPresent(MediaDevice*) { return 0; }
int ToggleCdDoor(MediaDevice*) { return 0; }
void PlayMedia(MediaDevice*) {}
void TogglePauseMedia(MediaDevice*) {}
void StopMedia(MediaDevice*) {}
void SeekToStart(MediaDevice*, int) {}
void SelectPlaylistEntry(MediaDevice* device, int index) { device->playlist.current = index; }
void NextPlaylistEntry(MediaDevice*) {}
void PreviousPlaylistEntry(MediaDevice*) {}
void SkipBackward(MediaDevice*) {}
void SkipForward(MediaDevice*) {}
int RefreshCdTrackList(MediaDevice*) { return -1; }
void ReportMciError(const MediaDevice*, MCIERROR) {}
void StartRecording(MediaDevice*) {}
void SaveRecording(MediaDevice*, const char*) {}
