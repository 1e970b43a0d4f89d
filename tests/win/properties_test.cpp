// The Properties dialog built from template 159: what it shows, and what OK and Cancel apply.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>

#include "app/app.h"
#include "dialogs/dialogs.h"
#include "resources/resource.h"
#include "tests/win/owner_window.h"
#include "tests/win/shell_recorder.h"

namespace {

struct Shown {
    std::string caption;
    int count = 0;
    LRESULT selection = CB_ERR;
    std::string selectedText;
    std::vector<std::string> texts;
    LRESULT check = -1;
    bool focusOnOk = false;
    LONG comboStyle = 0;
    LONG listStyle = 0;  // the combo box hands its scroll bar to its list
    LONG checkStyle = 0;
};

class Properties : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetAppForTest();
        owner = TestOwner().hwnd;
    }
    void TearDown() override { ResetAppForTest(); }

    // Opens the modal dialog; `script` runs in it once it waits for input.
    INT_PTR Run(std::function<void(HWND)> script)
    {
        WhenDialogWaits([this, script](HWND dialog) {
            Read(dialog);
            script(dialog);
        });
        return DialogBoxParamA(g_app.instance, MAKEINTRESOURCEA(IDD_PROPERTIES), owner, PropertiesDlgProc, 0);
    }

    void Read(HWND dialog)
    {
        char caption[64] = {};
        GetWindowTextA(dialog, caption, sizeof(caption));
        shown.caption = caption;
        HWND combo = GetDlgItem(dialog, IDC_FORMAT);
        shown.count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
        shown.texts.clear();
        for (int i = 0; i < shown.count; ++i) {
            char text[64] = {};
            SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            shown.texts.push_back(text);
        }
        shown.selection = SendMessageA(combo, CB_GETCURSEL, 0, 0);
        shown.selectedText = shown.selection >= 0 ? shown.texts[shown.selection] : "";
        shown.check = SendDlgItemMessageA(dialog, IDC_TRAYOPTION, BM_GETCHECK, 0, 0);
        shown.focusOnOk = GetFocus() == GetDlgItem(dialog, IDOK);
        shown.comboStyle = GetWindowLongA(combo, GWL_STYLE);
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        if (GetComboBoxInfo(combo, &info)) shown.listStyle = GetWindowLongA(info.hwndList, GWL_STYLE);
        shown.checkStyle = GetWindowLongA(GetDlgItem(dialog, IDC_TRAYOPTION), GWL_STYLE);
    }

    static void Change(HWND dialog, int row, UINT check)
    {
        SendDlgItemMessageA(dialog, IDC_FORMAT, CB_SETCURSEL, row, 0);
        SendDlgItemMessageA(dialog, IDC_TRAYOPTION, BM_SETCHECK, check, 0);
    }

    static void Press(HWND dialog, int id) { PostMessageA(dialog, WM_COMMAND, id, 0); }

    // Start-up clears a loaded CFG_TRAY and switches the icon on, so it is added exactly once.
    void StartWithIcon()
    {
        g_app.settings.Config &= ~CFG_TRAY;
        SetTrayIcon(owner, TRUE);
        ASSERT_TRUE(ShellHasIcon(owner, 147)) << "the shell did not take the icon";
        StartShellRecording();
    }

    HWND owner = nullptr;
    Shown shown;
};

}  // namespace

TEST_F(Properties, FirstStartShowsRowTenSelectedAndTheBoxTicked)
{
    StartWithIcon();
    INT_PTR result = Run([](HWND dialog) { Press(dialog, IDCANCEL); });

    EXPECT_EQ(0, result);
    EXPECT_EQ("Properties", shown.caption);
    ASSERT_EQ(17, shown.count);
    EXPECT_EQ(10, shown.selection);
    EXPECT_EQ("22 KHz, 16-Bit, Mono", shown.selectedText);
    EXPECT_EQ("8 KHz, 8-Bit, Mono", shown.texts.front());
    EXPECT_EQ("48 KHz, 16-Bit, Stereo", shown.texts.back());
    EXPECT_EQ(BST_CHECKED, shown.check);
    EXPECT_TRUE(shown.focusOnOk) << "the focus is not on OK";
}

