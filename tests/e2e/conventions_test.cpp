// What a user of a current Windows meets around the program: the volume control that MIXER starts,
// and the installer's "Start with Windows", which the program must own whole.
#include <shlwapi.h>

#include "tests/e2e/driver.h"

namespace {

constexpr int kMixerCommand = 40005;
constexpr int kExitCommand = 106;
constexpr DWORD kMixerBit = 0x02;

std::string ModulePath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

// Started as sndvol.exe, this program stands in for the current volume mixer: it shows a window
// titled like the old volume control's, which the program looks for, until it is ended.
int RunAsVolumeControl()
{
    CreateWindowA("STATIC", "Master Volume", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 80, nullptr, nullptr,
                  nullptr, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}

std::vector<HWND> VolumeControls()
{
    std::vector<HWND> found;
    for (HWND w = FindWindowA(nullptr, "Master Volume"); w; w = FindWindowExA(nullptr, w, nullptr, "Master Volume"))
        found.push_back(w);
    return found;
}

void EndVolumeControls()
{
    for (HWND window : VolumeControls()) {
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, e2e::ProcessOf(window));
        if (!process) continue;
        TerminateProcess(process, 0);
        WaitForSingleObject(process, e2e::kWaitMs);
        CloseHandle(process);
    }
}

class Conventions : public e2e::VelutraTest {
protected:
    void TearDown() override
    {
        EndVolumeControls();
        VelutraTest::TearDown();
    }
};

// Wine has no SNDVOL32, as Windows since Vista has none. WinExec returns once the started program
// waits for input, so a second volume control would already show when the command returns.
TEST_F(Conventions, MixerStartsSndvolWhereSndvol32IsMissingOnlyWhileNoVolumeControlShows)
{
    EndVolumeControls();
    ASSERT_TRUE(CopyFileA(ModulePath().c_str(), (copy.folder + "\\sndvol.exe").c_str(), FALSE));
    HWND window = StartAndWait();
    ASSERT_NE(window, nullptr);
    e2e::SendCommand(window, kMixerCommand);
    EXPECT_TRUE(e2e::WaitUntil([] { return VolumeControls().size() == 1; }))
        << "MIXER started no sndvol (" << VolumeControls().size() << " volume controls show)";
    e2e::SendCommand(window, kMixerCommand);
    e2e::SendCommand(window, kMixerCommand);
    EXPECT_EQ(VolumeControls().size(), 1u) << "MIXER started another volume control beside the open one";
    e2e::SendCommand(window, kExitCommand);
    EXPECT_TRUE(e2e::WaitForExit(programs.back()).has_value()) << "Exit did not end the program";
    std::optional<DWORD> config = e2e::ReadRegistryDword(HKEY_LOCAL_MACHINE, e2e::kVelutraKey, "Config");
    ASSERT_TRUE(config.has_value()) << "Exit wrote no Config";
    EXPECT_EQ(*config & kMixerBit, 0u) << "three MIXER commands left the mixer bit as the default has it";
}

}  // namespace

int main(int argc, char** argv)
{
    if (lstrcmpiA(PathFindFileNameA(ModulePath().c_str()), "sndvol.exe") == 0) return RunAsVolumeControl();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
