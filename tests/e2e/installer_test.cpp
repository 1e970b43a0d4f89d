// The installer as a user meets it: a silent install into the per-user folder, the program started
// from there saving its playlists beside itself, the autostart choice, and the uninstaller.
#include <shlobj.h>
#include <tlhelp32.h>

#include "tests/e2e/driver.h"

namespace {

constexpr const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velutra";
constexpr int kExitCommand = 106;

std::string FolderPath(int csidl)
{
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Runs a command line and waits for it; its exit code, or -1 when it could not start or hung.
int RunAndWait(const std::string& commandLine)
{
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return -1;
    CloseHandle(info.hThread);
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(info.hProcess, 60000) == WAIT_OBJECT_0) GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hProcess);
    return static_cast<int>(code);
}

// The uninstaller copies itself to the temporary folder, starts the copy (Un_A.exe) and ends at
// once; the copy does the work. True once no such copy runs any more. NSIS names the copy Un.exe
// (Un_A.exe and so on in older versions).
bool WaitForUninstallerCopies()
{
    return e2e::WaitUntil([] {
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (snapshot == INVALID_HANDLE_VALUE) return false;
        PROCESSENTRY32 entry{};
        entry.dwSize = sizeof(entry);
        bool running = false;
        for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
            std::string name = entry.szExeFile;
            if (name == "Un.exe" || name.compare(0, 3, "Un_") == 0) running = true;
        }
        CloseHandle(snapshot);
        return !running;
    });
}

class Installer : public ::testing::Test {
protected:
    void SetUp() override
    {
        defaultFolder = FolderPath(CSIDL_LOCAL_APPDATA) + "\\Programs\\Velutra";
        shortcuts = FolderPath(CSIDL_PROGRAMS) + "\\Velutra";
        RemoveInstallations();
        ASSERT_TRUE(FileExists(kSetup)) << "no installer at " << kSetup;
    }

    void TearDown() override { RemoveInstallations(); }

    // What an earlier test (or run) left: its installation, its playlists, its registry values.
    void RemoveInstallations()
    {
        e2e::EndAllVelutraProcesses();
        for (const std::string& folder : {defaultFolder, std::string(kFolderWithBlank)}) {
            if (FileExists(folder + "\\uninstall.exe")) RunAndWait("\"" + folder + "\\uninstall.exe\" /S /PURGE");
            WaitForUninstallerCopies();
            DeleteFileA((folder + "\\velutra.s").c_str());
            RemoveDirectoryA(folder.c_str());
        }
        e2e::ClearVelutraRegistry();
    }

    int Install(const std::string& options)
    {
        return RunAndWait("\"" + std::string(kSetup) + "\" /S" + (options.empty() ? "" : " " + options));
    }

    // Starts the installed program, waits for its window and ends it with Exit.
    void RunAndExit(const std::string& folder)
    {
        e2e::ProgramCopy installed{folder, folder + "\\velutra.exe"};
        e2e::Program program = e2e::StartProgram(installed, "");
        HWND window = e2e::WaitForMainWindow(program);
        ASSERT_NE(window, nullptr) << "the installed program showed no window";
        e2e::SendCommand(window, kExitCommand);
        std::optional<DWORD> code = e2e::WaitForExit(program);
        e2e::EndProgram(&program);
        ASSERT_TRUE(code.has_value()) << "Exit did not end the installed program";
    }

    void Uninstall(const std::string& folder, const std::string& options)
    {
        EXPECT_EQ(RunAndWait("\"" + folder + "\\uninstall.exe\" /S" + options), 0);
        EXPECT_TRUE(WaitForUninstallerCopies()) << "the uninstaller did not finish";
    }

    static constexpr const char* kSetup = VELUTRA_SETUP;
    static constexpr const char* kFolderWithBlank = "C:\\Velutra Test\\Velutra";
    std::string defaultFolder;
    std::string shortcuts;
};

TEST_F(Installer, SilentInstallPutsTheProgramInTheUsersFolderWithShortcutAndUninstallEntry)
{
    ASSERT_EQ(Install(""), 0);
    std::optional<std::vector<unsigned char>> installed = e2e::ReadFileBytes(defaultFolder + "\\velutra.exe");
    ASSERT_TRUE(installed.has_value()) << "no velutra.exe in " << defaultFolder;
    std::string built = std::getenv("VELUTRA_EXE") ? std::getenv("VELUTRA_EXE") : "";
    for (char& c : built)
        if (c == '/') c = '\\';
    EXPECT_EQ(installed, e2e::ReadFileBytes("Z:" + built)) << "the installed program is not the one built";
    EXPECT_TRUE(FileExists(defaultFolder + "\\README.txt"));
    EXPECT_TRUE(FileExists(defaultFolder + "\\LICENSE.txt"));
    EXPECT_TRUE(FileExists(defaultFolder + "\\uninstall.exe"));
    EXPECT_FALSE(FileExists(defaultFolder + "\\velutra.s")) << "the installer brings no playlists";
    EXPECT_TRUE(FileExists(shortcuts + "\\Velutra.lnk"));
    EXPECT_EQ(e2e::ReadRegistryString(HKEY_CURRENT_USER, kUninstallKey, "DisplayVersion"), VELUTRA_VERSION_TEXT);
    EXPECT_EQ(e2e::ReadRegistryString(HKEY_CURRENT_USER, kUninstallKey, "InstallLocation"), defaultFolder);
    // "Start with Windows" is a choice, off unless made.
    EXPECT_FALSE(e2e::ReadRegistryString(HKEY_LOCAL_MACHINE, e2e::kRunKey, e2e::kRunValue).has_value());
    EXPECT_FALSE(e2e::ReadRegistryString(HKEY_CURRENT_USER, e2e::kRunKey, e2e::kRunValue).has_value());
}

