// The tray icon, the Properties dialog, the About box and the help commands of the real program,
// as the shell and a user see them. Without a systray manager on the display, Wine shows the
// notification area as a window of its own ("Wine System Tray") with one child per icon.
#include "tests/e2e/driver.h"

#include <shellapi.h>

#include <algorithm>
#include <set>
#include <string>

namespace {

constexpr UINT kTrayIconId = 147;
constexpr UINT kTrayCallback = 1152;

using e2e::ClassOf;
using e2e::ProcessOf;
using e2e::ShownWindows;

HWND WaitForWindow(DWORD pid, const char* className, const char* title = nullptr)
{
    HWND found = nullptr;
    e2e::WaitUntil([&] {
        std::vector<HWND> windows = ShownWindows(pid, className, title);
        found = windows.empty() ? nullptr : windows.front();
        return found != nullptr;
    });
    return found;
}

// The icons the shell shows: the children of Wine's own tray window.
std::set<HWND> ShownTrayIcons()
{
    std::set<HWND> icons;
    HWND tray = FindWindowA("__winex11_standalone_tray", nullptr);
    for (HWND child = tray ? GetWindow(tray, GW_CHILD) : nullptr; child; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassOf(child) == "__winex11_tray_icon" && IsWindowVisible(child)) icons.insert(child);
    return icons;
}

// The icons shown now that were not shown in `before`.
std::vector<HWND> NewIcons(const std::set<HWND>& before)
{
    std::vector<HWND> added;
    for (HWND icon : ShownTrayIcons())
        if (!before.count(icon)) added.push_back(icon);
    return added;
}

// The shell's own answer: a modify that changes nothing succeeds only for an icon it holds.
bool ShellHoldsIcon(HWND mainWindow)
{
    NOTIFYICONDATAA probe{};
    probe.cbSize = NOTIFYICONDATAA_V1_SIZE;
    probe.hWnd = mainWindow;
    probe.uID = kTrayIconId;
    return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
}

POINT CentreOf(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

std::string Pos(POINT p)
{
    return std::to_string(p.x) + " " + std::to_string(p.y);
}

// xdotool's "mousemove --sync" waits for the pointer to move, which takes it many seconds when the
// pointer is already there; so the pointer first steps aside. Then `then` runs at the point.
bool PointerAt(POINT at, const std::string& then)
{
    std::string arguments = "mousemove " + std::to_string(at.x + 30) + " " + std::to_string(at.y + 30) +
                            " mousemove --sync " + Pos(at) + (then.empty() ? "" : " " + then);
    int status = e2e::RunXdotool(arguments);
    if (status != 0) ADD_FAILURE() << "xdotool " << arguments << " exited with " << status;
    return status == 0;
}

bool DoubleClickAt(POINT at)
{
    return PointerAt(at, "click --repeat 2 --delay 60 1");
}

void WriteRegistry(const char* keyName, const char* value, DWORD type, const void* data, DWORD size)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyName, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                                             nullptr));
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(key, value, 0, type, static_cast<const BYTE*>(data), size));
    RegCloseKey(key);
}

// A tray notification straight to the main window, as the shell sends it; returns once handled.
void SendTrayMessage(HWND mainWindow, UINT mouseMessage)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(mainWindow, kTrayCallback, kTrayIconId, mouseMessage, SMTO_NORMAL, e2e::kWaitMs, &result))
        ADD_FAILURE() << "tray message " << mouseMessage << " was not handled";
}

class TrayE2E : public e2e::VelutraTest {
protected:
    // Starts the program with the default settings (tray on) and waits for its one new icon.
    HWND StartWithIcon(const std::string& args = "")
    {
        before = ShownTrayIcons();
        HWND main = StartAndWait(args);
        if (!main) return nullptr;
        if (!e2e::WaitUntil([&] { return NewIcons(before).size() == 1; }))
            ADD_FAILURE() << "the start did not show exactly one new tray icon: " << NewIcons(before).size();
        std::vector<HWND> added = NewIcons(before);
        icon = added.empty() ? nullptr : added.front();
        return main;
    }

