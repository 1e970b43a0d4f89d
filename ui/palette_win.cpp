// The display's colour depth and the skin palette used on 8-bit displays.
#include "base/app_state.h"
#include "model/palette.h"
#include "ui/skin.h"

int GetDisplayColorDepth()
{
    HDC ic = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
    if (!ic) return 0;
    int depth = GetDeviceCaps(ic, BITSPIXEL) * GetDeviceCaps(ic, PLANES);
    DeleteDC(ic);
    return depth;
}

int BuildSkinPalette(PALETTEENTRY* entries)
{
    for (int i = 0; i < kSkinPaletteEntries; ++i) {
        SkinColor c = SkinPaletteEntry(i);
        entries[i] = {c.red, c.green, c.blue, 0};
    }
    return 0;
}

// BuildSkinPalette always writes 256 entries, so any other count is refused rather than
// letting it write past a smaller block.
HPALETTE CreateSkinPalette(int entries)
{
    if (entries != kSkinPaletteEntries) return nullptr;
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, static_cast<SIZE_T>(entries) * sizeof(PALETTEENTRY) + 8);
    if (!block) return nullptr;
    auto* logPalette = static_cast<LOGPALETTE*>(block);
    logPalette->palVersion = 0x300;
    logPalette->palNumEntries = static_cast<WORD>(entries);
    BuildSkinPalette(logPalette->palPalEntry);
    HPALETTE palette = CreatePalette(logPalette);
    GlobalFree(block);
    return palette;
}

// At start-up the main window handle is not stored yet, so the selection lands on the screen's
// device context; the panels select the palette again on every paint.
int SelectSkinPalette(BOOL select)
{
    HDC hdc = GetDC(g_app.mainWindow);
    if (select)
        g_app.replacedPalette = SelectPalette(hdc, g_app.palette, FALSE);
    else
        SelectPalette(hdc, g_app.replacedPalette, FALSE);
    ReleaseDC(g_app.mainWindow, hdc);
    return 0;
}
