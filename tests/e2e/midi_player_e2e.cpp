// The MIDI player end to end: the real program under Wine, its MIDI panel and "MIDI Playlist"
// editor driven by window messages, playing through the virtual sequencer whose clock speed each
// test sets and whose command log it reads.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/e2e/driver.h"
#include "tests/drivers/sequencer/smf_builder.h"

namespace {

constexpr DWORD kPatienceMs = 15000;
const char kMciKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\MCI";
const char kSequencerKey[] = "Software\\Velutra Tests\\Sequencer";

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = kPatienceMs)
{
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(25);
    }
    return true;
}

void SetSequencer(const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, kSequencerKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

void SetSpeed(DWORD percent)
{
    SetSequencer("Speed", REG_DWORD, &percent, sizeof percent);
}


class MidiPlayerTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(nullptr, FindWindowA("Velutra", nullptr)) << "a copy of the program is already running";
        // A fresh copy of the program with no settings of earlier tests: the store file lives beside it.
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        exe_ = e2e::MakeFreshCopy(std::string("midi.") + info->name()).exe;
        e2e::ClearVelutraRegistry();
        char base[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, base);
        folder_ = std::string(base) + "vseq-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
                  std::to_string(GetTickCount());
        CreateDirectoryA(folder_.c_str(), nullptr);
        log_ = folder_ + "\\vseq.log";
        SetSequencer("Log", REG_SZ, log_.c_str(), static_cast<DWORD>(log_.size() + 1));
        SetSpeed(100);

        char driver[MAX_PATH] = {};
        GetFullPathNameA(VSEQ_DLL, MAX_PATH, driver, nullptr);
        ASSERT_EQ(nullptr, std::strchr(driver, ' ')) << "winmm cuts the driver path at a blank: " << driver;
        ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(driver)) << "no virtual sequencer at " << driver;
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, kMciKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                                 &key, nullptr));
        RegSetValueExA(key, "sequencer", 0, REG_SZ, reinterpret_cast<const BYTE*>(driver),
                       static_cast<DWORD>(std::strlen(driver) + 1));
        RegCloseKey(key);
    }

    void TearDown() override
    {
        Stop();
        SetSpeed(100);
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kMciKey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, "sequencer");
            RegCloseKey(key);
        }
    }

    void Launch()
    {
        std::string command = "\"" + exe_ + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        std::vector<char> line(command.begin(), command.end());
        line.push_back('\0');
        ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                   &process_));
        ASSERT_TRUE(WaitFor([&] { return (panel_ = FindPanel()) != nullptr && IsWindowVisible(panel_); }))
            << "the program did not show its MIDI panel";
    }

    void Stop()
    {
        if (!process_.hProcess) return;
        while (HWND box = Window("#32770")) PostMessageA(box, WM_COMMAND, IDCANCEL, 0), Sleep(100);
        if (HWND main = Window("Velutra")) PostMessageA(main, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_.hProcess, kPatienceMs) != WAIT_OBJECT_0) TerminateProcess(process_.hProcess, 1);
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
        process_ = {};
    }

    HWND Window(const char* className, const char* caption = nullptr) const
    {
        std::vector<HWND> shown = e2e::ShownWindows(process_.dwProcessId, className, caption);
        return shown.empty() ? nullptr : shown.front();
    }

    // The MIDI panel is the main window's child dialog with a Play button but no Eject or Record.
    HWND FindPanel() const
    {
        HWND main = Window("Velutra");
        for (HWND child = main ? GetWindow(main, GW_CHILD) : nullptr; child; child = GetWindow(child, GW_HWNDNEXT))
            if (GetDlgItem(child, IDC_PLAY) && !GetDlgItem(child, IDC_EJECT) && !GetDlgItem(child, IDC_RECORD))
                return child;
        return nullptr;
    }

    // A press as the button reports it; posted, since it may open a modal window.
    void Press(int id)
    {
        PostMessageA(panel_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(panel_, id)));
    }
    // A press that opens nothing modal: sent, so it has been handled when this returns.
    void PressAndWait(int id)
    {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(panel_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                            reinterpret_cast<LPARAM>(GetDlgItem(panel_, id)), SMTO_NORMAL, kPatienceMs, &result);
    }

    std::string TextOf(HWND window, int id) const
    {
        char text[300] = {};
        GetWindowTextA(GetDlgItem(window, id), text, sizeof text);
        return text;
    }
    bool Shows(int id, const std::string& text)
    {
        return WaitFor([&] { return TextOf(panel_, id) == text; });
    }

    // Waits for a message box, answers it and gives its text.
    std::string TakeBox(int answer = IDOK)
    {
        HWND box = nullptr;
        if (!WaitFor([&] { return (box = Window("#32770", "Velutra")) != nullptr && GetDlgItem(box, 0xFFFF); }))
            return "(no message box)";
        std::string text = TextOf(box, 0xFFFF);
        PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(answer), 0);
        WaitFor([&] { return !IsWindow(box); });
        return text;
    }

    HWND OpenEditor()
    {
        Press(IDC_PLAYLIST);
        HWND editor = nullptr;
        WaitFor([&] { return (editor = Window("#32770", "MIDI Playlist")) != nullptr; });
        return editor;
    }
    void EndEditor(HWND editor, int id)
    {
        PostMessageA(editor, WM_COMMAND, static_cast<WPARAM>(id), 0);
        WaitFor([&] { return !IsWindow(editor); });
    }
    int ListCount(HWND editor) const
    {
        return static_cast<int>(SendDlgItemMessageA(editor, IDC_LIST, LB_GETCOUNT, 0, 0));
    }

    // Add ... in the editor, answered in the real Open dialog: the folder first, then the names.
    bool AddFiles(HWND editor, const std::vector<std::string>& names)
    {
        PostMessageA(editor, WM_COMMAND, IDC_ADD, 0);
        HWND open = nullptr;
        if (!WaitFor([&] { return (open = Window("#32770", "Open")) != nullptr; })) return false;
        Sleep(200);
        HWND name = GetDlgItem(open, 0x47C);
        if (!name) name = GetDlgItem(open, 0x480);
        DWORD_PTR result = 0;
        SendMessageTimeoutA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder_.c_str()), SMTO_NORMAL, kPatienceMs,
                            &result);
        SendMessageTimeoutA(open, WM_COMMAND, IDOK, 0, SMTO_NORMAL, kPatienceMs, &result);
        Sleep(300);
        std::string quoted;
        for (const std::string& n : names) quoted += "\"" + n + "\" ";
        SendMessageTimeoutA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(quoted.c_str()), SMTO_NORMAL, kPatienceMs,
                            &result);
        SendMessageTimeoutA(open, WM_COMMAND, IDOK, 0, SMTO_NORMAL, kPatienceMs, &result);
        return WaitFor([&] { return !IsWindow(open); });
    }

    // Songs of the given lengths named song1.mid, song2.mid ..., put into the playlist through the editor.
    void MakePlaylist(const std::vector<std::uint32_t>& lengths, bool loop)
    {
        std::vector<std::string> names;
        for (std::size_t i = 0; i < lengths.size(); ++i) {
            names.push_back("song" + std::to_string(i + 1) + ".mid");
            WriteSong(names.back(), MidiOfLength(lengths[i]));
        }
        HWND editor = OpenEditor();
        ASSERT_TRUE(editor) << "no MIDI Playlist dialog";
        ASSERT_TRUE(AddFiles(editor, names));
        ASSERT_EQ(static_cast<int>(names.size()), ListCount(editor));
        SendDlgItemMessageA(editor, IDC_LOOP, BM_SETCHECK, loop ? BST_CHECKED : BST_UNCHECKED, 0);
        EndEditor(editor, IDOK);
        ASSERT_TRUE(Shows(IDC_DISPLAY, "song1.mid"));
    }

    void WriteSong(const std::string& name, const Bytes& data)
    {
        std::ofstream(folder_ + "\\" + name, std::ios::binary).write(reinterpret_cast<const char*>(data.data()),
                                                                     static_cast<std::streamsize>(data.size()));
    }

    std::vector<std::string> Log() const
    {
        std::ifstream file(log_, std::ios::binary);
        std::vector<std::string> lines;
        for (std::string line; std::getline(file, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
        }
        return lines;
    }
    // The log without its status queries, which the timer and the painter send all the time.
    std::vector<std::string> Commands() const
    {
        std::vector<std::string> commands;
        for (const std::string& line : Log())
            if (line.rfind("status ", 0) != 0) commands.push_back(line);
        return commands;
    }
    // The files opened, in order, by their names.
    std::vector<std::string> Opened() const
    {
        std::vector<std::string> names;
        for (const std::string& line : Log()) {
            if (line.rfind("open ", 0) != 0) continue;
            std::size_t slash = line.find_last_of('\\');
            std::size_t end = line.find(' ', slash);
            names.push_back(line.substr(slash + 1, end - slash - 1));
        }
        return names;
    }
    int CountLog(const std::string& prefix) const
    {
        int n = 0;
        for (const std::string& line : Log()) n += line.rfind(prefix, 0) == 0;
        return n;
    }

    PROCESS_INFORMATION process_{};
    std::string exe_;
    HWND panel_ = nullptr;
    std::string folder_;
    std::string log_;
};