    HWND OpenProperties(HWND main)
    {
        PostMessageA(main, WM_COMMAND, 40012, 0);
        HWND dialog = WaitForWindow(ProcessOf(main), "#32770", "Properties");
        if (!dialog) ADD_FAILURE() << "no Properties dialog";
        return dialog;
    }

    static void CloseDialog(HWND dialog, int buttonId)
    {
        PostMessageA(dialog, WM_COMMAND, buttonId, 0);
        if (!e2e::WaitUntil([&] { return !IsWindow(dialog); })) ADD_FAILURE() << "the dialog stayed open";
    }

    static std::string SelectedFormat(HWND dialog)
    {
        HWND combo = GetDlgItem(dialog, 1029);
        LRESULT row = SendMessageA(combo, CB_GETCURSEL, 0, 0);
        if (row == CB_ERR) return "(none)";
        // Asked in its wide form: Wine hands an ANSI caller in another process a wide text here.
        wchar_t wide[64] = {};
        if (SendMessageW(combo, CB_GETLBTEXTLEN, row, 0) >= 64) return "(too long)";
        SendMessageW(combo, CB_GETLBTEXT, row, reinterpret_cast<LPARAM>(wide));
        char text[128] = {};
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof(text), nullptr, nullptr);
        return std::to_string(row) + " " + text;
    }

    std::set<HWND> before;
    HWND icon = nullptr;
};

}  // namespace

TEST_F(TrayE2E, FirstStartShowsTheIconOnceAndExitRemovesIt)
{
    HWND main = StartWithIcon();
    ASSERT_NE(nullptr, main);
    EXPECT_TRUE(ShellHoldsIcon(main)) << "the shell holds no icon 147 of the main window";

    e2e::SendCommand(main, 106);
    EXPECT_EQ(0u, e2e::WaitForExit(programs.back()).value_or(99)) << "Exit did not end the program";
    EXPECT_TRUE(e2e::WaitUntil([&] { return NewIcons(before).empty(); })) << "the icon outlived the program";
    EXPECT_FALSE(ShellHoldsIcon(main));
}

TEST_F(TrayE2E, PropertiesShowDefaultsAndOkWithTheBoxTickedKeepsTheOneIcon)
{
    HWND main = StartWithIcon();
    ASSERT_NE(nullptr, icon);

    HWND dialog = OpenProperties(main);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ("10 22 KHz, 16-Bit, Mono", SelectedFormat(dialog));
    EXPECT_EQ(BST_CHECKED, SendDlgItemMessageA(dialog, 1028, BM_GETCHECK, 0, 0));
    CloseDialog(dialog, IDOK);

    // A second add, or a delete and add, would show as another icon window.
    EXPECT_EQ(std::vector<HWND>{icon}, NewIcons(before));
    EXPECT_TRUE(ShellHoldsIcon(main));
}

TEST_F(TrayE2E, PropertiesCancelAfterChangingBothChangesNothingNotEvenTheIcon)
{
    HWND main = StartWithIcon();
    ASSERT_NE(nullptr, icon);

    HWND dialog = OpenProperties(main);
    ASSERT_NE(nullptr, dialog);
    SendDlgItemMessageA(dialog, 1029, CB_SETCURSEL, 16, 0);
    SendDlgItemMessageA(dialog, 1028, BM_SETCHECK, BST_UNCHECKED, 0);
    CloseDialog(dialog, IDCANCEL);

    EXPECT_EQ(std::vector<HWND>{icon}, NewIcons(before));
    dialog = OpenProperties(main);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ("10 22 KHz, 16-Bit, Mono", SelectedFormat(dialog));
    EXPECT_EQ(BST_CHECKED, SendDlgItemMessageA(dialog, 1028, BM_GETCHECK, 0, 0));
    CloseDialog(dialog, IDCANCEL);
}

