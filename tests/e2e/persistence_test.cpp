// What survives a restart: Exit writes the store beside the program and the settings, and so does
// the end of a session, but not once Exit has begun; WM_CLOSE (Alt+F4) ends with 0 and writes nothing;
// the Run entry starts the program hidden with the settings of the last Exit. Starts during an Exit
// and at once, and a program folder that has no name in the Western ANSI code page the test runs in.
#include "tests/e2e/driver.h"

#include <shellapi.h>

#include "resources/resource.h"

namespace {

using Bytes = std::vector<unsigned char>;

class Persistence : public e2e::VelutraTest {
protected:
    DWORD Stored(const char* name)
    {
        return e2e::ReadRegistryDword(HKEY_LOCAL_MACHINE, e2e::kVelutraKey, name).value_or(99);
    }
    std::optional<Bytes> Store() { return e2e::ReadFileBytes(copy.folder + "\\velutra.s"); }
};

TEST_F(Persistence, ExitSavesTheOtherClosesDoNot)
{
    HWND main = StartAndWait();
    ASSERT_TRUE(main);
    e2e::SendCommand(main, IDM_CDPLAYER);
    EXPECT_TRUE(Stored("Config") == 99 && !Store()) << "first run: something was written before Exit";
    e2e::SendCommand(main, IDM_EXIT);
    EXPECT_EQ(0u, e2e::WaitForExit(programs.back()).value_or(99)) << "first run: exit code of Exit";
    EXPECT_TRUE(Stored("Config") == 0x9B && Stored("Option") == 0 && Stored("Wavefmt") == 10)
        << "first run: defaults, no CD";
    EXPECT_EQ(e2e::StoreFile({}), Store().value_or(Bytes{})) << "first run: two empty lists";
    std::string autostart = e2e::ReadRegistryString(HKEY_LOCAL_MACHINE, e2e::kRunKey, e2e::kRunValue).value_or("");
    EXPECT_EQ(copy.exe + " TRAYAPP", autostart) << "first run: the Run entry";

    const Bytes lists = e2e::StoreFile({"C:\\Music\\a.mid", "C:\\Music\\b.mid"});
    ASSERT_TRUE(e2e::PutFileBytes(copy.folder + "\\velutra.s", lists));
    main = e2e::WaitForMainWindow(programs.emplace_back(e2e::StartCommandLine(autostart)));
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
    EXPECT_EQ(0x8Bu, Stored("Config")) << "session end: the settings as they are";
    e2e::SendCommand(main, IDM_SOUNDPLAYER);
    DeleteFileA((copy.folder + "\\velutra.s").c_str());
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, e2e::WaitForExit(programs.back()).value_or(99)) << "exit code of WM_CLOSE";
    EXPECT_TRUE(Stored("Config") == 0x8B && !Store()) << "WM_CLOSE saved the settings or the store";

    // With the tray on, Wine takes up to 2 s to remove the icon while the ending window still lives.
    ASSERT_TRUE(e2e::PutFileBytes(copy.folder + "\\velutra.s", lists));
    ASSERT_TRUE(main = StartAndWait());
    e2e::Program ending = programs.back();
    PostMessageA(main, WM_COMMAND, IDM_EXIT, 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindowVisible(main); })) << "Exit did not hide the window";
    SendMessageTimeoutA(main, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, e2e::kWaitMs, &result);
    SendMessageTimeoutA(main, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, e2e::kWaitMs, &result);
    EXPECT_TRUE(StartAndWait()) << "a start right after Exit was swallowed by the ending copy";
    EXPECT_TRUE(e2e::WaitForExit(ending)) << "Exit did not end the program";
    EXPECT_EQ(lists, Store().value_or(Bytes{})) << "the session's end after Exit rewrote the store";

    e2e::EndAllVelutraProcesses();
    e2e::Program one = Start(), two = Start();
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::WaitForExit(one, 0) || e2e::WaitForExit(two, 0); }))
        << "two starts at once both run";
    EXPECT_EQ(1u, e2e::TopLevelWindows(e2e::kMainClass, nullptr, 0).size()) << "two starts at once: main windows";

    e2e::EndAllVelutraProcesses();
    std::wstring cyrillic = L"C:\\velutra-e2e\\\u041f\u0440\u043e\u0433\u0440\u0430\u043c\u043c\u0430";
    CreateDirectoryW(cyrillic.c_str(), nullptr);
    DeleteFileW((cyrillic + L"\\velutra.s").c_str());
    ASSERT_TRUE(CopyFileW(std::wstring(copy.exe.begin(), copy.exe.end()).c_str(), (cyrillic + L"\\v.exe").c_str(), 0));
    ShellExecuteW(nullptr, nullptr, (cyrillic + L"\\v.exe").c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    ASSERT_TRUE(main = e2e::WaitForShown(0, e2e::kMainClass)) << "Cyrillic folder: no window";
    e2e::SendCommand(main, IDM_EXIT);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((cyrillic + L"\\velutra.s").c_str()))
        << "Cyrillic folder: no store was saved";
    std::string run = e2e::ReadRegistryString(HKEY_LOCAL_MACHINE, e2e::kRunKey, e2e::kRunValue).value_or("");
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(run.substr(0, run.rfind(" TRAYAPP")).c_str()))
        << "Cyrillic folder: the Run entry names no file: " << run;
}

}  // namespace
