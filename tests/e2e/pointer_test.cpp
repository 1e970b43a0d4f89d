// Real pointer clicks through X at the pixel places of the banner's hot spots: the control that
// answers a click is the one the hot-spot table puts there.
#include "tests/e2e/driver.h"

#include "resources/resource.h"

namespace {

using e2e::Panel;

// Hot-spot rectangles of the banner in its client area (right and bottom exclusive).
constexpr RECT kPowerSpot{0, 42, 64, 65};
constexpr RECT kMinimizeSpot{340, 42, 368, 65};
constexpr RECT kCdSpot{99, 41, 147, 66};
constexpr RECT kMidiSpot{151, 41, 199, 66};
constexpr RECT kSoundSpot{202, 41, 250, 66};

class Pointer : public e2e::VelutraTest {
protected:
    bool Click(HWND banner, RECT spot) { return e2e::ClickAt(e2e::ScreenCentre(banner, spot)); }

    static int Height(HWND window)
    {
        RECT r = e2e::WindowRectIn(window, nullptr);
        return r.bottom - r.top;
    }

    static int TopOf(HWND mainWindow, Panel panel)
    {
        return e2e::WindowRectIn(e2e::FindPanel(mainWindow, panel), mainWindow).top;
    }
};

TEST_F(Pointer, ClicksOnPlayerButtonsToggleTheirPanels)
{
    HWND mainWindow = StartAndWait();
    ASSERT_NE(nullptr, mainWindow);
    HWND banner = e2e::FindPanel(mainWindow, Panel::Main);
    HWND cd = e2e::FindPanel(mainWindow, Panel::Cd);
    HWND midi = e2e::FindPanel(mainWindow, Panel::Midi);
    HWND sound = e2e::FindPanel(mainWindow, Panel::Sound);

    ASSERT_TRUE(Click(banner, kCdSpot));
    EXPECT_TRUE(e2e::WaitUntil([&] { return !e2e::HasVisibleStyle(cd); })) << "a click on CD left CdPanel shown";
    EXPECT_TRUE(e2e::WaitUntil([&] { return Height(mainWindow) == 268; })) << "height " << Height(mainWindow);
    EXPECT_EQ(72, TopOf(mainWindow, Panel::Midi));
    EXPECT_EQ(170, TopOf(mainWindow, Panel::Sound));

    ASSERT_TRUE(Click(banner, kSoundSpot));
    EXPECT_TRUE(e2e::WaitUntil([&] { return !e2e::HasVisibleStyle(sound); })) << "a click on SOUND left SoundPanel shown";
    EXPECT_TRUE(e2e::WaitUntil([&] { return Height(mainWindow) == 170; })) << "height " << Height(mainWindow);

    ASSERT_TRUE(Click(banner, kMidiSpot));
    EXPECT_TRUE(e2e::WaitUntil([&] { return !e2e::HasVisibleStyle(midi); })) << "a click on MIDI left MidiPanel shown";
    EXPECT_TRUE(e2e::WaitUntil([&] { return Height(mainWindow) == 72; })) << "height " << Height(mainWindow);

    ASSERT_TRUE(Click(banner, kSoundSpot));
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::HasVisibleStyle(sound); })) << "a click on SOUND left SoundPanel hidden";
    EXPECT_TRUE(e2e::WaitUntil([&] { return Height(mainWindow) == 170; })) << "height " << Height(mainWindow);
    EXPECT_EQ(72, TopOf(mainWindow, Panel::Sound));

    ASSERT_TRUE(Click(banner, kCdSpot));
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::HasVisibleStyle(cd); })) << "a click on CD left CdPanel hidden";
    EXPECT_TRUE(e2e::WaitUntil([&] { return Height(mainWindow) == 268; })) << "height " << Height(mainWindow);
    EXPECT_EQ(72, TopOf(mainWindow, Panel::Cd));
    EXPECT_EQ(170, TopOf(mainWindow, Panel::Sound));
}

TEST_F(Pointer, ClickOnMinimizeMinimises)
{
    HWND mainWindow = StartAndWait();
    ASSERT_NE(nullptr, mainWindow);
    ASSERT_TRUE(Click(e2e::FindPanel(mainWindow, Panel::Main), kMinimizeSpot));
    EXPECT_TRUE(e2e::WaitUntil([&] { return IsIconic(mainWindow) != FALSE; })) << "a click on Minimize did nothing";
}

TEST_F(Pointer, ClickOnPowerHidesWhileTrayIsOn)
{
    e2e::Program program = Start();
    HWND mainWindow = e2e::WaitForMainWindow(program);
    ASSERT_NE(nullptr, mainWindow);
    ASSERT_TRUE(Click(e2e::FindPanel(mainWindow, Panel::Main), kPowerSpot));
    EXPECT_TRUE(e2e::WaitUntil([&] { return !IsWindowVisible(mainWindow); })) << "a click on Power left the window shown";
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(program.process, 0)) << "Power ended the program";
}

}  // namespace
