// Skin painting: the palette, the panel backgrounds and button faces, and the LCD read-outs.
#pragma once

#include <windows.h>

// Palette (palette_win.cpp).
int GetDisplayColorDepth();
HPALETTE CreateSkinPalette(int entries);
int BuildSkinPalette(PALETTEENTRY* entries);
int SelectSkinPalette(BOOL select);

// Backgrounds and button faces (skin.cpp).
int PaintPanelBackground(HDC hdc, int templateId);
int DrawButtonFace(HWND panel, const DRAWITEMSTRUCT* item);
// True when the face a control shows is no longer the one its state asks for (or it is pressed).
bool FaceOutOfDate(HWND control);

// LCD read-outs (lcd.cpp).
int DrawLcdItem(HWND panel, const DRAWITEMSTRUCT* item);
int DrawDisplayText(HWND panel, const DRAWITEMSTRUCT* item);
int DrawTrackText(HWND panel, const DRAWITEMSTRUCT* item);
