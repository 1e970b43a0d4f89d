// The display's colour depth and the skin palette used on 8-bit displays.
#include "ui/skin.h"

int GetDisplayColorDepth()
{
    HDC ic = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
    if (!ic) return 0;
    int depth = GetDeviceCaps(ic, BITSPIXEL) * GetDeviceCaps(ic, PLANES);
    DeleteDC(ic);
    return depth;
}

HPALETTE CreateSkinPalette(int /*entries*/)
{
    return nullptr;
}

int SelectSkinPalette(BOOL /*select*/)
{
    return 0;
}
