// What outlives a run: the three values in the registry with the autostart entry, and the
// playlist store file beside the program. Each operation works on the record it is handed.
#pragma once

#include "model/config.h"
#include "model/player_device.h"

// The registry (settings_win.cpp). A value that is missing or not a 4-byte number keeps what the
// record holds; the banner is always shown, and a recording format the table lacks becomes the
// default. The save writes the autostart entry, naming the program at modulePath, while the tray
// icon is on, and deletes it otherwise.
int LoadSettings(AppSettings* values);
int SaveSettings(const AppSettings* values, const char* modulePath);

// The playlist store file "velutra.s" beside the program at modulePath (playlist_store_win.cpp):
// the MIDI and Sound devices' playlists and flags. The save writes a new file beside the old one
// and replaces it only once every byte is written.
int LoadPlaylistStore(const char* modulePath, MediaDevice* midi, MediaDevice* sound);
int SavePlaylistStore(const char* modulePath, const MediaDevice* midi, const MediaDevice* sound);
