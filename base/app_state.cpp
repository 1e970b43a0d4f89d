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

namespace {

// The text in the ANSI code page, only when every character has its own form there. Where that
// code page is UTF-8 every character has one, and the call takes no flag to say otherwise.
bool ConvertsWhole(const wchar_t* text, char* out, int outSize)
{
    BOOL lossy = FALSE;
    int written = WideCharToMultiByte(CP_ACP, 0, text, -1, out, outSize, nullptr,
                                      GetACP() == CP_UTF8 ? nullptr : &lossy);
    return written > 0 && !lossy;
}

}  // namespace

int AnsiPathOf(const wchar_t* path, char* out, int outSize)
{
    if (ConvertsWhole(path, out, outSize)) return 0;
    wchar_t shortPath[MAX_PATH] = {};
    DWORD length = GetShortPathNameW(path, shortPath, MAX_PATH);
    if (length > 0 && length < MAX_PATH && ConvertsWhole(shortPath, out, outSize)) return 0;
    out[0] = '\0';
    return -1;
}
