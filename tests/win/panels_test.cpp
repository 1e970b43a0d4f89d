// The panels built by the program's own code in this process: placement by handle, stacking by the
// Config bits (also the cases a user cannot reach), and the message box of the string table.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/app.h"
#include "resources/resource.h"
#include "panels/panels.h"

namespace {

RECT RectIn(HWND window, HWND reference)
{
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, reference, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

INT_PTR CALLBACK QuietDlgProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

class Panels : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_app = AppState{};
        g_app.instance = GetModuleHandleA(nullptr);
        lstrcpynA(g_app.className, "Velutra", sizeof(g_app.className));
        mainWindow = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_BORDER, 100, 100, 0, 0, nullptr, nullptr,
                                     nullptr, nullptr);
        ASSERT_NE(nullptr, mainWindow);
        g_app.mainWindow = mainWindow;
    }
    void TearDown() override
    {
        DestroyWindow(mainWindow);
        g_app = AppState{};
    }

    int Height() const
    {
        RECT r{};
        GetWindowRect(mainWindow, &r);
        return r.bottom - r.top;
    }

    HWND mainWindow = nullptr;
};

TEST_F(Panels, CreatedPanelsRecordTheirHandlesAndPlaceControls)
{
    ASSERT_EQ(1, CreatePanels(mainWindow));
    HWND panels[] = {g_app.MainPanel, g_app.CdPanel, g_app.MidiPanel, g_app.SoundPanel};
    for (HWND panel : panels) {
        ASSERT_NE(nullptr, panel);
        EXPECT_EQ(mainWindow, GetParent(panel));
        EXPECT_TRUE(GetWindowLongPtrA(panel, GWL_STYLE) & WS_VISIBLE) << "each panel shows itself";
    }
    EXPECT_EQ(72, RectIn(g_app.CdPanel, mainWindow).top);
    EXPECT_EQ(170, RectIn(g_app.MidiPanel, mainWindow).top);
    EXPECT_EQ(268, RectIn(g_app.SoundPanel, mainWindow).top);
    RECT play = RectIn(GetDlgItem(g_app.MidiPanel, IDC_PLAY), g_app.MidiPanel);
    EXPECT_EQ(288, play.left);
    EXPECT_EQ(67, play.top);
    EXPECT_EQ(60, play.right - play.left);
    EXPECT_EQ(21, play.bottom - play.top);
}

TEST_F(Panels, PlacingAnUnknownWindowOnlyMovesIt)
{
    HWND stranger = CreateDialogParamA(g_app.instance, MAKEINTRESOURCEA(IDD_CDPANEL), mainWindow, QuietDlgProc, 0);
    ASSERT_NE(nullptr, stranger);
    RECT before = RectIn(GetDlgItem(stranger, IDC_PLAY), stranger);
    EXPECT_EQ(0, PlacePanelControls(stranger, 5, 6, 402, 98));
    RECT placed = RectIn(stranger, mainWindow);
    EXPECT_EQ(5, placed.left);
    EXPECT_EQ(6, placed.top);
    EXPECT_EQ(401, placed.right - placed.left);
    EXPECT_EQ(98, placed.bottom - placed.top);
    RECT after = RectIn(GetDlgItem(stranger, IDC_PLAY), stranger);
    EXPECT_TRUE(EqualRect(&before, &after)) << "a control of a window in no slot was moved";
}

TEST_F(Panels, LayoutStacksByConfigBits)
{
    CreatePanels(mainWindow);
    g_app.settings.Config = CFG_BANNER | CFG_CD | CFG_SOUND;
    EXPECT_EQ(0, LayoutPanels(mainWindow));
    EXPECT_EQ(268, Height());
    EXPECT_EQ(268, g_app.mainHeight);
    EXPECT_EQ(401, g_app.mainWidth);
    EXPECT_EQ(72, RectIn(g_app.CdPanel, mainWindow).top);
    EXPECT_EQ(170, RectIn(g_app.SoundPanel, mainWindow).top);
    EXPECT_FALSE(IsWindowVisible(g_app.MidiPanel));
    EXPECT_EQ(0, RectIn(g_app.MainPanel, mainWindow).top) << "the banner never moves";
}

TEST_F(Panels, LayoutWithoutBannerBitStartsAtTheTop)
{
    CreatePanels(mainWindow);
    g_app.settings.Config = CFG_MIDI | CFG_SOUND;
    LayoutPanels(mainWindow);
    EXPECT_EQ(196, Height());
    EXPECT_EQ(0, RectIn(g_app.MidiPanel, mainWindow).top);
    EXPECT_EQ(98, RectIn(g_app.SoundPanel, mainWindow).top);
}

TEST_F(Panels, LayoutKeepsRoomForAPanelThatWasNotCreated)
{
    g_app.settings.Config = CFG_BANNER | CFG_CD | CFG_SOUND;
    CreatePanels(mainWindow);
    ASSERT_EQ(nullptr, g_app.MidiPanel);
    g_app.settings.Config |= CFG_MIDI;
    LayoutPanels(mainWindow);
    EXPECT_EQ(366, Height());
    EXPECT_EQ(268, RectIn(g_app.SoundPanel, mainWindow).top);
}

struct BoxSeen {
    char text[256];
    bool found;
};

DWORD WINAPI AnswerBox(LPVOID data)
{
    auto seen = static_cast<BoxSeen*>(data);
    for (int i = 0; i < 1000 && !seen->found; ++i) {
        HWND box = FindWindowA("#32770", "Velutra");
        DWORD pid = 0;
        if (box) GetWindowThreadProcessId(box, &pid);
        if (box && pid == GetCurrentProcessId()) {
            GetWindowTextA(GetDlgItem(box, 0xFFFF), seen->text, sizeof(seen->text));
            seen->found = true;
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
        Sleep(20);
    }
    return 0;
}

TEST_F(Panels, ResourceMessageIsCaptionedVelutra)
{
    BoxSeen seen{};
    HANDLE thread = CreateThread(nullptr, 0, AnswerBox, &seen, 0, nullptr);
    ASSERT_NE(nullptr, thread);
    EXPECT_EQ(IDOK, ShowResourceMessage(IDS_NO_CD, MB_ICONASTERISK));
    WaitForSingleObject(thread, 30000);
    CloseHandle(thread);
    EXPECT_TRUE(seen.found) << "no message box captioned Velutra";
    EXPECT_STREQ("There is no CD-ROM in the player.", seen.text);
}

}  // namespace
