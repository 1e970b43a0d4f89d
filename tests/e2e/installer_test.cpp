// The installer as a user meets it: a silent install into the per-user folder, the program started
// from there saving beside itself, the autostart choice in a folder with a blank, turned off again
// in Properties, and uninstalls.
#include "tests/e2e/driver.h"

#include <shlobj.h>
#include <shlwapi.h>

#include "resources/resource.h"

namespace {

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velutra";
const std::string kFolderWithBlank = "C:\\Velutra Test\\Velutra";

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
auto RunEntry() { return e2e::ReadRegistryString(HKEY_LOCAL_MACHINE, e2e::kRunKey, e2e::kRunValue); }


// Runs a command line to its end; its exit code. An uninstaller ends at once and leaves the work
// to a copy of itself: `done` says when that has finished.
DWORD RunToEnd(
    const std::string& commandLine, const std::function<bool()>& done = [] { return true; })
{
    e2e::Program program = e2e::StartCommandLine(commandLine);
    DWORD code = e2e::WaitForExit(program, 60000).value_or(99);
    e2e::EndProgram(&program);
    EXPECT_TRUE(e2e::WaitUntil(done, 60000)) << commandLine << " did not finish its work";
    return code;
}

class Installer : public ::testing::Test {
protected:
    void SetUp() override
    {
        char path[MAX_PATH] = {};
        SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path);
        folder = std::string(path) + "\\Programs\\Velutra";
        SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, path);
        shortcut = std::string(path) + "\\Velutra\\Velutra.lnk";
        e2e::EndAllVelutraProcesses();
        for (const std::string& earlier : {folder, kFolderWithBlank})
            if (Exists(earlier + "\\uninstall.exe"))
                RunToEnd("\"" + earlier + "\\uninstall.exe\" /S /PURGE", [&] { return !Exists(earlier); });
        e2e::ClearVelutraRegistry();
        SHDeleteValueA(HKEY_CURRENT_USER, e2e::kRunKey, e2e::kRunValue);
    }
    // Starts the installed program by `commandLine`, says whether it came up shown, and exits it;
    // `trayOff`: once the tray icon is turned off in Properties.
    bool StartAndExit(const std::string& commandLine, bool trayOff = false)
    {
        e2e::Program program = e2e::StartCommandLine(commandLine);
        HWND window = e2e::WaitForMainWindow(program);
        EXPECT_TRUE(window) << commandLine << " showed no window";
        bool shown = window && IsWindowVisible(window);
        if (trayOff) {
            PostMessageA(window, WM_COMMAND, IDM_PROPERTIES, 0);
            HWND properties = e2e::WaitForShown(program.pid, "#32770", "Properties");
            EXPECT_TRUE(properties) << "Properties did not open";
            e2e::Press(properties, IDC_TRAYOPTION), e2e::Press(properties, IDOK);
        }
        e2e::SendCommand(window, IDM_EXIT);
        EXPECT_EQ(0u, e2e::WaitForExit(program).value_or(99)) << "Exit of " << commandLine;
        e2e::EndProgram(&program);
        return shown;
    }
    std::string folder, shortcut;
};

