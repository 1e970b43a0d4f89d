// The program's dialogs (modal dialogs of the stand-in main window) and panels in this process,
// driven through their messages, with the MCI, tray and font recorders in place.
#include "app/app.h"
#include "dialogs/dialogs.h"
#include "panels/panels.h"
#include "resources/resource.h"
#include "tests/win/win_support.h"

namespace {

void Press(HWND window, int id) { SendMessageA(window, WM_COMMAND, static_cast<WPARAM>(id), 0); }

LRESULT Send(HWND dialog, int id, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return SendDlgItemMessageA(dialog, id, msg, wParam, lParam);
}

std::string Listed(HWND dialog)  // the list box's texts
{
    std::string texts;
    char text[300];
    for (LRESULT i = 0; i < Send(dialog, IDC_LIST, LB_GETCOUNT); ++i)
        texts += std::string(text, Send(dialog, IDC_LIST, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text))) + " ";
    return texts;
}

}  // namespace

// Properties shows the settings and only OK applies them, the icon at once; About closes with OK
// and Esc; the help commands that name the help file, which does not ship, say so.
TEST_F(Program, PropertiesApplyOnlyOnOkAboutClosesAndHelpWithoutItsFileSaysSo)
{
    for (int button : {IDCANCEL, IDOK}) {  // row 16 chosen and the box cleared
        EXPECT_EQ(button == IDOK, RunDialog(MAKEINTRESOURCEA(IDD_PROPERTIES), PropertiesDlgProc, [button](HWND dialog) {
            EXPECT_EQ(110, Send(dialog, IDC_FORMAT, CB_GETCURSEL) + 100 * Send(dialog, IDC_TRAYOPTION, BM_GETCHECK))
                << "row 10 and the box ticked shown, after a Cancel too";
            Send(dialog, IDC_FORMAT, CB_SETCURSEL, 16);
            Send(dialog, IDC_TRAYOPTION, BM_SETCHECK, BST_UNCHECKED);
            PostMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(button), 0);
        }));
    }
    EXPECT_EQ(std::pair(16u, 0u), std::pair(g_app.settings.Wavefmt, g_app.settings.Config & CFG_TRAY));
    ASSERT_EQ(1u, g_rec.shellCalls.size()) << "Cancel asked the shell, or OK with the box cleared did not";
    EXPECT_EQ(static_cast<DWORD>(NIM_DELETE), g_rec.shellCalls[0].first);

    EXPECT_EQ(1, RunDialog("ABOUTBOX", AboutDlgProc, [](HWND d) { PostMessageA(d, WM_COMMAND, IDOK, 0); }));
    EXPECT_EQ(0, RunDialog("ABOUTBOX", AboutDlgProc, [](HWND) { PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1); }));
    for (UINT command : {IDM_HELP_CONTENTS, IDM_HELP_SEARCH, IDM_HELP_FINDER}) RunHelpCommand(Owner(), command);
    EXPECT_EQ(std::vector<std::string>(3, "Unable to activate help|hand"), g_rec.boxes) << "no help file ships";
}

