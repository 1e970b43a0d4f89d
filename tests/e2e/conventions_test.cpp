// Around the program on a current Windows: the volume control MIXER starts, the installer's autostart.
#include <shlwapi.h>

#include <algorithm>
#include <cstdlib>
#include <tuple>

#include "tests/e2e/driver.h"

namespace {

constexpr int kMixer = 40005, kExit = 106, kProperties = 40012, kTrayOption = 1028;

// This program as the stand-in sndvol.exe: a message box titled as the old volume control (main).
std::vector<HWND> VolumeControls() { return e2e::TopLevelWindows("#32770", "Master Volume", 0); }

// Every place whose Run value "VelutraTray" would start the program at log-on; `remove` deletes them.
std::string RunValues(bool remove = false)
{
    std::string found;
    for (auto [root, view, name] : {std::tuple{HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, "HKLM "},
                                    {HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, "HKLM-WOW6432Node "},
                                    {HKEY_CURRENT_USER, 0, "HKCU "}}) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(root, e2e::kRunKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE | view, &key) != ERROR_SUCCESS) continue;
        if (RegQueryValueExA(key, e2e::kRunValue, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) found += name;
        if (remove) RegDeleteValueA(key, e2e::kRunValue);
        RegCloseKey(key);
    }
    return found;
}

class Conventions : public e2e::VelutraTest {
protected:
    std::optional<DWORD> RunAndWait(const std::string& exe, const std::string& args)
    {
        programs.push_back(e2e::StartProgram({exe.substr(0, exe.rfind('\\')), exe}, args));
        return e2e::WaitForExit(programs.back(), 60000);
    }
    void TearDown() override
    {
        for (HWND box : VolumeControls()) PostMessageA(box, WM_CLOSE, 0, 0);
        e2e::VelutraTest::TearDown();
    }
};

// Wine has no SNDVOL32, as Windows since Vista has none. WinExec returns once the started program
// waits for input, so a second volume control would already show when the command returns.
TEST_F(Conventions, MixerStartsSndvolWhereSndvol32IsMissingOnlyWhileNoVolumeControlShows)
{
    ASSERT_TRUE(CopyFileA(_pgmptr, (copy.folder + "\\sndvol.exe").c_str(), FALSE));
    HWND window = StartAndWait();
    ASSERT_NE(window, nullptr);
    e2e::SendCommand(window, kMixer);
    EXPECT_TRUE(e2e::WaitUntil([] { return VolumeControls().size() == 1; })) << "MIXER started no sndvol";
    for (int again = 0; again < 2; ++again) e2e::SendCommand(window, kMixer);
    EXPECT_EQ(VolumeControls().size(), 1u) << "MIXER started another volume control beside the open one";
    e2e::SendCommand(window, kExit);
    EXPECT_TRUE(e2e::WaitForExit(programs.back()).has_value()) << "Exit did not end the program";
    EXPECT_EQ(e2e::ReadRegistryDword(HKEY_LOCAL_MACHINE, e2e::kVelutraKey, "Config").value_or(0x9F) & 0x02, 0u)
        << "three MIXER commands left the mixer bit as the default (0x9F) has it";
}

TEST_F(Conventions, InstallersStartWithWindowsIsGoneEverywhereOnceTheTrayIconIsTurnedOffAndExitUsed)
{
    std::string setup = std::string("Z:") + (std::getenv("VELUTRA_SETUP") ? std::getenv("VELUTRA_SETUP") : "");
    std::replace(setup.begin(), setup.end(), '/', '\\');
    const std::string folder = std::string(std::getenv("LOCALAPPDATA")) + "\\Programs\\Velutra";
    RunValues(true);
    ASSERT_EQ(RunAndWait(setup, "/S /AUTOSTART"), 0u) << "the installer " << setup << " failed";
    EXPECT_EQ(e2e::ReadRegistryString(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velutra",
                                       "Publisher"), VELUTRA_COMPANY);
    EXPECT_EQ(e2e::ReadRegistryString(HKEY_LOCAL_MACHINE, e2e::kRunKey, e2e::kRunValue),
              folder + "\\velutra.exe TRAYAPP") << "the installer wrote another Run value than the program writes";

    // Where Windows keeps a standard user out of HKLM's Run key, the installer writes under HKCU.
    const std::string command = folder + "\\velutra.exe TRAYAPP";
    SHSetValueA(HKEY_CURRENT_USER, e2e::kRunKey, e2e::kRunValue, REG_SZ, command.c_str(), command.size() + 1);
    programs.push_back(e2e::StartProgram({folder, folder + "\\velutra.exe"}, ""));
    HWND window = e2e::WaitForMainWindow(programs.back()), dialog = nullptr;
    ASSERT_NE(window, nullptr) << "the installed program showed no window";
    PostMessageA(window, WM_COMMAND, kProperties, 0);
    ASSERT_TRUE(e2e::WaitUntil([&] {
        std::vector<HWND> shown = e2e::ShownWindows(programs.back().pid, "#32770");
        return (dialog = shown.empty() ? nullptr : shown.front()) != nullptr;
    })) << "Properties did not open";
    e2e::Press(dialog, kTrayOption);
    e2e::Press(dialog, IDOK);
    e2e::SendCommand(window, kExit);
    EXPECT_TRUE(e2e::WaitForExit(programs.back()).has_value()) << "Exit did not end the program";
    EXPECT_EQ(RunValues(), "") << "Run values left after the tray icon was turned off and Exit used";

    EXPECT_EQ(RunAndWait(folder + "\\uninstall.exe", "/S /PURGE"), 0u);
    EXPECT_TRUE(e2e::WaitUntil([&] { return !PathFileExistsA(folder.c_str()); })) << "the uninstaller left " << folder;
}

}  // namespace

int main(int argc, char** argv)
{
    if (StrStrIA(PathFindFileNameA(argv[0]), "sndvol"))
        return MessageBoxA(nullptr, "A stand-in for the volume mixer", "Master Volume", MB_OK) ? 0 : 1;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