TEST_F(MidiPlayerTest, PlayWithAnEmptyListSaysSoAndPlaysNothing)
{
    Launch();
    EXPECT_EQ("EMPTY", TextOf(panel_, IDC_DISPLAY));
    EXPECT_TRUE(Shows(IDC_TRACK, "00:00 Music 01"));
    Press(IDC_PLAY);
    EXPECT_EQ("Playlist is empty.", TakeBox());
    EXPECT_EQ("EMPTY", TextOf(panel_, IDC_DISPLAY));
    EXPECT_EQ(0, CountLog("open")) << "nothing was opened";
}

TEST_F(MidiPlayerTest, PlaysTheListInOrderAndClosesAfterTheLast)
{
    Launch();
    MakePlaylist({1500, 1200, 1000}, false);
    SetSpeed(500);
    Press(IDC_PLAY);
    ASSERT_TRUE(WaitFor([&] { return CountLog("close") >= 3; })) << "the list did not play through";
    EXPECT_TRUE(Shows(IDC_DISPLAY, "song1.mid")) << "the first entry is current again";
    EXPECT_TRUE(Shows(IDC_TRACK, "00:00 Music 01"));
    EXPECT_EQ((std::vector<std::string>{"song1.mid", "song2.mid", "song3.mid"}), Opened());
    EXPECT_EQ(3, CountLog("notify successful"));
    Sleep(500);
    EXPECT_EQ(3, CountLog("close")) << "nothing more played";
    EXPECT_EQ(3, CountLog("play "));
}

