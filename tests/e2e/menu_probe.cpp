// A hook DLL for the end-to-end tests. Menus are the one thing on screen another process cannot
// read under Wine (a menu handle is good only in its own process), so a test hooks this procedure
// onto the program's thread; asked through a registered message sent to a shown menu window, it
// reads the menu's items there and hands them over through shared memory.
#include <windows.h>

#include <cwchar>
#include <string>

#include "tests/e2e/menu_probe.h"

namespace {

constexpr UINT kGetMenuHandle = 0x01E1;  // MN_GETHMENU

void HandOver(HWND menuWindow, DWORD askingProcess, bool close)
{
    std::wstring name = e2e::kMenuProbeBlockPrefix + std::to_wstring(askingProcess);
    HANDLE mapping = OpenFileMappingW(FILE_MAP_WRITE, FALSE, name.c_str());
    if (!mapping) return;
    auto block = static_cast<e2e::MenuProbeBlock*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
    if (block) {
        auto menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, kGetMenuHandle, 0, 0));
        int count = menu ? GetMenuItemCount(menu) : -1;
        std::size_t used = 0;
        const std::size_t room = sizeof(block->items) / sizeof(block->items[0]);
        for (int i = 0; i < count && used + 1 < room; ++i) {
            int length = GetMenuStringW(menu, static_cast<UINT>(i), block->items + used,
                                        static_cast<int>(room - used - 1), MF_BYPOSITION);
            used += static_cast<std::size_t>(length > 0 ? length : 0);
            block->items[used++] = L'\n';
        }
        block->items[used < room ? used : room - 1] = L'\0';
        InterlockedExchange(&block->itemCount, count);
        UnmapViewOfFile(block);
    }
    CloseHandle(mapping);
    if (close) EndMenu();
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK MenuProbeHook(int code, WPARAM wParam, LPARAM lParam)
{
    static const UINT probeMessage = RegisterWindowMessageW(e2e::kMenuProbeMessage);
    if (code == HC_ACTION) {
        auto call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (call->message == probeMessage)
            HandOver(call->hwnd, static_cast<DWORD>(call->wParam), call->lParam == 1);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