TEST_F(Installer, InstalledProgramSavesItsPlaylistsBesideItselfAndUninstallKeepsThemUnlessAsked)
{
    ASSERT_EQ(Install(""), 0);
    RunAndExit(defaultFolder);
    std::optional<std::vector<unsigned char>> store = e2e::ReadFileBytes(defaultFolder + "\\velutra.s");
    ASSERT_TRUE(store.has_value()) << "Exit wrote no velutra.s beside the installed program";
    ASSERT_EQ(store->size(), 24u) << "two empty lists make a 24-byte store";
    EXPECT_EQ((*store)[0], 'V');
    EXPECT_EQ((*store)[1], 'L');
    EXPECT_TRUE(e2e::ReadRegistryDword(HKEY_LOCAL_MACHINE, e2e::kVelutraKey, "Config").has_value());
    // The tray icon is on by default, so Exit registered the autostart of the installed copy.
    EXPECT_EQ(e2e::ReadRegistryString(HKEY_LOCAL_MACHINE, e2e::kRunKey, e2e::kRunValue),
              defaultFolder + "\\velutra.exe TRAYAPP");

    Uninstall(defaultFolder, "");
    EXPECT_FALSE(FileExists(defaultFolder + "\\velutra.exe"));
    EXPECT_FALSE(FileExists(defaultFolder + "\\README.txt"));
    EXPECT_FALSE(FileExists(defaultFolder + "\\LICENSE.txt"));
    EXPECT_FALSE(FileExists(defaultFolder + "\\uninstall.exe"));
    EXPECT_FALSE(FileExists(shortcuts + "\\Velutra.lnk"));
    EXPECT_FALSE(FileExists(shortcuts));
    EXPECT_FALSE(e2e::ReadRegistryString(HKEY_CURRENT_USER, kUninstallKey, "DisplayName").has_value());
    EXPECT_FALSE(e2e::ReadRegistryString(HKEY_LOCAL_MACHINE, e2e::kRunKey, e2e::kRunValue).has_value())
        << "the autostart entry of a removed program stayed";
    // A silent uninstall answers "keep" to the question about the user's playlists and settings.
    EXPECT_EQ(e2e::ReadFileBytes(defaultFolder + "\\velutra.s"), store);
    EXPECT_TRUE(e2e::ReadRegistryDword(HKEY_LOCAL_MACHINE, e2e::kVelutraKey, "Config").has_value());
}

TEST_F(Installer, AutostartChoiceWritesTheRunEntryTheProgramWritesAndPurgeRemovesEverything)
{
    ASSERT_EQ(Install("/AUTOSTART /D=" + std::string(kFolderWithBlank)), 0);
    const std::string expected = "\"" + std::string(kFolderWithBlank) + "\\velutra.exe\" TRAYAPP";
    EXPECT_EQ(e2e::ReadRegistryString(HKEY_LOCAL_MACHINE, e2e::kRunKey, e2e::kRunValue), expected);

    e2e::ClearVelutraRegistry();
    RunAndExit(kFolderWithBlank);
    EXPECT_EQ(e2e::ReadRegistryString(HKEY_LOCAL_MACHINE, e2e::kRunKey, e2e::kRunValue), expected)
        << "the program and the installer disagree on the autostart text";
    ASSERT_TRUE(FileExists(std::string(kFolderWithBlank) + "\\velutra.s"));

    Uninstall(kFolderWithBlank, " /PURGE");
    EXPECT_FALSE(FileExists(kFolderWithBlank)) << "the purged installation left its folder";
    EXPECT_FALSE(e2e::ReadRegistryString(HKEY_LOCAL_MACHINE, e2e::kRunKey, e2e::kRunValue).has_value());
    EXPECT_FALSE(e2e::ReadRegistryDword(HKEY_LOCAL_MACHINE, e2e::kVelutraKey, "Config").has_value());
}

TEST_F(Installer, UninstallLeavesAnotherCopysAutostartEntryAlone)
{
    ASSERT_EQ(Install(""), 0);
    const std::string other = "C:\\Elsewhere\\velutra.exe TRAYAPP";
    HKEY run = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, e2e::kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &run, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(run, e2e::kRunValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(other.c_str()),
                   static_cast<DWORD>(other.size() + 1));
    RegCloseKey(run);

    Uninstall(defaultFolder, " /PURGE");
    EXPECT_FALSE(FileExists(defaultFolder));
    EXPECT_EQ(e2e::ReadRegistryString(HKEY_LOCAL_MACHINE, e2e::kRunKey, e2e::kRunValue), other);
}

}  // namespace
