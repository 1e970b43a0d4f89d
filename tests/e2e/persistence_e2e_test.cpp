// What survives a restart of the real program: Exit saves the store file and the settings,
// any other close saves nothing, a session's end saves as Exit does, and the autostart entry
// starts the program hidden.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

constexpr char kSettingsPath[] = "SOFTWARE\\VELUTRA";
constexpr char kRunPath[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr DWORD kWaitMs = 30000;  // generous: a cold Wine start can take seconds
constexpr WPARAM kExitCommand = 106;
constexpr WPARAM kToggleCd = 40006;
constexpr WPARAM kToggleSound = 40008;

// velutra.exe of this build: two folders above this driver.
std::string BuiltProgram()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string driver(path);
    std::string folder = driver.substr(0, driver.find_last_of('\\'));
    folder = folder.substr(0, folder.find_last_of('\\'));
    folder = folder.substr(0, folder.find_last_of('\\'));
    return folder + "\\velutra.exe";
}

Bytes ReadWholeFile(const std::string& path)
{
    Bytes bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    unsigned char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof(chunk), &got, nullptr) && got) bytes.insert(bytes.end(), chunk, chunk + got);
    CloseHandle(file);
    return bytes;
}

bool WriteWholeFile(const std::string& path, const Bytes& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A store in the file's own layout, built here byte by byte.
struct StoreBuilder {
    Bytes bytes{0x56, 0x4C, 0x0A, 0, 0, 0, 0, 0};
    void Section(std::uint16_t id, const std::vector<std::string>& texts, std::uint32_t flags)
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
    }
};

struct RegistryValue {
    bool present = false;
    DWORD type = 0;
    std::string data;
};

RegistryValue ReadValue(const char* keyPath, const char* name)
{
    RegistryValue value;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return value;
    char data[1024] = {};
    DWORD size = sizeof(data);
    if (RegQueryValueExA(key, name, nullptr, &value.type, reinterpret_cast<BYTE*>(data), &size) == ERROR_SUCCESS) {
        value.present = true;
        value.data.assign(data, size);
    }
    RegCloseKey(key);
    return value;
}

std::string Dword(DWORD value)
{
    return std::string(reinterpret_cast<const char*>(&value), sizeof(value));
}

void WriteDword(const char* name, DWORD value)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSettingsPath, 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &key, nullptr));
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    RegCloseKey(key);
}

bool SettingsKeyExists()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSettingsPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

void RemoveEverythingStored()
{
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kSettingsPath);
    HKEY run;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunPath, 0, KEY_ALL_ACCESS, &run) == ERROR_SUCCESS) {
        RegDeleteValueA(run, "VelutraTray");
        RegCloseKey(run);
    }
}

// One run of the program, started from its own copy in a fresh folder.
class Program {
public:
    ~Program()
    {
        if (process_) {
            if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) TerminateProcess(process_, 1);
            WaitForSingleObject(process_, kWaitMs);
            CloseHandle(process_);
        }
    }
    // Starts the command line as given (the program's path first) and waits for its main window.
    bool Start(const std::string& commandLine)
    {
        std::vector<char> line(commandLine.begin(), commandLine.end());
        line.push_back('\0');
        STARTUPINFOA si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
        CloseHandle(pi.hThread);
        process_ = pi.hProcess;
        for (DWORD waited = 0; waited < kWaitMs; waited += 50) {
            window_ = FindWindowA("Velutra", nullptr);
            // Shown or hidden only after creation: wait until the message loop runs.
            if (window_ && IsMainWindowReady()) return WaitForInputIdle(process_, kWaitMs) == 0;
            if (WaitForSingleObject(process_, 50) != WAIT_TIMEOUT) return false;
        }
        return false;
    }
    HWND Window() const { return window_; }
    // The command arrives as the banner's buttons and the tray menu send it.
    void Command(WPARAM id) { SendMessageA(window_, WM_COMMAND, id, 0); }
    bool PostAndWaitForEnd(UINT msg, WPARAM wParam, LPARAM lParam)
    {
        PostMessageA(window_, msg, wParam, lParam);
        return WaitForEnd();
    }
    bool WaitForEnd() { return WaitForSingleObject(process_, kWaitMs) == WAIT_OBJECT_0; }
    bool Running() { return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }
    void Kill()
    {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, kWaitMs);
    }
    int WindowHeight()
    {
        RECT r{};
        GetWindowRect(window_, &r);
        return r.bottom - r.top;
    }

private:
    // WM_CREATE has run once the window has its size from the panel stack.
    bool IsMainWindowReady()
    {
        RECT r{};
        return GetWindowRect(window_, &r) && r.bottom > r.top;
    }
    HANDLE process_ = nullptr;
    HWND window_ = nullptr;
};

