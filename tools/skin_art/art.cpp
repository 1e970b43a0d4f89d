// The skin's designs: a rack of olive and grey panels, grey key caps that light up, dark LCD wells.
#include "tools/skin_art/art.h"

#include <algorithm>
#include <cmath>

#include "model/hot_spots.h"
#include "model/palette.h"
#include "model/skin_faces.h"
#include "resources/resource.h"

namespace {

// Colours.

const Rgb kBlack{0, 0, 0};
const Rgb kWhite{255, 255, 255};
const Rgb kCyan{0, 255, 255};
const Rgb kDarkCyan{0, 191, 191};
const Rgb kGreen{0, 255, 0};
const Rgb kDarkGreen{0, 191, 0};
const Rgb kRed{255, 0, 0};
const Rgb kDarkRed{191, 0, 0};
const Rgb kYellow{255, 255, 0};

// A panel's plate colours; the 256-colour art keeps to the palette's greys.
struct Plate {
    Rgb top;
    Rgb bottom;
    Rgb engrave;  // lettering cut into the plate
};

Plate OlivePlate(bool trueColor)
{
    if (trueColor) return {{104, 108, 80}, {82, 86, 62}, {48, 50, 36}};
    return {Grey(12), Grey(10), Grey(5)};
}

Plate GreyPlate(bool trueColor)
{
    if (trueColor) return {{164, 165, 154}, {138, 139, 128}, {84, 85, 76}};
    return {Grey(20), Grey(17), Grey(10)};
}

// A little brushed-metal grain for the true-colour plates; repeatable from the coordinates.
int Grain(int x, int y)
{
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    int streak = static_cast<int>((static_cast<std::uint32_t>(y) * 2654435761u >> 28) & 3);
    return static_cast<int>((h >> 29) & 3) - 1 + (streak == 0 ? 1 : 0);
}

Rgb Shift(Rgb c, int d)
{
    auto s = [d](int v) { return static_cast<std::uint8_t>(std::clamp(v + d, 0, 255)); };
    return {s(c.r), s(c.g), s(c.b)};
}

// The plate's gradient, its top highlight and bottom shadow rows (the seams between rack units).
void PaintPlate(Canvas& c, const Plate& plate, bool trueColor)
{
    for (int y = 0; y < c.height; ++y) {
        Rgb row = Mix(plate.top, plate.bottom, c.height > 1 ? y * 100 / (c.height - 1) : 0);
        if (!trueColor) row = Grey(PaletteIndexOf(row));
        for (int x = 0; x < c.width; ++x) c.At(x, y) = trueColor ? Shift(row, Grain(x, y)) : row;
    }
    HLine(c, 0, 0, c.width, trueColor ? Mix(plate.top, kWhite, 45) : Grey(PaletteIndexOf(Mix(plate.top, kWhite, 45))));
    HLine(c, 0, c.height - 1, c.width, trueColor ? Mix(plate.bottom, kBlack, 55) : Grey(5));
    HLine(c, 0, c.height - 2, c.width, trueColor ? Mix(plate.bottom, kBlack, 25) : Grey(PaletteIndexOf(Mix(plate.bottom, kBlack, 25))));
}

// The colour itself in true-colour art, its nearest palette colour in 256-colour art.
Rgb Exact(Rgb c, bool trueColor)
{
    if (trueColor) return c;
    SkinColor p = SkinPaletteEntry(PaletteIndexOf(c));
    return {p.red, p.green, p.blue};
}

struct Box {
    int x, y, w, h;
};

Box SpotBox(const HotSpot& s)
{
    PanelRect r = HotSpotRect(s);
    return {r.left, r.top, r.Width(), r.Height()};
}

Box Around(std::initializer_list<Box> boxes, int margin)
{
    int l = 1 << 20, t = 1 << 20, r = -(1 << 20), b = -(1 << 20);
    for (const Box& box : boxes) {
        l = std::min(l, box.x);
        t = std::min(t, box.y);
        r = std::max(r, box.x + box.w);
        b = std::max(b, box.y + box.h);
    }
    return {l - margin, t - margin, r - l + 2 * margin, b - t + 2 * margin};
}

Box SpotOf(PanelKind panel, int id)
{
    for (const HotSpot& s : HotSpotTable(panel))
        if (s.id == id) return SpotBox(s);
    return {0, 0, 0, 0};
}

bool InAny(const std::vector<Box>& boxes, int x, int y)
{
    for (const Box& b : boxes)
        if (x >= b.x && y >= b.y && x < b.x + b.w && y < b.y + b.h) return true;
    return false;
}

// A recess cut into the plate around a hot spot or a group of them (any union of boxes): dark
// floor, shadowed top-left inner edge, lit bottom-right outer edge.
void Recess(Canvas& c, const std::vector<Box>& boxes, const Plate& plate, bool trueColor)
{
    Rgb floor = trueColor ? Rgb{30, 31, 26} : Grey(4);
    Rgb inner = trueColor ? Rgb{12, 12, 10} : Grey(1);
    Rgb rim = Exact(Mix(plate.bottom, kBlack, 45), trueColor);
    Rgb lit = Exact(Mix(plate.top, kWhite, 40), trueColor);
    for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) {
            if (InAny(boxes, x, y)) {
                bool edge = !InAny(boxes, x, y - 1) || !InAny(boxes, x - 1, y);
                c.At(x, y) = edge ? inner : floor;
            } else if (InAny(boxes, x + 1, y) || InAny(boxes, x, y + 1) || InAny(boxes, x + 1, y + 1)) {
                c.At(x, y) = rim;
            } else if (InAny(boxes, x - 1, y) || InAny(boxes, x, y - 1) || InAny(boxes, x - 1, y - 1)) {
                c.At(x, y) = lit;
            }
        }
    }
}

void RecessBox(Canvas& c, Box b, const Plate& plate, bool trueColor)
{
    Recess(c, {b}, plate, trueColor);
}

// Text cut into the plate: dark letters with a lit lower edge.
void Engrave(Canvas& c, int x, int y, const std::string& text, const Plate& plate, bool trueColor, int scale = 1)
{
    DrawText(c, x + 1, y + 1, text, Exact(Mix(plate.top, kWhite, 45), trueColor), scale);
    DrawText(c, x, y, text, Exact(plate.engrave, trueColor), scale);
}

