// Start words, the single instance and the message loop: what a start with arguments, a second
// start and the keyboard do.
#include "tests/e2e/driver.h"

#include "resources/resource.h"

namespace {

class StartWords : public e2e::VelutraTest {
protected:
    // Starts with `args`, says whether the main window came up shown, and ends the process.
    bool StartsShown(const std::string& args)
    {
        HWND mainWindow = StartAndWait(args);
        bool shown = mainWindow && IsWindowVisible(mainWindow);
        e2e::EndAllVelutraProcesses();
        return shown;
    }
};

TEST_F(StartWords, TrayWordInAnyCaseStartsHidden)
{
    for (const char* args : {"TRAYAPP", "trayapp", "TrayApp", "tRAYaPP", "  TRAYAPP", "\tTrayapp"})
        EXPECT_FALSE(StartsShown(args)) << "start with \"" << args << "\"";
}

TEST_F(StartWords, OtherArgumentsStartShown)
{
    // Only the whole argument string counts: with both words, a trailing blank or a longer word it
    // is no start word at all.
    for (const char* args : {"", "cd trayapp", "TRAYAPP CD", "TRAYAPP ", "trayapp2", "TRAY", "CD ", "cd", "Cd"})
        EXPECT_TRUE(StartsShown(args)) << "start with \"" << args << "\"";
}

class SecondStart : public e2e::VelutraTest {
protected:
    // A second start with `args`: it ends with exit code 0 and leaves the first copy running alone.
    void StartSecondCopy(const e2e::Program& first, HWND firstWindow, const std::string& args)
    {
        e2e::Program second = Start(args);
        std::optional<DWORD> code = e2e::WaitForExit(second);
        ASSERT_TRUE(code.has_value()) << "the second start with \"" << args << "\" is still running";
        EXPECT_EQ(0u, *code) << "exit code of the second start with \"" << args << "\"";
        EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(first.process, 0)) << "the first copy ended";
        std::vector<HWND> windows = e2e::MainWindows();
        ASSERT_EQ(1u, windows.size()) << "main windows after a second start";
        EXPECT_EQ(firstWindow, windows.front());
    }
};

TEST_F(SecondStart, BringsRunningCopyForwardAndExitsWithZero)
{
    e2e::Program first = Start();
    HWND firstWindow = e2e::WaitForMainWindow(first);
    ASSERT_NE(nullptr, firstWindow);

    // Another window of the driver's own takes the front first.
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 600, 100, 100, 100, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(nullptr, other);
    SetForegroundWindow(other);
    ASSERT_EQ(other, GetForegroundWindow());

    StartSecondCopy(first, firstWindow, "");
    EXPECT_TRUE(IsWindowVisible(firstWindow));
    EXPECT_TRUE(e2e::WaitUntil([&] { return GetForegroundWindow() == firstWindow; }))
        << "the running copy was not brought to the front";
    DestroyWindow(other);
}

TEST_F(SecondStart, RestoresMinimisedCopy)
{
    e2e::Program first = Start();
    HWND firstWindow = e2e::WaitForMainWindow(first);
    ASSERT_NE(nullptr, firstWindow);
    e2e::Press(e2e::FindPanel(firstWindow, e2e::Panel::Main), IDC_MINIMIZE);
    ASSERT_TRUE(IsIconic(firstWindow)) << "Minimize left the window as it was";

    StartSecondCopy(first, firstWindow, "");
    EXPECT_FALSE(IsIconic(firstWindow)) << "still minimised after a second start";
    EXPECT_TRUE(IsWindowVisible(firstWindow));
    RECT r = e2e::WindowRectIn(firstWindow, nullptr);
    EXPECT_EQ(100, r.left);
    EXPECT_EQ(100, r.top);
    EXPECT_EQ(366, r.bottom - r.top) << "restored height";
}

TEST_F(SecondStart, ShowsHiddenTrayCopy)
{
    e2e::Program first = Start("TRAYAPP");
    HWND firstWindow = e2e::WaitForMainWindow(first);
    ASSERT_NE(nullptr, firstWindow);
    ASSERT_FALSE(IsWindowVisible(firstWindow)) << "a TRAYAPP start came up shown";

    StartSecondCopy(first, firstWindow, "");
    EXPECT_TRUE(IsWindowVisible(firstWindow)) << "the hidden copy is still hidden after a second start";
}

TEST_F(SecondStart, WithCdWordExitsWithZero)
{
    e2e::Program first = Start();
    HWND firstWindow = e2e::WaitForMainWindow(first);
    ASSERT_NE(nullptr, firstWindow);
    StartSecondCopy(first, firstWindow, "CD");
    EXPECT_TRUE(IsWindowVisible(firstWindow));
}

class KeyboardLoop : public e2e::VelutraTest {
protected:
    // Alt+C is the mnemonic of "&CD" in the banner; the dialog manager presses CD for it.
    void PressAltC(HWND mainWindow)
    {
        ASSERT_TRUE(e2e::MovePointer(e2e::ScreenCentre(e2e::FindPanel(mainWindow, e2e::Panel::Main), {0, 0, 20, 20})));
        ASSERT_TRUE(e2e::PressKeys("alt+c"));
    }
};

TEST_F(KeyboardLoop, MnemonicsWorkInANormalStart)
{
    HWND mainWindow = StartAndWait();
    ASSERT_NE(nullptr, mainWindow);
    HWND cd = e2e::FindPanel(mainWindow, e2e::Panel::Cd);
    PressAltC(mainWindow);
    EXPECT_TRUE(e2e::WaitUntil([&] { return !e2e::HasVisibleStyle(cd); })) << "Alt+C did not press CD";
}

TEST_F(KeyboardLoop, MnemonicsDoNothingInATrayStart)
{
    e2e::Program first = Start("TRAYAPP");
    HWND mainWindow = e2e::WaitForMainWindow(first);
    ASSERT_NE(nullptr, mainWindow);
    e2e::Program second = Start();
    ASSERT_EQ(0u, e2e::WaitForExit(second).value_or(99));
    ASSERT_TRUE(IsWindowVisible(mainWindow));
    HWND banner = e2e::FindPanel(mainWindow, e2e::Panel::Main);
    HWND cd = e2e::FindPanel(mainWindow, e2e::Panel::Cd);
    HWND midi = e2e::FindPanel(mainWindow, e2e::Panel::Midi);
    PressAltC(mainWindow);
    // The program takes its input in order: once a later click on MIDI has been handled, so has Alt+C.
    ASSERT_TRUE(e2e::ClickAt(e2e::ScreenCentre(banner, RECT{151, 41, 199, 66})));
    ASSERT_TRUE(e2e::WaitUntil([&] { return !e2e::HasVisibleStyle(midi); })) << "the click on MIDI was not handled";
    EXPECT_TRUE(e2e::HasVisibleStyle(cd)) << "Alt+C pressed CD in a TRAYAPP copy";
}

}  // namespace
