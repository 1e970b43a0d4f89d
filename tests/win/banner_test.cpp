// The banner's buttons as commands to the main window, and the hand cursor over the hot spots.
#include <gtest/gtest.h>

#include <vector>

#include "app/app.h"
#include "resources/resource.h"
#include "panels/panels.h"
#include "ui/skin.h"

namespace {

std::vector<UINT> g_commands;

LRESULT CALLBACK RecordingWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    if (msg == WM_COMMAND) {
        g_commands.push_back(LOWORD(wParam));
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// A stand-in main window that records the commands it receives, with the real panels inside.
class BannerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = g_app.settings;
        g_app.instance = GetModuleHandleA(nullptr);
        g_app.colorDepth = 32;
        WNDCLASSA wc{};
        wc.lpfnWndProc = RecordingWndProc;
        wc.hInstance = g_app.instance;
        wc.lpszClassName = "VelutraBannerTestMain";
        RegisterClassA(&wc);
        main_ = CreateWindowExA(0, wc.lpszClassName, "main", WS_POPUP, 40, 40, 401, 366, nullptr,
                                nullptr, g_app.instance, nullptr);
        g_app.mainWindow = main_;
        CreateMainPanel(main_);
        CreateCdPanel(main_);
        g_commands.clear();
    }
    void TearDown() override
    {
        DestroyWindow(main_);
        g_app.MainPanel = g_app.CdPanel = g_app.mainWindow = nullptr;
        g_app.settings = saved_;
        g_app.SoundDevice.flags = 0;
    }
    static std::vector<UINT> Press(int id)
    {
        g_commands.clear();
        SendMessageA(g_app.MainPanel, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
        return g_commands;
    }
    static POINT CentreOf(HWND panel, int id)
    {
        RECT r;
        GetWindowRect(GetDlgItem(panel, id), &r);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    HWND main_ = nullptr;
    AppSettings saved_;
};

TEST_F(BannerTest, ButtonsSendTheirCommandsToTheMainWindow)
{
    ASSERT_NE(nullptr, g_app.MainPanel);
    g_app.settings.Config = CFG_BANNER | CFG_CD;
    EXPECT_EQ(std::vector<UINT>{IDM_CDPLAYER}, Press(IDC_CD));
    EXPECT_EQ(std::vector<UINT>{IDM_MIDIPLAYER}, Press(IDC_MIDI));
    EXPECT_EQ(std::vector<UINT>{IDM_SOUNDPLAYER}, Press(IDC_SOUND));
    EXPECT_EQ(std::vector<UINT>{IDM_MIXER}, Press(IDC_MIXER));
    EXPECT_EQ(std::vector<UINT>{IDM_MINIMIZE}, Press(IDC_MINIMIZE));
    EXPECT_EQ(std::vector<UINT>{IDM_MINIMIZE}, Press(IDC_HIDDEN_X));
    EXPECT_EQ(std::vector<UINT>{IDM_PROPERTIES}, Press(IDC_PROPERTIES));
    EXPECT_EQ(std::vector<UINT>{IDM_ABOUT}, Press(IDC_BANNER));
    EXPECT_EQ(std::vector<UINT>{IDM_EXIT}, Press(IDC_POWER)) << "tray icon off: Power exits";
    EXPECT_TRUE(Press(IDOK).empty());
    EXPECT_TRUE(Press(IDCANCEL).empty());
    EXPECT_TRUE(Press(1234).empty());
}

TEST_F(BannerTest, EnterAndEscapeAreTakenOtherCommandsAreNot)
{
    EXPECT_EQ(TRUE, MainPanelProc(g_app.MainPanel, WM_COMMAND, IDOK, 0));
    EXPECT_EQ(TRUE, MainPanelProc(g_app.MainPanel, WM_COMMAND, IDCANCEL, 0));
    EXPECT_EQ(FALSE, MainPanelProc(g_app.MainPanel, WM_COMMAND, IDC_MIXER, 0));
}

TEST_F(BannerTest, PowerHidesTheWindowWhenTheTrayIconIsOn)
{
    g_app.settings.Config = CFG_BANNER | CFG_TRAY;
    ShowWindow(main_, SW_SHOW);
    ASSERT_TRUE(IsWindowVisible(main_));
    EXPECT_TRUE(Press(IDC_POWER).empty());
    EXPECT_FALSE(IsWindowVisible(main_));
}

TEST_F(BannerTest, HandCursorOverHotSpotsButNotOverTheReadOuts)
{
    HCURSOR hand = LoadCursorA(g_app.instance, MAKEINTRESOURCEA(IDCUR_HAND));
    ASSERT_NE(nullptr, hand);
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));

    POINT play = CentreOf(g_app.CdPanel, IDC_PLAY);
    SetCursorPos(play.x, play.y);
    EXPECT_EQ(1, TrackPointer(g_app.CdPanel));
    EXPECT_EQ(hand, GetCursor());
    EXPECT_EQ(0, TrackPointer(g_app.MainPanel)) << "the pointer is not over the banner";

    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    for (int id : {IDC_TRACK, IDC_DISPLAY}) {
        POINT p = CentreOf(g_app.CdPanel, id);
        SetCursorPos(p.x, p.y);
        EXPECT_EQ(0, TrackPointer(g_app.CdPanel)) << "read-out " << id;
    }
    EXPECT_NE(hand, GetCursor());

    POINT cd = CentreOf(g_app.MainPanel, IDC_CD);
    SetCursorPos(cd.x, cd.y);
    EXPECT_EQ(1, TrackPointer(g_app.MainPanel));
    EXPECT_EQ(0, TrackPointer(main_)) << "not a panel";
    EXPECT_EQ(0, TrackPointer(nullptr));
}

}  // namespace
