// The panels built by the program's own code in this process: stacking, faces and LCD lines, the
// tray icon's rules and Power, the record review, and the MCI order that matters.
#include "app/app.h"
#include "resources/resource.h"
#include "tests/win/win_support.h"
#include "ui/layout.h"
#include "ui/panels.h"

namespace {

using Panels = WinTest;

void Press(HWND window, int id)
{
    SendMessageA(window, WM_COMMAND, static_cast<WPARAM>(id), 0);
}

bool ReviewFileExists()
{
    char folder[MAX_PATH] = {};
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((std::string(folder, GetTempPathA(MAX_PATH, folder)) + "VLR*.tmp").c_str(), &found);
    return find != INVALID_HANDLE_VALUE && FindClose(find);
}

}  // namespace

// Each player shows at its place in the stack or hides, by the Config bits; a panel never made (its
// bit was clear at start) keeps its room.
TEST_F(Panels, PlayersStackByTheConfigBitsAndKeepTheRoomOfAPanelNeverMade)
{
    g_app.settings.Config = CFG_CD | CFG_SOUND | CFG_BANNER;
    CreatePanels(Owner());
    EXPECT_EQ(nullptr, g_app.MidiPanel) << "MIDI panel made against its bit";
    for (std::uint32_t config : {CFG_CD | CFG_MIDI | CFG_SOUND | CFG_BANNER, CFG_SOUND | CFG_BANNER, 0u + CFG_CD}) {
        g_app.settings.Config = config;
        LayoutPanels(Owner());
        PanelStack stack = StackPanels(config);
        RECT rect{};
        for (int i : {0, 2}) {
            HWND panel = i ? g_app.SoundPanel : g_app.CdPanel;
            GetWindowRect(panel, &rect);
            MapWindowPoints(nullptr, Owner(), reinterpret_cast<POINT*>(&rect), 2);
            bool shown = GetWindowLongA(panel, GWL_STYLE) & WS_VISIBLE;
            EXPECT_EQ(stack.shown[i] ? stack.top[i] : -1, shown ? rect.top : -1) << config << " player " << i;
        }
        GetWindowRect(Owner(), &rect);
        EXPECT_EQ(stack.height, rect.bottom - rect.top) << "config " << config;
    }
}

TEST_F(Panels, FacesAreDrawnAtTheItemsCornerOnlyOnWholeRedrawsAndLcdLinesAskForTheirFonts)
{
    g_app.settings.Config = CFG_CD | CFG_MIDI;
    CreatePanels(Owner());
    BITMAPINFO info{{sizeof(BITMAPINFOHEADER), 64, -64, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    DWORD* pixels = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP surface = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&pixels), nullptr, 0);
    HGDIOBJ previous = SelectObject(dc, surface);
    auto draw = [&](HWND panel, UINT id, UINT action, UINT state) {  // whether it drew from (5, 7) on
        std::fill(pixels, pixels + 64 * 64, 0xFF00FFu);
        DRAWITEMSTRUCT item{ODT_BUTTON, id, 0, action, state, GetDlgItem(panel, static_cast<int>(id)), dc,
                            {5, 7, 40, 40}, 0};
        SendMessageA(panel, WM_DRAWITEM, id, reinterpret_cast<LPARAM>(&item));
        return pixels[7 * 64 + 5] != 0xFF00FFu && pixels[7 * 64 + 4] == 0xFF00FFu && pixels[6 * 64 + 5] == 0xFF00FFu;
    };
    EXPECT_TRUE(draw(g_app.CdPanel, IDC_PLAY, ODA_DRAWENTIRE, 0));
    EXPECT_TRUE(draw(g_app.CdPanel, IDC_PLAY, ODA_SELECT, ODS_SELECTED)) << "pressed";
    EXPECT_FALSE(draw(g_app.CdPanel, IDC_PLAY, ODA_FOCUS, ODS_FOCUS)) << "a focus change";
    EXPECT_FALSE(draw(g_app.MidiPanel, IDC_TRACK, ODA_SELECT, ODS_SELECTED)) << "an LCD line on a press";
    EXPECT_TRUE(draw(g_app.MidiPanel, IDC_TRACK, ODA_DRAWENTIRE, 0));
    EXPECT_TRUE(draw(g_app.MidiPanel, IDC_DISPLAY, ODA_DRAWENTIRE, 0));
    DeleteObject(SelectObject(dc, previous));
    DeleteDC(dc);
    // Height, weight, pitch and family, character set (1: the default, for every script) and face.
    std::vector<std::string> fonts;
    for (const LOGFONTA& font : g_rec.fonts)
        fonts.push_back(std::to_string(font.lfHeight) + " " + std::to_string(font.lfWeight) + " " +
                        std::to_string(font.lfPitchAndFamily) + " " + std::to_string(font.lfCharSet) + " " +
                        font.lfFaceName);
    EXPECT_EQ((std::vector<std::string>{"18 0 49 1 lcdd", "-11 400 0 1 "}), fonts)
        << "Track: 18 pixels, fixed pitch, modern; Display: 11 points, normal weight";
}

