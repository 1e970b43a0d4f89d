// The entries of the skin palette.
#include "model/palette.h"

// The dark primaries are 191, not 128; the last four rows are black.
const std::array<SkinColor, 20> SkinColorTable{{
    {0, 0, 0, 0},       {191, 0, 0, 0},     {0, 191, 0, 0},     {191, 191, 0, 0},
    {0, 0, 191, 0},     {191, 0, 191, 0},   {0, 191, 191, 0},   {192, 192, 192, 0},
    {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},     {255, 255, 0, 0},
    {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},   {255, 255, 255, 0},
    {0, 0, 0, 0},       {0, 0, 0, 0},       {0, 0, 0, 0},       {0, 0, 0, 0},
}};

SkinColor SkinPaletteEntry(int index)
{
    if (index < 0 || index >= kSkinPaletteEntries) return {0, 0, 0, 0};
    if (index < kGreyRampEntries) {
        // 264 / 32 steps, so the last step reaches 255 exactly.
        auto level = static_cast<std::uint8_t>(index * 264 / 32);
        return {level, level, level, 0};
    }
    if (index < kSkinColorTableStart) return {255, 255, 255, 0};
    SkinColor c = SkinColorTable[static_cast<std::size_t>(index - kSkinColorTableStart)];
    return {c.red, c.green, c.blue, 0};
}

bool UsesTrueColorArt(int colorDepth)
{
    return colorDepth > 8;
}

bool UsesSkinPalette(int colorDepth)
{
    return colorDepth == 8;
}