TEST_F(Properties, ControlsAreAnUnsortedScrollingDropDownListAndAnAutoCheckBox)
{
    Run([](HWND dialog) {
        EXPECT_EQ("Display Velutra icon in Windows Taskbar", ControlText(dialog, IDC_TRAYOPTION));
        EXPECT_EQ("OK", ControlText(dialog, IDOK));
        EXPECT_EQ("Cancel", ControlText(dialog, IDCANCEL));
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(CBS_DROPDOWNLIST, shown.comboStyle & 0x3);
    EXPECT_TRUE(shown.listStyle & WS_VSCROLL) << "the dropped list has no scroll bar";
    EXPECT_FALSE(shown.comboStyle & CBS_SORT);
    EXPECT_EQ(BS_AUTOCHECKBOX, shown.checkStyle & BS_TYPEMASK);
}

TEST_F(Properties, BoxFollowsTheTrayBit)
{
    g_app.settings.Config &= ~CFG_TRAY;
    g_app.settings.Wavefmt = 3;
    Run([](HWND dialog) { Press(dialog, IDCANCEL); });
    EXPECT_EQ(BST_UNCHECKED, shown.check);
    EXPECT_EQ("8 KHz, 16-Bit, Stereo", shown.selectedText);
}

// Cancel, Esc and the close box all leave the format and the icon as they were.
TEST_F(Properties, CancelAfterChangingBothChangesNothing)
{
    struct Way {
        const char* name;
        void (*close)(HWND);
    };
    const Way ways[] = {
        {"Cancel", [](HWND dialog) { Press(dialog, IDCANCEL); }},
        {"Esc", [](HWND) { PostKey(GetFocus(), VK_ESCAPE); }},
        {"close box", [](HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const Way& way : ways) {
        ResetAppForTest();
        StartWithIcon();

        INT_PTR result = Run([&](HWND dialog) {
            Change(dialog, 16, BST_UNCHECKED);
            way.close(dialog);
        });

        EXPECT_EQ(0, result) << way.name;
        EXPECT_EQ(10u, g_app.settings.Wavefmt) << way.name;
        EXPECT_TRUE(g_app.settings.Config & CFG_TRAY) << way.name;
        EXPECT_TRUE(RecordedNotifyCalls().empty()) << way.name << " touched the icon";
        EXPECT_TRUE(ShellHasIcon(owner, 147)) << way.name;
    }
}

TEST_F(Properties, OkWithTheBoxClearedRemovesTheIconAtOnce)
{
    StartWithIcon();

    INT_PTR result = Run([](HWND dialog) {
        Change(dialog, 16, BST_UNCHECKED);
        Press(dialog, IDOK);
    });

    EXPECT_EQ(1, result);
    EXPECT_EQ(16u, g_app.settings.Wavefmt);
    EXPECT_FALSE(g_app.settings.Config & CFG_TRAY);
    ASSERT_EQ(1u, RecordedNotifyCalls().size());
    EXPECT_EQ(static_cast<DWORD>(NIM_DELETE), RecordedNotifyCalls()[0].operation);
    EXPECT_EQ(owner, RecordedNotifyCalls()[0].record.hWnd) << "the icon of another window was deleted";
    EXPECT_FALSE(ShellHasIcon(owner, 147)) << "the icon is still shown after OK";
}

TEST_F(Properties, OkWithTheBoxTickedWhileTheIconIsShownAddsNoSecondIcon)
{
    StartWithIcon();

    INT_PTR result = Run([](HWND dialog) { Press(dialog, IDOK); });

    EXPECT_EQ(1, result);
    EXPECT_TRUE(RecordedNotifyCalls().empty()) << "OK asked the shell again";
    EXPECT_TRUE(ShellHasIcon(owner, 147));
    EXPECT_TRUE(g_app.settings.Config & CFG_TRAY);
}

TEST_F(Properties, OkWithTheBoxTickedAddsTheIconAtOnce)
{
    g_app.settings.Config &= ~CFG_TRAY;

    Run([](HWND dialog) {
        PostMessageA(GetDlgItem(dialog, IDC_TRAYOPTION), BM_CLICK, 0, 0);
        Press(dialog, IDOK);
    });

    EXPECT_EQ(1, CountRecorded(NIM_ADD));
    EXPECT_TRUE(ShellHasIcon(owner, 147));
    EXPECT_TRUE(g_app.settings.Config & CFG_TRAY);
}

TEST_F(Properties, EnterIsOk)
{
    Run([](HWND dialog) {
        Change(dialog, 0, BST_CHECKED);
        PostKey(GetFocus(), VK_RETURN);
    });
    EXPECT_EQ(0u, g_app.settings.Wavefmt);
}

// Only a hand-edited registry gives a row the table lacks: nothing is selected and OK keeps it.
TEST_F(Properties, FormatOutsideTheTableSelectsNothingAndOkKeepsIt)
{
    for (std::uint32_t wavefmt : {17u, 0xFFFFFFFFu}) {
        ResetAppForTest();
        g_app.settings.Wavefmt = wavefmt;
        INT_PTR result = Run([](HWND dialog) { Press(dialog, IDOK); });
        EXPECT_EQ(1, result);
        EXPECT_EQ(CB_ERR, shown.selection) << "Wavefmt " << wavefmt;
        EXPECT_EQ(wavefmt, g_app.settings.Wavefmt);
    }
    ResetAppForTest();
    g_app.settings.Wavefmt = 99;
    Run([](HWND dialog) {
        Change(dialog, 5, BST_CHECKED);
        Press(dialog, IDOK);
    });
    EXPECT_EQ(5u, g_app.settings.Wavefmt);
}
