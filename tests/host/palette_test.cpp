// The skin palette's entries and the depth that selects each art set.
#include <gtest/gtest.h>

#include "model/palette.h"

namespace {

void ExpectEntry(int index, int red, int green, int blue)
{
    SkinColor c = SkinPaletteEntry(index);
    EXPECT_EQ(red, c.red) << "entry " << index;
    EXPECT_EQ(green, c.green) << "entry " << index;
    EXPECT_EQ(blue, c.blue) << "entry " << index;
    EXPECT_EQ(0, c.zero) << "entry " << index;
}

TEST(SkinPalette, GreyRampRisesInEqualStepsFromBlackToWhite)
{
    const int ramp[32] = {0,   8,   16,  24,  33,  41,  49,  57,  66,  74,  82,  90,  99,  107, 115, 123,
                          132, 140, 148, 156, 165, 173, 181, 189, 198, 206, 214, 222, 231, 239, 247, 255};
    for (int i = 0; i < 32; ++i) ExpectEntry(i, ramp[i], ramp[i], ramp[i]);
    ExpectEntry(4, 33, 33, 33);
    ExpectEntry(31, 255, 255, 255);
}

TEST(SkinPalette, MiddleEntriesAreWhite)
{
    for (int i = 32; i < 236; ++i) ExpectEntry(i, 255, 255, 255);
}

TEST(SkinPalette, LastTwentyEntriesAreTheColourTable)
{
    ExpectEntry(236, 0, 0, 0);
    ExpectEntry(237, 191, 0, 0);
    ExpectEntry(238, 0, 191, 0);
    ExpectEntry(239, 191, 191, 0);
    ExpectEntry(240, 0, 0, 191);
    ExpectEntry(241, 191, 0, 191);
    ExpectEntry(242, 0, 191, 191);
    ExpectEntry(243, 192, 192, 192);
    ExpectEntry(244, 128, 128, 128);
    ExpectEntry(245, 255, 0, 0);
    ExpectEntry(246, 0, 255, 0);
    ExpectEntry(247, 255, 255, 0);
    ExpectEntry(248, 0, 0, 255);
    ExpectEntry(249, 255, 0, 255);
    ExpectEntry(250, 0, 255, 255);
    ExpectEntry(251, 255, 255, 255);
    for (int i = 252; i < 256; ++i) ExpectEntry(i, 0, 0, 0);
}

TEST(SkinPalette, IndexOutsideThePaletteGivesBlack)
{
    ExpectEntry(-1, 0, 0, 0);
    ExpectEntry(256, 0, 0, 0);
}

TEST(SkinPalette, DepthChoosesArtSetAndPalette)
{
    EXPECT_FALSE(UsesTrueColorArt(1));
    EXPECT_FALSE(UsesTrueColorArt(4));
    EXPECT_FALSE(UsesTrueColorArt(8));
    EXPECT_TRUE(UsesTrueColorArt(15));
    EXPECT_TRUE(UsesTrueColorArt(16));
    EXPECT_TRUE(UsesTrueColorArt(24));
    EXPECT_TRUE(UsesTrueColorArt(32));
    EXPECT_TRUE(UsesSkinPalette(8));
    EXPECT_FALSE(UsesSkinPalette(4)) << "16-colour displays get no palette";
    EXPECT_FALSE(UsesSkinPalette(16));
    EXPECT_FALSE(UsesSkinPalette(32)) << "a 32-bit display makes no palette";
}

}  // namespace
