// The CD player end to end: the real program under Wine, its CD panel driven by window messages,
// playing a virtual CD drive whose disc each test describes and whose command log it reads.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "resources/resource.h"

namespace {

constexpr DWORD kPatienceMs = 10000;
const char kMciKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\MCI";

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = kPatienceMs)
{
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(25);
    }
    return true;
}

std::string TempFolder()
{
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    char folder[MAX_PATH] = {};
    std::snprintf(folder, sizeof(folder), "%svcd-e2e-%lu-%lu", base, GetCurrentProcessId(), GetTickCount());
    CreateDirectoryA(folder, nullptr);
    return folder;
}

// One running copy of the program, seen from outside.
struct Program {
    PROCESS_INFORMATION process{};

    bool Start(const char* words)
    {
        std::string command = std::string("\"") + VELUTRA_EXE + "\" " + words;
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        std::vector<char> line(command.begin(), command.end());
        line.push_back('\0');
        return CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                              &process) != 0;
    }

    DWORD ExitCode(DWORD timeoutMs = kPatienceMs)
    {
        if (WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0) return STILL_ACTIVE;
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(process.hProcess, &code);
        return code;
    }

    bool Owns(HWND window) const
    {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        return pid == process.dwProcessId;
    }

    HWND MainWindow() const
    {
        struct Search {
            const Program* program;
            HWND found;
        } search{this, nullptr};
        EnumWindows(
            [](HWND window, LPARAM data) -> BOOL {
                auto s = reinterpret_cast<Search*>(data);
                char name[32] = {};
                GetClassNameA(window, name, sizeof(name));
                if (std::string(name) != "Velutra" || !s->program->Owns(window)) return TRUE;
                s->found = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    // The CD panel is the main window's child dialog that has an Eject button.
    HWND CdPanel() const
    {
        HWND main = MainWindow();
        for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (GetDlgItem(child, IDC_EJECT)) return child;
        return nullptr;
    }

    // Message boxes of this program: "text" of each one shown now.
    std::vector<HWND> Boxes() const
    {
        struct Search {
            const Program* program;
            std::vector<HWND> boxes;
        } search{this, {}};
        EnumWindows(
            [](HWND window, LPARAM data) -> BOOL {
                auto s = reinterpret_cast<Search*>(data);
                char name[32] = {};
                GetClassNameA(window, name, sizeof(name));
                if (std::string(name) == "#32770" && IsWindowVisible(window) && s->program->Owns(window))
                    s->boxes.push_back(window);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.boxes;
    }

    void Stop()
    {
        if (!process.hProcess) return;
        for (HWND box : Boxes()) PostMessageA(box, WM_COMMAND, IDOK, 0);
        if (HWND main = MainWindow()) PostMessageA(main, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process.hProcess, kPatienceMs) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
        process = {};
    }
};

std::string BoxText(HWND box)
{
    char caption[64] = {};
    char text[512] = {};
    GetWindowTextA(box, caption, sizeof(caption));
    GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
    return std::string(caption) + "|" + text;
}

class CdPlayerTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(nullptr, FindWindowA("Velutra", nullptr)) << "a copy of the program is already running";
        folder = TempFolder();
        discPath = folder + "\\disc.txt";
        logPath = folder + "\\vcd.log";
        SetEnvironmentVariableA("VCD_DISC", discPath.c_str());
        SetEnvironmentVariableA("VCD_LOG", logPath.c_str());
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, kMciKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                                 &key, nullptr));
        char driver[MAX_PATH] = {};
        GetFullPathNameA(VCD_DLL, MAX_PATH, driver, nullptr);
        ASSERT_EQ(nullptr, std::strchr(driver, ' ')) << "winmm cuts the driver path at a blank: " << driver;
        ASSERT_LT(std::strlen(driver), 128u) << driver;
        ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(driver)) << "no virtual drive at " << driver;
        RegSetValueExA(key, "cdaudio", 0, REG_SZ, reinterpret_cast<const BYTE*>(driver),
                       static_cast<DWORD>(std::strlen(driver) + 1));
        RegCloseKey(key);
    }

    void TearDown() override
    {
        second.Stop();
        program.Stop();
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kMciKey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, "cdaudio");
            RegCloseKey(key);
        }
    }

    void Disc(const std::string& description)
    {
        std::ofstream(discPath, std::ios::binary | std::ios::trunc) << description;
    }

    void Launch(const char* words = "")
    {
        ASSERT_TRUE(program.Start(words));
        ASSERT_TRUE(WaitFor([&] { return program.CdPanel() && IsWindowVisible(program.MainWindow()); }))
            << "the program did not show its CD panel";
        panel = program.CdPanel();
    }

    // A press as the button reports it. Posted, because a press may show a modal message box.
    void Press(int id)
    {
        PostMessageA(panel, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(panel, id)));
    }

    // A press that shows no message box: sent, so it has been handled when this returns.
    void PressAndWait(int id)
    {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(panel, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(panel, id)),
                            SMTO_NORMAL, kPatienceMs, &result);
    }

    void Command(UINT id) { PostMessageA(program.MainWindow(), WM_COMMAND, id, 0); }

    std::string TextOf(int id)
    {
        char text[256] = {};
        GetWindowTextA(GetDlgItem(panel, id), text, sizeof(text));
        return text;
    }

    bool ReadoutBecomes(const std::string& text) { return WaitFor([&] { return TextOf(IDC_TRACK) == text; }); }

    // Waits for the next message box, answers it and gives "caption|text".
    std::string TakeBox()
    {
        HWND box = nullptr;
        if (!WaitFor([&] {
                auto boxes = program.Boxes();
                box = boxes.empty() ? nullptr : boxes.front();
                return box != nullptr && GetDlgItem(box, 0xFFFF) != nullptr;
            }))
            return "(no message box)";
        std::string text = BoxText(box);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        WaitFor([&] { return !IsWindow(box); });
        return text;
    }

    // CDPlayList with a listed disc runs the CD Playlist dialog, which is cancelled at once;
    // gives the Display line that the panel sets afterwards.
    std::string PressPlaylist()
    {
        SetWindowTextA(GetDlgItem(panel, IDC_DISPLAY), "");
        Press(IDC_PLAYLIST);
        WaitFor([&] {
            for (HWND dialog : program.Boxes())
                if (!GetDlgItem(dialog, 0xFFFF)) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            return !TextOf(IDC_DISPLAY).empty();
        });
        return TextOf(IDC_DISPLAY);
    }

    bool ReadoutShows(const std::string& part)
    {
        return WaitFor([&] { return TextOf(IDC_TRACK).find(part) != std::string::npos; });
    }

    std::vector<std::string> LogLines()
    {
        std::ifstream file(logPath, std::ios::binary);
        std::vector<std::string> lines;
        for (std::string line; std::getline(file, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
        }
        return lines;
    }

    // Index of the first log line at or after `from` that starts with the pattern's first word and
    // holds each of its other words.
    int FindLog(const std::string& pattern, int from = 0)
    {
        std::vector<std::string> words;
        std::istringstream split(pattern);
        for (std::string word; split >> word;) words.push_back(word);
        std::vector<std::string> lines = LogLines();
        for (int i = std::max(from, 0); i < static_cast<int>(lines.size()); ++i) {
            const std::string& line = lines[static_cast<size_t>(i)];
            bool match = !words.empty() && line.rfind(words[0], 0) == 0;
            for (size_t w = 1; match && w < words.size(); ++w) match = line.find(words[w]) != std::string::npos;
            if (match) return i;
        }
        return -1;
    }

    bool LogShows(const std::string& prefix, int from = 0)
    {
        return WaitFor([&] { return FindLog(prefix, from) >= 0; });
    }

    int LogSize() { return static_cast<int>(LogLines().size()); }

    std::string folder, discPath, logPath;
    Program program, second;
    HWND panel = nullptr;
};

