// The skin palette: a 32-step grey ramp, white filler and the 20 colours of SkinColorTable.
#pragma once

#include <array>
#include <cstdint>

// One palette colour; the fourth byte is always 0 and is not copied into a palette entry.
struct SkinColor {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    std::uint8_t zero;
    friend bool operator==(const SkinColor&, const SkinColor&) = default;
};

constexpr int kSkinPaletteEntries = 256;
constexpr int kGreyRampEntries = 32;      // entries 0-31
constexpr int kSkinColorTableStart = 236; // entries 236-255

extern const std::array<SkinColor, 20> SkinColorTable;

// Entry `index` (0-255) of the skin palette; an index outside that range gives black.
SkinColor SkinPaletteEntry(int index);

// The display depth decides the art: above 8 bits per pixel the true-colour set, otherwise the
// 256-colour set; exactly 8 also gets the skin palette.
bool UsesTrueColorArt(int colorDepth);
bool UsesSkinPalette(int colorDepth);
