// What survives a restart of the real program: Exit saves the store file and the settings, any
// other close saves nothing, a session's end saves as Exit does, and the autostart entry starts
// the program hidden.
#include "tests/e2e/driver.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

constexpr int kExit = 106;
constexpr int kToggleCd = 40006;
constexpr int kToggleSound = 40008;
constexpr int kBanner = 72;
constexpr int kPlayer = 98;

// A store in the file's own layout, built here byte by byte.
struct StoreBuilder {
    Bytes bytes{0x56, 0x4C, 0x0A, 0, 0, 0, 0, 0};
    StoreBuilder& Section(std::uint16_t id, const std::vector<std::string>& texts, std::uint32_t flags)
    {
        std::uint16_t count = static_cast<std::uint16_t>(texts.size());
        bytes.insert(bytes.end(), {static_cast<unsigned char>(id >> 8), static_cast<unsigned char>(id),
                                   static_cast<unsigned char>(count >> 8), static_cast<unsigned char>(count),
                                   static_cast<unsigned char>(flags >> 24), static_cast<unsigned char>(flags >> 16),
                                   static_cast<unsigned char>(flags >> 8), static_cast<unsigned char>(flags)});
        for (const std::string& text : texts) {
            Bytes record(256, 0);
            std::memcpy(record.data(), text.data(), text.size());
            bytes.insert(bytes.end(), record.begin(), record.end());
        }
        return *this;
    }
};

bool WriteWholeFile(const std::string& path, const Bytes& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

void WriteDword(const char* name, DWORD value)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, e2e::kVelutraKey, 0, nullptr, 0, KEY_SET_VALUE,
                                             nullptr, &key, nullptr));
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    RegCloseKey(key);
}

std::optional<DWORD> StoredDword(const char* name)
{
    return e2e::ReadRegistryDword(HKEY_LOCAL_MACHINE, e2e::kVelutraKey, name);
}

std::optional<std::string> RunEntry()
{
    return e2e::ReadRegistryString(HKEY_LOCAL_MACHINE, e2e::kRunKey, e2e::kRunValue);
}

// The stored length of the Run value, terminating zero included.
DWORD RunEntrySize()
{
    HKEY key = nullptr;
    DWORD size = 0, type = 0;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, e2e::kRunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return 0;
    RegQueryValueExA(key, e2e::kRunValue, nullptr, &type, nullptr, &size);
    RegCloseKey(key);
    return size;
}

bool SettingsKeyExists()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, e2e::kVelutraKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

int WindowHeight(HWND window)
{
    RECT r = e2e::WindowRectIn(window, nullptr);
    return r.bottom - r.top;
}

class Persistence : public e2e::VelutraTest {
protected:
    std::string Store() const { return copy.folder + "\\velutra.s"; }

    // Starts the copy, waits for its window and keeps the process for ExitAndWait.
    HWND Run(const std::string& args = "")
    {
        program = Start(args);
        HWND window = e2e::WaitForMainWindow(program);
        if (!window) ADD_FAILURE() << "no main window";
        return window;
    }
    // Exit as the Power button and the tray menu give it, then the process ends.
    void ExitAndWait(HWND window)
    {
        e2e::SendCommand(window, kExit);
        EXPECT_EQ(0u, e2e::WaitForExit(program).value_or(999)) << "Exit ends the program with code 0";
    }
    // Starts a command line exactly as Windows would run the Run entry's text.
    e2e::Program StartCommandLine(const std::string& commandLine)
    {
        std::vector<char> buffer(commandLine.begin(), commandLine.end());
        buffer.push_back('\0');
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        e2e::Program started;
        if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, "C:\\", &startup, &info)) {
            ADD_FAILURE() << "CreateProcess of " << commandLine << " failed, error " << GetLastError();
            return started;
        }
        CloseHandle(info.hThread);
        started.process = info.hProcess;
        started.pid = info.dwProcessId;
        programs.push_back(started);
        return started;
    }

    e2e::Program program;
};

