// The About box built from "ABOUTBOX", the ways to close it, and the help commands.
#include <gtest/gtest.h>

#include <windows.h>

#include <cctype>
#include <functional>
#include <string>

#include "app/app.h"
#include "dialogs/dialogs.h"
#include "resources/resource.h"
#include "tests/win/owner_window.h"

namespace {

class About : public ::testing::Test {
protected:
    void SetUp() override { ResetAppForTest(); }
    void TearDown() override { ResetAppForTest(); }

    static INT_PTR Run(std::function<void(HWND)> script)
    {
        WhenDialogWaits(std::move(script));
        // The main window asks by this spelling; resource names match regardless of case.
        return DialogBoxParamA(g_app.instance, "AboutBox", TestOwner().hwnd, AboutDlgProc, 0);
    }
};

bool HasYear(const std::string& text)
{
    int digits = 0;
    for (char c : text) {
        digits = std::isdigit(static_cast<unsigned char>(c)) ? digits + 1 : 0;
        if (digits == 4) return true;
    }
    return false;
}

struct StaticInfo {
    HWND icon = nullptr;
    HWND separator = nullptr;
};

BOOL CALLBACK FindStatics(HWND child, LPARAM lParam)
{
    auto info = reinterpret_cast<StaticInfo*>(lParam);
    LONG style = GetWindowLongA(child, GWL_STYLE);
    char cls[32] = {};
    GetClassNameA(child, cls, sizeof(cls));
    if (lstrcmpiA(cls, "Static") != 0) return TRUE;
    if ((style & SS_TYPEMASK) == SS_ICON) info->icon = child;
    if ((style & SS_TYPEMASK) == SS_GRAYRECT) info->separator = child;
    return TRUE;
}

}  // namespace

TEST_F(About, ShowsIconNameOwnershipNoteAndSeparator)
{
    std::string caption, name, owner, note;
    HICON icon = nullptr;
    SIZE separator{}, expected{};
    LONG separatorStyle = 0;
    Run([&](HWND dialog) {
        char text[64] = {};
        GetWindowTextA(dialog, text, sizeof(text));
        caption = text;
        name = ControlText(dialog, IDC_ABOUT_VERSION);
        owner = ControlText(dialog, IDC_ABOUT_OWNER);
        note = ControlText(dialog, IDC_ABOUT_NOTE);
        StaticInfo statics;
        EnumChildWindows(dialog, FindStatics, reinterpret_cast<LPARAM>(&statics));
        if (statics.icon) icon = reinterpret_cast<HICON>(SendMessageA(statics.icon, STM_GETICON, 0, 0));
        if (statics.separator) {
            RECT r;
            GetWindowRect(statics.separator, &r);
            separator = {r.right - r.left, r.bottom - r.top};
            separatorStyle = GetWindowLongA(statics.separator, GWL_STYLE);
        }
        RECT units{0, 0, 185, 2};
        MapDialogRect(dialog, &units);
        expected = {units.right, units.bottom};
        EndDialog(dialog, 1);
    });

    EXPECT_EQ("About", caption);
    EXPECT_EQ("Velutra 3.00", name);
    EXPECT_TRUE(HasYear(owner)) << "ownership line without a year: " << owner;
    EXPECT_EQ(std::string::npos, owner.find('\n')) << "ownership line is not one line";
    EXPECT_NE(std::string::npos, note.find('\n')) << "note is not two lines: " << note;
    EXPECT_NE(nullptr, icon) << "no program icon";
    EXPECT_EQ(expected.cx, separator.cx);
    EXPECT_EQ(expected.cy, separator.cy);
    EXPECT_TRUE(separatorStyle & SS_SUNKEN);
}

TEST_F(About, OkEnterEscAndTheCloseBoxCloseIt)
{
    struct Way {
        const char* name;
        void (*close)(HWND);
        INT_PTR result;
    };
    const Way ways[] = {
        {"OK", [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDOK, 0); }, 1},
        {"Enter", [](HWND dialog) { PostKey(GetFocus() ? GetFocus() : dialog, VK_RETURN); }, 1},
        {"Esc", [](HWND dialog) { PostKey(GetFocus() ? GetFocus() : dialog, VK_ESCAPE); }, 0},
        {"close box", [](HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }, 0},
    };
    for (const Way& way : ways) {
        ResetAppForTest();
        AppSettings before = g_app.settings;
        EXPECT_EQ(way.result, Run(way.close)) << way.name;
        EXPECT_FALSE(TestOwner().dialogForced) << way.name << " did not close the box";
        EXPECT_EQ(before.Config, g_app.settings.Config) << way.name;
        EXPECT_EQ(before.Wavefmt, g_app.settings.Wavefmt) << way.name;
    }
}

// No help file is shipped: the commands that name it say so instead of starting the help engine.
TEST(Help, CommandsNamingTheMissingFileShowUnableToActivateHelp)
{
    char found[MAX_PATH];
    ASSERT_EQ(0u, SearchPathA(nullptr, kHelpFile, nullptr, MAX_PATH, found, nullptr))
        << "a help file lies on the search path: " << found;

    for (UINT command : {IDM_HELP_CONTENTS, IDM_HELP_SEARCH, IDM_HELP_FINDER}) {
        ResetAppForTest();
        std::string caption, text;
        HICON icon = nullptr;
        WhenDialogWaits([&](HWND box) {
            char buffer[256] = {};
            GetWindowTextA(box, buffer, sizeof(buffer));
            caption = buffer;
            for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
                char cls[32] = {};
                GetClassNameA(child, cls, sizeof(cls));
                if (lstrcmpiA(cls, "Static") != 0) continue;
                if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
                    icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
                else if (GetWindowTextA(child, buffer, sizeof(buffer)) > 0)
                    text = buffer;
            }
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        });

        RunHelpCommand(TestOwner().hwnd, command);

        EXPECT_EQ(1, TestOwner().dialogIdleCount) << "no message box for command " << command;
        EXPECT_EQ("Velutra", caption) << command;
        EXPECT_EQ("Unable to activate help", text) << command;
        EXPECT_EQ(LoadIconA(nullptr, IDI_HAND), icon) << "not the stop icon, command " << command;
        EXPECT_EQ(nullptr, FindWindowA("MS_WINHELP", nullptr)) << "the help engine was started for " << command;
    }
}
