// Entry point: the start words, then start-up and the message loop.
#include "app/app.h"
#include "model/start_words.h"
#include "resources/resource.h"

namespace {

int RunMessageLoop(HINSTANCE instance, BOOL trayStart)
{
    // The loop asks for a table under the class name, which the resources do not define,
    // so no accelerator is in force.
    HACCEL accel = LoadAcceleratorsA(instance, kAppName);
    MSG msg{};
    while (GetMessageA(&msg, nullptr, 0, 0)) {
        if (!trayStart) {
            HWND modeless[] = {g_app.MainPanel, g_app.CdPanel, g_app.MidiPanel, g_app.SoundPanel,
                               g_app.RecordReview};
            bool taken = false;
            for (HWND dialog : modeless) {
                if (dialog && IsDialogMessageA(dialog, &msg)) {
                    taken = true;
                    break;
                }
            }
            if (taken) continue;
        }
        if (!TranslateAcceleratorA(msg.hwnd, accel, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR args, int showCommand)
{
    StartMode mode = ParseStartWords(args);
    BOOL trayStart = mode == START_TRAY;
    g_app.cdStart = mode == START_CD;

    if (!RegisterMainClass(instance, trayStart)) return 0;
    if (!CreateMainWindow(instance, trayStart, showCommand)) return 0;
    return RunMessageLoop(instance, trayStart);
}