class PersistenceTest : public ::testing::Test {
protected:
    void SetUp() override { UseFolder("velutra-e2e"); }
    void TearDown() override
    {
        RemoveEverythingStored();
        CleanFolder();
    }
    // A fresh folder under the temporary folder holding a copy of the program.
    void UseFolder(const std::string& name)
    {
        if (!folder.empty()) CleanFolder();
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + name + "-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder.c_str(), nullptr);
        program = folder + "\\velutra.exe";
        store = folder + "\\velutra.s";
        ASSERT_TRUE(CopyFileA(BuiltProgram().c_str(), program.c_str(), FALSE)) << BuiltProgram();
        RemoveEverythingStored();
    }
    void CleanFolder()
    {
        DeleteFileA(store.c_str());
        DeleteFileA((store + ".tmp").c_str());
        DeleteFileA(program.c_str());
        RemoveDirectoryA(folder.c_str());
    }
    std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

    std::string folder, program, store;
};

TEST_F(PersistenceTest, FirstExitOnACleanMachineWritesTheDefaults)
{
    ASSERT_FALSE(SettingsKeyExists());
    {
        Program run;
        ASSERT_TRUE(run.Start(Quoted(program)));
        EXPECT_TRUE(SettingsKeyExists()) << "the first start creates the key";
        EXPECT_FALSE(Exists(store)) << "nothing is written before Exit";
        ASSERT_TRUE(run.PostAndWaitForEnd(WM_COMMAND, kExitCommand, 0));
    }
    RegistryValue config = ReadValue(kSettingsPath, "Config");
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), config.type);
    EXPECT_EQ(Dword(0x9F), config.data);
    EXPECT_EQ(Dword(0), ReadValue(kSettingsPath, "Option").data);
    EXPECT_EQ(Dword(10), ReadValue(kSettingsPath, "Wavefmt").data);
    RegistryValue run = ReadValue(kRunPath, "VelutraTray");
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), run.type);
    EXPECT_EQ(program + " TRAYAPP" + '\0', run.data) << "the program's own path, no quotes without a blank";

    StoreBuilder empty;
    empty.Section(1, {}, 0);
    empty.Section(2, {}, 0);
    EXPECT_EQ(empty.bytes, ReadWholeFile(store)) << "two empty lists";
}

TEST_F(PersistenceTest, ListsLoopAndSettingsComeBackAfterExitAndRestart)
{
    std::vector<std::string> midi, sound;
    for (int i = 1; i <= 300; ++i) midi.push_back(folder + "\\Music\\Piece " + std::to_string(i) + ".mid");
    for (int i = 1; i <= 3; ++i) sound.push_back("C:\\Sounds\\Take " + std::to_string(i) + ".wav");
    StoreBuilder saved;
    saved.Section(1, midi, 2);  // Loop Playing on for MIDI
    saved.Section(2, sound, 0);
    ASSERT_TRUE(WriteWholeFile(store, saved.bytes));
    WriteDword("Config", 0x7B);  // banner, mixer, MIDI, Sound, the unassigned bits; no CD, no tray
    WriteDword("Option", 0x12345678);
    WriteDword("Wavefmt", 4);
    {
        Program run;
        ASSERT_TRUE(run.Start(Quoted(program)));
        EXPECT_EQ(72 + 2 * 98, run.WindowHeight()) << "the CD panel stays hidden";
        ASSERT_TRUE(run.PostAndWaitForEnd(WM_COMMAND, kExitCommand, 0));
    }
    EXPECT_EQ(saved.bytes, ReadWholeFile(store)) << "the store after Exit holds exactly what was loaded";
    EXPECT_EQ(Dword(0x7B), ReadValue(kSettingsPath, "Config").data);
    EXPECT_EQ(Dword(0x12345678), ReadValue(kSettingsPath, "Option").data);
    EXPECT_EQ(Dword(4), ReadValue(kSettingsPath, "Wavefmt").data);
    EXPECT_FALSE(ReadValue(kRunPath, "VelutraTray").present) << "tray off: no autostart";

    // Panel choices made during a run come back at the next start.
    {
        Program run;
        ASSERT_TRUE(run.Start(Quoted(program)));
        run.Command(kToggleCd);
        run.Command(kToggleSound);
        EXPECT_EQ(72 + 2 * 98, run.WindowHeight());
        ASSERT_TRUE(run.PostAndWaitForEnd(WM_COMMAND, kExitCommand, 0));
    }
    EXPECT_EQ(Dword(0x6F), ReadValue(kSettingsPath, "Config").data);
    {
        Program run;
        ASSERT_TRUE(run.Start(Quoted(program)));
        EXPECT_EQ(72 + 2 * 98, run.WindowHeight()) << "CD and MIDI shown";
        ASSERT_TRUE(run.PostAndWaitForEnd(WM_COMMAND, kExitCommand, 0));
    }
    EXPECT_EQ(saved.bytes, ReadWholeFile(store));
}

