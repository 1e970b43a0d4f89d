// The tray icon: the records handed to the shell, CFG_TRAY kept in step with the icon, the held
// menu, and the answers to the shell's mouse notifications.
#include <gtest/gtest.h>

#include <windows.h>

#include <initializer_list>
#include <string>

#include "app/app.h"
#include "resources/resource.h"
#include "tests/win/owner_window.h"
#include "tests/win/shell_recorder.h"

namespace {

class TrayIcon : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetAppForTest();
        owner = TestOwner().hwnd;
        g_app.settings.Config &= ~CFG_TRAY;
    }
    void TearDown() override { ResetAppForTest(); }

    HWND owner = nullptr;
};

std::vector<UINT> PopupIds(HMENU popup)
{
    std::vector<UINT> ids;
    for (int i = 0; i < GetMenuItemCount(popup); ++i) ids.push_back(GetMenuItemID(popup, i));
    return ids;
}

bool AllZero(const char* bytes, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        if (bytes[i] != 0) return false;
    return true;
}

}  // namespace

TEST_F(TrayIcon, AddHandsTheShellTheOriginalSizedRecordAndLoadsTheMenu)
{
    SetTrayIcon(owner, TRUE);

    ASSERT_EQ(1u, RecordedNotifyCalls().size());
    const NotifyCall& add = RecordedNotifyCalls()[0];
    EXPECT_EQ(static_cast<DWORD>(NIM_ADD), add.operation);
    EXPECT_EQ(static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE), add.passedSize);
    EXPECT_EQ(owner, add.record.hWnd);
    EXPECT_EQ(147u, add.record.uID);
    EXPECT_EQ(static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP), add.record.uFlags);
    EXPECT_EQ(1152u, add.record.uCallbackMessage);
    EXPECT_NE(nullptr, add.record.hIcon);
    EXPECT_STREQ("Velutra", add.record.szTip);
    EXPECT_TRUE(AllZero(add.record.szTip + 8, 64 - 8)) << "tip field not zero-filled after the text";
    EXPECT_TRUE(add.result) << "the shell refused the icon";
    EXPECT_TRUE(ShellHasIcon(owner, 147));

    EXPECT_TRUE(g_app.settings.Config & CFG_TRAY);
    ASSERT_NE(nullptr, g_app.trayMenu);
    EXPECT_EQ(1, GetMenuItemCount(g_app.trayMenu));
    EXPECT_EQ((std::vector<UINT>{IDM_OPEN, IDM_ABOUT, IDM_EXIT}), PopupIds(GetSubMenu(g_app.trayMenu, 0)));
}

TEST_F(TrayIcon, OnWhileOnAddsNoSecondIcon)
{
    SetTrayIcon(owner, TRUE);
    SetTrayIcon(owner, TRUE);
    SetTrayIcon(owner, TRUE);

    EXPECT_EQ(1, CountRecorded(NIM_ADD));
    EXPECT_EQ(0, CountRecorded(NIM_DELETE));
    EXPECT_TRUE(ShellHasIcon(owner, 147));
    EXPECT_TRUE(g_app.settings.Config & CFG_TRAY);
}

TEST_F(TrayIcon, OffDeletesWithAnEmptyRecordAndReleasesTheMenu)
{
    SetTrayIcon(owner, TRUE);
    HMENU held = g_app.trayMenu;
    SetTrayIcon(owner, FALSE);

    ASSERT_EQ(2u, RecordedNotifyCalls().size());
    const NotifyCall& del = RecordedNotifyCalls()[1];
    EXPECT_EQ(static_cast<DWORD>(NIM_DELETE), del.operation);
    EXPECT_EQ(static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE), del.passedSize);
    EXPECT_EQ(owner, del.record.hWnd);
    EXPECT_EQ(147u, del.record.uID);
    EXPECT_EQ(0u, del.record.uFlags);
    EXPECT_EQ(0u, del.record.uCallbackMessage);
    EXPECT_EQ(nullptr, del.record.hIcon);
    EXPECT_TRUE(AllZero(del.record.szTip, 64));
    EXPECT_TRUE(del.result);

    EXPECT_FALSE(ShellHasIcon(owner, 147));
    EXPECT_FALSE(g_app.settings.Config & CFG_TRAY);
    EXPECT_EQ(nullptr, g_app.trayMenu);
    EXPECT_FALSE(IsMenu(held)) << "the menu of the deleted icon is still alive";
}

// A delete for an icon that is not there is harmless, and the bit ends clear either way.
TEST_F(TrayIcon, OffWhenNoIconIsShownStillAsksTheShellAndClearsTheBit)
{
    g_app.settings.Config |= CFG_TRAY;
    SetTrayIcon(owner, FALSE);

    ASSERT_EQ(1u, RecordedNotifyCalls().size());
    EXPECT_EQ(static_cast<DWORD>(NIM_DELETE), RecordedNotifyCalls()[0].operation);
    EXPECT_FALSE(RecordedNotifyCalls()[0].result);
    EXPECT_FALSE(g_app.settings.Config & CFG_TRAY);
}

TEST_F(TrayIcon, EachAddReplacesTheHeldMenu)
{
    NotifyTrayIcon(owner, NIM_ADD, "Velutra");
    HMENU first = g_app.trayMenu;
    ShellDeleteIcon(owner, 147);
    NotifyTrayIcon(owner, NIM_ADD, "Velutra");

    EXPECT_NE(nullptr, g_app.trayMenu);
    EXPECT_FALSE(IsMenu(first)) << "the menu of the earlier add was not destroyed";
    EXPECT_TRUE(IsMenu(g_app.trayMenu));
}

