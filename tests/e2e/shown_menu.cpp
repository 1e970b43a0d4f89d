// The test's side of the menu probe (see menu_probe.cpp): the probe DLL lies beside the driver.
#include "tests/e2e/shown_menu.h"

#include "tests/e2e/driver.h"
#include "tests/e2e/menu_probe.h"

namespace e2e {

std::optional<std::vector<std::wstring>> ShownMenuItems(HWND menuWindow, bool close)
{
    static HMODULE probe = LoadLibraryW(L"menuprobe.dll");
    auto hook = probe ? reinterpret_cast<HOOKPROC>(GetProcAddress(probe, "MenuProbeHook")) : nullptr;
    if (!hook) {
        ADD_FAILURE() << "menuprobe.dll is not beside the driver, error " << GetLastError();
        return std::nullopt;
    }
    std::wstring name = kMenuProbeBlockPrefix + std::to_wstring(GetCurrentProcessId());
    HANDLE mapping =
        CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(MenuProbeBlock), name.c_str());
    auto block = mapping ? static_cast<MenuProbeBlock*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0)) : nullptr;
    if (!block) {
        ADD_FAILURE() << "no shared block for the menu probe, error " << GetLastError();
        if (mapping) CloseHandle(mapping);
        return std::nullopt;
    }
    block->itemCount = -1;
    HHOOK hooked = SetWindowsHookExW(WH_CALLWNDPROC, hook, probe, GetWindowThreadProcessId(menuWindow, nullptr));
    DWORD_PTR result = 0;
    if (hooked) {
        SendMessageTimeoutW(menuWindow, RegisterWindowMessageW(kMenuProbeMessage), GetCurrentProcessId(),
                            close ? 1 : 0, SMTO_NORMAL, kWaitMs, &result);
        UnhookWindowsHookEx(hooked);
    }
    std::optional<std::vector<std::wstring>> items;
    if (block->itemCount >= 0) {
        items.emplace();
        std::wstring all(block->items);
        for (std::size_t start = 0, end; (end = all.find(L'\n', start)) != std::wstring::npos; start = end + 1)
            items->push_back(all.substr(start, end - start));
    }
    UnmapViewOfFile(block);
    CloseHandle(mapping);
    return items;
}

}  // namespace e2e
