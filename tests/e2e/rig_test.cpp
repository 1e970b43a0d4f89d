// The driver's own tools, checked on windows and keys of the driver itself, so that a failure in
// a program test points at the program.
#include "tests/e2e/driver.h"

namespace {

DWORD WINAPI ShowBox(LPVOID result)
{
    *static_cast<int*>(result) = MessageBoxA(nullptr, "Line one.\nLine two.", "Velutra", MB_OKCANCEL);
    return 0;
}

TEST(Rig, MessageBoxIsFoundReadAndAnswered)
{
    int answer = 0;
    HANDLE thread = CreateThread(nullptr, 0, ShowBox, &answer, 0, nullptr);
    ASSERT_NE(nullptr, thread);
    HWND box = e2e::WaitForMessageBox(GetCurrentProcessId());
    ASSERT_NE(nullptr, box) << "no message box captioned Velutra";
    EXPECT_EQ("Line one.\nLine two.", e2e::MessageBoxText(box));
    e2e::PressMessageBoxButton(box, IDCANCEL);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, e2e::kWaitMs));
    CloseHandle(thread);
    EXPECT_EQ(IDCANCEL, answer);
}

TEST(Rig, XdotoolMovesThePointerOfTheDisplay)
{
    ASSERT_EQ(0, e2e::RunXdotool("mousemove 17 23"));
    POINT pt{};
    EXPECT_TRUE(e2e::WaitUntil([&] { return GetCursorPos(&pt) && pt.x == 17 && pt.y == 23; }))
        << "pointer at " << pt.x << "," << pt.y;
    EXPECT_NE(0, e2e::RunXdotool("no-such-command 2>/dev/null")) << "a failing xdotool reads as success";
}

class RigCopy : public e2e::VelutraTest {};

TEST_F(RigCopy, FreshFolderHoldsTheProgramAndRegistryIsClear)
{
    std::optional<std::vector<unsigned char>> exe = e2e::ReadFileBytes(copy.exe);
    ASSERT_TRUE(exe.has_value()) << copy.exe;
    ASSERT_GT(exe->size(), 2u);
    EXPECT_EQ('M', (*exe)[0]);
    EXPECT_EQ('Z', (*exe)[1]);
    EXPECT_FALSE(e2e::ReadFileBytes(copy.folder + "\\velutra.s").has_value()) << "a store file in a fresh folder";

    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, e2e::kVelutraKey, 0, nullptr, 0, KEY_SET_VALUE,
                                             nullptr, &key, nullptr));
    DWORD config = 0x15;
    RegSetValueExA(key, "Config", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&config), sizeof(config));
    RegCloseKey(key);
    EXPECT_EQ(0x15u, e2e::ReadRegistryDword(HKEY_LOCAL_MACHINE, e2e::kVelutraKey, "Config").value_or(0));
    e2e::ClearVelutraRegistry();
    EXPECT_FALSE(e2e::ReadRegistryDword(HKEY_LOCAL_MACHINE, e2e::kVelutraKey, "Config").has_value());
}

}  // namespace