TEST_F(Persistence, FirstExitOnACleanMachineWritesTheDefaults)
{
    ASSERT_FALSE(SettingsKeyExists());
    HWND window = Run();
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(SettingsKeyExists()) << "the first start creates the key";
    EXPECT_FALSE(StoredDword("Config").has_value()) << "nothing is written before Exit";
    EXPECT_FALSE(e2e::ReadFileBytes(Store()).has_value()) << "nothing is written before Exit";
    ExitAndWait(window);

    EXPECT_EQ(0x9Fu, StoredDword("Config").value_or(0xBAD));
    EXPECT_EQ(0u, StoredDword("Option").value_or(0xBAD));
    EXPECT_EQ(10u, StoredDword("Wavefmt").value_or(0xBAD));
    EXPECT_EQ(copy.exe + " TRAYAPP", RunEntry().value_or("<none>")) << "the program's own path, unquoted";
    EXPECT_EQ(copy.exe.size() + 9, RunEntrySize()) << "text length + 1";
    EXPECT_EQ(StoreBuilder().Section(1, {}, 0).Section(2, {}, 0).bytes, e2e::ReadFileBytes(Store()).value_or(Bytes{}))
        << "two empty lists make the 24-byte store";
}

TEST_F(Persistence, ListsLoopAndSettingsComeBackAfterExitAndRestart)
{
    std::vector<std::string> midi, sound;
    for (int i = 1; i <= 300; ++i) midi.push_back(copy.folder + "\\Music\\Piece " + std::to_string(i) + ".mid");
    for (int i = 1; i <= 3; ++i) sound.push_back("C:\\Sounds\\Take " + std::to_string(i) + ".wav");
    Bytes saved = StoreBuilder().Section(1, midi, 2).Section(2, sound, 0).bytes;  // MIDI loops
    ASSERT_TRUE(WriteWholeFile(Store(), saved));
    WriteDword("Config", 0x7B);  // banner, mixer bit, MIDI, Sound, the unassigned 0x20 and 0x40; no CD, no tray
    WriteDword("Option", 0x12345678);
    WriteDword("Wavefmt", 4);

    HWND window = Run();
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(kBanner + 2 * kPlayer, WindowHeight(window));
    EXPECT_FALSE(e2e::HasVisibleStyle(e2e::FindPanel(window, e2e::Panel::Cd))) << "the CD panel stays hidden";
    ExitAndWait(window);
    EXPECT_EQ(saved, e2e::ReadFileBytes(Store()).value_or(Bytes{})) << "Exit stores exactly the lists it loaded";
    EXPECT_EQ(0x7Bu, StoredDword("Config").value_or(0xBAD));
    EXPECT_EQ(0x12345678u, StoredDword("Option").value_or(0xBAD));
    EXPECT_EQ(4u, StoredDword("Wavefmt").value_or(0xBAD));
    EXPECT_FALSE(RunEntry().has_value()) << "tray off: no autostart";

    // Panel choices made during a run come back at the next start.
    window = Run();
    ASSERT_NE(nullptr, window);
    e2e::SendCommand(window, kToggleCd);
    e2e::SendCommand(window, kToggleSound);
    ExitAndWait(window);
    EXPECT_EQ(0x6Fu, StoredDword("Config").value_or(0xBAD));

    window = Run();
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(e2e::HasVisibleStyle(e2e::FindPanel(window, e2e::Panel::Cd)));
    EXPECT_TRUE(e2e::HasVisibleStyle(e2e::FindPanel(window, e2e::Panel::Midi)));
    EXPECT_FALSE(e2e::HasVisibleStyle(e2e::FindPanel(window, e2e::Panel::Sound)));
    ExitAndWait(window);
    EXPECT_EQ(saved, e2e::ReadFileBytes(Store()).value_or(Bytes{}));
}

