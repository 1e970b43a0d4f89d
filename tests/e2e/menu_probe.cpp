// menuprobe.dll: a menu handle is good only in its own process under Wine, so a test hooks this
// onto the program's thread and sends the shown menu window the message "VelutraMenuProbe": with
// lParam 0 the probe writes the menu's items, each ended by a line feed, into the window's own
// text; with lParam 1 it closes the menu.
#include <windows.h>

#include <string>

extern "C" __declspec(dllexport) LRESULT CALLBACK MenuProbeHook(int code, WPARAM wParam, LPARAM lParam)
{
    static const UINT probe = RegisterWindowMessageA("VelutraMenuProbe");
    auto call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == probe && call->lParam) EndMenu();
    if (code == HC_ACTION && call->message == probe && !call->lParam) {
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
