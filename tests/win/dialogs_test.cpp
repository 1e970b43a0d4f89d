// The program's dialogs run by their own procedures and driven through their controls: Properties,
// About and the playlist editors, each a modal dialog of the stand-in main window.
#include <gtest/gtest.h>

#include "app/app.h"
#include "dialogs/dialogs.h"
#include "dialogs/record_formats.h"
#include "players/playlist_editors.h"
#include "resources/resource.h"
#include "tests/win/mci_recorder.h"
#include "tests/win/win_support.h"

namespace {

class Dialogs : public testing::Test {
protected:
    void SetUp() override { ResetApp(); }
    void TearDown() override { ResetApp(); }
};

LRESULT Send(HWND dialog, int id, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return SendDlgItemMessageA(dialog, id, msg, wParam, lParam);
}

void Command(HWND dialog, int id)
{
    SendMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(id), 0);
}

void Close(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(id), 0);
}

std::string Listed(HWND dialog)
{
    std::string texts;
    for (LRESULT i = 0; i < Send(dialog, IDC_LIST, LB_GETCOUNT); ++i) {
        char text[300] = {};
        Send(dialog, IDC_LIST, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        texts += (texts.empty() ? "" : " ") + std::string(text);
    }
    return texts + (Send(dialog, IDC_LOOP, BM_GETCHECK) == BST_CHECKED ? " +loop" : "");
}

}  // namespace

TEST_F(Dialogs, PropertiesShowTheSettingsAndOnlyOkAppliesThemTheIconAtOnce)
{
    SetTrayIcon(Owner(), TRUE);
    g_shellCalls.clear();
    LRESULT rows = 0, row = 0, ticked = 0;
    char text[kRecordFormatTextSize] = {}, want[kRecordFormatTextSize] = {};
    EXPECT_EQ(0, RunDialog(MAKEINTRESOURCEA(IDD_PROPERTIES), PropertiesDlgProc, [&](HWND dialog) {
        rows = Send(dialog, IDC_FORMAT, CB_GETCOUNT);
        row = Send(dialog, IDC_FORMAT, CB_GETCURSEL);
        Send(dialog, IDC_FORMAT, CB_GETLBTEXT, 10, reinterpret_cast<LPARAM>(text));
        ticked = Send(dialog, IDC_TRAYOPTION, BM_GETCHECK);
        Send(dialog, IDC_FORMAT, CB_SETCURSEL, 16);
        Send(dialog, IDC_TRAYOPTION, BM_SETCHECK, BST_UNCHECKED);
        Close(dialog, IDCANCEL);
    }));
    FormatRecordFormatText(RecordFormatTable[10], want, sizeof(want));
    EXPECT_EQ(static_cast<LRESULT>(RecordFormatTable.size()), rows);
    EXPECT_EQ(10, row) << "the default row";
    EXPECT_STREQ(want, text) << "the rows are in the table's order";
    EXPECT_EQ(BST_CHECKED, ticked);
    EXPECT_EQ(10u, g_app.settings.Wavefmt) << "Cancel";
    EXPECT_TRUE(g_shellCalls.empty()) << "Cancel touched the icon";

    EXPECT_EQ(1, RunDialog(MAKEINTRESOURCEA(IDD_PROPERTIES), PropertiesDlgProc, [](HWND d) { Close(d, IDOK); }));
    EXPECT_TRUE(g_shellCalls.empty()) << "OK with the box still ticked asked the shell again";

    EXPECT_EQ(1, RunDialog(MAKEINTRESOURCEA(IDD_PROPERTIES), PropertiesDlgProc, [](HWND dialog) {
        Send(dialog, IDC_FORMAT, CB_SETCURSEL, 16);
        Send(dialog, IDC_TRAYOPTION, BM_SETCHECK, BST_UNCHECKED);
        Close(dialog, IDOK);
    }));
    EXPECT_EQ(16u, g_app.settings.Wavefmt);
    EXPECT_FALSE(g_app.settings.Config & CFG_TRAY);
    ASSERT_EQ(1u, g_shellCalls.size());
    EXPECT_EQ(static_cast<DWORD>(NIM_DELETE), g_shellCalls[0].operation) << "OK with the box cleared";

    // Only a hand-edited registry gives a row the table lacks: nothing is selected and OK keeps it.
    g_app.settings.Wavefmt = 17;
    EXPECT_EQ(1, RunDialog(MAKEINTRESOURCEA(IDD_PROPERTIES), PropertiesDlgProc, [&](HWND dialog) {
        row = Send(dialog, IDC_FORMAT, CB_GETCURSEL);
        Send(dialog, IDC_TRAYOPTION, BM_SETCHECK, BST_CHECKED);
        Close(dialog, IDOK);
    }));
    EXPECT_EQ(CB_ERR, row);
    EXPECT_EQ(17u, g_app.settings.Wavefmt);
    ASSERT_EQ(2u, g_shellCalls.size());
    EXPECT_EQ(static_cast<DWORD>(NIM_ADD), g_shellCalls[1].operation) << "OK with the box ticked again";
}

