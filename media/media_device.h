// The MCI devices of the three players and their transport operations.
#pragma once

#include <windows.h>

#include "model/player_device.h"

int InitMediaDevice(MediaDevice* device, DWORD deviceType);
int ReleaseMediaDevice(MediaDevice* device);

int GetPlayState(DWORD deviceType, int* state);
int SetPlayState(DWORD deviceType, int state);
int OpenMediaDevice(MediaDevice* device);
// Opens the device unless it is open already.
void OpenIfClosed(MediaDevice* device);
int CloseMediaDevice(MediaDevice* device);
DWORD QueryDeviceMode(DWORD deviceId);
int QueryDevicePosition(DWORD deviceId, DWORD* position);
int QueryCdTracks(DWORD deviceId, int* trackCount);
int IsAudioCdPresent(MediaDevice* device);
int ToggleCdDoor(MediaDevice* device);
void PlayMedia(MediaDevice* device);
void TogglePauseMedia(MediaDevice* device);
void StopMedia(MediaDevice* device);
void SeekToStart(MediaDevice* device, int toFirstTrack);
void SelectPlaylistEntry(MediaDevice* device, int index);
void NextPlaylistEntry(MediaDevice* device);
void PreviousPlaylistEntry(MediaDevice* device);
void SkipBackward(MediaDevice* device);
void SkipForward(MediaDevice* device);
// A notice that a play ran to its end, from the device that is open now. One from a device that is
// no longer the open one (closed, or replaced since the notice was posted) is stale.
bool IsEndOfPlayNotice(const MediaDevice* device, WPARAM code, LPARAM deviceId);
// After a file has played to its end: the next one plays, the first again when looping; after the
// last without looping the device closes and the first entry becomes current.
void PlayOnAfterEnd(MediaDevice* device);
int RefreshCdTrackList(MediaDevice* device);
void ReportMciError(const MediaDevice* device, MCIERROR error);

// Wave recording (recording.cpp).
// Records in the format of row wavefmt of the recording format table until the user's Stop; when
// the recording cannot start, the panel is sent Recordend and Stop.
void StartRecording(MediaDevice* device, std::uint32_t wavefmt, HWND panel);
// Saves the stopped recording into a review file of the temporary folder and makes it the
// device's element, so that it can be played back: 0 done, -1 not (MCI's error is shown).
int KeepRecordingForReview(MediaDevice* device);
// 0 saved; -1 when MCI refused (its error is shown) and the recording is still the device's.
int SaveRecording(MediaDevice* device, const char* path);
