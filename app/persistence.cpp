// What outlives a run, for the process's own record: its settings, its module path and the MIDI
// and Sound devices are handed to settings/.
#include "app/app.h"

int LoadSettings()
{
    return LoadSettings(&g_app.settings);
}

int SaveSettings()
{
    return SaveSettings(&g_app.settings, g_app.modulePath);
}

int LoadPlaylistStore()
{
    return LoadPlaylistStore(g_app.modulePath, &g_app.MidiDevice, &g_app.SoundDevice);
}

int SavePlaylistStore()
{
    return SavePlaylistStore(g_app.modulePath, &g_app.MidiDevice, &g_app.SoundDevice);
}