TEST_F(Dialogs, AboutShowsTheIconAndOkEscAndTheCloseBoxCloseItAndHelpWithoutItsFileSaysSo)
{
    HICON icon = nullptr;
    EXPECT_EQ(1, RunDialog("ABOUTBOX", AboutDlgProc, [&](HWND dialog) {
        for (HWND child = GetWindow(dialog, GW_CHILD); child && !icon; child = GetWindow(child, GW_HWNDNEXT))
            icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        Close(dialog, IDOK);
    }));
    EXPECT_TRUE(icon) << "no program icon";
    EXPECT_EQ(0, RunDialog("ABOUTBOX", AboutDlgProc, [](HWND d) { PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }));
    EXPECT_EQ(0, RunDialog("ABOUTBOX", AboutDlgProc, [](HWND) {
        PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
        PostMessageA(GetFocus(), WM_KEYUP, VK_ESCAPE, 0xC0000001);
    }));
    for (UINT command : {IDM_HELP_CONTENTS, IDM_HELP_SEARCH, IDM_HELP_FINDER}) RunHelpCommand(Owner(), command);
    EXPECT_EQ(std::vector<std::string>(3, "Unable to activate help|hand"), TakeBoxes());
}

// The list box holds every edit until OK rebuilds the playlist from it.
TEST_F(Dialogs, EditorsKeepTheirEditsUntilOkWhichRebuildsTheListAndMovesThePlayer)
{
    MediaDevice& midi = g_app.MidiDevice;
    Fill(&midi, {"a.mid", "b.mid", "c.mid"});
    std::string shown, removed, kept, cleared;
    EXPECT_EQ(0, RunDialog(MAKEINTRESOURCEA(IDD_MIDIPLAYLIST), MidiPlaylistProc, [&](HWND dialog) {
        shown = Listed(dialog);
        Send(dialog, IDC_LIST, LB_SELITEMRANGE, TRUE, MAKELPARAM(0, 1));
        Command(dialog, IDC_REMOVE);
        removed = Listed(dialog);
        g_boxAnswer = IDNO;
        Command(dialog, IDC_CLEAR);
        kept = Listed(dialog);
        g_boxAnswer = IDYES;
        Command(dialog, IDC_CLEAR);
        cleared = Listed(dialog);
        Send(dialog, IDC_LOOP, BM_SETCHECK, BST_CHECKED);
        Close(dialog, IDCANCEL);
    }));
    EXPECT_EQ("a.mid b.mid c.mid", shown);
    EXPECT_EQ("c.mid", removed) << "Remove deletes exactly the selected items";
    EXPECT_EQ("c.mid", kept) << "Clear answered No";
    EXPECT_EQ("", cleared) << "Clear answered Yes";
    EXPECT_EQ(std::vector<std::string>(2, "Do you want to clear the playlist?|question"), TakeBoxes());
    EXPECT_EQ("a.mid b.mid c.mid", Entries(midi)) << "Cancel";
    EXPECT_EQ(0u, midi.flags) << "Cancel";

    // Without an edit OK only moves to the chosen entry, and the loop switch takes effect.
    EXPECT_EQ(1, RunDialog(MAKEINTRESOURCEA(IDD_MIDIPLAYLIST), MidiPlaylistProc, [](HWND dialog) {
        Send(dialog, IDC_LIST, LB_SETSEL, TRUE, 2);
        Send(dialog, IDC_LOOP, BM_SETCHECK, BST_CHECKED);
        Close(dialog, IDOK);
    }));
    EXPECT_EQ(2, midi.playlist.current);
    EXPECT_EQ(static_cast<DWORD>(MDF_LOOP), midi.flags);
    EXPECT_EQ("", TakeMci()) << "a closed player stays closed";

    // After an edit the player reopens on the first entry; a playing one plays on with the chosen entry.
    OpenMediaDevice(&midi);
    g_script.mode = MCI_MODE_PLAY;
    TakeMci();
    EXPECT_EQ(1, RunDialog(MAKEINTRESOURCEA(IDD_MIDIPLAYLIST), MidiPlaylistProc, [](HWND dialog) {
        Send(dialog, IDC_LIST, LB_SETSEL, TRUE, 0);
        Command(dialog, IDC_REMOVE);
        Send(dialog, IDC_LIST, LB_SETSEL, TRUE, 1);
        Send(dialog, IDC_LOOP, BM_SETCHECK, BST_UNCHECKED);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_LIST, LBN_DBLCLK), 0);  // a double click is OK
    }));
    EXPECT_EQ("b.mid c.mid", Entries(midi));
    EXPECT_EQ(1, midi.playlist.current);
    EXPECT_EQ(0u, midi.flags & MDF_LOOP);
    std::string trace = TakeMci();
    EXPECT_NE(std::string::npos, trace.find("OPEN b.mid")) << trace;
    EXPECT_EQ("OPEN c.mid PLAY#7", trace.substr(trace.rfind("OPEN"))) << trace;

    // The CD editor edits nothing: it only picks a track.
    Fill(&g_app.CdDevice, {"Track 1", "Track 2"});
    EXPECT_EQ(1, RunDialog(MAKEINTRESOURCEA(IDD_CDPLAYLIST), CdPlaylistProc, [&](HWND dialog) {
        Send(dialog, IDC_LIST, LB_SETSEL, TRUE, 1);
        Command(dialog, IDC_REMOVE);
        Command(dialog, IDC_CLEAR);
        shown = Listed(dialog);
        Close(dialog, IDOK);
    }));
    EXPECT_EQ("Track 1 Track 2", shown);
    EXPECT_EQ(1, g_app.CdDevice.playlist.current);
}