// The icon is added once in the record the oldest shells take, deleted whenever asked, and back after
// a shell restart only when on. With the icon on, Power stops and closes every player and hides.
TEST_F(Panels, TrayIconIsAddedOnceDeletedAlwaysAndBackAfterAShellRestartOnlyWhenOn)
{
    g_app.settings.Config &= ~CFG_TRAY;  // as start-up leaves it before it switches the icon on
    SetTrayIcon(Owner(), TRUE);
    const NOTIFYICONDATAA& add = g_rec.shellCalls.at(0).second;
    EXPECT_EQ(static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE), add.cbSize);
    EXPECT_EQ(static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP), add.uFlags);
    EXPECT_EQ(TRAY_CALLBACK, add.uCallbackMessage);
    EXPECT_TRUE(add.hIcon && !lstrcmpA(kAppName, add.szTip));
    EXPECT_EQ(3, GetMenuItemCount(GetSubMenu(g_app.trayMenu, 0))) << "the held menu";

    CreateMainPanel(Owner());
    ShowWindow(Owner(), SW_SHOWNA);
    Fill(&g_app.MidiDevice, {"a.mid"});
    OpenMediaDevice(&g_app.CdDevice);
    OpenMediaDevice(&g_app.MidiDevice);
    TakeMci();
    Press(g_app.MainPanel, IDC_POWER);
    EXPECT_EQ("STOP#7 STOP#7 CLOSE#7 CLOSE#7", TakeMci());
    EXPECT_FALSE(IsWindowVisible(Owner())) << "Power";

    SetTrayIcon(Owner(), TRUE);
    OnTaskbarCreated(Owner());
    SetTrayIcon(Owner(), FALSE);
    SetTrayIcon(Owner(), FALSE);
    OnTaskbarCreated(Owner());
    OnTrayNotify(Owner(), WM_RBUTTONDOWN);  // no held menu: nothing
    EXPECT_EQ(nullptr, g_app.trayMenu) << "the menu is released with the icon";
    g_rec.shellAnswer = FALSE;
    SetTrayIcon(Owner(), TRUE);
    SetTrayIcon(Owner(), TRUE);
    std::vector<DWORD> calls;
    for (const auto& [operation, record] : g_rec.shellCalls)
        calls.push_back(record.hWnd == Owner() && record.uID == kTrayIconId ? operation : 99);
    EXPECT_EQ((std::vector<DWORD>{NIM_ADD, NIM_ADD, NIM_DELETE, NIM_DELETE, NIM_ADD}), calls)
        << "on while on adds nothing; a restarted shell gets the icon back; off deletes even with none shown; "
           "a refused add still counts as on";
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
    EXPECT_EQ(Owner(), GetWindow(g_app.RecordReview, GW_OWNER));
    EXPECT_FALSE(IsWindowEnabled(panel));
    EXPECT_TRUE(ReviewFileExists());
    TakeMci();
    Press(g_app.RecordReview, IDC_PLAYSTOP);
    EXPECT_EQ("PLAY#7", TakeMci());
    Press(g_app.RecordReview, IDCANCEL);
    EXPECT_EQ(nullptr, g_app.RecordReview);
    EXPECT_TRUE(IsWindowEnabled(panel));
    EXPECT_FALSE(ReviewFileExists());
    EXPECT_EQ("a.wav b.wav: b.wav", Entries(g_app.SoundDevice) + ": " + Text(GetDlgItem(panel, IDC_DISPLAY)));
    g_rec.failing = MCI_RECORD;
    Press(panel, IDC_RECORD);
    EXPECT_EQ(0u, g_app.SoundDevice.flags | g_app.SoundDevice.deviceId) << "a failed record is ended";
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
    g_rec.openError = MCIERR_DEVICE_NOT_READY;
    EXPECT_EQ(0, OpenMediaDevice(&g_app.CdDevice) + OpenMediaDevice(&g_app.SoundDevice));
    EXPECT_EQ("OPEN OPEN a.wav", TakeMci());
    ReportMciError(&g_app.CdDevice, MCIERR_HARDWARE);
    EXPECT_EQ(std::vector<std::string>(2, "Device is not available.|hand"), g_rec.boxes) << "the CD's MCI error";
    ReportMciError(&g_app.SoundDevice, MCIERR_FILE_NOT_FOUND);
    EXPECT_EQ(3u, g_rec.boxes.size());
}
