// menuprobe.dll: a menu handle is good only in its own process under Wine, so the probe is hooked
// onto the program's thread and the shown menu window is sent the message "VelutraMenuProbe", on
// which the hook writes the menu's items, each ended by a line feed, into the window's own text.
// Probe, called through rundll32 (the 32-bit one for a 32-bit program, whose thread only a 32-bit
// hook can reach), takes the window.
#include <windows.h>

#include <cstdlib>
#include <string>

extern "C" __declspec(dllexport) LRESULT CALLBACK MenuProbeHook(int code, WPARAM wParam, LPARAM lParam)
{
    static const UINT probe = RegisterWindowMessageA("VelutraMenuProbe");
    auto call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == probe) {
        auto menu = reinterpret_cast<HMENU>(SendMessageW(call->hwnd, 0x01E1 /* MN_GETHMENU */, 0, 0));
        std::wstring items;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            wchar_t text[256] = {};
            GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
            items += std::wstring(text) + L"\n";
        }
        SetWindowTextW(call->hwnd, items.c_str());
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

extern "C" __declspec(dllexport) void CALLBACK Probe(HWND, HINSTANCE, LPSTR args, int)
{
    auto window = reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::strtoull(args, nullptr, 10)));
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&Probe), &self);
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, MenuProbeHook, self, GetWindowThreadProcessId(window, nullptr));
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, RegisterWindowMessageA("VelutraMenuProbe"), 0, 0, SMTO_NORMAL, 10000, &ignored);
    if (hook) UnhookWindowsHookEx(hook);
}
