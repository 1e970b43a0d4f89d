// What outlives a run: the three values in the registry with the autostart entry, and the
// playlist store file beside the program.
#pragma once

// The registry (settings_win.cpp).
int LoadSettings();
int SaveSettings();

// The playlist store file (playlist_store_win.cpp), holding the MIDI and Sound playlists.
int LoadPlaylistStore();
int SavePlaylistStore();
