// The panels built by the program's own code in this process: stacking, faces and LCD lines, the
// banner's Power, the tray icon's rules, and the MCI order that matters, through the recording seam.
#include <gtest/gtest.h>

#include "app/app.h"
#include "players/sound_panel.h"
#include "resources/resource.h"
#include "tests/win/mci_recorder.h"
#include "tests/win/win_support.h"
#include "ui/layout.h"
#include "ui/panels.h"
#include "ui/skin.h"

namespace {

class Panels : public testing::Test {
protected:
    void SetUp() override { ResetApp(); }
    void TearDown() override { ResetApp(); }
};

void Press(HWND panel, int id)
{
    SendMessageA(panel, WM_COMMAND, static_cast<WPARAM>(id), 0);
}

int ReviewFiles()
{
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((std::string(folder) + "VLR*.tmp").c_str(), &found);
    int count = find == INVALID_HANDLE_VALUE ? 0 : 1;
    while (count && FindNextFileA(find, &found)) ++count;
    if (count) FindClose(find);
    return count;
}

}  // namespace

TEST_F(Panels, PlayersStackByTheConfigBitsAndThePanelsThatExist)
{
    for (std::uint32_t created : {CFG_CD | CFG_MIDI | CFG_SOUND | CFG_BANNER, CFG_CD | CFG_SOUND | CFG_BANNER}) {
        ResetApp();
        g_app.settings.Config = created;
        CreatePanels(Owner());
        EXPECT_EQ(!(created & CFG_MIDI), g_app.MidiPanel == nullptr) << "MIDI panel made against its bit";
        for (std::uint32_t config : {CFG_CD | CFG_MIDI | CFG_SOUND | CFG_BANNER, CFG_SOUND | CFG_BANNER, 0u + CFG_MIDI}) {
            g_app.settings.Config = config;
            LayoutPanels(Owner());
            PanelStack stack = StackPanels(config);
            HWND players[3] = {g_app.CdPanel, g_app.MidiPanel, g_app.SoundPanel};
            for (int i = 0; i < 3; ++i) {
                if (!players[i]) continue;  // its room is kept all the same
                SCOPED_TRACE(testing::Message() << "config " << std::hex << config << " player " << i);
                RECT rect{};
                GetWindowRect(players[i], &rect);
                MapWindowPoints(nullptr, Owner(), reinterpret_cast<POINT*>(&rect), 2);
                EXPECT_EQ(stack.shown[i], (GetWindowLongA(players[i], GWL_STYLE) & WS_VISIBLE) != 0);
                EXPECT_EQ(stack.shown[i] ? stack.top[i] : rect.top, rect.top);
            }
            RECT window{};
            GetWindowRect(Owner(), &window);
            EXPECT_EQ(stack.height, window.bottom - window.top) << "config " << std::hex << config;
        }
    }
}

TEST_F(Panels, FacesAreDrawnAtTheItemsCornerOnlyOnWholeRedrawsAndLcdLinesAskForTheirFonts)
{
    g_app.settings.Config = CFG_CD | CFG_MIDI | CFG_SOUND | CFG_BANNER;
    CreatePanels(Owner());
    BITMAPINFO info{{sizeof(BITMAPINFOHEADER), 64, -64, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    DWORD* pixels = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP surface = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&pixels), nullptr, 0);
    HGDIOBJ previous = SelectObject(dc, surface);
    auto draw = [&](HWND panel, int id, UINT action, UINT state) {
        std::fill(pixels, pixels + 64 * 64, 0xFF00FFu);
        DRAWITEMSTRUCT item{ODT_BUTTON, static_cast<UINT>(id), 0, action, state, GetDlgItem(panel, id), dc, {5, 7, 40, 40}, 0};
        SendMessageA(panel, WM_DRAWITEM, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&item));
        return GetWindowLongPtrA(GetDlgItem(panel, id), GWLP_USERDATA);
    };
    auto painted = [&](int x, int y) { return pixels[y * 64 + x] != 0xFF00FFu; };

    LONG_PTR face = draw(g_app.CdPanel, IDC_PLAY, ODA_DRAWENTIRE, 0);
    ASSERT_NE(0, face) << "no face for Play";
    EXPECT_TRUE(painted(5, 7) && !painted(4, 7) && !painted(5, 6)) << "the face starts at the item's corner";
    EXPECT_EQ(0, draw(g_app.CdPanel, IDC_PLAY, ODA_SELECT, ODS_SELECTED)) << "pressed: the face is redrawn next time";
    EXPECT_TRUE(painted(5, 7));
    draw(g_app.CdPanel, IDC_PLAY, ODA_FOCUS, ODS_FOCUS);
    EXPECT_FALSE(painted(5, 7)) << "a focus change draws nothing";

    // The LCD lines: only whole redraws paint, each with a font made for the paint.
    draw(g_app.MidiPanel, IDC_TRACK, ODA_SELECT, ODS_SELECTED);
    EXPECT_TRUE(g_fonts.empty());
    EXPECT_FALSE(painted(5, 7));
    draw(g_app.MidiPanel, IDC_TRACK, ODA_DRAWENTIRE, 0);
    draw(g_app.MidiPanel, IDC_DISPLAY, ODA_DRAWENTIRE, 0);
    ASSERT_EQ(2u, g_fonts.size());
    EXPECT_EQ(18, g_fonts[0].lfHeight) << "Track";
    EXPECT_EQ(FIXED_PITCH | FF_MODERN, g_fonts[0].lfPitchAndFamily) << "Track";
    EXPECT_STREQ("lcdd", g_fonts[0].lfFaceName) << "Track";
    EXPECT_EQ(-11, g_fonts[1].lfHeight) << "Display";
    EXPECT_EQ(FW_NORMAL, g_fonts[1].lfWeight) << "Display";
    EXPECT_STREQ("", g_fonts[1].lfFaceName) << "Display";
    for (const LOGFONTA& font : g_fonts) EXPECT_EQ(DEFAULT_CHARSET, font.lfCharSet) << "every script's glyphs";
    EXPECT_TRUE(painted(5, 7));
    SelectObject(dc, previous);
    DeleteObject(surface);
    DeleteDC(dc);
}