const char kNoDisc[] = "Velutra|There is no CD-ROM in the player.";
const char kNotAudio[] = "Velutra|The inserted CD-ROM is not an audio CD.";

TEST_F(CdPlayerTest, CdStartPlaysTheDiscAtOnce)
{
    Disc("disc=audio\ntracks=60,60\nspeed=1\n");
    Launch("CD");
    EXPECT_TRUE(LogShows("MCI_PLAY flags=0x00000001")) << "a CD start plays";
    EXPECT_TRUE(ReadoutBecomes("00:01 Track 01")) << TextOf(IDC_TRACK);
    EXPECT_TRUE(program.Boxes().empty());
}

TEST_F(CdPlayerTest, CdStartWithoutADiscSaysSo)
{
    Disc("disc=none\n");
    Launch("cd");
    EXPECT_EQ(kNoDisc, TakeBox());
    EXPECT_EQ(-1, FindLog("MCI_PLAY"));
}

TEST_F(CdPlayerTest, WithoutADiscEveryDiscCommandSaysSoAgain)
{
    Disc("disc=none\n");
    Launch();
    for (int id : {IDC_NEXT, IDC_BACK, IDC_FORWARD, IDC_REWIND, IDC_PLAY, IDC_PLAYLIST}) {
        Press(id);
        EXPECT_EQ(kNoDisc, TakeBox()) << "control " << id;
    }
    PressAndWait(IDC_STOP);
    PressAndWait(IDC_PAUSE);
    EXPECT_TRUE(program.Boxes().empty()) << "Stop and Pause show nothing";
    EXPECT_EQ("EMPTY", TextOf(IDC_DISPLAY));
}

