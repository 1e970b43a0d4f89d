// Drawing primitives, the two pixel fonts and the BMP, ICO and CUR encoders.
#include "tools/skin_art/canvas.h"

#include <cmath>
#include <map>

#include "model/palette.h"

Canvas::Canvas(int w, int h, Rgb fill)
    : width(w), height(h), pixels(static_cast<std::size_t>(w * h), fill), opaque(static_cast<std::size_t>(w * h), 1)
{
}

Rgb Grey(int i)
{
    SkinColor c = SkinPaletteEntry(i);
    return {c.red, c.green, c.blue};
}

Rgb Mix(Rgb a, Rgb b, int p)
{
    auto m = [p](int x, int y) { return static_cast<std::uint8_t>((x * (100 - p) + y * p + 50) / 100); };
    return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

void Plot(Canvas& c, int x, int y, Rgb colour)
{
    if (c.Inside(x, y)) c.At(x, y) = colour;
}

void FillRect(Canvas& c, int x, int y, int w, int h, Rgb colour)
{
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) Plot(c, i, j, colour);
}

void HLine(Canvas& c, int x, int y, int w, Rgb colour) { FillRect(c, x, y, w, 1, colour); }
void VLine(Canvas& c, int x, int y, int h, Rgb colour) { FillRect(c, x, y, 1, h, colour); }

void FrameRect(Canvas& c, int x, int y, int w, int h, Rgb colour)
{
    HLine(c, x, y, w, colour);
    HLine(c, x, y + h - 1, w, colour);
    VLine(c, x, y, h, colour);
    VLine(c, x + w - 1, y, h, colour);
}

void Bevel(Canvas& c, int x, int y, int w, int h, Rgb light, Rgb dark)
{
    HLine(c, x, y, w - 1, light);
    VLine(c, x, y, h - 1, light);
    HLine(c, x, y + h - 1, w, dark);
    VLine(c, x + w - 1, y, h, dark);
}

void FillCircle(Canvas& c, double cx, double cy, double radius, Rgb colour)
{
    Ring(c, cx, cy, radius, -1, colour);
}

void Ring(Canvas& c, double cx, double cy, double outer, double inner, Rgb colour)
{
    for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) {
            double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            if (d <= outer && d > inner) c.At(x, y) = colour;
        }
    }
}

void Blit(Canvas& dst, const Canvas& src, int x, int y)
{
    for (int j = 0; j < src.height; ++j)
        for (int i = 0; i < src.width; ++i) Plot(dst, x + i, y + j, src.At(i, j));
}

void DrawPattern(Canvas& c, int x, int y, const std::vector<std::string>& rows, Rgb colour)
{
    for (std::size_t j = 0; j < rows.size(); ++j)
        for (std::size_t i = 0; i < rows[j].size(); ++i)
            if (rows[j][i] == 'X') Plot(c, x + static_cast<int>(i), y + static_cast<int>(j), colour);
}

int PatternWidth(const std::vector<std::string>& rows)
{
    std::size_t w = 0;
    for (const std::string& row : rows) w = std::max(w, row.size());
    return static_cast<int>(w);
}

