// Drawing surface, pixel fonts and file encoders of the skin art generator.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A picture with an optional transparency mask (used by icons and the cursor).
struct Canvas {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;
    std::vector<std::uint8_t> opaque;  // 1 where the pixel is part of the picture

    Canvas(int w, int h, Rgb fill = {});
    Rgb& At(int x, int y) { return pixels[static_cast<std::size_t>(y * width + x)]; }
    Rgb At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

// Grey ramp entry i of the skin palette (0-31), so 256-colour art stays exact.
Rgb Grey(int i);
Rgb Mix(Rgb a, Rgb b, int percentOfB);

void Plot(Canvas& c, int x, int y, Rgb colour);
void FillRect(Canvas& c, int x, int y, int w, int h, Rgb colour);
void HLine(Canvas& c, int x, int y, int w, Rgb colour);
void VLine(Canvas& c, int x, int y, int h, Rgb colour);
void FrameRect(Canvas& c, int x, int y, int w, int h, Rgb colour);
// A bevel: top and left edge in `light`, bottom and right edge in `dark`.
void Bevel(Canvas& c, int x, int y, int w, int h, Rgb light, Rgb dark);
void FillCircle(Canvas& c, double cx, double cy, double radius, Rgb colour);
void Ring(Canvas& c, double cx, double cy, double outer, double inner, Rgb colour);
void Blit(Canvas& dst, const Canvas& src, int x, int y);
// A shape drawn from rows of text: 'X' pixels take the colour, others are left alone.
void DrawPattern(Canvas& c, int x, int y, const std::vector<std::string>& rows, Rgb colour);
int PatternWidth(const std::vector<std::string>& rows);

// The 5 x 7 label font (capitals, digits, a few signs), one pixel between characters.
int TextWidth(const std::string& text);
void DrawText(Canvas& c, int x, int y, const std::string& text, Rgb colour, int scale = 1);
constexpr int kTextHeight = 7;

// The name plate's lettering: 14 pixels from cap line to base line.
int NameWidth(const std::string& text);
void DrawName(Canvas& c, int x, int y, const std::string& text, const Rgb* rowColours);
constexpr int kNameHeight = 14;

// File images. 8-bit bitmaps and icons use the skin palette as colour table and must only hold
// its colours; anything else is taken to the nearest entry.
std::vector<std::uint8_t> EncodeBmp8(const Canvas& c);
std::vector<std::uint8_t> EncodeBmp24(const Canvas& c);
std::vector<std::uint8_t> EncodeIcon(const std::vector<Canvas>& images,
                                     const std::vector<Canvas>& trueColour = {});
std::vector<std::uint8_t> EncodeMonoCursor(const Canvas& c, int hotX, int hotY);
int PaletteIndexOf(Rgb colour);