TEST_F(CdPlayerTest, DataDiscIsNotAnAudioCd)
{
    Disc("disc=data\ntracks=300\n");
    Launch();
    Press(IDC_PLAY);
    EXPECT_EQ(kNotAudio, TakeBox());
    EXPECT_EQ(-1, FindLog("MCI_PLAY"));
}

TEST_F(CdPlayerTest, NextAndBackWrapAroundTheDisc)
{
    Disc("disc=audio\ntracks=60,60,60\nspeed=1\n");
    Launch();
    Press(IDC_PLAY);
    ASSERT_TRUE(LogShows("MCI_PLAY flags=0x00000001"));
    Press(IDC_BACK);
    EXPECT_TRUE(LogShows("MCI_SEEK flags=0x0000000a to=0x00000003")) << "back on track 1 goes to the last";
    EXPECT_TRUE(ReadoutBecomes("00:01 Track 03")) << "and plays on there: " << TextOf(IDC_TRACK);
    Press(IDC_NEXT);
    EXPECT_TRUE(LogShows("MCI_SEEK flags=0x0000000a to=0x00000001")) << "next on the last goes to track 1";
    EXPECT_TRUE(ReadoutBecomes("00:01 Track 01")) << TextOf(IDC_TRACK);
}

TEST_F(CdPlayerTest, PauseResumeStopAndSkips)
{
    Disc("disc=audio\ntracks=200,60\nspeed=1\n");
    Launch();
    Press(IDC_PLAY);
    ASSERT_TRUE(ReadoutBecomes("00:01 Track 01")) << TextOf(IDC_TRACK);
    PressAndWait(IDC_PAUSE);
    int paused = FindLog("MCI_PAUSE flags=0x00000000");
    ASSERT_GE(paused, 0);
    std::string held = TextOf(IDC_TRACK);
    Sleep(1500);
    EXPECT_EQ(held, TextOf(IDC_TRACK)) << "a paused disc stands still";
    PressAndWait(IDC_PAUSE);
    EXPECT_GE(FindLog("MCI_PLAY flags=0x00000000", paused), 0) << "resumed with a plain play";
    EXPECT_TRUE(ReadoutBecomes("00:03 Track 01")) << TextOf(IDC_TRACK);

    PressAndWait(IDC_STOP);
    int stopped = FindLog("MCI_STOP", paused);
    EXPECT_GE(FindLog("MCI_SEEK flags=0x0000000a to=0x00000001", stopped), 0) << "stop goes to the track's start";
    EXPECT_TRUE(ReadoutBecomes("00:00 Track 01")) << TextOf(IDC_TRACK);

    PressAndWait(IDC_FORWARD);
    int forward = FindLog("MCI_SEEK flags=0x0000000a to=0x000a0001", stopped);
    EXPECT_GE(forward, 0) << "ten seconds on";
    EXPECT_TRUE(ReadoutBecomes("00:10 Track 01")) << "and still stopped: " << TextOf(IDC_TRACK);
    PressAndWait(IDC_REWIND);
    EXPECT_GE(FindLog("MCI_SEEK flags=0x0000000a to=0x00000001", forward), 0) << "ten seconds back";
    EXPECT_TRUE(ReadoutBecomes("00:00 Track 01")) << TextOf(IDC_TRACK);
    EXPECT_EQ(-1, FindLog("MCI_PLAY", stopped)) << "skips while stopped do not start playing";
}