namespace {

// 5 x 7 glyphs, rows top to bottom.
const std::map<char, std::vector<std::string>>& LabelFont()
{
    static const std::map<char, std::vector<std::string>> font{
        {'A', {".XXX.", "X...X", "X...X", "XXXXX", "X...X", "X...X", "X...X"}},
        {'B', {"XXXX.", "X...X", "X...X", "XXXX.", "X...X", "X...X", "XXXX."}},
        {'C', {".XXX.", "X...X", "X....", "X....", "X....", "X...X", ".XXX."}},
        {'D', {"XXXX.", "X...X", "X...X", "X...X", "X...X", "X...X", "XXXX."}},
        {'E', {"XXXXX", "X....", "X....", "XXXX.", "X....", "X....", "XXXXX"}},
        {'F', {"XXXXX", "X....", "X....", "XXXX.", "X....", "X....", "X...."}},
        {'G', {".XXX.", "X...X", "X....", "X.XXX", "X...X", "X...X", ".XXXX"}},
        {'H', {"X...X", "X...X", "X...X", "XXXXX", "X...X", "X...X", "X...X"}},
        {'I', {".XXX.", "..X..", "..X..", "..X..", "..X..", "..X..", ".XXX."}},
        {'J', {"..XXX", "...X.", "...X.", "...X.", "...X.", "X..X.", ".XX.."}},
        {'K', {"X...X", "X..X.", "X.X..", "XX...", "X.X..", "X..X.", "X...X"}},
        {'L', {"X....", "X....", "X....", "X....", "X....", "X....", "XXXXX"}},
        {'M', {"X...X", "XX.XX", "X.X.X", "X.X.X", "X...X", "X...X", "X...X"}},
        {'N', {"X...X", "X...X", "XX..X", "X.X.X", "X..XX", "X...X", "X...X"}},
        {'O', {".XXX.", "X...X", "X...X", "X...X", "X...X", "X...X", ".XXX."}},
        {'P', {"XXXX.", "X...X", "X...X", "XXXX.", "X....", "X....", "X...."}},
        {'Q', {".XXX.", "X...X", "X...X", "X...X", "X.X.X", "X..X.", ".XX.X"}},
        {'R', {"XXXX.", "X...X", "X...X", "XXXX.", "X.X..", "X..X.", "X...X"}},
        {'S', {".XXXX", "X....", "X....", ".XXX.", "....X", "....X", "XXXX."}},
        {'T', {"XXXXX", "..X..", "..X..", "..X..", "..X..", "..X..", "..X.."}},
        {'U', {"X...X", "X...X", "X...X", "X...X", "X...X", "X...X", ".XXX."}},
        {'V', {"X...X", "X...X", "X...X", "X...X", "X...X", ".X.X.", "..X.."}},
        {'W', {"X...X", "X...X", "X...X", "X.X.X", "X.X.X", "X.X.X", ".X.X."}},
        {'X', {"X...X", "X...X", ".X.X.", "..X..", ".X.X.", "X...X", "X...X"}},
        {'Y', {"X...X", "X...X", ".X.X.", "..X..", "..X..", "..X..", "..X.."}},
        {'Z', {"XXXXX", "....X", "...X.", "..X..", ".X...", "X....", "XXXXX"}},
        {'0', {".XXX.", "X...X", "X..XX", "X.X.X", "XX..X", "X...X", ".XXX."}},
        {'1', {"..X..", ".XX..", "..X..", "..X..", "..X..", "..X..", ".XXX."}},
        {'2', {".XXX.", "X...X", "....X", "...X.", "..X..", ".X...", "XXXXX"}},
        {'3', {"XXXXX", "...X.", "..X..", "...X.", "....X", "X...X", ".XXX."}},
        {'4', {"...X.", "..XX.", ".X.X.", "X..X.", "XXXXX", "...X.", "...X."}},
        {'5', {"XXXXX", "X....", "XXXX.", "....X", "....X", "X...X", ".XXX."}},
        {'6', {"..XX.", ".X...", "X....", "XXXX.", "X...X", "X...X", ".XXX."}},
        {'7', {"XXXXX", "....X", "...X.", "..X..", ".X...", ".X...", ".X..."}},
        {'8', {".XXX.", "X...X", "X...X", ".XXX.", "X...X", "X...X", ".XXX."}},
        {'9', {".XXX.", "X...X", "X...X", ".XXXX", "....X", "...X.", ".XX.."}},
        {'-', {".....", ".....", ".....", "XXXXX", ".....", ".....", "....."}},
        {'.', {".....", ".....", ".....", ".....", ".....", ".XX..", ".XX.."}},
        {'/', {"....X", "....X", "...X.", "..X..", ".X...", "X....", "X...."}},
        {' ', {"...", "...", "...", "...", "...", "...", "..."}},
    };
    return font;
}

// The name plate's letters, 2-pixel strokes; rows 0-13, lower case sits on rows 4-13.
const std::map<char, std::vector<std::string>>& NameFont()
{
    static const std::map<char, std::vector<std::string>> font{
        {'V', {"XX........XX", "XX........XX", "XX........XX", ".XX......XX.", ".XX......XX.",
               ".XX......XX.", "..XX....XX..", "..XX....XX..", "..XX....XX..", "...XX..XX...",
               "...XX..XX...", "....XXXX....", "....XXXX....", ".....XX....."}},
        {'e', {".........", ".........", ".........", ".........", "..XXXXX..", ".XXXXXXX.",
               "XX.....XX", "XX.....XX", "XXXXXXXXX", "XXXXXXXXX", "XX.......", "XX.....XX",
               ".XXXXXXX.", "..XXXXX.."}},
        {'l', {"XX.", "XX.", "XX.", "XX.", "XX.", "XX.", "XX.", "XX.", "XX.", "XX.", "XX.", "XX.",
               "XXX", ".XX"}},
        {'u', {".........", ".........", ".........", ".........", "XX.....XX", "XX.....XX",
               "XX.....XX", "XX.....XX", "XX.....XX", "XX.....XX", "XX.....XX", "XX....XXX",
               ".XXXXXXXX", "..XXXX.XX"}},
        {'t', {"......", ".XX...", ".XX...", ".XX...", "XXXXXX", "XXXXXX", ".XX...", ".XX...",
               ".XX...", ".XX...", ".XX...", ".XX...", ".XXXXX", "..XXXX"}},
        {'r', {".......", ".......", ".......", ".......", "XX.XXXX", "XXXXXXX", "XXX....",
               "XX.....", "XX.....", "XX.....", "XX.....", "XX.....", "XX.....", "XX....."}},
        {'a', {".........", ".........", ".........", ".........", ".XXXXXX..", ".XXXXXXX.",
               ".......XX", ".......XX", ".XXXXXXXX", "XXXXXXXXX", "XX.....XX", "XX....XXX",
               "XXXXXXXXX", ".XXXX.XXX"}},
    };
    return font;
}

const std::vector<std::string>* Glyph(const std::map<char, std::vector<std::string>>& font, char ch)
{
    auto it = font.find(ch);
    return it == font.end() ? nullptr : &it->second;
}

}  // namespace

