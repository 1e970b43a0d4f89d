// The playlist's Win32 routines against real list boxes, controls and the common file dialog.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/app.h"
#include "panels/panels.h"
#include "resources/resource.h"

namespace {

constexpr int kListId = IDC_LIST;
constexpr int kBrokenListId = 2001;
constexpr int kDisplayId = IDC_DISPLAY;

// A control that answers LB_ERR to everything, as a list box does when it cannot do what is asked.
LRESULT CALLBACK BrokenListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    if (msg >= LB_ADDSTRING && msg <= LB_MSGMAX) return LB_ERR;
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

std::vector<std::string> ListItems(HWND dialog, int id)
{
    std::vector<std::string> items;
    LRESULT count = SendDlgItemMessageA(dialog, id, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = SendDlgItemMessageA(dialog, id, LB_GETTEXTLEN, i, 0);
        std::string text(static_cast<std::size_t>(length) + 1, '\0');
        SendDlgItemMessageA(dialog, id, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        text.resize(std::strlen(text.c_str()));
        items.push_back(text);
    }
    return items;
}

std::vector<std::string> Texts(const Playlist& list)
{
    std::vector<std::string> texts;
    PlaylistEntry entry;
    for (PlaylistHandle node = FirstPlaylistNode(&list); node;) {
        node = ReadPlaylistNode(node, &entry);
        texts.emplace_back(entry.text);
    }
    return texts;
}

std::vector<int> Numbers(const Playlist& list)
{
    std::vector<int> numbers;
    PlaylistEntry entry;
    for (PlaylistHandle node = FirstPlaylistNode(&list); node;) {
        node = ReadPlaylistNode(node, &entry);
        numbers.push_back(entry.number);
    }
    return numbers;
}

void Append(Playlist* list, const std::string& text)
{
    PlaylistEntry entry;
    entry.number = list->count + 1;
    std::memcpy(entry.text, text.data(), text.size());
    ASSERT_EQ(0, AppendPlaylistEntry(list, &entry)) << text;
}

class PlaylistWinTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_app.instance = GetModuleHandleA(nullptr);
        WNDCLASSA broken{};
        broken.lpfnWndProc = BrokenListProc;
        broken.hInstance = g_app.instance;
        broken.lpszClassName = "VelutraTestBrokenList";
        RegisterClassA(&broken);
        dialog = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, g_app.instance, nullptr);
        ASSERT_NE(nullptr, dialog) << "no window: is a display (or Wine's null driver) configured?";
        list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | LBS_NOTIFY, 0, 0, 200, 100, dialog,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), g_app.instance, nullptr);
        ASSERT_NE(nullptr, list);
        CreateWindowExA(0, "VelutraTestBrokenList", "", WS_CHILD, 0, 0, 10, 10, dialog,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kBrokenListId)), g_app.instance, nullptr);
        CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 100, 20, dialog,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kDisplayId)), g_app.instance, nullptr);
        InitMediaDevice(&device, MCI_DEVTYPE_SEQUENCER);
    }
    void TearDown() override
    {
        ClearPlaylist(&device.playlist);
        if (dialog) DestroyWindow(dialog);
    }
    void AddItem(const std::string& text)
    {
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    std::string Display()
    {
        char text[512] = {};
        GetDlgItemTextA(dialog, kDisplayId, text, sizeof(text));
        return text;
    }

    HWND dialog = nullptr;
    HWND list = nullptr;
    MediaDevice device;
};

TEST_F(PlaylistWinTest, FillListFromPlaylistAddsAfterWhatTheListBoxHolds)
{
    AddItem("already there");
    Append(&device.playlist, "C:\\Music\\a.mid");
    Append(&device.playlist, "C:\\Music\\b.mid");
    EXPECT_EQ(0, FillListFromPlaylist(dialog, kListId, &device.playlist));
    EXPECT_EQ((std::vector<std::string>{"already there", "C:\\Music\\a.mid", "C:\\Music\\b.mid"}),
              ListItems(dialog, kListId));
    EXPECT_EQ(2, device.playlist.count) << "the list itself is only read";
}

TEST_F(PlaylistWinTest, FillPlaylistFromListReplacesTheList)
{
    Append(&device.playlist, "C:\\Old\\x.mid");
    device.playlist.current = 3;
    std::string longest = "C:\\" + std::string(252, 'l');
    for (const std::string& item : {std::string("C:\\New\\1.mid"), longest, std::string("C:\\New\\3.mid")}) AddItem(item);
    EXPECT_EQ(0, FillPlaylistFromList(dialog, kListId, &device.playlist));
    EXPECT_EQ((std::vector<std::string>{"C:\\New\\1.mid", longest, "C:\\New\\3.mid"}), Texts(device.playlist));
    EXPECT_EQ((std::vector<int>{1, 2, 3}), Numbers(device.playlist));
    EXPECT_EQ(0, device.playlist.current);

    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    EXPECT_EQ(0, FillPlaylistFromList(dialog, kListId, &device.playlist));
    EXPECT_EQ(0, device.playlist.count) << "an empty list box empties the list";
}

