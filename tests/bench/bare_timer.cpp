// A bare window with a 500 ms timer and nothing else: the idle cost of any Wine program, to set
// beside Velutra's own idle cost.
#include <windows.h>

namespace {

LRESULT CALLBACK BareWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    switch (msg) {
    case WM_TIMER:   return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = BareWndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "VelutraBareTimer";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowExA(0, wc.lpszClassName, "bare", WS_POPUP | WS_BORDER | WS_VISIBLE, 100, 100, 401, 366,
                                nullptr, nullptr, instance, nullptr);
    SetTimer(hwnd, 1, 500, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