int TextWidth(const std::string& text)
{
    int w = 0;
    for (char ch : text) {
        const auto* g = Glyph(LabelFont(), ch);
        if (g) w += PatternWidth(*g) + 1;
    }
    return w > 0 ? w - 1 : 0;
}

void DrawText(Canvas& c, int x, int y, const std::string& text, Rgb colour, int scale)
{
    for (char ch : text) {
        const auto* g = Glyph(LabelFont(), ch);
        if (!g) continue;
        for (std::size_t j = 0; j < g->size(); ++j)
            for (std::size_t i = 0; i < (*g)[j].size(); ++i)
                if ((*g)[j][i] == 'X')
                    FillRect(c, x + static_cast<int>(i) * scale, y + static_cast<int>(j) * scale, scale, scale, colour);
        x += (PatternWidth(*g) + 1) * scale;
    }
}

int NameWidth(const std::string& text)
{
    int w = 0;
    for (char ch : text) {
        const auto* g = Glyph(NameFont(), ch);
        if (g) w += PatternWidth(*g) + 2;
    }
    return w > 0 ? w - 2 : 0;
}

void DrawName(Canvas& c, int x, int y, const std::string& text, const Rgb* rowColours)
{
    for (char ch : text) {
        const auto* g = Glyph(NameFont(), ch);
        if (!g) continue;
        for (int row = 0; row < kNameHeight; ++row)
            DrawPattern(c, x, y + row, {(*g)[static_cast<std::size_t>(row)]}, rowColours[row]);
        x += PatternWidth(*g) + 2;
    }
}

// Encoders.

