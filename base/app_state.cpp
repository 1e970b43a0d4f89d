// The process-wide record, and the helpers that every layer uses.
#include "base/app_state.h"

#include <iterator>

AppState g_app;

int ShowResourceMessage(UINT stringId, UINT flags)
{
    char text[256] = {};
    LoadStringA(g_app.instance, stringId, text, static_cast<int>(std::size(text)));
    return MessageBoxA(g_app.mainWindow, text, g_app.className, flags);
}

PanelKind PanelKindOf(HWND panel)
{
    if (!panel) return PANEL_NONE;
    if (panel == g_app.MainPanel) return PANEL_MAIN;
    if (panel == g_app.CdPanel) return PANEL_CD;
    if (panel == g_app.MidiPanel) return PANEL_MIDI;
    if (panel == g_app.SoundPanel) return PANEL_SOUND;
    return PANEL_NONE;
}