void Screw(Canvas& c, int cx, int cy, bool trueColor)
{
    double x = cx + 0.5, y = cy + 0.5;
    FillCircle(c, x + 0.6, y + 0.6, 3.6, trueColor ? Rgb{40, 40, 34} : Grey(5));
    FillCircle(c, x, y, 3.2, trueColor ? Rgb{176, 178, 168} : Grey(22));
    FillCircle(c, x + 0.5, y + 0.5, 2.4, trueColor ? Rgb{146, 148, 138} : Grey(18));
    for (int i = -2; i <= 2; ++i) Plot(c, cx + i, cy - i, trueColor ? Rgb{60, 60, 52} : Grey(7));
}

// The LCD window behind Track and Display: a black glass in a dark bezel.
void LcdWindow(Canvas& c, Box glass, const Plate& plate, bool trueColor)
{
    Box bezel{glass.x - 4, glass.y - 4, glass.w + 8, glass.h + 8};
    RecessBox(c, bezel, plate, trueColor);
    FillRect(c, bezel.x + 1, bezel.y + 1, bezel.w - 2, bezel.h - 2, trueColor ? Rgb{46, 48, 40} : Grey(6));
    Bevel(c, bezel.x + 1, bezel.y + 1, bezel.w - 2, bezel.h - 2, trueColor ? Rgb{70, 72, 62} : Grey(9),
          trueColor ? Rgb{26, 27, 22} : Grey(3));
    FillRect(c, glass.x - 1, glass.y - 1, glass.w + 2, glass.h + 2, kBlack);
}

// A grille of vertical slots, as over a speaker.
void Grille(Canvas& c, int x, int y, int w, int h, const Plate& plate, bool trueColor)
{
    for (int sx = x; sx + 2 <= x + w; sx += 5) {
        FillRect(c, sx, y, 2, h, trueColor ? Rgb{28, 29, 22} : Grey(3));
        VLine(c, sx + 2, y, h, Exact(Mix(plate.top, kWhite, 30), trueColor));
        HLine(c, sx, y + h, 3, Exact(Mix(plate.top, kWhite, 30), trueColor));
    }
}

void Led(Canvas& c, int x, int y, Rgb on, bool trueColor)
{
    FillRect(c, x - 1, y - 1, 8, 5, trueColor ? Rgb{30, 31, 26} : Grey(3));
    FillRect(c, x, y, 6, 3, on);
    HLine(c, x, y, 6, Exact(Mix(on, kWhite, 55), trueColor));
}

// Panel backgrounds.

Canvas Banner(bool trueColor, int height)
{
    Canvas c(401, height);
    Plate plate = OlivePlate(trueColor);
    PaintPlate(c, plate, trueColor);
    Box name = SpotOf(PANEL_MAIN, IDC_BANNER);
    RecessBox(c, Around({name}, 2), plate, trueColor);
    Grille(c, 12, 9, 100, 17, plate, trueColor);
    Grille(c, 292, 9, 100, 17, plate, trueColor);
    RecessBox(c, Around({SpotOf(PANEL_MAIN, IDC_POWER)}, 2), plate, trueColor);
    RecessBox(c, Around({SpotOf(PANEL_MAIN, IDC_CD), SpotOf(PANEL_MAIN, IDC_MIXER)}, 3), plate, trueColor);
    RecessBox(c, Around({SpotOf(PANEL_MAIN, IDC_MINIMIZE), SpotOf(PANEL_MAIN, IDC_PROPERTIES)}, 2), plate, trueColor);
    Led(c, 78, 51, kGreen, trueColor);
    Engrave(c, 71, 58, "ON", plate, trueColor);
    return c;
}

Box PlayKeysWell(PanelKind panel)
{
    return Around({SpotOf(panel, IDC_PAUSE), SpotOf(panel, IDC_STOP)}, 3);
}

// The parts every player panel has: plate, LCD window, wells around the buttons.
Canvas PlayerPlate(PanelKind panel, bool trueColor, int height)
{
    Canvas c(401, height);
    Plate plate = GreyPlate(trueColor);
    PaintPlate(c, plate, trueColor);
    Box track = SpotOf(panel, IDC_TRACK);
    Box display = SpotOf(panel, IDC_DISPLAY);
    LcdWindow(c, Around({track, display}, 0), plate, trueColor);
    RecessBox(c, Around({SpotOf(panel, IDC_PLAYLIST)}, 2), plate, trueColor);
    Screw(c, 393, 8, trueColor);
    Screw(c, 393, 89, trueColor);
    return c;
}

Canvas CdBackground(bool trueColor, int height)
{
    Canvas c = PlayerPlate(PANEL_CD, trueColor, height);
    Plate plate = GreyPlate(trueColor);
    Recess(c, {Around({SpotOf(PANEL_CD, IDC_BACK), SpotOf(PANEL_CD, IDC_NEXT)}, 3), PlayKeysWell(PANEL_CD)}, plate,
           trueColor);
    Engrave(c, 17, 46, "CD", plate, trueColor, 2);
    Engrave(c, 12, 66, "AUDIO", plate, trueColor);
    Screw(c, 8, 89, trueColor);
    return c;
}

Canvas MidiBackground(bool trueColor, int height)
{
    Canvas c = PlayerPlate(PANEL_MIDI, trueColor, height);
    Plate plate = GreyPlate(trueColor);
    Recess(c, {Around({SpotOf(PANEL_MIDI, IDC_BACK), SpotOf(PANEL_MIDI, IDC_NEXT)}, 3), PlayKeysWell(PANEL_MIDI)},
           plate, trueColor);
    Engrave(c, 22, 60, "MIDI", plate, trueColor, 2);
    Engrave(c, 19, 79, "MUSIC", plate, trueColor);
    Screw(c, 8, 89, trueColor);
    return c;
}

Canvas SoundBackground(bool trueColor, int height)
{
    Canvas c = PlayerPlate(PANEL_SOUND, trueColor, height);
    Plate plate = GreyPlate(trueColor);
    // An L-shaped well: Back and Rewind above Record, Forward and Next.
    Box upper = Around({SpotOf(PANEL_SOUND, IDC_BACK), SpotOf(PANEL_SOUND, IDC_REWIND)}, 3);
    Box lower = Around({SpotOf(PANEL_SOUND, IDC_RECORD), SpotOf(PANEL_SOUND, IDC_NEXT)}, 3);
    Recess(c, {upper, lower, PlayKeysWell(PANEL_SOUND)}, plate, trueColor);
    Engrave(c, 146, 8, "SOUND", plate, trueColor, 2);
    return c;
}