namespace {

void Put16(std::vector<std::uint8_t>& out, unsigned v)
{
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

int RowBytes(int width, int bits)
{
    return ((width * bits + 31) / 32) * 4;
}

// BITMAPINFOHEADER; `heightField` is doubled for icon images (colour and mask).
void PutInfoHeader(std::vector<std::uint8_t>& out, int width, int heightField, int bits, std::uint32_t imageSize,
                   std::uint32_t colours)
{
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(heightField));
    Put16(out, 1);
    Put16(out, static_cast<unsigned>(bits));
    Put32(out, 0);  // BI_RGB
    Put32(out, imageSize);
    Put32(out, 0);  // no resolution
    Put32(out, 0);
    Put32(out, colours);
    Put32(out, 0);
}

void PutSkinPalette(std::vector<std::uint8_t>& out)
{
    for (int i = 0; i < kSkinPaletteEntries; ++i) {
        SkinColor c = SkinPaletteEntry(i);
        out.push_back(c.blue);
        out.push_back(c.green);
        out.push_back(c.red);
        out.push_back(0);
    }
}

void PutIndexedRows(std::vector<std::uint8_t>& out, const Canvas& c)
{
    int stride = RowBytes(c.width, 8);
    for (int y = c.height - 1; y >= 0; --y) {
        for (int x = 0; x < c.width; ++x) out.push_back(static_cast<std::uint8_t>(PaletteIndexOf(c.At(x, y))));
        for (int pad = c.width; pad < stride; ++pad) out.push_back(0);
    }
}

// The AND mask: 1 where the picture is transparent.
void PutMaskRows(std::vector<std::uint8_t>& out, const Canvas& c)
{
    int stride = RowBytes(c.width, 1);
    for (int y = c.height - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(static_cast<std::size_t>(stride), 0);
        for (int x = 0; x < c.width; ++x)
            if (!c.opaque[static_cast<std::size_t>(y * c.width + x)]) row[static_cast<std::size_t>(x / 8)] |= 0x80 >> (x % 8);
        out.insert(out.end(), row.begin(), row.end());
    }
}

void PutFileHeader(std::vector<std::uint8_t>& out, std::uint32_t fileSize, std::uint32_t bitsOffset)
{
    out.push_back('B');
    out.push_back('M');
    Put32(out, fileSize);
    Put32(out, 0);
    Put32(out, bitsOffset);
}

}  // namespace

