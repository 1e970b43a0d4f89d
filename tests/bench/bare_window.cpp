// The peer of the benchmarks: the least a Win32 window program does, built like velutra.exe. A
// captionless bordered window of Velutra's size, painted by its class brush and an empty WM_PAINT.
// With the argument "timer" it also runs a 500 ms timer whose ticks do nothing, as Velutra's
// refresh timer would with nothing to refresh.
#include <windows.h>

namespace {

constexpr UINT_PTR kTimer = 1;

LRESULT CALLBACK BareWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_TIMER:   return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR args, int showCommand)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = BareWndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = "VelutraBenchBare";
    if (!RegisterClassA(&wc)) return 1;
    HWND hwnd = CreateWindowExA(0, wc.lpszClassName, "Bare", WS_POPUP | WS_BORDER | WS_SYSMENU, 100, 100, 404, 366,
                                nullptr, nullptr, instance, nullptr);
    if (!hwnd) return 1;
    if (lstrcmpiA(args, "timer") == 0) SetTimer(hwnd, kTimer, 500, nullptr);
    ShowWindow(hwnd, showCommand);
    UpdateWindow(hwnd);
    MSG msg{};
    while (GetMessageA(&msg, nullptr, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
