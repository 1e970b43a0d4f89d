// Nothing lost, nothing frozen: the session's end and a start during Exit, two starts at once, MIDI
// Pause without MCI_RESUME, every end of a record review, and a program folder named in Cyrillic.
#include "tests/e2e/driver.h"

#include <fstream>

#include "resources/resource.h"
#include "tests/drivers/sequencer/smf_builder.h"

namespace {

using namespace e2e;

const char kMci[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\MCI";

// Two MIDI entries naming `midi` and an empty Sound list, in the store file's own layout.
std::string StoreOf(const std::string& midi)
{
    std::string record = midi + std::string(256 - midi.size(), '\0');
    return std::string("VL\x0a\0\0\0\0\0\0\x01\0\x02\0\0\0\0", 16) + record + record +
           std::string("\0\x02\0\0\0\0\0\0", 8);
}

bool ReviewFileLeft()
{
    char temp[MAX_PATH] = {};
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((std::string(temp, GetTempPathA(MAX_PATH, temp)) + "VLR*.tmp").c_str(), &found);
    return find != INVALID_HANDLE_VALUE && FindClose(find);
}

class Mends : public VelutraTest {
protected:
    bool Shows(HWND panel, const char* text)
    {
        return WaitUntil([&] { return WindowText(GetDlgItem(panel, IDC_TRACK)).find(text) != std::string::npos; });
    }
    // Records a second and stops: the review dialog, with the recording kept in a review file.
    HWND RecordForReview(HWND panel)
    {
        Press(panel, IDC_RECORD);
        EXPECT_TRUE(Shows(panel, "00:01 Record")) << "the recording did not count";
        Press(panel, IDC_STOP);
        std::vector<HWND> shown;
        EXPECT_TRUE(WaitUntil([&] { return !(shown = ShownWindows(programs.back().pid, "#32770")).empty(); }));
        return shown.empty() ? nullptr : shown.front();
    }
};

// With the tray icon on, Wine can take 2 s to remove it while the window still lives.
TEST_F(Mends, TheSessionEndAndAStartDuringExitLoseNothing)
{
    std::ofstream(copy.folder + "\\velutra.s", std::ios::binary) << StoreOf("C:\\tune.mid");
    HWND main = StartAndWait();
    PostMessageA(main, WM_COMMAND, IDM_EXIT, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); })) << "Exit did not hide the window";
    SendMessageTimeoutA(main, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, kWaitMs, nullptr);
    SendMessageTimeoutA(main, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, kWaitMs, nullptr);
    EXPECT_NE(nullptr, WaitForMainWindow(Start())) << "a start right after Exit was swallowed by the ending copy";
    ASSERT_TRUE(WaitForExit(programs.front()).has_value());
    EXPECT_EQ(StoreOf("C:\\tune.mid").size(), ReadFileBytes(copy.folder + "\\velutra.s").value_or(Bytes{}).size())
        << "the session's end after Exit rewrote the store";

    EndAllVelutraProcesses();
    Program one = Start(), two = Start();
    EXPECT_TRUE(WaitUntil([&] { return WaitForExit(one, 0) || WaitForExit(two, 0); })) << "two starts at once both run";
    EXPECT_EQ(1u, MainWindows().size()) << "two starts at once left other than one main window";
}

TEST_F(Mends, MidiPauseTwicePlaysOnWhereTheSequencerHasNoResume)
{
    WriteRegistryValue(HKEY_LOCAL_MACHINE, kMci, "sequencer", REG_SZ, VSEQ_DLL, sizeof(VSEQ_DLL));
    Bytes midi = MidiOfLength(2500);
    std::ofstream(copy.folder + "\\tune.mid", std::ios::binary) << std::string(midi.begin(), midi.end());
    std::ofstream(copy.folder + "\\velutra.s", std::ios::binary) << StoreOf(copy.folder + "\\tune.mid");
    HWND panel = FindPanel(StartAndWait(), Panel::Midi);
    Press(panel, IDC_PLAY);
    EXPECT_TRUE(Shows(panel, "00:01 Music 01")) << "the play did not start";
    Press(panel, IDC_PAUSE);
    Press(panel, IDC_PAUSE);
    EXPECT_TRUE(Shows(panel, "Music 02")) << "Pause, Pause stayed paused: " << WindowText(GetDlgItem(panel, IDC_TRACK));
    if (HKEY mci = OpenProgramKey(HKEY_LOCAL_MACHINE, kMci, KEY_SET_VALUE)) RegDeleteValueA(mci, "sequencer"), RegCloseKey(mci);
}

// The panel is usable once the review is gone; Quit, the session's end and a close delete its file.
TEST_F(Mends, EveryEndOfAReviewGivesThePanelBackAndDeletesItsFile)
{
    HWND main = StartAndWait(), panel = FindPanel(main, Panel::Sound);
    HWND review = RecordForReview(panel);
    PostPress(review, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(review); })) << "Quit left the review open";
    EXPECT_TRUE(IsWindowEnabled(panel) && IsWindowEnabled(GetDlgItem(panel, IDC_PLAY))) << "the panel stayed locked";

    ASSERT_TRUE(RecordForReview(panel) && ReviewFileLeft()) << "no review file";
    SendMessageTimeoutA(main, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, kWaitMs, nullptr);
    EXPECT_FALSE(ReviewFileLeft()) << "the session's end left the review file";
    EndProgram(&programs.back());
    panel = FindPanel(main = StartAndWait(), Panel::Sound);
    RecordForReview(panel);
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitForExit(programs.back()) && !ReviewFileLeft()) << "a close (Alt+F4, the task bar) left the file";
}

TEST_F(Mends, AProgramFolderNamedInCyrillicKeepsItsStoreAndRunEntry)
{
    std::wstring folder = L"C:\\velutra-e2e\\\u041f\u0440\u043e\u0433\u0440\u0430\u043c\u043c\u0430";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(std::wstring(copy.exe.begin(), copy.exe.end()).c_str(), (folder + L"\\v.exe").c_str(), 0));
    DeleteFileW((folder + L"\\velutra.s").c_str());
    ShellExecuteW(nullptr, nullptr, (folder + L"\\v.exe").c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    ASSERT_TRUE(WaitUntil([] { return !MainWindows().empty() && IsWindowVisible(MainWindows().front()); }));
    SendCommand(MainWindows().front(), IDM_EXIT);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((folder + L"\\velutra.s").c_str())) << "no store was saved";
    std::string run = ReadRegistryString(HKEY_LOCAL_MACHINE, kRunKey, kRunValue).value_or("");
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(run.substr(0, run.rfind(" TRAYAPP")).c_str())) << run;
}

}  // namespace