TEST_F(MidiPlayerTest, LoopingPlaysTheListOverAndOver)
{
    Launch();
    MakePlaylist({1000, 1000}, true);
    SetSpeed(1000);
    Press(IDC_PLAY);
    ASSERT_TRUE(WaitFor([&] { return Opened().size() >= 5; })) << "the list did not start again";
    PressAndWait(IDC_STOP);
    std::vector<std::string> opened = Opened();
    opened.resize(5);
    EXPECT_EQ((std::vector<std::string>{"song1.mid", "song2.mid", "song1.mid", "song2.mid", "song1.mid"}), opened);
}

TEST_F(MidiPlayerTest, OneFileWithLoopingRepeats)
{
    Launch();
    MakePlaylist({1000}, true);
    SetSpeed(1000);
    Press(IDC_PLAY);
    ASSERT_TRUE(WaitFor([&] { return CountLog("notify successful") >= 3; }));
    // The log grows while the list loops, so it is read once.
    std::vector<std::string> opened = Opened();
    EXPECT_GE(opened.size(), 1u);
    EXPECT_EQ(std::vector<std::string>(opened.size(), "song1.mid"), opened);
}

TEST_F(MidiPlayerTest, NextAndBackWrapStopRewindsAndSkipsMoveOneSecond)
{
    Launch();
    MakePlaylist({5000, 5000, 5000}, false);
    SetSpeed(0);
    Press(IDC_PLAY);
    ASSERT_TRUE(WaitFor([&] { return CountLog("play ") == 1; }));
    PressAndWait(IDC_BACK);
    EXPECT_TRUE(Shows(IDC_DISPLAY, "song3.mid")) << "Back on the first goes to the last";
    EXPECT_TRUE(Shows(IDC_TRACK, "00:00 Music 03"));
    PressAndWait(IDC_NEXT);
    EXPECT_TRUE(Shows(IDC_DISPLAY, "song1.mid")) << "Next on the last goes to the first";
    EXPECT_EQ(3, CountLog("play ")) << "a playing player plays on with each new entry";

    PressAndWait(IDC_FORWARD);
    PressAndWait(IDC_FORWARD);
    EXPECT_TRUE(Shows(IDC_TRACK, "00:02 Music 01"));
    PressAndWait(IDC_REWIND);
    EXPECT_TRUE(Shows(IDC_TRACK, "00:01 Music 01"));
    PressAndWait(IDC_STOP);
    EXPECT_TRUE(Shows(IDC_TRACK, "00:00 Music 01")) << "Stop rewinds";
    PressAndWait(IDC_PLAY);
    std::vector<std::string> log = Commands();
    EXPECT_EQ("play from 0 to 5000 notify speed 0", log.back()) << "Play after Stop starts at 00:00";

    // Rewind within the first second goes to 0: a slow clock keeps the position below 1000 ms.
    PressAndWait(IDC_STOP);
    SetSpeed(1);
    PressAndWait(IDC_PLAY);
    Sleep(300);
    PressAndWait(IDC_REWIND);
    log = Commands();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ("stop at ", log[log.size() - 3].substr(0, 8));
    EXPECT_LT(std::stoul(log[log.size() - 3].substr(8)), 1000ul) << "rewound from within the first second";
    EXPECT_EQ("seek to 0", log[log.size() - 2]) << "the seek went to the start";
    EXPECT_EQ("play from 0 to 5000 notify speed 1", log.back()) << "and it plays on";
    EXPECT_TRUE(Shows(IDC_TRACK, "00:00 Music 01"));
}