TEST_F(PlaylistWinTest, ItemsLongerThan255CharactersAreLeftOutNotCut)
{
    AddItem("C:\\a.mid");
    AddItem("C:\\" + std::string(253, 'x'));   // 256 characters
    AddItem("C:\\" + std::string(2000, 'y'));  // far past any entry
    AddItem("C:\\b.mid");
    EXPECT_EQ(0, FillPlaylistFromList(dialog, kListId, &device.playlist));
    EXPECT_EQ((std::vector<std::string>{"C:\\a.mid", "C:\\b.mid"}), Texts(device.playlist));
    EXPECT_EQ((std::vector<int>{1, 2}), Numbers(device.playlist));
}

TEST_F(PlaylistWinTest, ListBoxAnsweringLbErrLeavesTheListAlone)
{
    Append(&device.playlist, "C:\\Keep\\me.mid");
    device.playlist.current = 4;
    EXPECT_EQ(-1, FillPlaylistFromList(dialog, kBrokenListId, &device.playlist));
    EXPECT_EQ(std::vector<std::string>{"C:\\Keep\\me.mid"}, Texts(device.playlist));
    EXPECT_EQ(4, device.playlist.current);
}

TEST_F(PlaylistWinTest, TakeListSelectionStoresOnlyANewSelection)
{
    for (const char* item : {"a", "b", "c"}) AddItem(item);
    int index = 1;
    EXPECT_EQ(0, TakeListSelection(dialog, kListId, &index)) << "nothing selected";
    EXPECT_EQ(1, index);
    SendMessageA(list, LB_SETCURSEL, 1, 0);
    EXPECT_EQ(0, TakeListSelection(dialog, kListId, &index)) << "same selection";
    EXPECT_EQ(1, index);
    SendMessageA(list, LB_SETCURSEL, 2, 0);
    EXPECT_EQ(1, TakeListSelection(dialog, kListId, &index));
    EXPECT_EQ(2, index);
    EXPECT_EQ(0, TakeListSelection(dialog, kBrokenListId, &index));
    EXPECT_EQ(2, index);
}

TEST_F(PlaylistWinTest, AddSelectedFilesAddsFullPathsThatFit)
{
    EXPECT_EQ(0, AddSelectedFiles(dialog, kListId, "C:\\Music\\One.mid\0"));
    EXPECT_EQ(0, AddSelectedFiles(dialog, kListId, "C:\\Music\0a.mid\0b.mid\0c.rmi\0"));
    std::string tooLong = "C:\\" + std::string(250, 'd') + '\0' + "toolong.mid" + '\0' + '\0';
    EXPECT_EQ(0, AddSelectedFiles(dialog, kListId, tooLong.c_str()));
    EXPECT_EQ((std::vector<std::string>{"C:\\Music\\One.mid", "C:\\Music\\a.mid", "C:\\Music\\b.mid", "C:\\Music\\c.rmi"}),
              ListItems(dialog, kListId));
}

TEST_F(PlaylistWinTest, ShowCurrentEntryNameShowsTheFileNameOrAPlaceholder)
{
    EXPECT_EQ(-1, ShowCurrentEntryName(dialog, kDisplayId, &device));
    EXPECT_EQ("EMPTY", Display()) << "empty list";

    Append(&device.playlist, "C:\\Music\\Song.mid");
    Append(&device.playlist, "Track 02");
    EXPECT_EQ(0, ShowCurrentEntryName(dialog, kDisplayId, &device));
    EXPECT_EQ("Song.mid", Display());
    device.playlist.current = 1;
    EXPECT_EQ(0, ShowCurrentEntryName(dialog, kDisplayId, &device));
    EXPECT_EQ("Track 02", Display()) << "a CD label is shown as it is";

    for (int outside : {-1, 2, 50}) {
        device.playlist.current = outside;
        SetDlgItemTextA(dialog, kDisplayId, "");
        EXPECT_EQ(-1, ShowCurrentEntryName(dialog, kDisplayId, &device)) << outside;
        EXPECT_EQ("EMPTY", Display()) << "current " << outside;
    }

    device.flags = MDF_NEWRECORDING;
    EXPECT_EQ(0, ShowCurrentEntryName(dialog, kDisplayId, &device));
    EXPECT_EQ("Recording ...", Display()) << "a recording wins over any entry";
}

