// Stacking of the player panels under the banner for every combination of the view bits.
#include <gtest/gtest.h>

#include "model/config.h"
#include "model/layout.h"

namespace {

constexpr int kHidden = -1;

struct Case {
    std::uint32_t config;
    int cdTop, midiTop, soundTop;
    int height;
};

void ExpectStack(const Case& c)
{
    PanelStack stack = StackPanels(c.config);
    const int expected[3] = {c.cdTop, c.midiTop, c.soundTop};
    const char* names[3] = {"CD", "MIDI", "Sound"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(expected[i] != kHidden, stack.shown[i]) << names[i] << " shown, Config 0x" << std::hex << c.config;
        if (expected[i] != kHidden) {
            EXPECT_EQ(expected[i], stack.top[i]) << names[i] << " top, Config 0x" << std::hex << c.config;
        }
    }
    EXPECT_EQ(c.height, stack.height) << "window height, Config 0x" << std::hex << c.config;
}

}  // namespace

TEST(StackPanels, EveryCombinationUnderTheBanner)
{
    const Case cases[] = {
        {CFG_BANNER, kHidden, kHidden, kHidden, 72},
        {CFG_BANNER | CFG_CD, 72, kHidden, kHidden, 170},
        {CFG_BANNER | CFG_MIDI, kHidden, 72, kHidden, 170},
        {CFG_BANNER | CFG_SOUND, kHidden, kHidden, 72, 170},
        {CFG_BANNER | CFG_CD | CFG_MIDI, 72, 170, kHidden, 268},
        {CFG_BANNER | CFG_CD | CFG_SOUND, 72, kHidden, 170, 268},
        {CFG_BANNER | CFG_MIDI | CFG_SOUND, kHidden, 72, 170, 268},
        {CFG_BANNER | CFG_CD | CFG_MIDI | CFG_SOUND, 72, 170, 268, 366},
    };
    for (const Case& c : cases) ExpectStack(c);
}

TEST(StackPanels, DefaultConfigGivesTheFullWindow)
{
    ExpectStack({kDefaultConfig, 72, 170, 268, 366});
}

TEST(StackPanels, OtherBitsDoNotMove)
{
    // The mixer and tray bits and unknown high bits leave the stack alone.
    ExpectStack({CFG_BANNER | CFG_MIXER | CFG_TRAY | CFG_MIDI, kHidden, 72, kHidden, 170});
    ExpectStack({0xFFFFFF00u | CFG_BANNER | CFG_CD | CFG_SOUND, 72, kHidden, 170, 268});
}

TEST(StackPanels, WithoutTheBannerBitPlayersStartAtTheTop)
{
    ExpectStack({0, kHidden, kHidden, kHidden, 0});
    ExpectStack({CFG_CD | CFG_MIDI | CFG_SOUND, 0, 98, 196, 294});
    ExpectStack({CFG_MIDI | CFG_SOUND, kHidden, 0, 98, 196});
}