TEST_F(MidiPlayerTest, AFileThatIsNotMidiIsNotAvailable)
{
    Launch();
    WriteSong("notes.mid", Bytes{'j', 'u', 's', 't', ' ', 't', 'e', 'x', 't'});
    HWND editor = OpenEditor();
    ASSERT_TRUE(editor);
    ASSERT_TRUE(AddFiles(editor, {"notes.mid"}));
    PostMessageA(editor, WM_COMMAND, IDOK, 0);
    EXPECT_EQ("Device is not available.", TakeBox()) << "OK reopens the device on the new list";
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(editor); }));
    Press(IDC_PLAY);
    EXPECT_EQ("Device is not available.", TakeBox());
    EXPECT_EQ(0, CountLog("play ")) << "the device stays closed";
}

TEST_F(MidiPlayerTest, EditorOkMovesAPlayingPlayerOrStopsItAfterAnEdit)
{
    Launch();
    MakePlaylist({5000, 5000, 5000}, false);
    SetSpeed(0);
    Press(IDC_PLAY);
    ASSERT_TRUE(WaitFor([&] { return CountLog("play ") == 1; }));

    // No edit, another entry selected: the player moves to it and keeps playing.
    HWND editor = OpenEditor();
    ASSERT_TRUE(editor);
    SendDlgItemMessageA(editor, IDC_LIST, LB_SETSEL, TRUE, 1);
    SendDlgItemMessageA(editor, IDC_LIST, LB_SETCARETINDEX, 1, 0);
    EndEditor(editor, IDOK);
    EXPECT_TRUE(Shows(IDC_DISPLAY, "song2.mid"));
    EXPECT_TRUE(WaitFor([&] { return CountLog("play ") == 2; })) << "it plays on with the selected entry";

    // An edit (removing the last entry): the playing file stops, the player rests on the first.
    editor = OpenEditor();
    ASSERT_TRUE(editor);
    SendDlgItemMessageA(editor, IDC_LIST, LB_SETSEL, TRUE, 2);
    PostMessageA(editor, WM_COMMAND, IDC_REMOVE, 0);
    ASSERT_TRUE(WaitFor([&] { return ListCount(editor) == 2; }));
    EndEditor(editor, IDOK);
    EXPECT_TRUE(Shows(IDC_DISPLAY, "song1.mid"));
    Sleep(300);
    EXPECT_EQ(2, CountLog("play ")) << "nothing plays after an edit";
    std::vector<std::string> opened = Opened();
    EXPECT_EQ("song1.mid", opened.back()) << "the device rests open on the first entry";
    EXPECT_EQ("set time format 0", Commands().back()) << "and nothing plays";

    // Clear, then Cancel: nothing changes; Clear, then OK: the list is empty and the player closed.
    editor = OpenEditor();
    ASSERT_TRUE(editor);
    PostMessageA(editor, WM_COMMAND, IDC_CLEAR, 0);
    EXPECT_EQ("Do you want to clear the playlist?", TakeBox(IDYES));
    EXPECT_EQ(0, ListCount(editor));
    EndEditor(editor, IDCANCEL);
    editor = OpenEditor();
    ASSERT_TRUE(editor);
    EXPECT_EQ(2, ListCount(editor)) << "Cancel kept the list";
    PostMessageA(editor, WM_COMMAND, IDC_CLEAR, 0);
    EXPECT_EQ("Do you want to clear the playlist?", TakeBox(IDYES));
    PostMessageA(editor, WM_COMMAND, IDOK, 0);
    EXPECT_EQ("Playlist is empty.", TakeBox());
    EXPECT_TRUE(Shows(IDC_DISPLAY, "EMPTY"));
    EXPECT_EQ("close", Commands().back());
}