// The common dialog runs modally inside ChooseFiles; a CBT hook acts on it once it is created.
struct DialogScript {
    std::string typeName;   // text put into the file name box before pressing OK; empty: Cancel
    std::string shownName;  // what the name box held when the dialog came up
    bool readOnlyBoxShown = true;
};
DialogScript* g_script = nullptr;
HHOOK g_hook = nullptr;

// The file name box is the combo box 0x47C in the explorer-style dialogs, or the edit 0x480.
HWND FileNameBox(HWND dialog)
{
    HWND box = GetDlgItem(dialog, 0x47C);
    return box ? box : GetDlgItem(dialog, 0x480);
}

void CALLBACK ActOnDialog(HWND dialog, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(dialog, timer);
    char shown[MAX_PATH] = {};
    GetWindowTextA(FileNameBox(dialog), shown, sizeof(shown));
    g_script->shownName = shown;
    HWND readOnly = GetDlgItem(dialog, 0x410);
    g_script->readOnlyBoxShown = readOnly && IsWindowVisible(readOnly);
    if (g_script->typeName.empty()) {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    SetWindowTextA(FileNameBox(dialog), g_script->typeName.c_str());
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

LRESULT CALLBACK WatchForDialog(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        char className[32] = {};
        HWND window = reinterpret_cast<HWND>(wParam);
        GetClassNameA(window, className, sizeof(className));
        if (std::strcmp(className, "#32770") == 0) SetTimer(window, 1, 50, ActOnDialog);
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

class ChooseFilesTest : public PlaylistWinTest {
protected:
    void SetUp() override
    {
        PlaylistWinTest::SetUp();
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "velutra-choose-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder.c_str(), nullptr);
        for (const char* name : {"a.mid", "b.mid"}) {
            HANDLE file = CreateFileA((folder + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
            CloseHandle(file);
        }
        g_script = &script;
        g_hook = SetWindowsHookExA(WH_CBT, WatchForDialog, nullptr, GetCurrentThreadId());
    }
    void TearDown() override
    {
        UnhookWindowsHookEx(g_hook);
        g_script = nullptr;
        for (const char* name : {"a.mid", "b.mid"}) DeleteFileA((folder + "\\" + name).c_str());
        RemoveDirectoryA(folder.c_str());
        PlaylistWinTest::TearDown();
    }
    std::string folder;
    DialogScript script;
};

constexpr char kMidiFilter[] = "MIDI Files\0*.mid;*.rmi\0All Files\0*.*\0";

TEST_F(ChooseFilesTest, OpenTakesSeveralFilesFromOneFolder)
{
    std::vector<char> buffer(8192, '\0');
    script.typeName = folder + "\\a.mid";
    ASSERT_EQ(0, ChooseFiles(dialog, kMidiFilter, buffer.data(), static_cast<DWORD>(buffer.size()), FALSE));
    EXPECT_EQ("", script.shownName) << "the name box starts empty";
    EXPECT_FALSE(script.readOnlyBoxShown) << "the read-only box is hidden";
    AddSelectedFiles(dialog, kListId, buffer.data());
    EXPECT_EQ(std::vector<std::string>{folder + "\\a.mid"}, ListItems(dialog, kListId)) << "one file: its full path";

    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    std::fill(buffer.begin(), buffer.end(), '\0');
    SetCurrentDirectoryA(folder.c_str());
    script.typeName = "\"a.mid\" \"b.mid\"";
    ASSERT_EQ(0, ChooseFiles(dialog, kMidiFilter, buffer.data(), static_cast<DWORD>(buffer.size()), FALSE));
    AddSelectedFiles(dialog, kListId, buffer.data());
    EXPECT_EQ((std::vector<std::string>{folder + "\\a.mid", folder + "\\b.mid"}), ListItems(dialog, kListId))
        << "several files: the folder, then each name";
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    SetCurrentDirectoryA(temp);
}

TEST_F(ChooseFilesTest, CancelGivesMinusOne)
{
    std::vector<char> buffer(8192, '\0');
    EXPECT_EQ(-1, ChooseFiles(dialog, kMidiFilter, buffer.data(), static_cast<DWORD>(buffer.size()), FALSE));
    EXPECT_EQ(-1, ChooseFiles(dialog, kMidiFilter, buffer.data(), static_cast<DWORD>(buffer.size()), TRUE));
}

TEST_F(ChooseFilesTest, SaveStartsWithTheWavePattern)
{
    char buffer[260] = "left over";
    script.typeName = folder + "\\take.wav";
    ASSERT_EQ(0, ChooseFiles(dialog, "Wave Files\0*.wav\0All Files\0*.*\0", buffer, sizeof(buffer), TRUE));
    EXPECT_EQ("*.wav", script.shownName);
    EXPECT_EQ(folder + "\\take.wav", std::string(buffer));
}

}  // namespace
