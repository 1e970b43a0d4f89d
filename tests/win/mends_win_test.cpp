// Names the ANSI functions cannot hold under a Western code page, and a Save As that fails.
#include <gtest/gtest.h>

#include <windows.h>

#include "panels/panels.h"
#include "model/playlist_store.h"

namespace {

std::wstring g_typed;  // what goes into the file dialog's name box before OK
HHOOK g_hook = nullptr;

// The file dialog is the only window this thread activates.
LRESULT CALLBACK TypeAndConfirm(int code, WPARAM wParam, LPARAM lParam)
{
    auto dialog = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && SetWindowTextW(GetDlgItem(dialog, 0x47C), g_typed.c_str()))
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

TEST(Mends, NamesOutsideTheCodePageAndAFailedSaveAs)
{
    ASSERT_EQ(1252u, GetACP()) << "the test needs a Western ANSI code page";
    char store[256] = "unchanged";
    EXPECT_EQ(-1, BuildStorePath("", store)) << "a module path that was not read gave the store " << store;

    wchar_t temp[MAX_PATH] = {};
    std::wstring wave = std::wstring(temp, GetTempPathW(MAX_PATH, temp)) + L"\u0417\u0430\u043f\u0438\u0441\u044c.wav";
    CloseHandle(CreateFileW(wave.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    g_hook = SetWindowsHookExA(WH_CBT, TypeAndConfirm, nullptr, GetCurrentThreadId());
    char chosen[8192] = {};
    g_typed = wave;
    EXPECT_EQ(0, ChooseFiles(nullptr, "Wave Files\0*.wav\0", chosen, sizeof(chosen), FALSE));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(chosen))
        << "the Cyrillic name picked in the Open dialog came back as \"" << chosen << "\", which names no file";

    g_typed = std::wstring(temp) + L"a-name-longer-than-the-buffer.wav";
    EXPECT_EQ(FNERR_BUFFERTOOSMALL, ChooseFiles(nullptr, "Wave Files\0*.wav\0", store, 16, TRUE))
        << "a Save As that failed was taken for a cancel";
    UnhookWindowsHookEx(g_hook);
    DeleteFileW(wave.c_str());
}

}  // namespace