// Key caps.

struct CapStyle {
    Rgb top, bottom, light, dark, ink;
    bool speckle;  // mix `bottom` into `top` in a fine checker: a tint the palette lacks
};

CapStyle GreyCap() { return {Grey(25), Grey(21), Grey(29), Grey(13), Grey(3), false}; }
CapStyle TealCap() { return {kDarkCyan, kDarkGreen, kCyan, Grey(8), kBlack, true}; }
CapStyle GreenCap() { return {kGreen, kDarkGreen, Rgb{192, 255, 192}, Grey(8), kBlack, false}; }
CapStyle RedCap() { return {kRed, kDarkRed, Rgb{255, 160, 160}, Grey(8), kBlack, false}; }

// A key cap filling the face; pressed caps sink: shaded top-left, darker body.
void Keycap(Canvas& c, const CapStyle& s, bool pressed)
{
    int w = c.width, h = c.height;
    for (int y = 1; y < h - 1; ++y) {
        for (int x = 1; x < w - 1; ++x) {
            Rgb body;
            if (s.speckle) {
                body = ((x + y) & 1) ? s.bottom : s.top;
            } else {
                int steps = (y - 1) * 4 / std::max(1, h - 3);
                int ti = PaletteIndexOf(s.top), bi = PaletteIndexOf(s.bottom);
                bool greys = ti < 32 && bi < 32;
                body = greys ? Grey(ti - (ti - bi) * steps / 4) : (y < h / 2 ? s.top : s.bottom);
            }
            c.At(x, y) = pressed && !s.speckle ? (PaletteIndexOf(body) < 32 ? Grey(PaletteIndexOf(body) - 3) : body) : body;
        }
    }
    FrameRect(c, 0, 0, w, h, Grey(2));
    if (pressed) {
        HLine(c, 1, 1, w - 2, Grey(9));
        VLine(c, 1, 1, h - 2, Grey(9));
        HLine(c, 2, 2, w - 3, Grey(15));
        VLine(c, 2, 2, h - 3, Grey(15));
    } else {
        HLine(c, 1, 1, w - 2, s.light);
        VLine(c, 1, 1, h - 2, s.light);
        HLine(c, 1, h - 2, w - 2, s.dark);
        VLine(c, w - 2, 1, h - 2, s.dark);
        HLine(c, 2, h - 3, w - 4, Exact(Mix(s.dark, s.bottom, 50), false));
    }
}

// Glyphs.

void RightTriangle(Canvas& c, int x, int y, int h, Rgb colour)
{
    for (int j = 0; j < h; ++j) HLine(c, x, y + j, std::min(j, h - 1 - j) + 1, colour);
}

void LeftTriangle(Canvas& c, int x, int y, int h, Rgb colour)
{
    int w = h / 2 + 1;
    for (int j = 0; j < h; ++j) {
        int len = std::min(j, h - 1 - j) + 1;
        HLine(c, x + w - len, y + j, len, colour);
    }
}

enum Glyph { G_BACK, G_REWIND, G_EJECT, G_FORWARD, G_NEXT, G_PAUSE, G_PLAY, G_STOP, G_RECORD };

int GlyphWidth(Glyph g)
{
    switch (g) {
    case G_BACK: case G_NEXT: return 8;
    case G_REWIND: case G_FORWARD: return 10;
    case G_EJECT: return 11;
    case G_PAUSE: return 9;
    case G_PLAY: return 6;
    case G_STOP: return 9;
    case G_RECORD: return 9;
    }
    return 0;
}

constexpr int kGlyphHeight = 9;

void DrawGlyph(Canvas& c, Glyph g, int x, int y, Rgb ink, Rgb accent)
{
    switch (g) {
    case G_BACK:    FillRect(c, x, y, 2, 9, ink); LeftTriangle(c, x + 3, y, 9, ink); break;
    case G_REWIND:  LeftTriangle(c, x, y, 9, ink); LeftTriangle(c, x + 5, y, 9, ink); break;
    case G_FORWARD: RightTriangle(c, x, y, 9, ink); RightTriangle(c, x + 5, y, 9, ink); break;
    case G_NEXT:    RightTriangle(c, x, y, 9, ink); FillRect(c, x + 6, y, 2, 9, ink); break;
    case G_EJECT:
        for (int j = 0; j < 6; ++j) HLine(c, x + 5 - j, y + j, 2 * j + 1, ink);
        FillRect(c, x, y + 7, 11, 2, ink);
        break;
    case G_PAUSE:   FillRect(c, x, y, 3, 9, ink); FillRect(c, x + 6, y, 3, 9, ink); break;
    case G_PLAY:    RightTriangle(c, x, y - 1, 11, ink); break;
    case G_STOP:    FillRect(c, x, y, 9, 9, ink); break;
    case G_RECORD:
        FillCircle(c, x + 4.5, y + 4.5, 4.8, ink);
        FillCircle(c, x + 4.5, y + 4.5, 3.6, accent);
        break;
    }
}

// A transport key: glyph, and a label under it when the key is tall enough.
Canvas TransportFace(int w, int h, Glyph g, const std::string& label, const CapStyle& style, bool pressed,
                     Rgb accent = kDarkRed)
{
    Canvas c(w, h);
    Keycap(c, style, pressed);
    int shift = pressed ? 1 : 0;
    int contentHeight = label.empty() ? kGlyphHeight : kGlyphHeight + 3 + kTextHeight;
    int top = (h - contentHeight) / 2 + shift;
    int gw = GlyphWidth(g);
    if (!label.empty() && w > 40) {
        // Wide keys carry glyph and label side by side.
        int total = gw + 5 + TextWidth(label);
        int left = (w - total) / 2 + shift;
        int y = (h - kGlyphHeight) / 2 + shift;
        DrawGlyph(c, g, left, y, style.ink, accent);
        DrawText(c, left + gw + 5, y + 1, label, style.ink);
        return c;
    }
    DrawGlyph(c, g, (w - gw) / 2 + shift, top, style.ink, accent);
    if (!label.empty()) DrawText(c, (w - TextWidth(label)) / 2 + shift, top + kGlyphHeight + 3, label, style.ink);
    return c;
}

