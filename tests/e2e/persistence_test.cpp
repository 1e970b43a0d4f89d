// What survives a restart: Exit writes the store beside the program and the settings; the end of a
// session saves as Exit does; WM_CLOSE and Alt+F4 end with 0 and write nothing; the Run entry
// starts the program hidden with the settings of the last Exit.
#include "resources/resource.h"
#include "tests/e2e/driver.h"

namespace {

using Bytes = std::vector<unsigned char>;

// A store as a disk holds it: a MIDI section (looping) and a Sound section, each an id, a count
// and flags, big-endian, then one 256-byte record per entry.
Bytes StoreFile(const std::vector<std::string>& midi)
{
    Bytes bytes{'V', 'L', 10, 0, 0, 0, 0, 0, 0, 1, 0, static_cast<unsigned char>(midi.size()), 0, 0, 0, static_cast<unsigned char>(midi.empty() ? 0 : 2)};
    for (const std::string& text : midi) {
        bytes.insert(bytes.end(), text.begin(), text.end());
        bytes.resize(bytes.size() + 256 - text.size());
    }
    bytes.insert(bytes.end(), {0, 2, 0, 0, 0, 0, 0, 0});
    return bytes;
}

class Persistence : public e2e::VelutraTest {
protected:
    std::optional<DWORD> Config() { return e2e::ReadRegistryDword(HKEY_LOCAL_MACHINE, e2e::kVelutraKey, "Config"); }
    std::optional<Bytes> Store() { return e2e::ReadFileBytes(copy.folder + "\\velutra.s"); }
};

TEST_F(Persistence, ExitSavesTheOtherClosesDoNot)
{
    HWND main = StartAndWait();
    ASSERT_TRUE(main);
    e2e::SendCommand(main, IDM_CDPLAYER);
    EXPECT_FALSE(Config() || Store()) << "first run: something was written before Exit";
    e2e::SendCommand(main, IDM_EXIT);
    EXPECT_EQ(0u, e2e::WaitForExit(programs.back()).value_or(99)) << "first run: exit code of Exit";
    EXPECT_EQ(0x9Bu, Config().value_or(0)) << "first run: the defaults without CD";
    EXPECT_EQ(0u, e2e::ReadRegistryDword(HKEY_LOCAL_MACHINE, e2e::kVelutraKey, "Option").value_or(99));
    EXPECT_EQ(10u, e2e::ReadRegistryDword(HKEY_LOCAL_MACHINE, e2e::kVelutraKey, "Wavefmt").value_or(99));
    EXPECT_EQ(StoreFile({}), Store().value_or(Bytes{})) << "first run: two empty lists";
    std::string autostart = e2e::ReadRegistryString(HKEY_LOCAL_MACHINE, e2e::kRunKey, e2e::kRunValue).value_or("");
    EXPECT_EQ(copy.exe + " TRAYAPP", autostart) << "first run: the Run entry";

    const Bytes lists = StoreFile({"C:\\Music\\a.mid", "C:\\Music\\b.mid"});
    ASSERT_TRUE(e2e::PutFileBytes(copy.folder + "\\velutra.s", lists));
    programs.push_back(e2e::StartCommandLine(autostart));
    main = e2e::WaitForMainWindow(programs.back());
    ASSERT_TRUE(main) << "autostart: no window";
    EXPECT_FALSE(IsWindowVisible(main)) << "autostart: the Run entry starts hidden";
    EXPECT_FALSE(e2e::HasVisibleStyle(e2e::FindPanel(main, e2e::Panel::Cd))) << "autostart: CD came back";
    e2e::SendCommand(main, IDM_SOUNDPLAYER);
    DeleteFileA((copy.folder + "\\velutra.s").c_str());
    DWORD_PTR result = 0;
    SendMessageTimeoutA(main, WM_ENDSESSION, FALSE, 0, SMTO_NORMAL, e2e::kWaitMs, &result);
    EXPECT_FALSE(Store()) << "a session that goes on saves nothing";
    SendMessageTimeoutA(main, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, e2e::kWaitMs, &result);
    EXPECT_EQ(lists, Store().value_or(Bytes{})) << "session end: the lists it loaded, looping";
    EXPECT_EQ(0x8Bu, Config().value_or(0)) << "session end: the settings as they are";
    e2e::SendCommand(main, IDM_SOUNDPLAYER);
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, e2e::WaitForExit(programs.back()).value_or(99)) << "exit code of WM_CLOSE";
    EXPECT_EQ(0x8Bu, Config().value_or(0)) << "WM_CLOSE saved the settings";

    main = StartAndWait();
    ASSERT_TRUE(main);
    e2e::SendCommand(main, IDM_MIDIPLAYER);
    DeleteFileA((copy.folder + "\\velutra.s").c_str());
    ASSERT_TRUE(e2e::MovePointer(e2e::ScreenCentre(e2e::FindPanel(main, e2e::Panel::Main), {0, 0, 20, 20})));
    ASSERT_TRUE(e2e::PressKeys("alt+F4"));
    EXPECT_EQ(0u, e2e::WaitForExit(programs.back()).value_or(99)) << "exit code of Alt+F4";
    EXPECT_EQ(0x8Bu, Config().value_or(0)) << "Alt+F4 saved the settings";
    EXPECT_FALSE(Store()) << "Alt+F4 saved the store";
}

}  // namespace