// With the tray icon on, Power stops and closes every player and hides the window; without it, it
// is Exit; while a recording is made it is refused.
TEST_F(Panels, PowerHidesToTheTrayWithThePlayersClosedExitsOrIsRefused)
{
    g_app.settings.Config |= CFG_BANNER | CFG_TRAY;
    CreatePanels(Owner());
    ShowWindow(Owner(), SW_SHOWNA);
    Fill(&g_app.MidiDevice, {"a.mid"});
    OpenMediaDevice(&g_app.CdDevice);
    OpenMediaDevice(&g_app.MidiDevice);
    TakeMci();
    Press(g_app.MainPanel, IDC_POWER);
    EXPECT_EQ("STOP#7 STOP#7 CLOSE#7 CLOSE#7", TakeMci());
    EXPECT_EQ(0u, g_app.CdDevice.deviceId + g_app.MidiDevice.deviceId);
    EXPECT_FALSE(IsWindowVisible(Owner()));
    EXPECT_TRUE(g_commands.empty());

    g_app.SoundDevice.flags |= MDF_NEWRECORDING;
    Press(g_app.MainPanel, IDC_POWER);
    char busy[256] = {};
    LoadStringA(g_app.instance, IDS_RECORDING_BUSY, busy, sizeof(busy));
    EXPECT_EQ(std::vector<std::string>{std::string(busy) + "|exclamation"}, TakeBoxes());
    g_app.SoundDevice.flags = 0;
    g_app.settings.Config &= ~CFG_TRAY;
    Press(g_app.MainPanel, IDC_POWER);
    EXPECT_EQ(std::vector<UINT>{IDM_EXIT}, g_commands);
}

TEST_F(Panels, TrayIconIsAddedOnceDeletedAlwaysAndBackAfterAShellRestartOnlyWhenOn)
{
    g_app.settings.Config &= ~CFG_TRAY;  // as start-up leaves it before it switches the icon on
    SetTrayIcon(Owner(), TRUE);
    SetTrayIcon(Owner(), TRUE);
    ASSERT_EQ(1u, g_shellCalls.size()) << "on while on adds no second icon";
    const NOTIFYICONDATAA& add = g_shellCalls[0].record;
    EXPECT_EQ(static_cast<DWORD>(NIM_ADD), g_shellCalls[0].operation);
    EXPECT_EQ(static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE), add.cbSize) << "the record the oldest shells take";
    EXPECT_EQ(Owner(), add.hWnd);
    EXPECT_EQ(kTrayIconId, add.uID);
    EXPECT_EQ(static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP), add.uFlags);
    EXPECT_EQ(TRAY_CALLBACK, add.uCallbackMessage);
    EXPECT_TRUE(add.hIcon);
    EXPECT_STREQ(kAppName, add.szTip);
    EXPECT_EQ(3, GetMenuItemCount(GetSubMenu(g_app.trayMenu, 0))) << "the held menu";

    OnTrayNotify(Owner(), WM_LBUTTONDBLCLK);
    for (UINT mouse : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONUP, WM_MOUSEMOVE}) OnTrayNotify(Owner(), mouse);
    EXPECT_EQ(std::vector<UINT>{IDM_OPEN}, g_commands) << "only a double click opens";

    OnTaskbarCreated(Owner());
    SetTrayIcon(Owner(), FALSE);
    SetTrayIcon(Owner(), FALSE);
    OnTaskbarCreated(Owner());
    ASSERT_EQ(4u, g_shellCalls.size());
    EXPECT_EQ(static_cast<DWORD>(NIM_ADD), g_shellCalls[1].operation) << "a restarted shell gets the icon back";
    EXPECT_EQ(static_cast<DWORD>(NIM_DELETE), g_shellCalls[2].operation);
    EXPECT_EQ(static_cast<DWORD>(NIM_DELETE), g_shellCalls[3].operation) << "off asks the shell even with no icon";
    EXPECT_EQ(Owner(), g_shellCalls[2].record.hWnd);
    EXPECT_EQ(kTrayIconId, g_shellCalls[2].record.uID);
    EXPECT_FALSE(g_app.settings.Config & CFG_TRAY);
    EXPECT_EQ(nullptr, g_app.trayMenu) << "the menu is released with the icon";
    OnTrayNotify(Owner(), WM_RBUTTONDOWN);  // no held menu: nothing

    // A refused add still counts as on, so nothing adds the icon twice.
    g_shellAnswer = FALSE;
    SetTrayIcon(Owner(), TRUE);
    SetTrayIcon(Owner(), TRUE);
    EXPECT_EQ(5u, g_shellCalls.size());
    EXPECT_TRUE(g_app.settings.Config & CFG_TRAY);
}