TEST_F(CdPlayerTest, ReadoutFollowsTheDiscToItsEndAndBackToTrackOne)
{
    Disc("disc=audio\ntracks=4,4\nspeed=2\n");
    Launch();
    Press(IDC_PLAY);
    EXPECT_TRUE(ReadoutShows("Track 02")) << "the read-out follows into track 2: " << TextOf(IDC_TRACK);
    ASSERT_TRUE(LogShows("NOTIFY status=1")) << "the end-of-play notice";
    EXPECT_TRUE(ReadoutBecomes("00:00 Track 01")) << TextOf(IDC_TRACK);
    int end = FindLog("NOTIFY status=1");
    EXPECT_GE(FindLog("MCI_SEEK flags=0x0000000a to=0x00000001", end), 0) << "back to track 1";
    Sleep(1200);
    EXPECT_EQ(-1, FindLog("MCI_PLAY", end)) << "nothing starts again";
    EXPECT_EQ("00:00 Track 01", TextOf(IDC_TRACK));

    EXPECT_EQ("Track 1", PressPlaylist()) << "the current index is back at 0";
}

TEST_F(CdPlayerTest, APausedAndResumedDiscBringsNoEndNotice)
{
    Disc("disc=audio\ntracks=4,4\nspeed=2\n");
    Launch();
    Press(IDC_PLAY);
    ASSERT_TRUE(LogShows("MCI_PLAY flags=0x00000001"));
    PressAndWait(IDC_PAUSE);
    PressAndWait(IDC_PAUSE);
    ASSERT_GE(FindLog("MCI_PLAY flags=0x00000000"), 0);
    ASSERT_TRUE(LogShows("END "));
    Sleep(1200);
    EXPECT_EQ(-1, FindLog("NOTIFY status=1"));
    EXPECT_EQ("00:04 Track 02", TextOf(IDC_TRACK)) << "the read-out keeps the last track";

    int before = LogSize();
    Press(IDC_PLAY);
    int seek = -1;
    EXPECT_TRUE(WaitFor([&] { return (seek = FindLog("MCI_SEEK flags=0x0000000a to=0x00000001", before)) >= 0; }))
        << "the next Play starts again from track 1";
    EXPECT_GE(FindLog("MCI_PLAY flags=0x00000001", seek), 0);
}

TEST_F(CdPlayerTest, EjectOpensTheDoorAndClosesItAgain)
{
    Disc("disc=audio\ntracks=60,60\nspeed=1\nspinup=1500\n");
    Launch();
    Press(IDC_PLAY);
    ASSERT_TRUE(LogShows("MCI_PLAY flags=0x00000001"));
    Press(IDC_EJECT);
    int open = -1;
    ASSERT_TRUE(WaitFor([&] { return (open = FindLog("DOOR open")) >= 0; }));
    int stop = FindLog("MCI_STOP");
    EXPECT_TRUE(stop >= 0 && stop < open) << "the disc stops before the door opens";
    EXPECT_TRUE(LogShows("MCI_CLOSE_DRIVER", open)) << "and the device closes";
    EXPECT_TRUE(program.Boxes().empty());

    Press(IDC_EJECT);
    EXPECT_TRUE(LogShows("DOOR closed", open));
    EXPECT_EQ(kNoDisc, TakeBox()) << "checked at once: the drive is not ready yet";

    Sleep(2000);
    Press(IDC_PLAY);
    EXPECT_TRUE(LogShows("MCI_PLAY flags=0x00000001", open)) << "ready after spinning up";
}

TEST_F(CdPlayerTest, HidingThePanelStopsAndClosesAPlayingDisc)
{
    Disc("disc=audio\ntracks=60,60\nspeed=1\n");
    Launch();
    Press(IDC_PLAY);
    int play = -1;
    ASSERT_TRUE(WaitFor([&] { return (play = FindLog("MCI_PLAY flags=0x00000001")) >= 0; }));
    Command(IDM_CDPLAYER);
    int stop = -1;
    EXPECT_TRUE(WaitFor([&] { return (stop = FindLog("MCI_STOP", play)) >= 0; }));
    EXPECT_GE(FindLog("MCI_CLOSE_DRIVER", stop), 0);
    EXPECT_FALSE(IsWindowVisible(panel));
}

TEST_F(CdPlayerTest, SecondStartWithCdPlaysInTheRunningCopyEvenWithThePanelHidden)
{
    Disc("disc=audio\ntracks=60,60\nspeed=1\n");
    Launch();
    Command(IDM_CDPLAYER);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(panel); }));
    ASSERT_TRUE(second.Start("CD"));
    EXPECT_EQ(0u, second.ExitCode()) << "the second copy hands over and ends";
    EXPECT_TRUE(LogShows("MCI_PLAY flags=0x00000001")) << "the running copy plays";
    EXPECT_TRUE(program.Boxes().empty());
}

}  // namespace