TEST_F(TrayE2E, PropertiesOkWithTheBoxClearedRemovesTheIconAtOnce)
{
    HWND main = StartWithIcon();
    ASSERT_NE(nullptr, icon);

    HWND dialog = OpenProperties(main);
    ASSERT_NE(nullptr, dialog);
    SendDlgItemMessageA(dialog, 1029, CB_SETCURSEL, 3, 0);
    PostMessageA(GetDlgItem(dialog, 1028), BM_CLICK, 0, 0);
    CloseDialog(dialog, IDOK);

    // The shell answered the delete before the dialog closed.
    EXPECT_TRUE(NewIcons(before).empty()) << "the icon is still shown after OK";
    EXPECT_FALSE(ShellHoldsIcon(main));

    dialog = OpenProperties(main);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ("3 8 KHz, 16-Bit, Stereo", SelectedFormat(dialog));
    EXPECT_EQ(BST_UNCHECKED, SendDlgItemMessageA(dialog, 1028, BM_GETCHECK, 0, 0));
    PostMessageA(GetDlgItem(dialog, 1028), BM_CLICK, 0, 0);
    CloseDialog(dialog, IDOK);
    EXPECT_TRUE(e2e::WaitUntil([&] { return NewIcons(before).size() == 1; })) << "OK with the box ticked added no icon";
    EXPECT_TRUE(ShellHoldsIcon(main));
}

// A real double click on the icon in the shell's window, and a real right-button press.
TEST_F(TrayE2E, DoubleClickOnTheIconShowsAHiddenWindowAndRestoresAMinimisedOne)
{
    HWND main = StartWithIcon();
    ASSERT_NE(nullptr, icon);

    ShowWindow(main, SW_HIDE);
    ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindowVisible(main); }));
    ASSERT_TRUE(DoubleClickAt(CentreOf(icon)));
    EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(main) != FALSE; })) << "the hidden window stayed hidden";
    EXPECT_TRUE(e2e::WaitUntil([&] { return GetForegroundWindow() == main; })) << "not brought to the front";

    e2e::SendCommand(main, 40010);
    ASSERT_TRUE(IsIconic(main));
    ASSERT_TRUE(DoubleClickAt(CentreOf(icon)));
    EXPECT_TRUE(e2e::WaitUntil([&] { return !IsIconic(main) && IsWindowVisible(main); })) << "not restored";
}

TEST_F(TrayE2E, RightPressOnTheIconOpensTheMenuAtTheCursorAndItsAboutItemWorks)
{
    HWND main = StartWithIcon();
    ASSERT_NE(nullptr, icon);
    ShowWindow(main, SW_HIDE);
    DWORD pid = ProcessOf(main);

    POINT at = CentreOf(icon);
    ASSERT_TRUE(PointerAt(at, "mousedown 3"));
    HWND menu = WaitForWindow(pid, "#32768");
    ASSERT_NE(nullptr, menu) << "no menu on the right-button press";
    RECT r{};
    GetWindowRect(menu, &r);
    EXPECT_EQ(at.x, r.left);
    EXPECT_EQ(at.y, r.top);
    ASSERT_EQ(0, e2e::RunXdotool("mouseup 3"));
    EXPECT_TRUE(IsWindowVisible(menu)) << "the release closed the menu";

    // Open, About, Exit share the menu's height; the middle one is About.
    ASSERT_TRUE(PointerAt(CentreOf(menu), "click 1"));
    HWND about = WaitForWindow(pid, "#32770", "About");
    ASSERT_NE(nullptr, about) << "the menu's middle item did not open the About box";
    EXPECT_EQ("Velutra 3.00", e2e::WindowText(GetDlgItem(about, 402)));
    CloseDialog(about, IDOK);
    EXPECT_FALSE(IsWindowVisible(main)) << "About changed the hidden window";
}

TEST_F(TrayE2E, SingleClicksMovesAndReleasesDoNothing)
{
    HWND main = StartWithIcon();
    ASSERT_NE(nullptr, main);
    ShowWindow(main, SW_HIDE);
    DWORD pid = ProcessOf(main);

    for (UINT mouse : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONUP, WM_MOUSEMOVE, WM_MBUTTONDOWN}) {
        SendTrayMessage(main, mouse);
        EXPECT_FALSE(IsWindowVisible(main)) << "mouse message " << mouse << " showed the window";
        EXPECT_TRUE(ShownWindows(pid, "#32768").empty()) << "mouse message " << mouse << " opened a menu";
    }
    SendTrayMessage(main, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(IsWindowVisible(main)) << "the double click sent as a message did not open the window";
}

