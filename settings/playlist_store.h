// The playlist store file beside the program.
#pragma once

int LoadPlaylistStore();
int SavePlaylistStore();