// CD, MIDI, SOUND and MIXER: a label and a small lamp that glows with the key.
Canvas SelectorFace(const std::string& label, bool lit, bool pressed)
{
    Canvas c(48, 25);
    CapStyle style = lit ? TealCap() : GreyCap();
    Keycap(c, style, pressed);
    int shift = pressed ? 1 : 0;
    int x = (48 - TextWidth(label)) / 2 + shift;
    DrawText(c, x, 12 + shift, label, style.ink);
    int lampX = 24 - 5 + shift;
    FillRect(c, lampX - 1, 4 + shift, 12, 5, Grey(3));
    FillRect(c, lampX, 5 + shift, 10, 3, lit ? kCyan : Grey(9));
    if (lit) HLine(c, lampX, 5 + shift, 10, kWhite);
    return c;
}

Canvas PowerFace(bool pressed)
{
    Canvas c(64, 23);
    Keycap(c, GreyCap(), pressed);
    int s = pressed ? 1 : 0;
    double cx = 13.5 + s, cy = 11.5 + s;
    Ring(c, cx, cy, 5.6, 3.7, kDarkRed);
    FillRect(c, 11 + s, 4 + s, 5, 5, pressed ? Grey(21) : Grey(23));
    FillRect(c, 12 + s, 4 + s, 3, 7, kDarkRed);
    DrawText(c, 24 + s, 8 + s, "POWER", Grey(3));
    return c;
}

Canvas MinimizeFace(bool pressed)
{
    Canvas c(28, 23);
    Keycap(c, GreyCap(), pressed);
    int s = pressed ? 1 : 0;
    FillRect(c, 9 + s, 14 + s, 10, 3, Grey(3));
    return c;
}

Canvas PropertiesFace(bool pressed)
{
    Canvas c(21, 23);
    Keycap(c, GreyCap(), pressed);
    int s = pressed ? 1 : 0;
    DrawPattern(c, 6 + s, 7 + s,
                {"....X....", ".X.XXX.X.", "..XXXXX..", ".XXX.XXX.", "XXX...XXX", ".XXX.XXX.", "..XXXXX..",
                 ".X.XXX.X.", "....X...."},
                Grey(3));
    return c;
}

// A small dark window of list lines on the playlist keys; lit while the list has entries.
void ListWindow(Canvas& c, int x, int y, int w, int h, int lines, bool lit)
{
    FillRect(c, x, y, w, h, Grey(2));
    Bevel(c, x - 1, y - 1, w + 2, h + 2, Grey(12), Grey(28));
    int pitch = (h - 4) / lines;
    for (int i = 0; i < lines; ++i) {
        int ly = y + 3 + i * pitch;
        FillRect(c, x + 3, ly, 2, 2, lit ? kGreen : Grey(8));
        int len = (w - 10) - ((i * 7) % 3) * (w / 6);
        FillRect(c, x + 7, ly, len, 2, lit ? kCyan : Grey(7));
    }
}

void Disc(Canvas& c, double cx, double cy, double r, bool lit)
{
    FillCircle(c, cx, cy, r, lit ? kDarkCyan : Grey(13));
    Ring(c, cx, cy, r * 0.8, r * 0.55, lit ? kCyan : Grey(15));
    FillCircle(c, cx - r * 0.35, cy - r * 0.35, r * 0.18, lit ? kWhite : Grey(17));
    FillCircle(c, cx, cy, r * 0.3, Grey(3));
    FillCircle(c, cx, cy, r * 0.16, lit ? Grey(20) : Grey(18));
}

Canvas CdListFace(bool disc, bool pressed)
{
    Canvas c(186, 27);
    Keycap(c, GreyCap(), pressed);
    int s = pressed ? 1 : 0;
    FillRect(c, 6 + s, 3 + s, 22, 21, Grey(2));
    Disc(c, 17.0 + s, 13.5 + s, 9.2, disc);
    DrawText(c, 40 + s, 10 + s, "CD PLAYLIST", Grey(3));
    FillRect(c, 150 + s, 10 + s, 26, 7, Grey(2));
    FillRect(c, 151 + s, 11 + s, 24, 5, disc ? kGreen : Grey(8));
    return c;
}

Canvas MidiListFace(bool entries, bool pressed)
{
    Canvas c(145, 40);
    Keycap(c, GreyCap(), pressed);
    int s = pressed ? 1 : 0;
    ListWindow(c, 8 + s, 7 + s, 48, 25, 4, entries);
    DrawText(c, 70 + s, 11 + s, "MIDI", Grey(3));
    DrawText(c, 70 + s, 22 + s, "PLAYLIST", Grey(3));
    return c;
}

Canvas SoundListFace(bool entries, bool pressed)
{
    Canvas c(121, 82);
    Keycap(c, GreyCap(), pressed);
    int s = pressed ? 1 : 0;
    ListWindow(c, 9 + s, 9 + s, 101, 46, 6, entries);
    DrawText(c, (121 - TextWidth("PLAYLIST")) / 2 + s, 65 + s, "PLAYLIST", Grey(3));
    return c;
}

// The name plate: the program's name in bright lettering on a dark plate.
Canvas NameFace(bool trueColor)
{
    Canvas c(156, 26);
    for (int y = 0; y < 26; ++y) {
        Rgb row = trueColor ? Mix(Rgb{40, 42, 32}, Rgb{14, 15, 10}, y * 100 / 25) : Grey(y < 13 ? 3 : 2);
        HLine(c, 0, y, 156, row);
    }
    FrameRect(c, 0, 0, 156, 26, kBlack);
    Bevel(c, 1, 1, 154, 24, trueColor ? Rgb{72, 76, 56} : Grey(7), trueColor ? Rgb{8, 8, 6} : Grey(1));
    Rgb rows[kNameHeight];
    for (int i = 0; i < kNameHeight; ++i) {
        if (trueColor) {
            rows[i] = i < 6 ? Mix(Rgb{255, 255, 250}, Rgb{200, 204, 190}, i * 100 / 6)
                            : Mix(Rgb{150, 154, 138}, Rgb{226, 228, 214}, (i - 6) * 100 / 7);
        } else {
            const int ramp[kNameHeight] = {31, 30, 29, 28, 27, 25, 19, 20, 21, 23, 24, 25, 26, 27};
            rows[i] = Grey(ramp[i]);
        }
    }
    std::string name = "Velutra";
    int x = (156 - NameWidth(name)) / 2;
    Rgb shadowRows[kNameHeight];
    for (Rgb& r : shadowRows) r = kBlack;
    DrawName(c, x + 1, 7, name, shadowRows);
    DrawName(c, x, 6, name, rows);
    Rgb accent = trueColor ? Rgb{0, 200, 170} : kDarkCyan;
    HLine(c, 10, 13, x - 18, accent);
    HLine(c, x + NameWidth(name) + 8, 13, 156 - 10 - (x + NameWidth(name) + 8), accent);
    return c;
}