TEST_F(PersistenceTest, AltF4AndOtherClosesWriteNothing)
{
    {
        Program run;
        ASSERT_TRUE(run.Start(Quoted(program)));
        ASSERT_TRUE(run.PostAndWaitForEnd(WM_SYSCOMMAND, SC_CLOSE, 0));  // what Alt+F4 sends
    }
    EXPECT_FALSE(Exists(store));
    EXPECT_FALSE(ReadValue(kSettingsPath, "Config").present);
    EXPECT_FALSE(ReadValue(kRunPath, "VelutraTray").present);

    StoreBuilder saved;
    saved.Section(1, {"C:\\a.mid"}, 2);
    saved.Section(2, {}, 0);
    ASSERT_TRUE(WriteWholeFile(store, saved.bytes));
    WriteDword("Config", 0x1F);
    {
        Program run;
        ASSERT_TRUE(run.Start(Quoted(program)));
        run.Command(kToggleCd);
        ASSERT_TRUE(run.PostAndWaitForEnd(WM_CLOSE, 0, 0));
    }
    EXPECT_EQ(saved.bytes, ReadWholeFile(store));
    EXPECT_EQ(Dword(0x1F), ReadValue(kSettingsPath, "Config").data);
}

TEST_F(PersistenceTest, StoredConfigWithoutTheBannerBitStillShowsTheBanner)
{
    WriteDword("Config", 0x9E);
    Program run;
    ASSERT_TRUE(run.Start(Quoted(program)));
    EXPECT_EQ(72 + 3 * 98, run.WindowHeight()) << "banner and three players";
    ASSERT_TRUE(run.PostAndWaitForEnd(WM_COMMAND, kExitCommand, 0));
    EXPECT_EQ(Dword(0x9F), ReadValue(kSettingsPath, "Config").data);
}

TEST_F(PersistenceTest, EndOfSessionSavesAsExitDoes)
{
    StoreBuilder saved;
    saved.Section(1, {"C:\\a.mid", "C:\\b.mid"}, 2);
    saved.Section(2, {"C:\\c.wav"}, 2);
    ASSERT_TRUE(WriteWholeFile(store, saved.bytes));
    Program run;
    ASSERT_TRUE(run.Start(Quoted(program)));
    run.Command(kToggleCd);
    DeleteFileA(store.c_str());
    SendMessageA(run.Window(), WM_ENDSESSION, FALSE, 0);
    EXPECT_FALSE(Exists(store)) << "a session that goes on saves nothing";
    SendMessageA(run.Window(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(saved.bytes, ReadWholeFile(store));
    EXPECT_EQ(Dword(0x9B), ReadValue(kSettingsPath, "Config").data);
    EXPECT_EQ(program + " TRAYAPP" + '\0', ReadValue(kRunPath, "VelutraTray").data);
    run.Kill();  // as Windows does once the session has ended
}

TEST_F(PersistenceTest, AutostartEntryStartsTheProgramHiddenEvenFromAFolderWithABlank)
{
    for (const char* name : {"velutra-e2e-run", "velutra e2e run"}) {
        SCOPED_TRACE(name);
        UseFolder(name);
        {
            Program run;
            ASSERT_TRUE(run.Start(Quoted(program)));
            EXPECT_TRUE(IsWindowVisible(run.Window()));
            ASSERT_TRUE(run.PostAndWaitForEnd(WM_COMMAND, kExitCommand, 0));
        }
        RegistryValue entry = ReadValue(kRunPath, "VelutraTray");
        ASSERT_TRUE(entry.present);
        std::string command = entry.data.substr(0, entry.data.size() - 1);
        bool blank = std::string(name).find(' ') != std::string::npos;
        EXPECT_EQ((blank ? Quoted(program) : program) + " TRAYAPP", command);
        {
            Program autostarted;
            ASSERT_TRUE(autostarted.Start(command)) << command;
            EXPECT_FALSE(IsWindowVisible(autostarted.Window())) << "started hidden by: " << command;
            ASSERT_TRUE(autostarted.PostAndWaitForEnd(WM_CLOSE, 0, 0));
        }
    }
}

}  // namespace
