// The two LCD lines of the player panels: Track (position) and Display (title).
#include "ui/skin.h"

int DrawLcdItem(HWND /*panel*/, const DRAWITEMSTRUCT* /*item*/)
{
    return 0;
}