// Icons and cursor.

// The program: a small unit with the name's V lit on its display and a row of keys. Drawn on a
// grid of 32 units at any size: a unit is size / 32 pixels, so the 32-pixel image is the design
// itself and the larger ones keep its proportions and line weights.
Canvas ProgramIcon(int size)
{
    Canvas c(size, size, kBlack);
    auto at = [size](int unit) { return unit * size / 32; };
    const int line = std::max(1, size / 32);
    auto box = [&](int x0, int y0, int x1, int y1, Rgb colour) {
        FillRect(c, at(x0), at(y0), at(x1) - at(x0), at(y1) - at(y0), colour);
    };
    auto bevel = [&](int x0, int y0, int x1, int y1, Rgb light, Rgb dark) {
        for (int i = 0; i < line; ++i)
            Bevel(c, at(x0) + i, at(y0) + i, at(x1) - at(x0) - 2 * i, at(y1) - at(y0) - 2 * i, light, dark);
    };
    box(1, 2, 31, 30, Grey(19));
    bevel(1, 2, 31, 30, Grey(27), Grey(8));
    bevel(0, 1, 32, 31, Grey(3), Grey(3));
    box(4, 5, 28, 21, Grey(1));
    bevel(3, 4, 29, 22, Grey(10), Grey(26));
    const std::vector<std::string> vee{"XX........XX", ".XX......XX.", ".XX......XX.", "..XX....XX..",
                                       "..XX....XX..", "...XX..XX...", "...XX..XX...", "....XXXX....",
                                       ".....XX....."};
    for (int row = 0; row < static_cast<int>(vee.size()); ++row)
        for (int col = 0; col < static_cast<int>(vee[row].size()); ++col)
            if (vee[row][col] == 'X') box(10 + col, 8 + row, 11 + col, 9 + row, kCyan);
    box(6, 18, 26, 19, kDarkCyan);
    for (int i = 0; i < 3; ++i) {
        int x = 4 + i * 9;
        box(x, 23, x + 7, 28, Grey(3));
        box(x + 1, 24, x + 6, 27, i == 1 ? kGreen : Grey(25));
    }
    // Opaque from unit row 1 to 30, less one unit at each corner.
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            bool edgeColumn = x < at(1) || x >= at(31);
            bool edgeRow = y < at(2) || y >= at(30);
            bool inside = y >= at(1) && y < at(31) && !(edgeColumn && edgeRow);
            c.opaque[static_cast<std::size_t>(y * size + x)] = inside ? 1 : 0;
        }
    }
    return c;
}

Canvas EmptyIcon()
{
    Canvas c(32, 32, kBlack);
    std::fill(c.opaque.begin(), c.opaque.end(), 0);
    return c;
}

// Marks as opaque every pixel that differs from the transparent black background.
void OpaqueWhereDrawn(Canvas& c)
{
    for (std::size_t i = 0; i < c.pixels.size(); ++i) c.opaque[i] = !(c.pixels[i] == kBlack) ? 1 : 0;
}

Canvas DiscIcon()
{
    Canvas c = EmptyIcon();
    FillCircle(c, 16, 16, 14.5, Grey(8));
    FillCircle(c, 16, 16, 13.5, Grey(24));
    Ring(c, 16, 16, 12, 7, kDarkCyan);
    Ring(c, 16, 16, 10, 8, kCyan);
    FillCircle(c, 16, 16, 5, Grey(8));
    FillCircle(c, 16, 16, 3, Grey(1));
    OpaqueWhereDrawn(c);
    FillCircle(c, 16, 16, 2.2, kBlack);
    for (std::size_t i = 0; i < c.pixels.size(); ++i) {
        int x = static_cast<int>(i % 32), y = static_cast<int>(i / 32);
        if (std::hypot(x + 0.5 - 16, y + 0.5 - 16) <= 2.2) c.opaque[i] = 0;
    }
    return c;
}

Canvas NoteIcon()
{
    Canvas c = EmptyIcon();
    FillRect(c, 11, 5, 3, 19, Grey(4));
    FillRect(c, 22, 3, 3, 19, Grey(4));
    for (int i = 0; i < 4; ++i) HLine(c, 11, 5 + i - 0, 14, Grey(4));
    for (int i = 0; i < 14; ++i) Plot(c, 11 + i, 4 + 4 - i / 7, Grey(4));
    FillCircle(c, 9.5, 24.5, 4.6, Grey(4));
    FillCircle(c, 20.5, 22.5, 4.6, Grey(4));
    FillCircle(c, 9, 24, 2.4, kDarkCyan);
    FillCircle(c, 20, 22, 2.4, kDarkCyan);
    OpaqueWhereDrawn(c);
    return c;
}

Canvas WaveIcon()
{
    Canvas c = EmptyIcon();
    FillRect(c, 1, 5, 30, 22, Grey(3));
    FillRect(c, 2, 6, 28, 20, Grey(1));
    for (int x = 3; x < 29; ++x) {
        double a = std::sin((x - 3) * 0.55) * (3 + (x % 7)) * 0.9;
        int y0 = 16 - static_cast<int>(std::lround(std::abs(a)));
        VLine(c, x, y0, 2 * (16 - y0) + 1, kGreen);
    }
    OpaqueWhereDrawn(c);
    return c;
}

Canvas MixerIcon()
{
    Canvas c = EmptyIcon();
    FillRect(c, 2, 3, 28, 26, Grey(12));
    Bevel(c, 2, 3, 28, 26, Grey(20), Grey(5));
    const int knob[3] = {8, 16, 12};
    for (int i = 0; i < 3; ++i) {
        int x = 7 + i * 8;
        FillRect(c, x, 6, 2, 20, Grey(2));
        FillRect(c, x - 3, knob[i], 8, 4, Grey(26));
        HLine(c, x - 3, knob[i] + 1, 8, kDarkCyan);
    }
    OpaqueWhereDrawn(c);
    return c;
}

