// The built resources: panel templates, the menu "MAIN", the accelerator tables and the English strings.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/resource.h"

namespace {

HINSTANCE Module()
{
    return GetModuleHandleA(nullptr);
}

std::string Text(HWND window)
{
    char text[256] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

INT_PTR CALLBACK QuietDlgProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

struct Control {
    int id;
    const char* text;
    bool visible;
};

// Builds a panel template under a hidden parent and checks its controls in template order.
void ExpectTemplate(int templateId, const std::vector<Control>& expected)
{
    SCOPED_TRACE(testing::Message() << "template " << templateId);
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 500, 500, nullptr, nullptr, nullptr, nullptr);
    HWND panel = CreateDialogParamA(Module(), MAKEINTRESOURCEA(templateId), parent, QuietDlgProc, 0);
    ASSERT_NE(nullptr, panel);
    LONG_PTR panelStyle = GetWindowLongPtrA(panel, GWL_STYLE);
    EXPECT_TRUE(panelStyle & WS_CHILD) << "panel style " << std::hex << panelStyle;
    EXPECT_FALSE(panelStyle & (WS_VISIBLE | WS_CAPTION)) << "panel style " << std::hex << panelStyle;

    std::size_t index = 0;
    for (HWND child = GetWindow(panel, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT), ++index) {
        ASSERT_LT(index, expected.size()) << "more controls than expected";
        const Control& want = expected[index];
        EXPECT_EQ(want.id, GetDlgCtrlID(child)) << "control " << index + 1;
        EXPECT_EQ(want.text, Text(child)) << "control " << want.id;
        char className[32] = {};
        GetClassNameA(child, className, sizeof(className));
        EXPECT_STREQ("Button", className) << "control " << want.id;
        LONG_PTR style = GetWindowLongPtrA(child, GWL_STYLE);
        EXPECT_EQ(want.visible, (style & WS_VISIBLE) != 0) << "control " << want.id << " style " << std::hex << style;
        if (want.id == IDC_HIDDEN_X) {
            EXPECT_EQ(BS_FLAT | BS_BITMAP, style & (BS_FLAT | BS_BITMAP | BS_TYPEMASK)) << std::hex << style;
            EXPECT_FALSE(style & WS_TABSTOP);
        } else {
            EXPECT_EQ(BS_OWNERDRAW, style & BS_TYPEMASK) << "control " << want.id;
            EXPECT_TRUE(style & WS_TABSTOP) << "control " << want.id;
        }
        LONG_PTR exStyle = GetWindowLongPtrA(child, GWL_EXSTYLE);
        EXPECT_EQ(want.id == IDC_POWER, (exStyle & WS_EX_TRANSPARENT) != 0) << "control " << want.id;
    }
    EXPECT_EQ(expected.size(), index) << "number of controls";
    DestroyWindow(parent);
}

}  // namespace

TEST(Resources, EnglishStringTable)
{
    const char* expected[] = {
        "You are in the middle of sound recording.\nPlease stop your recording before closing the player.",
        "There is no CD-ROM in the player.",
        "Do you want to clear the playlist?",
        "The inserted CD-ROM is not an audio CD.",
        "Unable to activate help",
        "Playlist is empty.",
        "Device is not available.",
        "Track",
        "Music",
        "Sound",
        "Record",
        "EMPTY",
        "Recording ...",
    };
    for (UINT id = 1; id <= 13; ++id) {
        char text[256] = {};
        LoadStringA(Module(), id, text, sizeof(text));
        EXPECT_STREQ(expected[id - 1], text) << "string " << id;
    }
}

TEST(Resources, PanelTemplatesInTemplateOrder)
{
    ExpectTemplate(IDD_MAINPANEL, {{1004, "&Power", true},
                                   {1000, "&CD", true},
                                   {1001, "MIDI", true},
                                   {1002, "&SOUND", true},
                                   {1003, "MI&XER", true},
                                   {1018, "-", true},
                                   {1025, "x", false},
                                   {1019, "*", true},
                                   {1026, "&Velutra", true}});
    ExpectTemplate(IDD_CDPANEL, {{1013, "Playlist", true},
                                 {1024, ">", true},
                                 {1009, ">>", true},
                                 {1010, "<<", true},
                                 {1005, ">|", true},
                                 {1012, "|<", true},
                                 {1008, "II", true},
                                 {1020, "00:00 Track 01", true},
                                 {1014, "&Eject", true},
                                 {1007, "#", true},
                                 {1016, "", true}});
    ExpectTemplate(IDD_MIDIPANEL, {{1013, "Playlist", true},
                                   {1024, "Play", true},
                                   {1009, "Forward", true},
                                   {1010, "Rewind", true},
                                   {1005, "Next", true},
                                   {1012, "Back", true},
                                   {1007, "Stop", true},
                                   {1008, "Pause", true},
                                   {1020, "00:00 Music 01", true},
                                   {1016, "EMPTY", true}});
    ExpectTemplate(IDD_SOUNDPANEL, {{1013, "Playlist", true},
                                    {1024, "Play", true},
                                    {1009, "Forward", true},
                                    {1010, "Rewind", true},
                                    {1005, "Next", true},
                                    {1012, "Back", true},
                                    {1007, "Stop", true},
                                    {1008, "Pause", true},
                                    {1006, "Record", true},
                                    {1020, "00:00 Sound 01", true},
                                    {1016, "EMPTY", true},
                                    {1011, "Recordend", false}});
}