// The list box holds every edit until OK (or a double click) rebuilds the playlist from it, reopens
// the player on the new first entry and moves it to the chosen one, which a playing player plays on
// with; Cancel drops every edit and the loop switch.
TEST_F(Program, EditorsKeepTheirEditsUntilOkWhichRebuildsTheListAndMovesThePlayer)
{
    MediaDevice& midi = g_app.MidiDevice;
    for (const char* text : {"a.mid", "b.mid", "c.mid"}) AppendText(&midi.playlist, text);
    std::vector<std::string> shown;
    EXPECT_EQ(0, RunDialog(MAKEINTRESOURCEA(IDD_MIDIPLAYLIST), MidiPlaylistProc, [&](HWND dialog) {
        shown.push_back(Listed(dialog));
        Send(dialog, IDC_LIST, LB_SELITEMRANGE, TRUE, MAKELPARAM(0, 1));
        for (int answer : {0, IDNO, IDYES}) {
            g_rec.boxAnswer = answer;
            Press(dialog, answer ? IDC_CLEAR : IDC_REMOVE);
            shown.push_back(Listed(dialog));
        }
        Send(dialog, IDC_LOOP, BM_SETCHECK, BST_CHECKED);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
    EXPECT_EQ((std::vector<std::string>{"a.mid b.mid c.mid ", "c.mid ", "c.mid ", ""}), shown)
        << "shown; after Remove of the first two; after Clear answered No; after Yes";
    EXPECT_EQ(std::vector<std::string>(2, "Do you want to clear the playlist?|question"), g_rec.boxes);
    EXPECT_EQ(3, midi.playlist.count + static_cast<int>(midi.flags)) << "Cancel kept neither the edits nor the loop";

    OpenMediaDevice(&midi);
    g_rec.mode = MCI_MODE_PLAY;
    EXPECT_EQ(1, RunDialog(MAKEINTRESOURCEA(IDD_MIDIPLAYLIST), MidiPlaylistProc, [](HWND dialog) {
        Send(dialog, IDC_LIST, LB_SETSEL, TRUE, 0);
        Press(dialog, IDC_REMOVE);
        Send(dialog, IDC_LIST, LB_SETSEL, TRUE, 1);
        Send(dialog, IDC_LOOP, BM_SETCHECK, BST_CHECKED);
        Press(dialog, MAKEWPARAM(IDC_LIST, LBN_DBLCLK));  // a double click is OK
    }));
    EXPECT_EQ(std::tuple(2, 1, true), std::tuple(midi.playlist.count, midi.playlist.current, !!(midi.flags & MDF_LOOP)));
    std::string trace = TakeMci();
    EXPECT_NE(std::string::npos, trace.find("CLOSE#7 OPEN b.mid ")) << trace;
    EXPECT_EQ("OPEN c.mid PLAY#7 ", trace.substr(trace.rfind("OPEN"))) << trace;
}

// A wave file named in Cyrillic, which the Western code page cannot hold, comes back from the Open
// dialog under a name that names the file; a Save As name that overflows the buffer is a failure.
TEST_F(Program, FileDialogsGiveANameOfTheChosenFileOrTheirError)
{
    ASSERT_EQ(1252u, GetACP()) << "the test needs a Western ANSI code page";
    auto typeAndConfirm = [](std::wstring name) {  // into the dialog's name box
        g_rec.script = [name](HWND dialog) {
            SetWindowTextW(GetDlgItem(dialog, 0x47C), name.c_str());
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        };
    };
    wchar_t temp[MAX_PATH] = {};
    std::wstring wave = std::wstring(temp, GetTempPathW(MAX_PATH, temp)) + L"\u0417\u0430\u043f\u0438\u0441\u044c.wav";
    CloseHandle(CreateFileW(wave.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    char chosen[8192] = {};
    typeAndConfirm(wave);
    EXPECT_EQ(0, ChooseFiles(Owner(), "Wave Files\0*.wav\0", chosen, sizeof(chosen), FALSE));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(chosen)) << "the Cyrillic name came back as " << chosen;
    typeAndConfirm(std::wstring(temp) + L"a-name-longer-than-the-buffer.wav");
    EXPECT_EQ(FNERR_BUFFERTOOSMALL, ChooseFiles(Owner(), "Wave Files\0*.wav\0", chosen, 16, TRUE))
        << "a Save As that failed was taken for a cancel";
    DeleteFileW(wave.c_str());
}

// A player whose Config bit is clear at start is never made. An LCD line is drawn only on a whole
// redraw, with a font of its own.
TEST_F(Program, PlayersAreMadeByTheConfigBitsAndDrawTheirLcdLinesInTheirOwnFonts)
{
    g_app.settings.Config = CFG_CD | CFG_SOUND | CFG_BANNER;
    CreatePanels(Owner());
    EXPECT_EQ(nullptr, g_app.MidiPanel) << "MIDI panel made against its bit";
    HDC dc = CreateCompatibleDC(nullptr);
    for (auto [id, action] : {std::pair<UINT, UINT>{IDC_TRACK, ODA_DRAWENTIRE}, {IDC_DISPLAY, ODA_DRAWENTIRE},
                              {IDC_TRACK, ODA_SELECT}}) {
        DRAWITEMSTRUCT item{ODT_BUTTON, id, 0, action, 0, GetDlgItem(g_app.CdPanel, int(id)), dc, {5, 7, 40, 40}, 0};
        SendMessageA(g_app.CdPanel, WM_DRAWITEM, id, reinterpret_cast<LPARAM>(&item));
    }
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
TEST_F(Program, TrayIconIsAddedOnceDeletedAlwaysAndBackAfterAShellRestartOnlyWhenOn)
{
    g_app.settings.Config &= ~CFG_TRAY;  // as start-up leaves it before it switches the icon on
    SetTrayIcon(Owner(), TRUE);
    const NOTIFYICONDATAA& add = g_rec.shellCalls.at(0).second;
    EXPECT_TRUE(add.cbSize == NOTIFYICONDATAA_V1_SIZE && add.uFlags == (NIF_MESSAGE | NIF_ICON | NIF_TIP) &&
                add.uCallbackMessage == TRAY_CALLBACK && add.hIcon && !lstrcmpA(kAppName, add.szTip));

    CreateMainPanel(Owner());
    ShowWindow(Owner(), SW_SHOWNA);
    AppendText(&g_app.MidiDevice.playlist, "a.mid");
    OpenMediaDevice(&g_app.CdDevice);
    OpenMediaDevice(&g_app.MidiDevice);
    TakeMci();
    Press(g_app.MainPanel, IDC_POWER);
    EXPECT_EQ("STOP#7 STOP#7 CLOSE#7 CLOSE#7 ", TakeMci()) << "Power with the icon on";
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

// Stop after Record keeps the recording for review and locks the panel behind the review, whose
// Quit drops it; a record that fails ends the recording with no review. A wave device rests between
// its stop and its close: Wine's wave driver crashed without it. Nothing is sent to the id a failed
// open leaves; the CD never shows MCI's error texts.
TEST_F(Program, RecordingIsReviewedWithThePanelLockedAndFailedDevicesGetNothingMore)
{
    CreateSoundPanel(Owner());
    HWND panel = g_app.SoundPanel;
    for (const char* text : {"a.wav", "b.wav"}) AppendText(&g_app.SoundDevice.playlist, text);
    g_app.SoundDevice.playlist.current = 1;
    Press(panel, IDC_RECORD);
    Press(panel, IDC_STOP);
    ASSERT_TRUE(IsWindow(g_app.RecordReview)) << "no review";
    EXPECT_FALSE(IsWindowEnabled(panel));
    TakeMci();
    Press(g_app.RecordReview, IDC_PLAYSTOP);
    EXPECT_EQ("PLAY#7 ", TakeMci());
    Press(g_app.RecordReview, IDCANCEL);
    EXPECT_EQ("STOP#7 WAIT 100 CLOSE#7 ", TakeMci()) << "the wave device rests between its stop and its close";
    EXPECT_EQ(nullptr, g_app.RecordReview);
    EXPECT_TRUE(IsWindowEnabled(panel));
    char display[64] = {};
    GetDlgItemTextA(panel, IDC_DISPLAY, display, sizeof(display));
    EXPECT_EQ(std::pair(2, std::string("b.wav")), std::pair(g_app.SoundDevice.playlist.count, std::string(display)))
        << "the saved take joins the list and is shown";

    g_rec.openError = MCIERR_DEVICE_NOT_READY;
    EXPECT_EQ(0, OpenMediaDevice(&g_app.CdDevice) + OpenMediaDevice(&g_app.SoundDevice));
    EXPECT_EQ("OPEN OPEN b.wav ", TakeMci());
    ReportMciError(&g_app.CdDevice, MCIERR_HARDWARE);
    EXPECT_EQ(std::vector<std::string>(2, "Device is not available.|hand"), g_rec.boxes) << "the CD's MCI error";
    ReportMciError(&g_app.SoundDevice, MCIERR_FILE_NOT_FOUND);
    EXPECT_EQ(3u, g_rec.boxes.size());
    g_rec.openError = 0;
    g_rec.failing = MCI_RECORD;
    Press(panel, IDC_RECORD);
    EXPECT_EQ(0u, g_app.SoundDevice.flags | g_app.SoundDevice.deviceId) << "a failed record is ended";
}