TEST_F(MidiPlayerTest, DoubleClickActsAsOkAndTheLoopSwitchOnlyThroughOk)
{
    Launch();
    MakePlaylist({5000, 5000, 5000}, false);
    HWND editor = OpenEditor();
    ASSERT_TRUE(editor);
    SendDlgItemMessageA(editor, IDC_LOOP, BM_SETCHECK, BST_CHECKED, 0);
    EndEditor(editor, IDCANCEL);
    editor = OpenEditor();
    ASSERT_TRUE(editor);
    EXPECT_EQ(BST_UNCHECKED, SendDlgItemMessageA(editor, IDC_LOOP, BM_GETCHECK, 0, 0)) << "Cancel dropped the switch";

    // A real double-click on the third item: the list box tells the dialog, which acts as OK.
    HWND list = GetDlgItem(editor, IDC_LIST);
    int height = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    LPARAM at = MAKELPARAM(10, 2 * height + height / 2);
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(list, WM_LBUTTONUP, 0, at);
    PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageA(list, WM_LBUTTONUP, 0, at);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(editor); })) << "the double-click closed the editor";
    EXPECT_TRUE(Shows(IDC_DISPLAY, "song3.mid"));
    EXPECT_TRUE(Shows(IDC_TRACK, "00:00 Music 03"));
}

}  // namespace
