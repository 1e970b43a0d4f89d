// A tray start, second starts, the real tray and the volume control. Without a systray manager on
// the display, Wine shows the notification area as a window of its own with one child window per icon.
#include "tests/e2e/driver.h"

#include <shellapi.h>
#include <shlwapi.h>

#include "resources/resource.h"

namespace {

std::vector<HWND> TrayIcons()
{
    std::vector<HWND> icons;
    HWND tray = FindWindowA("__winex11_standalone_tray", nullptr);
    for (HWND child = tray ? GetWindow(tray, GW_CHILD) : nullptr; child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child)) icons.push_back(child);
    return icons;
}

// Clicks `then` (xdotool) on the icon; "mousemove --sync" waits until the pointer moves, so it first steps aside.
RECT ClickIcon(const std::string& then)
{
    RECT r = e2e::WindowRectIn(TrayIcons().front(), nullptr);
    e2e::RunXdotool("mousemove 200 200 mousemove --sync " + std::to_string((r.left + r.right) / 2) + " " +
                    std::to_string((r.top + r.bottom) / 2) + " " + then);
    return r;
}

// A right click on the icon opens the menu at the pointer; item `item` of Open, About, Exit is clicked.
void ChooseFromTrayMenu(DWORD pid, int item)
{
    RECT at = ClickIcon("click 3");
    HWND menu = e2e::WaitForShown(pid, "#32768");
    ASSERT_TRUE(menu) << "a right press on the icon opens no menu";
    RECT r = e2e::WindowRectIn(menu, nullptr);
    EXPECT_TRUE(r.left == (at.left + at.right) / 2 && r.top == (at.top + at.bottom) / 2)
        << "the menu is not at the pointer";
    e2e::ClickAt({(r.left + r.right) / 2, r.top + (r.bottom - r.top) * (2 * item + 1) / 6});
}

class SecondStart : public e2e::VelutraTest {};

TEST_F(SecondStart, BringsTheRunningCopyForwardAndTheTrayWorks)
{
    auto startAgain = [&](const std::string& args) {  // ends with 0, leaving the first copy the only one
        EXPECT_EQ(0u, e2e::WaitForExit(Start(args)).value_or(99)) << "exit code of a second start with " << args;
        EXPECT_EQ(1u, e2e::TopLevelWindows(e2e::kMainClass, nullptr, 0).size()) << "second start with " << args;
    };
    HWND main = StartAndWait("tRAYaPP");
    ASSERT_TRUE(main);
    DWORD pid = programs.back().pid;
    EXPECT_FALSE(IsWindowVisible(main)) << "the start word TRAYAPP (any case) starts hidden";
    ASSERT_TRUE(e2e::WaitUntil([] { return TrayIcons().size() == 1; })) << "the tray start shows one icon";

    startAgain("");
    EXPECT_TRUE(e2e::WaitUntil([&] { return GetForegroundWindow() == main; })) << "a second start shows it in front";
    HWND banner = e2e::FindPanel(main, e2e::Panel::Main), cd = e2e::FindPanel(main, e2e::Panel::Cd);
    ASSERT_TRUE(e2e::MovePointer(e2e::ScreenCentre(banner, {0, 0, 20, 20})) && e2e::PressKeys("alt+c"));
    e2e::ClickAt(e2e::ScreenCentre(banner, e2e::WindowRectIn(GetDlgItem(banner, IDC_MIDI), banner)));
    EXPECT_TRUE(e2e::WaitUntil([&] { return !e2e::HasVisibleStyle(e2e::FindPanel(main, e2e::Panel::Midi)); }));
    EXPECT_TRUE(e2e::HasVisibleStyle(cd)) << "a tray start takes no mnemonics: Alt+C pressed CD";

    e2e::SendCommand(main, IDM_MINIMIZE);
    startAgain("CD");
    EXPECT_TRUE(IsWindowVisible(main) && !IsIconic(main)) << "a second start restores a minimised copy";
    HWND box = e2e::WaitForMessageBox(pid);
    ASSERT_TRUE(box) << "the CD word of a second start did not press Play (no disc: a message)";
    e2e::PressMessageBoxButton(box, IDOK);

    // Windows since Vista has no SNDVOL32, nor has Wine: MIXER starts sndvol, here this test program.
    ASSERT_TRUE(CopyFileA(_pgmptr, (copy.folder + "\\sndvol.exe").c_str(), FALSE));
    e2e::SendCommand(main, IDM_MIXER);
    EXPECT_TRUE(e2e::WaitForShown(0, "#32770", "Master Volume")) << "MIXER started no volume control";
    e2e::SendCommand(main, IDM_MIXER), e2e::SendCommand(main, IDM_MIXER);
    std::vector<HWND> mixers = e2e::TopLevelWindows("#32770", "Master Volume", 0);
    EXPECT_EQ(1u, mixers.size()) << "MIXER started another volume control beside the open one";
    for (HWND mixer : mixers) PostMessageA(mixer, WM_CLOSE, 0, 0);

    e2e::Press(banner, IDC_POWER);
    EXPECT_FALSE(IsWindowVisible(main)) << "Power with the tray on hides the window";
    ASSERT_EQ(1u, TrayIcons().size()) << "Power with the tray on keeps the icon";
    ClickIcon("click --repeat 2 --delay 60 1");
    EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(main) && GetForegroundWindow() == main; }))
        << "a double click on the icon shows the window in front";

    NOTIFYICONDATAA icon{};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = main;
    icon.uID = 147;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &icon) && e2e::WaitUntil([] { return TrayIcons().empty(); }));
    DWORD_PTR result = 0;
    SendMessageTimeoutA(main, RegisterWindowMessageA("TaskbarCreated"), 0, 0, SMTO_NORMAL, e2e::kWaitMs, &result);
    ASSERT_EQ(1u, TrayIcons().size()) << "TaskbarCreated (a restarted shell) did not bring the icon back";
    e2e::Press(banner, IDC_POWER);
    ChooseFromTrayMenu(pid, 2);
    EXPECT_EQ(0u, e2e::WaitForExit(programs.front()).value_or(99)) << "the tray menu's Exit ends with 0";
    EXPECT_EQ(0x95u, e2e::ReadRegistryDword(HKEY_LOCAL_MACHINE, e2e::kVelutraKey, "Config"))
        << "the Exit saved no settings, or three MIXER commands left the mixer bit on";
    EXPECT_TRUE(e2e::WaitUntil([] { return TrayIcons().empty(); })) << "the icon outlived the program";
}

}  // namespace

// Copied beside velutra.exe as sndvol.exe, this program stands in for the volume control.
int main(int argc, char** argv)
{
    if (StrStrIA(PathFindFileNameA(argv[0]), "sndvol"))
        return MessageBoxA(nullptr, "A stand-in for the volume control", "Master Volume", MB_OK) ? 0 : 1;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
