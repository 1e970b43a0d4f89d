// The process-wide state and its defaults.
#include "app/app.h"
#include "ui/skin.h"

AppState g_app;

void InitDefaults()
{
    g_app.settings = AppSettings{};
    g_app.colorDepth = GetDisplayColorDepth();
    g_app.palette = nullptr;
    g_app.replacedPalette = nullptr;
    InitMediaDevice(&g_app.CdDevice, MCI_DEVTYPE_CD_AUDIO);
    InitMediaDevice(&g_app.MidiDevice, MCI_DEVTYPE_SEQUENCER);
    InitMediaDevice(&g_app.SoundDevice, MCI_DEVTYPE_WAVEFORM_AUDIO);
    g_app.MainPanel = g_app.CdPanel = g_app.MidiPanel = g_app.SoundPanel = g_app.RecordReview = nullptr;
    g_app.trayMenu = nullptr;
    g_app.taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    g_app.mainWidth = 401;
    g_app.mainHeight = 366;
}