TEST_F(TrayE2E, PowerWithTheTrayOnHidesTheWindowAndKeepsTheIcon)
{
    HWND main = StartWithIcon();
    ASSERT_NE(nullptr, icon);

    e2e::Press(e2e::FindPanel(main, e2e::Panel::Main), 1004);
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_FALSE(e2e::WaitForExit(programs.back(), 0).has_value()) << "Power ended the program";
    EXPECT_EQ(std::vector<HWND>{icon}, NewIcons(before));
    EXPECT_TRUE(ShellHoldsIcon(main));
}

TEST_F(TrayE2E, TrayStartLivesInTheTrayUntilTheIconOpensIt)
{
    HWND main = StartWithIcon("TRAYAPP");
    ASSERT_NE(nullptr, icon);
    EXPECT_FALSE(IsWindowVisible(main));

    ASSERT_TRUE(DoubleClickAt(CentreOf(icon)));
    EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
}

TEST_F(TrayE2E, TrayStartWithTheTrayOffInTheRegistryHasNeitherWindowNorIconUntilASecondStart)
{
    DWORD config = 0x1F;  // every panel and the banner, no tray
    WriteRegistry(e2e::kVelutraKey, "Config", REG_DWORD, &config, sizeof(config));
    before = ShownTrayIcons();

    HWND main = StartAndWait("TRAYAPP");
    ASSERT_NE(nullptr, main);
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_TRUE(NewIcons(before).empty()) << "an icon with the tray off";
    EXPECT_FALSE(ShellHoldsIcon(main));

    e2e::Program second = Start();
    EXPECT_EQ(0u, e2e::WaitForExit(second).value_or(99)) << "the second start did not end";
    EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(main) != FALSE; })) << "the second start showed nothing";
    EXPECT_TRUE(NewIcons(before).empty());
}

// What OK applies reaches the registry at Exit: the format, and no autostart without the tray.
TEST_F(TrayE2E, PropertiesOkThenExitWritesTheFormatAndDeletesTheRunEntry)
{
    const std::string earlier = copy.exe + " TRAYAPP";
    WriteRegistry(e2e::kRunKey, e2e::kRunValue, REG_SZ, earlier.c_str(), static_cast<DWORD>(earlier.size() + 1));
    HWND main = StartWithIcon();
    ASSERT_NE(nullptr, icon);

    HWND dialog = OpenProperties(main);
    ASSERT_NE(nullptr, dialog);
    SendDlgItemMessageA(dialog, 1029, CB_SETCURSEL, 16, 0);
    PostMessageA(GetDlgItem(dialog, 1028), BM_CLICK, 0, 0);
    CloseDialog(dialog, IDOK);
    e2e::SendCommand(main, 106);
    ASSERT_TRUE(e2e::WaitForExit(programs.back()).has_value());

    EXPECT_EQ(16u, e2e::ReadRegistryDword(HKEY_LOCAL_MACHINE, e2e::kVelutraKey, "Wavefmt").value_or(0xBAD));
    EXPECT_EQ(0u, e2e::ReadRegistryDword(HKEY_LOCAL_MACHINE, e2e::kVelutraKey, "Config").value_or(0x80) & 0x80);
    EXPECT_FALSE(e2e::ReadRegistryString(HKEY_LOCAL_MACHINE, e2e::kRunKey, e2e::kRunValue).has_value())
        << "the Run entry survived an Exit with the tray off";
}

// A restarted shell has forgotten every icon and broadcasts "TaskbarCreated" when it is ready.
TEST_F(TrayE2E, TaskbarCreatedBringsTheIconBack)
{
    HWND main = StartWithIcon();
    ASSERT_NE(nullptr, icon);
    NOTIFYICONDATAA record{};
    record.cbSize = NOTIFYICONDATAA_V1_SIZE;
    record.hWnd = main;
    record.uID = kTrayIconId;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &record));
    ASSERT_TRUE(e2e::WaitUntil([&] { return NewIcons(before).empty(); }));

    UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    DWORD_PTR result = 0;
    ASSERT_TRUE(SendMessageTimeoutA(main, taskbarCreated, 0, 0, SMTO_NORMAL, e2e::kWaitMs, &result));
    EXPECT_EQ(1u, NewIcons(before).size()) << "the icon did not come back";
    EXPECT_TRUE(ShellHoldsIcon(main));
}