// The shell refusing the add leaves the bit set, so nothing tries to add the icon again.
TEST_F(TrayIcon, RefusedAddStillCountsAsOn)
{
    NotifyTrayIcon(owner, NIM_ADD, "Velutra");  // the shell now holds (owner, 147)
    StartShellRecording();

    SetTrayIcon(owner, TRUE);
    ASSERT_EQ(1, CountRecorded(NIM_ADD));
    EXPECT_FALSE(RecordedNotifyCalls()[0].result) << "the shell accepted a second icon with the same id";
    EXPECT_TRUE(g_app.settings.Config & CFG_TRAY);

    SetTrayIcon(owner, TRUE);
    EXPECT_EQ(1, CountRecorded(NIM_ADD));
}

TEST_F(TrayIcon, LongTipIsCutToTheRecordsSixtyFourBytes)
{
    std::string tip(300, 'v');
    NotifyTrayIcon(owner, NIM_ADD, tip.c_str());

    ASSERT_EQ(1u, RecordedNotifyCalls().size());
    EXPECT_EQ(std::string(63, 'v'), std::string(RecordedNotifyCalls()[0].record.szTip));
}

TEST_F(TrayIcon, RestartedShellGetsTheIconBackOnlyWhenTrayIsOn)
{
    SetTrayIcon(owner, TRUE);
    ShellDeleteIcon(owner, 147);  // a restarted shell has forgotten the icon
    StartShellRecording();

    OnTaskbarCreated(owner);
    EXPECT_EQ(1, CountRecorded(NIM_ADD));
    EXPECT_TRUE(ShellHasIcon(owner, 147));

    SetTrayIcon(owner, FALSE);
    StartShellRecording();
    OnTaskbarCreated(owner);
    EXPECT_TRUE(RecordedNotifyCalls().empty()) << "tray off, yet the shell was asked for an icon";
    EXPECT_FALSE(ShellHasIcon(owner, 147));
}

// Mouse messages of the tray callback.

TEST_F(TrayIcon, DoubleClickSendsOpen)
{
    SetTrayIcon(owner, TRUE);
    OnTrayNotify(owner, WM_LBUTTONDBLCLK);

    std::vector<MSG> commands = ReceivedOf(WM_COMMAND);
    ASSERT_EQ(1u, commands.size());
    EXPECT_EQ(static_cast<WPARAM>(IDM_OPEN), commands[0].wParam);
    EXPECT_EQ(0, commands[0].lParam);
}

TEST_F(TrayIcon, ClicksMovesAndReleasesDoNothing)
{
    SetTrayIcon(owner, TRUE);
    for (UINT mouse : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONUP, WM_MOUSEMOVE, WM_MBUTTONDOWN, WM_MBUTTONUP,
                       WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK}) {
        OnTrayNotify(owner, mouse);
        PumpPending();
        EXPECT_TRUE(TestOwner().received.empty()) << "mouse message " << mouse << " had an effect";
        EXPECT_EQ(0, TestOwner().menuIdleCount) << "mouse message " << mouse << " opened a menu";
    }
}

TEST_F(TrayIcon, RightPressOpensTheHeldMenuAtTheCursor)
{
    SetTrayIcon(owner, TRUE);
    SetCursorPos(123, 234);
    POINT cursor{};
    GetCursorPos(&cursor);
    RECT menuRect{};
    TestOwner().onMenuIdle = [&](HWND menu) {
        GetWindowRect(menu, &menuRect);
        EndMenu();
    };

    OnTrayNotify(owner, WM_RBUTTONDOWN);

    EXPECT_EQ(1, TestOwner().menuIdleCount) << "no menu was tracked";
    EXPECT_EQ(cursor.x, menuRect.left);
    EXPECT_EQ(cursor.y, menuRect.top);
    std::vector<MSG> popups = ReceivedOf(WM_INITMENUPOPUP);
    ASSERT_EQ(1u, popups.size());
    EXPECT_EQ(GetSubMenu(g_app.trayMenu, 0), reinterpret_cast<HMENU>(popups[0].wParam));

    // The WM_USER message is posted after the menu closes.
    PumpPending();
    EXPECT_EQ(1u, ReceivedOf(WM_USER).size());
    EXPECT_TRUE(ReceivedOf(WM_COMMAND).empty()) << "a closed menu gave a command";
}

TEST_F(TrayIcon, ItemChosenFromTheMenuReachesTheWindowBeforeTheWmUserPost)
{
    SetTrayIcon(owner, TRUE);
    TestOwner().onMenuIdle = [](HWND menu) { PostMessageA(menu, WM_CHAR, 'a', 1); };

    OnTrayNotify(owner, WM_RBUTTONDOWN);
    PumpPending();

    std::vector<UINT> order;
    for (const MSG& msg : TestOwner().received)
        if (msg.message == WM_COMMAND || msg.message == WM_USER) order.push_back(msg.message);
    ASSERT_EQ((std::vector<UINT>{WM_COMMAND, WM_USER}), order);
    EXPECT_EQ(static_cast<WPARAM>(IDM_ABOUT), ReceivedOf(WM_COMMAND)[0].wParam);
}

TEST_F(TrayIcon, RightPressWithoutAHeldMenuDoesNothing)
{
    OnTrayNotify(owner, WM_RBUTTONDOWN);
    PumpPending();
    EXPECT_EQ(0, TestOwner().menuIdleCount);
    EXPECT_TRUE(TestOwner().received.empty());
}