TEST(Resources, MainPanelIsAnExtendedTemplate)
{
    for (int id : {IDD_MAINPANEL, IDD_CDPANEL, IDD_MIDIPANEL, IDD_SOUNDPANEL}) {
        HRSRC found = FindResourceA(Module(), MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));  // RT_DIALOG
        ASSERT_NE(nullptr, found) << "template " << id;
        auto words = static_cast<const WORD*>(LockResource(LoadResource(Module(), found)));
        ASSERT_NE(nullptr, words);
        bool extended = words[0] == 1 && words[1] == 0xFFFF;
        EXPECT_EQ(id == IDD_MAINPANEL, extended) << "template " << id;
    }
}

TEST(Resources, MainMenuLayoutAndGrayedItems)
{
    struct Item {
        UINT id;  // 0 for a separator
        const char* text;
        bool grayed;
    };
    struct Popup {
        const char* text;
        std::vector<Item> items;
    };
    const Popup expected[] = {
        {"&File",
         {{100, "&New", true}, {101, "&Open...", true}, {102, "&Save", true}, {103, "Save &As...", true},
          {0, "", false}, {104, "&Print...", true}, {105, "P&rint Setup...", true}, {40012, "P&roperties", true},
          {0, "", false}, {106, "E&xit", false}}},
        {"&Edit",
         {{200, "&Undo", true}, {0, "", false}, {201, "Cu&t", true}, {202, "&Copy", true}, {203, "&Paste", true},
          {204, "&Delete", true}, {0, "", false}, {205, "Select &All", true}}},
        {"&View",
         {{40009, "&Regular", false}, {40010, "&Minimize", false}, {0, "", false}, {40006, "&CD Player", false},
          {40007, "&MIDI Player", false}, {40008, "&Sound Player", false}, {40005, "Audio &Mixer", false}}},
        {"&Options", {{40002, "&Random Play", true}, {40003, "&Sequential Play", true}}},
        {"&Help",
         {{300, "&Contents", false}, {301, "&Search for Help On...", false}, {302, "&How to Use Help", false},
          {0, "", false}, {303, "&About Velutra...", false}}},
    };
    HMENU menu = LoadMenuA(Module(), "MAIN");
    ASSERT_NE(nullptr, menu);
    ASSERT_EQ(static_cast<int>(std::size(expected)), GetMenuItemCount(menu));
    for (int p = 0; p < GetMenuItemCount(menu); ++p) {
        char text[64] = {};
        GetMenuStringA(menu, static_cast<UINT>(p), text, sizeof(text), MF_BYPOSITION);
        EXPECT_STREQ(expected[p].text, text) << "pop-up " << p;
        HMENU popup = GetSubMenu(menu, p);
        ASSERT_NE(nullptr, popup) << expected[p].text;
        ASSERT_EQ(static_cast<int>(expected[p].items.size()), GetMenuItemCount(popup)) << expected[p].text;
        for (int i = 0; i < GetMenuItemCount(popup); ++i) {
            const Item& want = expected[p].items[static_cast<std::size_t>(i)];
            UINT state = GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION);
            if (want.id == 0) {
                EXPECT_TRUE(state & MF_SEPARATOR) << expected[p].text << " item " << i;
                continue;
            }
            EXPECT_EQ(want.id, GetMenuItemID(popup, i)) << expected[p].text << " item " << i;
            GetMenuStringA(popup, static_cast<UINT>(i), text, sizeof(text), MF_BYPOSITION);
            EXPECT_STREQ(want.text, text) << "item " << want.id;
            EXPECT_EQ(want.grayed, (state & MF_GRAYED) != 0) << "item " << want.id << " grayed";
        }
    }
    DestroyMenu(menu);
}

TEST(Resources, AcceleratorTableMainAndNoneUnderTheClassName)
{
    HACCEL table = LoadAcceleratorsA(Module(), "MAIN");
    ASSERT_NE(nullptr, table);
    ACCEL entries[8] = {};
    int count = CopyAcceleratorTableA(table, entries, 8);
    ASSERT_EQ(3, count);
    EXPECT_EQ(VK_F1, entries[0].key);
    EXPECT_TRUE(entries[0].fVirt & FVIRTKEY);
    EXPECT_EQ(IDM_HELP_CONTENTS, entries[0].cmd);
    EXPECT_EQ('?', entries[1].key);
    EXPECT_TRUE(entries[1].fVirt & FALT);
    EXPECT_FALSE(entries[1].fVirt & FVIRTKEY);
    EXPECT_EQ(IDM_ABOUT, entries[1].cmd);
    EXPECT_EQ('/', entries[2].key);
    EXPECT_TRUE(entries[2].fVirt & FALT);
    EXPECT_EQ(IDM_ABOUT, entries[2].cmd);
    // The message loop asks for a table named after the class, which does not exist.
    EXPECT_EQ(nullptr, LoadAcceleratorsA(Module(), "Velutra"));
}

TEST(Resources, IconCursorAndVersion)
{
    EXPECT_NE(nullptr, LoadIconA(Module(), MAKEINTRESOURCEA(IDI_VELUTRA)));
    EXPECT_NE(nullptr, LoadCursorA(Module(), MAKEINTRESOURCEA(IDCUR_HAND)));
    EXPECT_EQ(nullptr, FindResourceA(Module(), MAKEINTRESOURCEA(IDI_SMALL), MAKEINTRESOURCEA(14)))
        << "there is no small icon 156: the system derives it from 147";
    EXPECT_NE(nullptr, FindResourceA(Module(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16)));  // RT_VERSION
}
