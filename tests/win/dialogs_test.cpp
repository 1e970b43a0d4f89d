// Properties, About and the playlist editors, each run as a modal dialog of the stand-in main
// window by its own procedure and driven through its controls.
#include "app/app.h"
#include "dialogs/dialogs.h"
#include "players/playlist_editors.h"
#include "resources/resource.h"
#include "tests/win/win_support.h"

namespace {

using Dialogs = WinTest;

LRESULT Send(HWND dialog, int id, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return SendDlgItemMessageA(dialog, id, msg, wParam, lParam);
}

void Post(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(id), 0);
}

// The list box's texts, and "+loop" while the switch is on.
std::string Listed(HWND dialog)
{
    std::string texts;
    char text[300];
    for (LRESULT i = 0; i < Send(dialog, IDC_LIST, LB_GETCOUNT); ++i)
        texts += std::string(text, Send(dialog, IDC_LIST, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text))) + " ";
    return texts + (Send(dialog, IDC_LOOP, BM_GETCHECK) == BST_CHECKED ? "+loop" : "");
}

// Opens Properties; gives the row it shows, after setting the row (unless below 0) and the box and
// pressing `button`.
LRESULT Properties(int row, UINT tick, int button)
{
    LRESULT shown = -2;
    EXPECT_EQ(button == IDOK, RunDialog(MAKEINTRESOURCEA(IDD_PROPERTIES), PropertiesDlgProc, [&](HWND dialog) {
        shown = Send(dialog, IDC_FORMAT, CB_GETCURSEL) + 100 * Send(dialog, IDC_TRAYOPTION, BM_GETCHECK);
        if (row >= 0) Send(dialog, IDC_FORMAT, CB_SETCURSEL, static_cast<WPARAM>(row));
        Send(dialog, IDC_TRAYOPTION, BM_SETCHECK, tick);
        Post(dialog, button);
    }));
    return shown;
}

}  // namespace

TEST_F(Dialogs, PropertiesShowTheSettingsAndOnlyOkAppliesThemTheIconAtOnce)
{
    EXPECT_EQ(110, Properties(16, BST_UNCHECKED, IDCANCEL)) << "row 10 and the box ticked";
    EXPECT_EQ(110, Properties(-1, BST_CHECKED, IDOK)) << "after Cancel";
    EXPECT_TRUE(g_rec.shellCalls.empty()) << "Cancel, or OK with the box as it was, asked the shell";
    Properties(16, BST_UNCHECKED, IDOK);
    g_app.settings.Wavefmt += 1;  // a row the table lacks, as only a hand-edited registry gives
    EXPECT_EQ(CB_ERR, Properties(-1, BST_CHECKED, IDOK)) << "a row outside the table is selected";
    EXPECT_EQ(17u, g_app.settings.Wavefmt) << "OK keeps a row outside the table";
    ASSERT_EQ(2u, g_rec.shellCalls.size());
    EXPECT_EQ(static_cast<DWORD>(NIM_DELETE), g_rec.shellCalls[0].first) << "OK with the box cleared";
    EXPECT_EQ(static_cast<DWORD>(NIM_ADD), g_rec.shellCalls[1].first) << "OK with the box ticked again";
}

TEST_F(Dialogs, AboutClosesWithOkEscAndTheCloseBoxAndHelpWithoutItsFileSaysSo)
{
    EXPECT_EQ(1, RunDialog("ABOUTBOX", AboutDlgProc, [](HWND dialog) { Post(dialog, IDOK); }));
    EXPECT_EQ(0, RunDialog("ABOUTBOX", AboutDlgProc, [](HWND d) { PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }));
    EXPECT_EQ(0, RunDialog("ABOUTBOX", AboutDlgProc, [](HWND) { PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1); }));
    for (UINT command : {IDM_HELP_CONTENTS, IDM_HELP_SEARCH, IDM_HELP_FINDER}) RunHelpCommand(Owner(), command);
    EXPECT_EQ(std::vector<std::string>(3, "Unable to activate help|hand"), g_rec.boxes);
}

// The list box holds every edit until OK rebuilds the playlist from it, reopens the player on the
// new first entry and moves it to the chosen one, which a playing player plays on with.
TEST_F(Dialogs, EditorsKeepTheirEditsUntilOkWhichRebuildsTheListAndMovesThePlayer)
{
    MediaDevice& midi = g_app.MidiDevice;
    Fill(&midi, {"a.mid", "b.mid", "c.mid"});
    std::vector<std::string> shown;
    EXPECT_EQ(0, RunDialog(MAKEINTRESOURCEA(IDD_MIDIPLAYLIST), MidiPlaylistProc, [&](HWND dialog) {
        shown.push_back(Listed(dialog));
        Send(dialog, IDC_LIST, LB_SELITEMRANGE, TRUE, MAKELPARAM(0, 1));
        for (int answer : {0, IDNO, IDYES}) {
            g_rec.boxAnswer = answer;
            SendMessageA(dialog, WM_COMMAND, answer ? IDC_CLEAR : IDC_REMOVE, 0);
            shown.push_back(Listed(dialog));
        }
        Send(dialog, IDC_LOOP, BM_SETCHECK, BST_CHECKED);
        Post(dialog, IDCANCEL);
    }));
    EXPECT_EQ((std::vector<std::string>{"a.mid b.mid c.mid ", "c.mid ", "c.mid ", ""}), shown)
        << "shown; after Remove of the first two; after Clear answered No; after Yes";
    EXPECT_EQ(std::vector<std::string>(2, "Do you want to clear the playlist?|question"), g_rec.boxes);
    EXPECT_EQ("a.mid b.mid c.mid", Entries(midi) + (midi.flags ? " +loop" : "")) << "Cancel";

    OpenMediaDevice(&midi);
    g_rec.mode = MCI_MODE_PLAY;
    TakeMci();
    EXPECT_EQ(1, RunDialog(MAKEINTRESOURCEA(IDD_MIDIPLAYLIST), MidiPlaylistProc, [](HWND dialog) {
        Send(dialog, IDC_LIST, LB_SETSEL, TRUE, 0);
        SendMessageA(dialog, WM_COMMAND, IDC_REMOVE, 0);
        Send(dialog, IDC_LIST, LB_SETSEL, TRUE, 1);
        Send(dialog, IDC_LOOP, BM_SETCHECK, BST_CHECKED);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_LIST, LBN_DBLCLK), 0);  // a double click is OK
    }));
    EXPECT_EQ("b.mid c.mid +loop 1", Entries(midi) + (midi.flags & MDF_LOOP ? " +loop " : " ") +
                                         std::to_string(midi.playlist.current));
    std::string trace = TakeMci();
    EXPECT_EQ("OPEN b.mid", trace.substr(trace.find("OPEN"), 10)) << trace;
    EXPECT_EQ("OPEN c.mid PLAY#7", trace.substr(trace.rfind("OPEN"))) << trace;
}
