// Nothing lost, nothing frozen: the session's end after Exit, a start right after Exit or beside
// another start, MIDI Pause on a sequencer that has no resume, and the Sound panel when its review
// ends. Each journey prints what it measured.
#include "tests/e2e/driver.h"

#include <cstdio>
#include <string>

#include "resources/resource.h"
#include "tests/drivers/sequencer/smf_builder.h"

namespace {

using namespace e2e;

const char kMciKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\MCI";

// Two MIDI entries naming `midi` and an empty Sound list, in the store file's own layout.
std::string StoreOf(const std::string& midi)
{
    std::string record = midi + std::string(256 - midi.size(), '\0');
    return std::string("VL\x0a\0\0\0\0\0\0\x01\0\x02\0\0\0\0", 16) + record + record +
           std::string("\0\x02\0\0\0\0\0\0", 8);
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

void SetValue(HKEY root, const char* key, const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY opened = nullptr;
    RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr);
    RegSetValueExA(opened, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(opened);
}

void SetConfig(DWORD config)
{
    SetValue(HKEY_LOCAL_MACHINE, kVelutraKey, "Config", REG_DWORD, &config, sizeof(config));
}

double SecondsSince(DWORD tick)
{
    return (GetTickCount() - tick) / 1000.0;
}

bool Ended(const Program& program)
{
    return WaitForSingleObject(program.process, 0) == WAIT_OBJECT_0;
}

class Mends : public VelutraTest {
protected:
    HWND Shown(const char* className, const char* title = nullptr)
    {
        std::vector<HWND> shown = ShownWindows(programs.back().pid, className, title);
        return shown.empty() ? nullptr : shown.front();
    }
    bool Shows(HWND panel, const std::string& text)
    {
        return WaitUntil([&] { return WindowText(GetDlgItem(panel, IDC_TRACK)).find(text) != std::string::npos; });
    }
};

TEST_F(Mends, ExitLosesNothingAndNoStartIsSwallowed)
{
    const std::string store = StoreOf("C:\\tune.mid");
    WriteBytes(copy.folder + "\\velutra.s", store);
    SetConfig(0x1F);
    HWND main = StartAndWait();
    DWORD exitTick = GetTickCount();
    SendCommand(main, IDM_EXIT);
    ASSERT_TRUE(WaitForExit(programs.back()).has_value()) << "Exit with the tray icon off did not end the program";
    std::printf("Exit with the tray icon off: %.2f s\n", SecondsSince(exitTick));

    SetConfig(0x9F);
    main = StartAndWait();
    Program first = programs.back();
    exitTick = GetTickCount();
    PostMessageA(main, WM_COMMAND, IDM_EXIT, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); })) << "Exit did not hide the window";
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(main, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, kWaitMs, &answer);
    SendMessageTimeoutA(main, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, kWaitMs, &answer);
    Program again = Start();
    HWND againWindow = WaitForMainWindow(again);
    EXPECT_NE(nullptr, againWindow) << "a start right after Exit was swallowed by the ending copy";
    ASSERT_TRUE(WaitForExit(first).has_value()) << "Exit with the tray icon on did not end the program";
    std::printf("Exit with the tray icon on (the session ending too): %.2f s\n", SecondsSince(exitTick));
    std::optional<std::vector<unsigned char>> saved = ReadFileBytes(copy.folder + "\\velutra.s");
    EXPECT_TRUE(saved && std::string(saved->begin(), saved->end()) == store)
        << "the session's end after Exit rewrote the store: " << (saved ? saved->size() : 0) << " bytes";

    if (againWindow) SendCommand(againWindow, IDM_EXIT);
    ASSERT_TRUE(WaitForExit(again).has_value());
    Program one = Start();
    Program two = Start();
    EXPECT_TRUE(WaitUntil([&] { return Ended(one) || Ended(two); })) << "two starts at once both run";
    EXPECT_EQ(1u, MainWindows().size()) << "two starts at once left other than one main window";
}

TEST_F(Mends, MidiPauseTwicePlaysOnWhereTheSequencerHasNoResume)
{
    char driver[MAX_PATH] = {};
    GetFullPathNameA(VSEQ_DLL, MAX_PATH, driver, nullptr);
    SetValue(HKEY_LOCAL_MACHINE, kMciKey, "sequencer", REG_SZ, driver, static_cast<DWORD>(strlen(driver) + 1));
    Bytes midi = MidiOfLength(2500);
    WriteBytes(copy.folder + "\\tune.mid", std::string(midi.begin(), midi.end()));
    WriteBytes(copy.folder + "\\velutra.s", StoreOf(copy.folder + "\\tune.mid"));
    HWND panel = FindPanel(StartAndWait(), Panel::Midi);
    ASSERT_NE(nullptr, panel);
    Press(panel, IDC_PLAY);
    EXPECT_TRUE(Shows(panel, "00:01 Music 01")) << "the play did not start";
    Press(panel, IDC_PAUSE);
    Press(panel, IDC_PAUSE);
    EXPECT_TRUE(Shows(panel, "Music 02")) << "Pause, Pause did not play on to the end of the first file: "
                                         << WindowText(GetDlgItem(panel, IDC_TRACK));
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kMciKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, "sequencer");
        RegCloseKey(key);
    }
}

// The panel is given back in the step that closes the review: when the dialog is gone the panel
// and its buttons are usable again and the review file is deleted.
TEST_F(Mends, TheReviewGivesThePanelBackAsItClosesAndLeavesNoFile)
{
    HWND panel = FindPanel(StartAndWait(), Panel::Sound);
    ASSERT_NE(nullptr, panel);
    for (const char* way : {"Quit", "Save"}) {
        Press(panel, IDC_RECORD);
        ASSERT_TRUE(Shows(panel, "00:01 Record")) << way << ": the recording did not count";
        Press(panel, IDC_STOP);
        HWND review = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (review = Shown("#32770")) != nullptr; })) << way << ": no review";
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        WIN32_FIND_DATAA found;
        EXPECT_NE(INVALID_HANDLE_VALUE, FindFirstFileA((std::string(temp) + "VLR*.tmp").c_str(), &found));
        if (way[0] == 'Q') {
            PostPress(review, IDCANCEL);
        } else {
            PostPress(review, IDOK);
            HWND saveAs = nullptr;
            ASSERT_TRUE(WaitUntil([&] { return (saveAs = Shown("#32770", "Save As")) != nullptr; }));
            std::string name = copy.folder + "\\take.wav";
            DWORD_PTR result = 0;
            SendMessageTimeoutA(GetDlgItem(saveAs, 0x47C) ? GetDlgItem(saveAs, 0x47C) : GetDlgItem(saveAs, 0x480),
                                WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()), SMTO_NORMAL, kWaitMs, &result);
            PostMessageA(saveAs, WM_COMMAND, IDOK, 0);
        }
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(review); })) << way << ": the review stayed";
        DWORD closed = GetTickCount();
        EXPECT_TRUE(IsWindowEnabled(panel) && IsWindowEnabled(GetDlgItem(panel, IDC_RECORD)))
            << way << ": the panel was still locked when the review had closed";
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(panel, IDC_PLAY)) != FALSE; }));
        std::printf("%s: the panel came back %.2f s after the review closed\n", way, SecondsSince(closed));
        EXPECT_TRUE(WaitUntil([&] { return FindFirstFileA((std::string(temp) + "VLR*.tmp").c_str(), &found) == INVALID_HANDLE_VALUE; }))
            << way << " left its review file";
    }
}

}  // namespace
