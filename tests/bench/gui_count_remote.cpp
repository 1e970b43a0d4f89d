// The driver's side of gui_count.dll: load it into the program, run its counter there, read back.
#include "tests/bench/gui_count.h"

#include <psapi.h>

#include <vector>

namespace {

constexpr DWORD kRemoteWaitMs = 20000;

// Runs `start(argument)` as a thread of `process` and waits for it; false when it could not.
bool RunRemoteThread(HANDLE process, LPTHREAD_START_ROUTINE start, void* argument)
{
    HANDLE thread = CreateRemoteThread(process, nullptr, 0, start, argument, 0, nullptr);
    if (!thread) return false;
    bool done = WaitForSingleObject(thread, kRemoteWaitMs) == WAIT_OBJECT_0;
    CloseHandle(thread);
    return done;
}

// The base address of the module named `name` in `process`, or null.
HMODULE RemoteModule(HANDLE process, const char* name)
{
    std::vector<HMODULE> modules(512);
    DWORD needed = 0;
    if (!EnumProcessModules(process, modules.data(), static_cast<DWORD>(modules.size() * sizeof(HMODULE)), &needed))
        return nullptr;
    modules.resize(needed / sizeof(HMODULE));
    for (HMODULE module : modules) {
        char base[MAX_PATH] = {};
        if (GetModuleBaseNameA(process, module, base, sizeof(base)) && lstrcmpiA(base, name) == 0) return module;
    }
    return nullptr;
}

// Loads the DLL into the process through a remote LoadLibraryA, kernel32 lying at the same
// address in every process. With `once`, a DLL already there is not loaded again.
HMODULE LoadIntoProcess(HANDLE process, const std::string& dllPath, bool once = true)
{
    std::string name = dllPath.substr(dllPath.find_last_of("\\/") + 1);
    if (HMODULE loaded = RemoteModule(process, name.c_str()); loaded && once) return loaded;
    void* remotePath = VirtualAllocEx(process, nullptr, dllPath.size() + 1, MEM_COMMIT, PAGE_READWRITE);
    if (!remotePath) return nullptr;
    WriteProcessMemory(process, remotePath, dllPath.c_str(), dllPath.size() + 1, nullptr);
    auto loadLibrary = reinterpret_cast<LPTHREAD_START_ROUTINE>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "LoadLibraryA")));
    bool ran = RunRemoteThread(process, loadLibrary, remotePath);
    VirtualFreeEx(process, remotePath, 0, MEM_RELEASE);
    return ran ? RemoteModule(process, name.c_str()) : nullptr;
}

}  // namespace

bool PinLibraryInProcess(HANDLE process, const std::string& dllPath)
{
    return LoadIntoProcess(process, dllPath, false) != nullptr;
}

std::optional<GuiCounts> CountInProcess(HANDLE process, const std::string& dllPath)
{
    HMODULE local = LoadLibraryA(dllPath.c_str());
    if (!local) return std::nullopt;
    auto localCount = reinterpret_cast<const char*>(GetProcAddress(local, "CountGuiObjects"));
    HMODULE remote = LoadIntoProcess(process, dllPath);
    if (!localCount || !remote) return std::nullopt;
    auto remoteCount = reinterpret_cast<LPTHREAD_START_ROUTINE>(const_cast<char*>(
        reinterpret_cast<const char*>(remote) + (localCount - reinterpret_cast<const char*>(local))));

    void* block = VirtualAllocEx(process, nullptr, sizeof(GuiCounts), MEM_COMMIT, PAGE_READWRITE);
    if (!block) return std::nullopt;
    std::optional<GuiCounts> result;
    GuiCounts counts{};
    if (RunRemoteThread(process, remoteCount, block) &&
        ReadProcessMemory(process, block, &counts, sizeof(counts), nullptr))
        result = counts;
    VirtualFreeEx(process, block, 0, MEM_RELEASE);
    return result;
}