TEST_F(TrayE2E, AboutOpensFromTheBannerAndFromItsCommandAndEveryWayClosesIt)
{
    HWND main = StartAndWait();
    ASSERT_NE(nullptr, main);
    DWORD pid = ProcessOf(main);
    HWND banner = e2e::FindPanel(main, e2e::Panel::Main);

    struct Way {
        const char* name;
        bool fromBanner;
        std::function<void(HWND)> close;
    };
    const Way ways[] = {
        {"OK", true, [](HWND about) { e2e::Press(about, IDOK); }},
        {"Enter", false,
         [](HWND about) {
             PointerAt(CentreOf(about), "key Return");
         }},
        {"Esc", true,
         [](HWND about) {
             PointerAt(CentreOf(about), "key Escape");
         }},
        {"close box", false, [](HWND about) { PostMessageA(about, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const Way& way : ways) {
        if (way.fromBanner)
            e2e::PostPress(banner, 1026);
        else
            PostMessageA(main, WM_COMMAND, 303, 0);
        HWND about = WaitForWindow(pid, "#32770", "About");
        ASSERT_NE(nullptr, about) << "no About box before " << way.name;
        EXPECT_EQ("Velutra 3.00", e2e::WindowText(GetDlgItem(about, 402)));
        way.close(about);
        EXPECT_TRUE(e2e::WaitUntil([&] { return !IsWindow(about); })) << way.name << " did not close the About box";
    }
}

TEST_F(TrayE2E, HelpWithoutTheHelpFileShowsUnableToActivateHelp)
{
    HWND main = StartAndWait();
    ASSERT_NE(nullptr, main);
    DWORD pid = ProcessOf(main);

    for (int command : {300, 301, 304}) {
        PostMessageA(main, WM_COMMAND, command, 0);
        HWND box = e2e::WaitForMessageBox(pid);
        ASSERT_NE(nullptr, box) << "no message box for help command " << command;
        EXPECT_EQ("Unable to activate help", e2e::MessageBoxText(box)) << command;
        e2e::PressMessageBoxButton(box, IDOK);
        EXPECT_TRUE(e2e::WaitUntil([&] { return !IsWindow(box); }));
        EXPECT_EQ(nullptr, FindWindowA("MS_WINHELP", nullptr)) << "the help engine started for " << command;
    }
}

// Help on help names no file, so the help engine starts. Wine's engine then asks for its own
// help file, which Wine does not ship; the program itself shows no message.
TEST_F(TrayE2E, HelpOnHelpStartsTheHelpEngineAndExitClosesIt)
{
    HWND main = StartAndWait();
    ASSERT_NE(nullptr, main);
    DWORD pid = ProcessOf(main);

    PostMessageA(main, WM_COMMAND, 302, 0);
    HWND engine = nullptr;
    ASSERT_TRUE(e2e::WaitUntil([&] { return (engine = FindWindowA("MS_WINHELP", nullptr)) != nullptr; }))
        << "help on help started no help engine";
    DWORD enginePid = ProcessOf(engine);
    HWND question = WaitForWindow(enginePid, "#32770");
    ASSERT_NE(nullptr, question) << "the help engine asked nothing";
    PostMessageA(question, WM_COMMAND, IDNO, 0);

    // Commands are handled in order: once the later one is done, help on help has returned.
    PostMessageA(main, WM_COMMAND, 40010, 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return IsIconic(main) != FALSE; }));
    EXPECT_TRUE(ShownWindows(pid, "#32770", "Velutra").empty()) << "the program reported help on help as failed";

    e2e::SendCommand(main, 106);
    EXPECT_TRUE(e2e::WaitForExit(programs.back()).has_value());
    EXPECT_TRUE(e2e::WaitUntil([] { return FindWindowA("MS_WINHELP", nullptr) == nullptr; }))
        << "the help engine outlived the program";
}