TEST_F(Persistence, AltF4AndOtherClosesWriteNothing)
{
    HWND window = Run();
    ASSERT_NE(nullptr, window);
    SetForegroundWindow(window);
    ASSERT_TRUE(e2e::PressKeys("alt+F4"));
    ASSERT_TRUE(e2e::WaitForExit(program).has_value()) << "Alt+F4 closes the program";
    EXPECT_FALSE(e2e::ReadFileBytes(Store()).has_value());
    EXPECT_FALSE(StoredDword("Config").has_value());
    EXPECT_FALSE(RunEntry().has_value());

    Bytes saved = StoreBuilder().Section(1, {"C:\\a.mid"}, 2).Section(2, {}, 0).bytes;
    ASSERT_TRUE(WriteWholeFile(Store(), saved));
    WriteDword("Config", 0x1F);
    window = Run();
    ASSERT_NE(nullptr, window);
    e2e::SendCommand(window, kToggleCd);
    PostMessageA(window, WM_CLOSE, 0, 0);  // the taskbar's Close
    ASSERT_TRUE(e2e::WaitForExit(program).has_value());
    EXPECT_EQ(saved, e2e::ReadFileBytes(Store()).value_or(Bytes{}));
    EXPECT_EQ(0x1Fu, StoredDword("Config").value_or(0xBAD));
}

TEST_F(Persistence, StoredConfigWithoutTheBannerBitStillShowsTheBanner)
{
    WriteDword("Config", 0x9E);
    HWND window = Run();
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(e2e::HasVisibleStyle(e2e::FindPanel(window, e2e::Panel::Main)));
    EXPECT_EQ(kBanner + 3 * kPlayer, WindowHeight(window)) << "banner and three players";
    ExitAndWait(window);
    EXPECT_EQ(0x9Fu, StoredDword("Config").value_or(0xBAD));
}

TEST_F(Persistence, EndOfSessionSavesAsExitDoes)
{
    Bytes saved = StoreBuilder().Section(1, {"C:\\a.mid", "C:\\b.mid"}, 2).Section(2, {"C:\\c.wav"}, 2).bytes;
    ASSERT_TRUE(WriteWholeFile(Store(), saved));
    HWND window = Run();
    ASSERT_NE(nullptr, window);
    e2e::SendCommand(window, kToggleCd);
    DeleteFileA(Store().c_str());
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, WM_ENDSESSION, FALSE, 0, SMTO_NORMAL, e2e::kWaitMs, &result);
    EXPECT_FALSE(e2e::ReadFileBytes(Store()).has_value()) << "a session that goes on saves nothing";
    SendMessageTimeoutA(window, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, e2e::kWaitMs, &result);
    EXPECT_EQ(saved, e2e::ReadFileBytes(Store()).value_or(Bytes{}));
    EXPECT_EQ(0x9Bu, StoredDword("Config").value_or(0xBAD));
    EXPECT_EQ(copy.exe + " TRAYAPP", RunEntry().value_or("<none>"));
    e2e::EndProgram(&program);  // as Windows ends it once the session is over
}

TEST_F(Persistence, RunEntryStartsTheProgramHidden)
{
    HWND window = Run();
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(IsWindowVisible(window));
    ExitAndWait(window);
    std::string command = RunEntry().value_or("");
    ASSERT_EQ(copy.exe + " TRAYAPP", command);

    e2e::Program autostarted = StartCommandLine(command);
    HWND hidden = e2e::WaitForMainWindow(autostarted);
    ASSERT_NE(nullptr, hidden) << command;
    EXPECT_FALSE(IsWindowVisible(hidden)) << "started hidden by " << command;
}

// Windows splits an unquoted command at its first blank: the program would miss "TRAYAPP" (and a
// file such as C:\Program.exe would run instead), so a path with a blank is quoted.
class PersistenceInAFolderWithABlank : public Persistence {
protected:
    void SetUp() override
    {
        Persistence::SetUp();
        copy = e2e::MakeFreshCopy("Program Files " + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    }
};

TEST_F(PersistenceInAFolderWithABlank, RunEntryQuotesThePathAndStillStartsHidden)
{
    ASSERT_NE(std::string::npos, copy.exe.find(' '));
    HWND window = Run();
    ASSERT_NE(nullptr, window);
    ExitAndWait(window);
    std::string command = RunEntry().value_or("");
    EXPECT_EQ("\"" + copy.exe + "\" TRAYAPP", command);
    EXPECT_EQ(command.size() + 1, RunEntrySize());

    e2e::Program autostarted = StartCommandLine(command);
    HWND hidden = e2e::WaitForMainWindow(autostarted);
    ASSERT_NE(nullptr, hidden) << command;
    EXPECT_FALSE(IsWindowVisible(hidden)) << "started hidden by " << command;
}

}  // namespace