Canvas ListIcon()
{
    Canvas c = EmptyIcon();
    FillRect(c, 3, 3, 26, 26, Grey(3));
    for (int i = 0; i < 5; ++i) {
        FillRect(c, 6, 7 + i * 4, 2, 2, kGreen);
        FillRect(c, 10, 7 + i * 4, 15 - (i % 2) * 5, 2, kCyan);
    }
    OpaqueWhereDrawn(c);
    return c;
}

Canvas RecordIcon()
{
    Canvas c = EmptyIcon();
    FillCircle(c, 16, 16, 13, Grey(3));
    FillCircle(c, 16, 16, 11, kDarkRed);
    FillCircle(c, 13, 13, 4, kRed);
    OpaqueWhereDrawn(c);
    return c;
}

Canvas PlayIcon()
{
    Canvas c = EmptyIcon();
    RightTriangle(c, 7, 2, 29, Grey(3));
    RightTriangle(c, 9, 6, 21, kDarkGreen);
    RightTriangle(c, 10, 9, 13, kGreen);
    OpaqueWhereDrawn(c);
    return c;
}

Canvas GearIcon()
{
    Canvas c = EmptyIcon();
    for (int k = 0; k < 8; ++k) {
        double a = k * 3.14159265358979 / 4;
        FillCircle(c, 16 + std::cos(a) * 11, 16 + std::sin(a) * 11, 3.3, Grey(13));
    }
    FillCircle(c, 16, 16, 11, Grey(13));
    FillCircle(c, 16, 16, 9.5, Grey(21));
    FillCircle(c, 16, 16, 4.5, Grey(3));
    OpaqueWhereDrawn(c);
    return c;
}

Canvas SpeakerIcon()
{
    Canvas c = EmptyIcon();
    FillRect(c, 4, 12, 7, 9, Grey(6));
    for (int j = 0; j < 10; ++j) VLine(c, 11 + j, 12 - j, 9 + 2 * j, Grey(6));
    Ring(c, 19, 16.5, 9, 7.6, kDarkCyan);
    Ring(c, 19, 16.5, 13, 11.6, kCyan);
    FillRect(c, 0, 0, 20, 32, kBlack);
    FillRect(c, 4, 12, 7, 9, Grey(6));
    for (int j = 0; j < 10; ++j) VLine(c, 11 + j, 12 - j, 9 + 2 * j, Grey(6));
    OpaqueWhereDrawn(c);
    return c;
}

// Halves a 32 x 32 picture for the 16 x 16 image: a 2 x 2 block keeps its first opaque pixel.
Canvas HalfSize(const Canvas& big)
{
    Canvas c(16, 16, kBlack);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            int opaque = 0;
            Rgb pick = kBlack;
            const int order[4][2] = {{0, 0}, {1, 1}, {1, 0}, {0, 1}};
            for (const auto& o : order) {
                int bx = 2 * x + o[0], by = 2 * y + o[1];
                if (big.opaque[static_cast<std::size_t>(by * 32 + bx)]) {
                    if (opaque == 0) pick = big.At(bx, by);
                    ++opaque;
                }
            }
            c.At(x, y) = pick;
            c.opaque[static_cast<std::size_t>(y * 16 + x)] = opaque >= 2 ? 1 : 0;
        }
    }
    return c;
}

std::vector<std::uint8_t> IconFile(const Canvas& big)
{
    return EncodeIcon({big, HalfSize(big)});
}

// The program's icon, for Explorer, the task bar, the tray and the installer: 8-bit images at 16,
// 32 and 48 pixels for 256-colour displays, and 32-bit images with alpha at 16, 32, 48 and 256.
std::vector<std::uint8_t> ProgramIconFile()
{
    Canvas small = HalfSize(ProgramIcon(32));
    std::vector<Canvas> sizes{small, ProgramIcon(32), ProgramIcon(48)};
    std::vector<Canvas> trueColour = sizes;
    trueColour.push_back(ProgramIcon(256));
    return EncodeIcon(sizes, trueColour);
}

// A pointing hand, index finger up; the fingertip is at the top-left corner, the hot spot.
Canvas HandCursor()
{
    const std::vector<std::string> hand{
        ".BBB.............", "BWWWB............", "BWWWB............", "BWWWB............",
        "BWWWB............", "BWWWB............", "BWWWBBBB.........", "BWWWBWWWBBBB.....",
        "BWWWBWWWBWWWBBBB.", "BWWWBWWWBWWWBWWWB", "BWWWBWWWBWWWBWWWB", "BWWWWWWWWWWWWWWWB",
        "BWWWWWWWWWWWWWWWB", "BWWWWWWWWWWWWWWWB", "BWWWWWWWWWWWWWWWB", ".BWWWWWWWWWWWWWWB",
        ".BWWWWWWWWWWWWWB.", "..BWWWWWWWWWWWWB.", "..BWWWWWWWWWWWB..", "...BWWWWWWWWWWB..",
        "...BWWWWWWWWWWB..", "...BBBBBBBBBBBB..",
    };
    Canvas c(32, 32, kBlack);
    std::fill(c.opaque.begin(), c.opaque.end(), 0);
    for (std::size_t y = 0; y < hand.size(); ++y) {
        for (std::size_t x = 0; x < hand[y].size(); ++x) {
            char p = hand[y][x];
            if (p == '.') continue;
            c.At(static_cast<int>(x), static_cast<int>(y)) = p == 'W' ? kWhite : kBlack;
            c.opaque[y * 32 + x] = 1;
        }
    }
    return c;
}

// The file list.

