// Panel backgrounds and button faces, painted from the skin bitmaps.
#include "ui/skin.h"

int PaintPanelBackground(HDC /*hdc*/, int /*templateId*/)
{
    return 0;
}

int DrawButtonFace(HWND /*panel*/, const DRAWITEMSTRUCT* /*item*/)
{
    return 0;
}