TEST_F(Installer, InstallRunUninstall)
{
    ASSERT_EQ(0u, RunToEnd("\"" VELUTRA_SETUP "\" /S")) << "silent install";
    const char* built = getenv("VELUTRA_EXE");
    EXPECT_EQ(e2e::ReadFileBytes("Z:" + std::string(built ? built : "")), e2e::ReadFileBytes(folder + "\\velutra.exe"))
        << "the installed program is not the one built";
    EXPECT_TRUE(Exists(folder + "\\README.txt") && Exists(folder + "\\LICENSE.txt") && Exists(shortcut));
    EXPECT_EQ(VELUTRA_VERSION_TEXT, e2e::ReadRegistryString(HKEY_CURRENT_USER, kUninstallKey, "DisplayVersion"));
    EXPECT_EQ(VELUTRA_COMPANY, e2e::ReadRegistryString(HKEY_CURRENT_USER, kUninstallKey, "Publisher"));
    EXPECT_EQ(folder, e2e::ReadRegistryString(HKEY_CURRENT_USER, kUninstallKey, "InstallLocation"));
    EXPECT_FALSE(RunEntry()) << "a silent install chose autostart";

    EXPECT_TRUE(StartAndExit("\"" + folder + "\\velutra.exe\""));
    std::optional<std::vector<unsigned char>> store = e2e::ReadFileBytes(folder + "\\velutra.s");
    EXPECT_EQ(24u, store.value_or(std::vector<unsigned char>{}).size()) << "Exit wrote no store beside the program";
    EXPECT_EQ(folder + "\\velutra.exe TRAYAPP", RunEntry().value_or("")) << "Exit with the tray on: autostart";

    auto uninstalled = [&] {
        return !Exists(folder + "\\uninstall.exe") && !RunEntry() && !Exists(shortcut) &&
               !e2e::ReadRegistryString(HKEY_CURRENT_USER, kUninstallKey, "DisplayName");
    };
    EXPECT_EQ(0u, RunToEnd("\"" + folder + "\\uninstall.exe\" /S", uninstalled)) << "uninstall";
    EXPECT_FALSE(Exists(folder + "\\velutra.exe") || Exists(folder + "\\README.txt"));
    EXPECT_EQ(store, e2e::ReadFileBytes(folder + "\\velutra.s")) << "a silent uninstall keeps the playlists";
    EXPECT_TRUE(e2e::ReadRegistryDword(HKEY_LOCAL_MACHINE, e2e::kVelutraKey, "Config")) << "and the settings";

    ASSERT_EQ(0u, RunToEnd("\"" VELUTRA_SETUP "\" /S /AUTOSTART /D=" + kFolderWithBlank)) << "install with autostart";
    const std::string autostart = "\"" + kFolderWithBlank + "\\velutra.exe\" TRAYAPP";
    EXPECT_EQ(autostart, RunEntry().value_or(""));
    e2e::ClearVelutraRegistry();
    EXPECT_FALSE(StartAndExit(autostart)) << "the autostart entry starts hidden";
    EXPECT_EQ(autostart, RunEntry().value_or("")) << "the program and the installer disagree on the entry";
    // For a standard user, whom Windows keeps out of HKLM's Run key, the installer writes it under HKCU.
    SHSetValueA(HKEY_CURRENT_USER, e2e::kRunKey, e2e::kRunValue, REG_SZ, autostart.c_str(), autostart.size() + 1);
    EXPECT_TRUE(StartAndExit("\"" + kFolderWithBlank + "\\velutra.exe\"", true)) << "a plain start is shown";
    EXPECT_FALSE(RunEntry() || !SHGetValueA(HKEY_CURRENT_USER, e2e::kRunKey, e2e::kRunValue, nullptr, nullptr, nullptr))
        << "a Run value is left after the tray icon was turned off and Exit used";
    const std::string other = "C:\\Elsewhere\\velutra.exe TRAYAPP";
    e2e::WriteRegistryValue(HKEY_LOCAL_MACHINE, e2e::kRunKey, e2e::kRunValue, REG_SZ, other.c_str(), other.size() + 1);
    auto purged = [&] {
        return !Exists(kFolderWithBlank) && !e2e::ReadRegistryDword(HKEY_LOCAL_MACHINE, e2e::kVelutraKey, "Config");
    };
    EXPECT_EQ(0u, RunToEnd("\"" + kFolderWithBlank + "\\uninstall.exe\" /S /PURGE", purged))
        << "a purging uninstall removes the folder, the playlists and the settings";
    EXPECT_EQ(other, RunEntry().value_or("")) << "the uninstall removed another copy's autostart entry";
}

}  // namespace
