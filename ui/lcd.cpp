// The two LCD lines of the player panels: Track (position) and Display (title).
#include <iterator>

#include "resources/resource.h"
#include "ui/skin.h"

namespace {

// The font is made for one paint and deleted at its end. The Track face "lcdd" is not shipped:
// without it the font mapper picks a fixed-pitch modern face of the same height.
void DrawLcdLine(const DRAWITEMSTRUCT* item, const LOGFONTA& logFont, COLORREF textColor)
{
    if (!(item->itemAction & ODA_DRAWENTIRE)) return;
    RECT rect = item->rcItem;
    FillRect(item->hDC, &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    char text[256] = {};
    int length = GetWindowTextA(item->hwndItem, text, static_cast<int>(std::size(text)));
    HFONT font = CreateFontIndirectA(&logFont);
    HGDIOBJ previous = SelectObject(item->hDC, font);
    SetBkColor(item->hDC, RGB(0, 0, 0));
    SetTextColor(item->hDC, textColor);
    DrawTextA(item->hDC, text, length, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (previous) SelectObject(item->hDC, previous);
    if (font) DeleteObject(font);
}

}  // namespace

int DrawDisplayText(HWND /*panel*/, const DRAWITEMSTRUCT* item)
{
    LOGFONTA logFont{};
    logFont.lfHeight = -11;
    logFont.lfWeight = FW_NORMAL;
    logFont.lfCharSet = DEFAULT_CHARSET;
    DrawLcdLine(item, logFont, RGB(0, 255, 255));
    return 0;
}

int DrawTrackText(HWND /*panel*/, const DRAWITEMSTRUCT* item)
{
    LOGFONTA logFont{};
    logFont.lfHeight = 18;
    logFont.lfWeight = FW_DONTCARE;
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    lstrcpynA(logFont.lfFaceName, "lcdd", LF_FACESIZE);
    DrawLcdLine(item, logFont, RGB(255, 255, 255));
    return 0;
}

int DrawLcdItem(HWND panel, const DRAWITEMSTRUCT* item)
{
    switch (item->CtlID) {
    case IDC_DISPLAY: DrawDisplayText(panel, item); break;
    case IDC_TRACK:   DrawTrackText(panel, item); break;
    }
    return 0;
}
