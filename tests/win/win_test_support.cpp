// Helpers of the Win32 tests.
#include "tests/win/win_test_support.h"

#include <gtest/gtest.h>

#include <atomic>

#include "app/app.h"

namespace {

constexpr char kMciKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\MCI";
constexpr char kSequencerSettingsKey[] = "Software\\Velutra Tests\\Sequencer";

void SetSequencerValue(const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSequencerSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

LRESULT CALLBACK NoticeWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == MM_MCINOTIFY) {
        auto window = reinterpret_cast<NoticeWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (window) window->notices.emplace_back(wParam, lParam);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

std::string TestDirectory()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s = path;
    return s.substr(0, s.find_last_of('\\') + 1);
}

std::string ScratchDirectory(const char* name)
{
    std::string dir = TestDirectory() + "scratch\\";
    CreateDirectoryA(dir.c_str(), nullptr);
    dir += name;
    dir += "\\";
    CreateDirectoryA(dir.c_str(), nullptr);
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((dir + "*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((dir + found.cFileName).c_str());
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    return dir;
}

bool WriteBytes(const std::string& path, const Bytes& data)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == data.size();
}

std::string ReadText(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string text(GetFileSize(file, nullptr), '\0');
    DWORD got = 0;
    ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &got, nullptr);
    CloseHandle(file);
    text.resize(got);
    return text;
}

bool RegisterVirtualSequencer()
{
    std::string path = TestDirectory() + "vseq.dll";
    if (path.find(' ') != std::string::npos || GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kMciKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG result = RegSetValueExA(key, "sequencer", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                                 static_cast<DWORD>(path.size() + 1));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

void SetSequencerSpeed(DWORD percent)
{
    SetSequencerValue("Speed", REG_DWORD, &percent, sizeof percent);
}

void SetSequencerLog(const std::string& path)
{
    SetSequencerValue("Log", REG_SZ, path.c_str(), static_cast<DWORD>(path.size() + 1));
}

HWND CreateNoticeWindow(NoticeWindow* window)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = NoticeWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VelutraTestNotices";
    RegisterClassA(&wc);
    window->hwnd = CreateWindowExA(0, wc.lpszClassName, "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                   wc.hInstance, nullptr);
    SetWindowLongPtrA(window->hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    return window->hwnd;
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    DWORD deadline = GetTickCount() + timeoutMs;
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (condition()) return true;
        if (static_cast<LONG>(GetTickCount() - deadline) > 0) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

namespace {

struct ModalWatch {
    DWORD threadId;
    const char* className;
    const char* caption;
    const std::function<void(HWND)>* answer;
    DWORD timeoutMs;
    std::atomic<bool> stop{false};
    std::atomic<bool> answered{false};
    HWND found = nullptr;
};

BOOL CALLBACK FindModal(HWND hwnd, LPARAM lParam)
{
    auto watch = reinterpret_cast<ModalWatch*>(lParam);
    char cls[64] = {}, text[256] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    GetWindowTextA(hwnd, text, sizeof text);
    if (IsWindowVisible(hwnd) && lstrcmpA(cls, watch->className) == 0 && lstrcmpA(text, watch->caption) == 0) {
        watch->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

DWORD WINAPI WatchForModal(void* arg)
{
    auto watch = static_cast<ModalWatch*>(arg);
    DWORD deadline = GetTickCount() + watch->timeoutMs;
    while (!watch->stop && static_cast<LONG>(GetTickCount() - deadline) < 0) {
        watch->found = nullptr;
        EnumThreadWindows(watch->threadId, FindModal, reinterpret_cast<LPARAM>(watch));
        if (watch->found) {
            Sleep(50);  // let the box finish its own initialisation
            (*watch->answer)(watch->found);
            watch->answered = true;
            return 0;
        }
        Sleep(20);
    }
    return 0;
}

}  // namespace

bool AnswerModal(const char* className, const char* caption, const std::function<void(HWND)>& answer,
                 const std::function<void()>& action, DWORD timeoutMs)
{
    ModalWatch watch;
    watch.threadId = GetCurrentThreadId();
    watch.className = className;
    watch.caption = caption;
    watch.answer = &answer;
    watch.timeoutMs = timeoutMs;
    HANDLE thread = CreateThread(nullptr, 0, WatchForModal, &watch, 0, nullptr);
    action();
    watch.stop = true;
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    return watch.answered;
}

int main(int argc, char** argv)
{
    g_app.instance = GetModuleHandleA(nullptr);
    lstrcpyA(g_app.className, kAppName);
    InitDefaults();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