Canvas DrawBitmap(int id, bool trueColor, int w, int h)
{
    switch (id) {
    case IDB_MAIN_8: case IDB_MAIN_24:   return Banner(trueColor, h);
    case IDB_CD_8: case IDB_CD_24:       return CdBackground(trueColor, h);
    case IDB_MIDI_8: case IDB_MIDI_24:   return MidiBackground(trueColor, h);
    case IDB_SOUND_8: case IDB_SOUND_24: return SoundBackground(trueColor, h);
    case IDB_CD:            return SelectorFace("CD", false, false);
    case IDB_CD_ON:         return SelectorFace("CD", true, false);
    case IDB_CD_DOWN:       return SelectorFace("CD", false, true);
    case IDB_MIDI:          return SelectorFace("MIDI", false, false);
    case IDB_MIDI_ON:       return SelectorFace("MIDI", true, false);
    case IDB_MIDI_DOWN:     return SelectorFace("MIDI", false, true);
    case IDB_SOUND:         return SelectorFace("SOUND", false, false);
    case IDB_SOUND_ON:      return SelectorFace("SOUND", true, false);
    case IDB_SOUND_DOWN:    return SelectorFace("SOUND", false, true);
    case IDB_MIXER:         return SelectorFace("MIXER", false, false);
    case IDB_MIXER_DOWN:    return SelectorFace("MIXER", false, true);
    case IDB_POWER:         return PowerFace(false);
    case IDB_POWER_DOWN:    return PowerFace(true);
    case IDB_MINIMIZE:      return MinimizeFace(false);
    case IDB_MINIMIZE_DOWN: return MinimizeFace(true);
    case IDB_PROPERTIES:    return PropertiesFace(false);
    case IDB_PROPERTIES_DOWN: return PropertiesFace(true);
    case IDB_BACK:          return TransportFace(w, h, G_BACK, "BACK", GreyCap(), false);
    case IDB_BACK_DOWN:     return TransportFace(w, h, G_BACK, "BACK", GreyCap(), true);
    case IDB_REWIND:        return TransportFace(w, h, G_REWIND, "REW", GreyCap(), false);
    case IDB_REWIND_DOWN:   return TransportFace(w, h, G_REWIND, "REW", GreyCap(), true);
    case IDB_EJECT:         return TransportFace(w, h, G_EJECT, "EJECT", GreyCap(), false);
    case IDB_EJECT_DOWN:    return TransportFace(w, h, G_EJECT, "EJECT", GreyCap(), true);
    case IDB_FORWARD:       return TransportFace(w, h, G_FORWARD, "FWD", GreyCap(), false);
    case IDB_FORWARD_DOWN:  return TransportFace(w, h, G_FORWARD, "FWD", GreyCap(), true);
    case IDB_NEXT:          return TransportFace(w, h, G_NEXT, "NEXT", GreyCap(), false);
    case IDB_NEXT_DOWN:     return TransportFace(w, h, G_NEXT, "NEXT", GreyCap(), true);
    case IDB_RECORD:        return TransportFace(w, h, G_RECORD, "REC", GreyCap(), false);
    case IDB_RECORD_ON:     return TransportFace(w, h, G_RECORD, "REC", RedCap(), false, kYellow);
    case IDB_RECORD_DOWN:   return TransportFace(w, h, G_RECORD, "REC", GreyCap(), true);
    case IDB_PAUSE:         return TransportFace(w, h, G_PAUSE, "", GreyCap(), false);
    case IDB_PAUSE_DOWN:    return TransportFace(w, h, G_PAUSE, "", GreyCap(), true);
    case IDB_STOP:          return TransportFace(w, h, G_STOP, "", GreyCap(), false);
    case IDB_STOP_DOWN:     return TransportFace(w, h, G_STOP, "", GreyCap(), true);
    case IDB_PLAY:          return TransportFace(w, h, G_PLAY, "PLAY", GreyCap(), false);
    case IDB_PLAY_ON:       return TransportFace(w, h, G_PLAY, "PLAY", GreenCap(), false);
    case IDB_PLAY_DOWN:     return TransportFace(w, h, G_PLAY, "PLAY", GreyCap(), true);
    case IDB_CDLIST:        return CdListFace(false, false);
    case IDB_CDLIST_ON:     return CdListFace(true, false);
    case IDB_CDLIST_DOWN:   return CdListFace(false, true);
    case IDB_MIDILIST:      return MidiListFace(false, false);
    case IDB_MIDILIST_ON:   return MidiListFace(true, false);
    case IDB_MIDILIST_DOWN: return MidiListFace(false, true);
    case IDB_SOUNDLIST:     return SoundListFace(false, false);
    case IDB_SOUNDLIST_ON:  return SoundListFace(true, false);
    case IDB_SOUNDLIST_DOWN: return SoundListFace(false, true);
    case IDB_BANNER_8:      return NameFace(false);
    case IDB_BANNER_24:     return NameFace(true);
    }
    return Canvas(w, h);
}

}  // namespace