int PaletteIndexOf(Rgb colour)
{
    int best = 0;
    long bestDistance = -1;
    for (int i = 0; i < kSkinPaletteEntries; ++i) {
        SkinColor p = SkinPaletteEntry(i);
        long dr = p.red - colour.r, dg = p.green - colour.g, db = p.blue - colour.b;
        long d = dr * dr * 3 + dg * dg * 4 + db * db * 2;
        if (bestDistance < 0 || d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

std::vector<std::uint8_t> EncodeBmp8(const Canvas& c)
{
    auto imageSize = static_cast<std::uint32_t>(RowBytes(c.width, 8) * c.height);
    std::uint32_t offset = 14 + 40 + 256 * 4;
    std::vector<std::uint8_t> out;
    PutFileHeader(out, offset + imageSize, offset);
    PutInfoHeader(out, c.width, c.height, 8, imageSize, 256);
    PutSkinPalette(out);
    PutIndexedRows(out, c);
    return out;
}

std::vector<std::uint8_t> EncodeBmp24(const Canvas& c)
{
    int stride = RowBytes(c.width, 24);
    auto imageSize = static_cast<std::uint32_t>(stride * c.height);
    std::uint32_t offset = 14 + 40;
    std::vector<std::uint8_t> out;
    PutFileHeader(out, offset + imageSize, offset);
    PutInfoHeader(out, c.width, c.height, 24, imageSize, 0);
    for (int y = c.height - 1; y >= 0; --y) {
        for (int x = 0; x < c.width; ++x) {
            Rgb p = c.At(x, y);
            out.push_back(p.b);
            out.push_back(p.g);
            out.push_back(p.r);
        }
        for (int pad = c.width * 3; pad < stride; ++pad) out.push_back(0);
    }
    return out;
}

// An icon file of 8-bit images with the skin palette, then of 32-bit images whose alpha is 255
// where the picture is opaque and 0 elsewhere; transparent pixels are black in the colour image
// and set in the mask.
std::vector<std::uint8_t> EncodeIcon(const std::vector<Canvas>& images, const std::vector<Canvas>& trueColour)
{
    struct Entry {
        int width, height, bits;
        std::vector<std::uint8_t> body;
    };
    std::vector<Entry> entries;
    for (const Canvas& image : images) {
        Canvas colour = image;
        for (std::size_t i = 0; i < colour.pixels.size(); ++i)
            if (!colour.opaque[i]) colour.pixels[i] = {};
        std::vector<std::uint8_t> body;
        auto imageSize = static_cast<std::uint32_t>((RowBytes(image.width, 8) + RowBytes(image.width, 1)) * image.height);
        PutInfoHeader(body, image.width, image.height * 2, 8, imageSize, 256);
        PutSkinPalette(body);
        PutIndexedRows(body, colour);
        PutMaskRows(body, image);
        entries.push_back({image.width, image.height, 8, std::move(body)});
    }
    for (const Canvas& image : trueColour) {
        std::vector<std::uint8_t> body;
        auto imageSize = static_cast<std::uint32_t>((image.width * 4 + RowBytes(image.width, 1)) * image.height);
        PutInfoHeader(body, image.width, image.height * 2, 32, imageSize, 0);
        for (int y = image.height - 1; y >= 0; --y) {
            for (int x = 0; x < image.width; ++x) {
                bool opaque = image.opaque[static_cast<std::size_t>(y * image.width + x)] != 0;
                Rgb p = opaque ? image.At(x, y) : Rgb{};
                body.insert(body.end(), {p.b, p.g, p.r, static_cast<std::uint8_t>(opaque ? 255 : 0)});
            }
        }
        PutMaskRows(body, image);
        entries.push_back({image.width, image.height, 32, std::move(body)});
    }
    std::vector<std::uint8_t> out;
    Put16(out, 0);
    Put16(out, 1);  // icon
    Put16(out, static_cast<unsigned>(entries.size()));
    auto offset = static_cast<std::uint32_t>(6 + 16 * entries.size());
    for (const Entry& entry : entries) {
        out.push_back(static_cast<std::uint8_t>(entry.width));  // 256 is written as 0
        out.push_back(static_cast<std::uint8_t>(entry.height));
        out.push_back(0);  // 256 colours, or more
        out.push_back(0);
        Put16(out, 1);
        Put16(out, static_cast<unsigned>(entry.bits));
        Put32(out, static_cast<std::uint32_t>(entry.body.size()));
        Put32(out, offset);
        offset += static_cast<std::uint32_t>(entry.body.size());
    }
    for (const Entry& entry : entries) out.insert(out.end(), entry.body.begin(), entry.body.end());
    return out;
}

// A monochrome cursor: opaque pixels are black or white (by brightness), the rest transparent.
std::vector<std::uint8_t> EncodeMonoCursor(const Canvas& c, int hotX, int hotY)
{
    std::vector<std::uint8_t> body;
    int stride = RowBytes(c.width, 1);
    auto imageSize = static_cast<std::uint32_t>(stride * c.height * 2);
    PutInfoHeader(body, c.width, c.height * 2, 1, imageSize, 2);
    Put32(body, 0x00000000);
    Put32(body, 0x00FFFFFF);
    for (int y = c.height - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(static_cast<std::size_t>(stride), 0);
        for (int x = 0; x < c.width; ++x) {
            Rgb p = c.At(x, y);
            bool white = c.opaque[static_cast<std::size_t>(y * c.width + x)] && p.r + p.g + p.b > 384;
            if (white) row[static_cast<std::size_t>(x / 8)] |= 0x80 >> (x % 8);
        }
        body.insert(body.end(), row.begin(), row.end());
    }
    PutMaskRows(body, c);
    std::vector<std::uint8_t> out;
    Put16(out, 0);
    Put16(out, 2);  // cursor
    Put16(out, 1);
    out.push_back(static_cast<std::uint8_t>(c.width));
    out.push_back(static_cast<std::uint8_t>(c.height));
    out.push_back(2);
    out.push_back(0);
    Put16(out, static_cast<unsigned>(hotX));
    Put16(out, static_cast<unsigned>(hotY));
    Put32(out, static_cast<std::uint32_t>(body.size()));
    Put32(out, 22);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}