// A wave device rests between its stop and its close (Wine's wave driver crashed without it);
// nothing is sent to the id a failed open leaves; the CD never shows MCI's error texts.
TEST_F(Panels, MciOrderThatMatters)
{
    Fill(&g_app.SoundDevice, {"a.wav"});
    OpenMediaDevice(&g_app.SoundDevice);
    SetPlayState(MCI_DEVTYPE_WAVEFORM_AUDIO, PLAYSTATE_PLAYING);
    TakeMci();
    CloseMediaDevice(&g_app.SoundDevice);
    EXPECT_EQ("STOP#7 WAIT 100 CLOSE#7", TakeMci());

    g_script.openError = MCIERR_DEVICE_NOT_READY;
    for (MediaDevice* device : {&g_app.CdDevice, &g_app.SoundDevice}) {
        EXPECT_EQ(0, OpenMediaDevice(device));
        EXPECT_EQ(0u, device->deviceId);
    }
    EXPECT_EQ("OPEN OPEN a.wav", TakeMci());
    char unavailable[256] = {};
    LoadStringA(g_app.instance, IDS_DEVICE_UNAVAILABLE, unavailable, sizeof(unavailable));
    EXPECT_EQ(std::vector<std::string>(2, std::string(unavailable) + "|hand"), TakeBoxes());

    ReportMciError(&g_app.CdDevice, MCIERR_HARDWARE);
    EXPECT_TRUE(TakeBoxes().empty()) << "the CD showed an MCI error";
    ReportMciError(&g_app.SoundDevice, MCIERR_FILE_NOT_FOUND);
    EXPECT_EQ(1u, TakeBoxes().size());
}

// Stop after Record keeps the recording in a review file and locks the panel behind the review,
// whose Quit drops both; a record that fails ends the recording with no review.
TEST_F(Panels, RecordingIsReviewedWithThePanelLockedAndQuitDropsIt)
{
    CreateSoundPanel(Owner());
    HWND panel = g_app.SoundPanel;
    Fill(&g_app.SoundDevice, {"a.wav", "b.wav"});
    g_app.SoundDevice.playlist.current = 1;
    Press(panel, IDC_RECORD);
    Press(panel, IDC_STOP);
    ASSERT_TRUE(IsWindow(g_app.RecordReview)) << "no review";
    EXPECT_EQ(g_app.mainWindow, GetWindow(g_app.RecordReview, GW_OWNER));
    EXPECT_FALSE(IsWindowEnabled(panel));
    EXPECT_EQ(1, ReviewFiles());
    TakeMci();
    SendMessageA(g_app.RecordReview, WM_COMMAND, IDC_PLAYSTOP, 0);
    EXPECT_EQ("PLAY#7", TakeMci());
    SendMessageA(g_app.RecordReview, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(nullptr, g_app.RecordReview);
    EXPECT_TRUE(IsWindowEnabled(panel));
    EXPECT_EQ(0, ReviewFiles()) << "the review file is left behind";
    EXPECT_EQ(0u, g_app.SoundDevice.flags | g_app.SoundDevice.deviceId);
    EXPECT_EQ("a.wav b.wav", Entries(g_app.SoundDevice));
    EXPECT_EQ("b.wav", TextOf(GetDlgItem(panel, IDC_DISPLAY)));

    g_script.failing = MCI_RECORD;
    Press(panel, IDC_RECORD);
    EXPECT_EQ(0u, g_app.SoundDevice.flags | g_app.SoundDevice.deviceId) << "a failed record";
    Press(panel, IDC_STOP);
    EXPECT_EQ(nullptr, g_app.RecordReview);
}
