// The test owner window and the process-wide state it stands in for.
#include "tests/win/owner_window.h"

#include <string>

#include "app/app.h"
#include "tests/win/shell_recorder.h"

namespace {

OwnerWindow g_owner;

// A script that did not end its dialog or menu would hang the test: the next idle moment ends
// it, with a result no control gives.
constexpr INT_PTR kDialogLeftOpen = -77;
constexpr UINT_PTR kDialogPollTimer = 1;

void OnDialogWaiting(HWND dialog)
{
    if (g_owner.onDialogIdle) {
        auto script = std::move(g_owner.onDialogIdle);
        g_owner.onDialogIdle = nullptr;
        ++g_owner.dialogIdleCount;
        script(dialog);
    } else {
        g_owner.dialogForced = true;
        EndDialog(dialog, kDialogLeftOpen);
    }
}

// Timers come only when no other message waits, so a dialog found here has taken its input.
void OnPollTimer(HWND owner)
{
    HWND active = GetActiveWindow();
    char cls[16] = {};
    if (!active || GetWindow(active, GW_OWNER) != owner) return;
    GetClassNameA(active, cls, sizeof(cls));
    if (lstrcmpA(cls, "#32770") == 0) OnDialogWaiting(active);
}

void OnEnterIdle(WPARAM kind, HWND window)
{
    if (kind == MSGF_DIALOGBOX) {
        OnDialogWaiting(window);
    } else if (kind == MSGF_MENU) {
        if (g_owner.menuIdleCount++ == 0 && g_owner.onMenuIdle) {
            auto script = std::move(g_owner.onMenuIdle);
            g_owner.onMenuIdle = nullptr;
            script(window);
        } else {
            EndMenu();
        }
    }
}

}  // namespace

void WhenDialogWaits(std::function<void(HWND)> script)
{
    OwnerWindow& owner = TestOwner();
    owner.onDialogIdle = std::move(script);
    SetTimer(owner.hwnd, kDialogPollTimer, 20, nullptr);
}

namespace {

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    switch (msg) {
    case WM_ENTERIDLE:
        OnEnterIdle(wParam, reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_TIMER:
        OnPollTimer(hwnd);
        return 0;
    case WM_COMMAND:
    case WM_USER:
    case WM_ENTERMENULOOP:
    case WM_EXITMENULOOP:
    case WM_INITMENUPOPUP:
        g_owner.received.push_back(MSG{hwnd, msg, wParam, lParam, 0, {}});
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

OwnerWindow& TestOwner()
{
    if (!g_owner.hwnd) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = OwnerProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VelutraTestOwner";
        RegisterClassA(&wc);
        g_owner.hwnd = CreateWindowExA(0, wc.lpszClassName, "Velutra test owner", WS_POPUP, 0, 0, 10, 10,
                                       nullptr, nullptr, wc.hInstance, nullptr);
    }
    return g_owner;
}

void ResetAppForTest()
{
    OwnerWindow& owner = TestOwner();
    KillTimer(owner.hwnd, kDialogPollTimer);
    PumpPending();
    owner.received.clear();
    owner.onDialogIdle = nullptr;
    owner.onMenuIdle = nullptr;
    owner.dialogIdleCount = 0;
    owner.menuIdleCount = 0;
    owner.dialogForced = false;
    if (g_app.trayMenu) DestroyMenu(g_app.trayMenu);
    g_app.trayMenu = nullptr;
    g_app.instance = GetModuleHandleA(nullptr);
    g_app.mainWindow = owner.hwnd;
    lstrcpynA(g_app.className, kAppName, sizeof(g_app.className));
    g_app.settings = AppSettings{};
    StartShellRecording();
    ShellDeleteIcon(owner.hwnd, kTrayIconId);
}

void PumpPending()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

std::vector<MSG> ReceivedOf(UINT message)
{
    std::vector<MSG> found;
    for (const MSG& msg : TestOwner().received)
        if (msg.message == message) found.push_back(msg);
    return found;
}

std::string ControlText(HWND dialog, int id)
{
    char text[512] = {};
    GetDlgItemTextA(dialog, id, text, sizeof(text));
    return text;
}

void PostKey(HWND focus, UINT vk)
{
    PostMessageA(focus, WM_KEYDOWN, vk, 1);
    PostMessageA(focus, WM_KEYUP, vk, 0xC0000001);
}