const std::vector<ArtFile>& ArtFiles()
{
    static const std::vector<ArtFile> files{
        {"skin/102-main.bmp", IDB_MAIN_8, ART_BMP8, 401, 72},
        {"skin/103-cd.bmp", IDB_CD_8, ART_BMP8, 401, 98},
        {"skin/104-sound.bmp", IDB_SOUND_8, ART_BMP8, 401, 99},
        {"skin/105-midi.bmp", IDB_MIDI_8, ART_BMP8, 401, 98},
        {"skin/146-main.bmp", IDB_MAIN_24, ART_BMP24, 401, 71},
        {"skin/147-cd.bmp", IDB_CD_24, ART_BMP24, 401, 98},
        {"skin/148-midi.bmp", IDB_MIDI_24, ART_BMP24, 401, 98},
        {"skin/149-sound.bmp", IDB_SOUND_24, ART_BMP24, 401, 98},
        {"skin/165-midi.bmp", IDB_MIDI, ART_BMP8, 48, 25},
        {"skin/166-cd.bmp", IDB_CD, ART_BMP8, 48, 25},
        {"skin/167-sound.bmp", IDB_SOUND, ART_BMP8, 48, 25},
        {"skin/168-mixer.bmp", IDB_MIXER, ART_BMP8, 48, 25},
        {"skin/169-rewind.bmp", IDB_REWIND, ART_BMP8, 35, 30},
        {"skin/170-forward.bmp", IDB_FORWARD, ART_BMP8, 35, 30},
        {"skin/171-power.bmp", IDB_POWER, ART_BMP24, 64, 23},
        {"skin/173-minimize.bmp", IDB_MINIMIZE, ART_BMP24, 28, 23},
        {"skin/174-properties.bmp", IDB_PROPERTIES, ART_BMP24, 21, 23},
        {"skin/175-play.bmp", IDB_PLAY, ART_BMP8, 60, 21},
        {"skin/176-next.bmp", IDB_NEXT, ART_BMP8, 35, 30},
        {"skin/177-stop.bmp", IDB_STOP, ART_BMP8, 35, 21},
        {"skin/178-pause.bmp", IDB_PAUSE, ART_BMP8, 35, 21},
        {"skin/179-eject.bmp", IDB_EJECT, ART_BMP8, 35, 30},
        {"skin/180-back.bmp", IDB_BACK, ART_BMP8, 35, 30},
        {"skin/181-record.bmp", IDB_RECORD, ART_BMP8, 35, 30},
        {"skin/182-cdlist.bmp", IDB_CDLIST, ART_BMP8, 186, 27},
        {"skin/186-midilist.bmp", IDB_MIDILIST, ART_BMP8, 145, 40},
        {"skin/187-soundlist.bmp", IDB_SOUNDLIST, ART_BMP8, 121, 82},
        {"skin/188-play-down.bmp", IDB_PLAY_DOWN, ART_BMP8, 60, 21},
        {"skin/189-play-on.bmp", IDB_PLAY_ON, ART_BMP8, 60, 21},
        {"skin/190-stop-down.bmp", IDB_STOP_DOWN, ART_BMP8, 35, 21},
        {"skin/191-pause-down.bmp", IDB_PAUSE_DOWN, ART_BMP8, 35, 21},
        {"skin/192-back-down.bmp", IDB_BACK_DOWN, ART_BMP8, 35, 30},
        {"skin/193-rewind-down.bmp", IDB_REWIND_DOWN, ART_BMP8, 35, 30},
        {"skin/194-next-down.bmp", IDB_NEXT_DOWN, ART_BMP8, 35, 30},
        {"skin/195-forward-down.bmp", IDB_FORWARD_DOWN, ART_BMP8, 35, 30},
        {"skin/196-eject-down.bmp", IDB_EJECT_DOWN, ART_BMP8, 35, 30},
        {"skin/197-record-down.bmp", IDB_RECORD_DOWN, ART_BMP8, 35, 30},
        {"skin/199-midi-on.bmp", IDB_MIDI_ON, ART_BMP8, 48, 25},
        {"skin/200-cd-on.bmp", IDB_CD_ON, ART_BMP8, 48, 25},
        {"skin/201-sound-on.bmp", IDB_SOUND_ON, ART_BMP8, 48, 25},
        {"skin/202-midilist-on.bmp", IDB_MIDILIST_ON, ART_BMP8, 145, 40},
        {"skin/203-cdlist-on.bmp", IDB_CDLIST_ON, ART_BMP8, 186, 27},
        {"skin/204-soundlist-on.bmp", IDB_SOUNDLIST_ON, ART_BMP8, 121, 82},
        {"skin/205-banner.bmp", IDB_BANNER_8, ART_BMP8, 156, 26},
        {"skin/206-banner.bmp", IDB_BANNER_24, ART_BMP24, 156, 26},
        {"skin/207-cd-down.bmp", IDB_CD_DOWN, ART_BMP8, 48, 25},
        {"skin/208-midi-down.bmp", IDB_MIDI_DOWN, ART_BMP8, 48, 25},
        {"skin/209-mixer-down.bmp", IDB_MIXER_DOWN, ART_BMP8, 48, 25},
        {"skin/210-sound-down.bmp", IDB_SOUND_DOWN, ART_BMP8, 48, 25},
        {"skin/212-record-on.bmp", IDB_RECORD_ON, ART_BMP8, 35, 30},
        {"skin/213-power-down.bmp", IDB_POWER_DOWN, ART_BMP24, 64, 23},
        {"skin/214-minimize-down.bmp", IDB_MINIMIZE_DOWN, ART_BMP24, 28, 23},
        {"skin/215-properties-down.bmp", IDB_PROPERTIES_DOWN, ART_BMP24, 21, 23},
        {"skin/216-cdlist-down.bmp", IDB_CDLIST_DOWN, ART_BMP24, 186, 27},
        {"skin/217-midilist-down.bmp", IDB_MIDILIST_DOWN, ART_BMP24, 145, 40},
        {"skin/218-soundlist-down.bmp", IDB_SOUNDLIST_DOWN, ART_BMP24, 121, 82},
        {"velutra.ico", IDI_VELUTRA, ART_ICON, 32, 32},
        {"icons/148-disc.ico", IDI_ICON148, ART_ICON, 32, 32},
        {"icons/149-note.ico", IDI_ICON149, ART_ICON, 32, 32},
        {"icons/150-wave.ico", IDI_ICON150, ART_ICON, 32, 32},
        {"icons/151-mixer.ico", IDI_ICON151, ART_ICON, 32, 32},
        {"icons/152-list.ico", IDI_ICON152, ART_ICON, 32, 32},
        {"icons/153-record.ico", IDI_ICON153, ART_ICON, 32, 32},
        {"icons/154-play.ico", IDI_ICON154, ART_ICON, 32, 32},
        {"icons/155-settings.ico", IDI_ICON155, ART_ICON, 32, 32},
        {"icons/157-speaker.ico", IDI_ICON157, ART_ICON, 32, 32},
        {"hand.cur", IDCUR_HAND, ART_CURSOR, 32, 32},
    };
    return files;
}

std::vector<std::uint8_t> RenderArt(const ArtFile& file)
{
    switch (file.format) {
    case ART_BMP8:  return EncodeBmp8(DrawBitmap(file.resourceId, false, file.width, file.height));
    case ART_BMP24: return EncodeBmp24(DrawBitmap(file.resourceId, true, file.width, file.height));
    case ART_CURSOR: return EncodeMonoCursor(HandCursor(), 0, 0);
    case ART_ICON:
        switch (file.resourceId) {
        case IDI_VELUTRA: return ProgramIconFile();
        case IDI_ICON148: return IconFile(DiscIcon());
        case IDI_ICON149: return IconFile(NoteIcon());
        case IDI_ICON150: return IconFile(WaveIcon());
        case IDI_ICON151: return IconFile(MixerIcon());
        case IDI_ICON152: return IconFile(ListIcon());
        case IDI_ICON153: return IconFile(RecordIcon());
        case IDI_ICON154: return IconFile(PlayIcon());
        case IDI_ICON155: return IconFile(GearIcon());
        case IDI_ICON157: return IconFile(SpeakerIcon());
        }
        break;
    }
    return {};
}
