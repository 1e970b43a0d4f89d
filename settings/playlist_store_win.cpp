// Reading and writing the playlist store file beside the program.
#include "settings/playlist_store.h"

int LoadPlaylistStore()
{
    return -1;
}

int SavePlaylistStore()
{
    return -1;
}
