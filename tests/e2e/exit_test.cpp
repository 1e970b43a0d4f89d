// The ways out: Exit, Power with the tray on, WM_CLOSE and Alt+F4.
#include "tests/e2e/driver.h"

#include "resources/resource.h"

namespace {

class Exit : public e2e::VelutraTest {
protected:
    void ExpectEndsWithZero(const e2e::Program& program, const char* how)
    {
        std::optional<DWORD> code = e2e::WaitForExit(program);
        ASSERT_TRUE(code.has_value()) << how << ": the program is still running";
        EXPECT_EQ(0u, *code) << how << ": exit code";
        EXPECT_TRUE(e2e::MainWindows().empty()) << how << ": a main window is left";
    }
};

TEST_F(Exit, ExitCommandEndsWithZero)
{
    e2e::Program program = Start();
    HWND mainWindow = e2e::WaitForMainWindow(program);
    ASSERT_NE(nullptr, mainWindow);
    e2e::SendCommand(mainWindow, IDM_EXIT);
    ExpectEndsWithZero(program, "command 106");
}

// The tray bit is on by default, so Power hides the window and the program runs on.
TEST_F(Exit, PowerHidesWindowWhileTrayIsOn)
{
    e2e::Program program = Start();
    HWND mainWindow = e2e::WaitForMainWindow(program);
    ASSERT_NE(nullptr, mainWindow);
    e2e::Press(e2e::FindPanel(mainWindow, e2e::Panel::Main), IDC_POWER);
    EXPECT_FALSE(IsWindowVisible(mainWindow)) << "Power left the window shown";
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(program.process, 0)) << "Power ended the program";

    e2e::SendCommand(mainWindow, IDM_EXIT);
    ExpectEndsWithZero(program, "command 106 while hidden");
}

TEST_F(Exit, CloseMessageEndsWithZero)
{
    e2e::Program program = Start();
    HWND mainWindow = e2e::WaitForMainWindow(program);
    ASSERT_NE(nullptr, mainWindow);
    PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    ExpectEndsWithZero(program, "WM_CLOSE");
}

TEST_F(Exit, AltF4EndsWithZero)
{
    e2e::Program program = Start();
    HWND mainWindow = e2e::WaitForMainWindow(program);
    ASSERT_NE(nullptr, mainWindow);
    // The keys go to the window with the X input focus: the pointer over the banner's empty left
    // end makes sure it is ours.
    POINT corner = e2e::ScreenCentre(e2e::FindPanel(mainWindow, e2e::Panel::Main), RECT{0, 0, 20, 20});
    ASSERT_EQ(0, e2e::RunXdotool("mousemove " + std::to_string(corner.x) + " " + std::to_string(corner.y)));
    ASSERT_TRUE(e2e::PressKeys("alt+F4"));
    ExpectEndsWithZero(program, "Alt+F4");
}

}  // namespace
