// Start-up: single instance, class registration and creation of the main window.
#include "app/app.h"
#include "resources/resource.h"
#include "ui/skin.h"

namespace {

// Exists from a copy's start to the beginning of its Exit. A start that finds it may have come
// just before the first copy made its window: it waits that long for the window to show up.
constexpr char kInstanceMutex[] = "VelutraSingleInstance";
constexpr DWORD kFirstWindowWaitMs = 5000;
HANDLE g_instanceMutex = nullptr;

// The main window of a copy that is not ending, found by its class as ever.
HWND FindLiveWindow()
{
    HWND found = nullptr;
    while ((found = FindWindowExA(nullptr, found, kAppName, nullptr)) != nullptr)
        if (!GetPropA(found, kEndingProp)) return found;
    return nullptr;
}

HWND FindRunningCopy()
{
    g_instanceMutex = CreateMutexA(nullptr, FALSE, kInstanceMutex);
    bool another = g_instanceMutex && GetLastError() == ERROR_ALREADY_EXISTS;
    DWORD start = GetTickCount();
    HWND running = FindLiveWindow();
    while (!running && another && GetTickCount() - start < kFirstWindowWaitMs) {
        Sleep(50);
        running = FindLiveWindow();
    }
    return running;
}

// A running copy is shown, brought forward and, for a CD start, told to play. True when one was found.
bool ActivateRunningCopy()
{
    HWND running = FindRunningCopy();
    if (!running) return false;
    ShowWindow(running, IsIconic(running) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(running);
    if (g_app.cdStart) PostMessageA(running, WM_COMMAND, IDM_CDSTART, 0);
    return true;
}

WNDCLASSA MainClass(HINSTANCE instance)
{
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_VELUTRA));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    wc.lpszClassName = kAppName;
    return wc;
}

}  // namespace

void InitDefaults()
{
    g_app.settings = AppSettings{};
    g_app.colorDepth = GetDisplayColorDepth();
    g_app.palette = nullptr;
    g_app.replacedPalette = nullptr;
    InitMediaDevice(&g_app.CdDevice, MCI_DEVTYPE_CD_AUDIO);
    InitMediaDevice(&g_app.MidiDevice, MCI_DEVTYPE_SEQUENCER);
    InitMediaDevice(&g_app.SoundDevice, MCI_DEVTYPE_WAVEFORM_AUDIO);
    g_app.MainPanel = g_app.CdPanel = g_app.MidiPanel = g_app.SoundPanel = g_app.RecordReview = nullptr;
    g_app.trayMenu = nullptr;
    g_app.taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    g_app.mainWidth = 401;
    g_app.mainHeight = 366;
}

// The window lives on while Exit saves, releases and removes the tray icon, and while any other
// close removes the icon (under Wine that removal can take 2 s): a start in that time passes over
// the window and the released mutex and runs as the first copy. The mark goes with the window.
void LeaveSingleInstance(HWND hwnd)
{
    SetPropA(hwnd, kEndingProp, reinterpret_cast<HANDLE>(1));
    if (g_instanceMutex) CloseHandle(g_instanceMutex);
    g_instanceMutex = nullptr;
}

ATOM RegisterMainClass(HINSTANCE instance, BOOL /*trayStart*/)
{
    if (ActivateRunningCopy()) return 0;

    WNDCLASSA wc = MainClass(instance);
    DWORD version = GetVersion();
    bool nineXFamily = (version & 0x80000000u) != 0;
    if (!nineXFamily || LOBYTE(LOWORD(version)) < 4) return static_cast<ATOM>(RegisterClassA(&wc));

    using RegisterClassExProc = ATOM(WINAPI*)(const WNDCLASSEXA*);
    HMODULE user = GetModuleHandleA("USER32");
    auto registerEx = user ? reinterpret_cast<RegisterClassExProc>(
                                 reinterpret_cast<void*>(GetProcAddress(user, "RegisterClassExA")))
                           : nullptr;
    if (!registerEx) return static_cast<ATOM>(RegisterClassA(&wc));

    WNDCLASSEXA wcx{};
    wcx.cbSize = sizeof(wcx);
    wcx.style = wc.style;
    wcx.lpfnWndProc = wc.lpfnWndProc;
    wcx.hInstance = wc.hInstance;
    wcx.hIcon = wc.hIcon;
    wcx.hCursor = wc.hCursor;
    wcx.hbrBackground = wc.hbrBackground;
    wcx.lpszClassName = wc.lpszClassName;
    wcx.hIconSm = LoadIconA(instance, MAKEINTRESOURCEA(IDI_SMALL));  // none: derived from 147
    return registerEx(&wcx);
}

namespace {

// The program's path as the store and the Run entry take it (see AnsiPathOf). Empty, so that
// nothing is saved and no Run entry is written, when it cannot be read, may have been cut short,
// or has no ANSI form.
void ReadModulePath(char* out, int outSize)
{
    out[0] = '\0';
    wchar_t path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    AnsiPathOf(path, out, outSize);
}

}  // namespace

int CreateMainWindow(HINSTANCE instance, BOOL trayStart, int showCommand)
{
    g_app.instance = instance;
    ReadModulePath(g_app.modulePath, sizeof(g_app.modulePath));
    lstrcpynA(g_app.className, kAppName, sizeof(g_app.className));
    lstrcpynA(g_app.windowTitle, kAppName, sizeof(g_app.windowTitle));
    InitDefaults();

    HWND hwnd = CreateWindowExA(0, g_app.className, g_app.windowTitle, WS_POPUP | WS_BORDER | WS_SYSMENU,
                                100, 100, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (!hwnd) return 0;
    if (g_app.cdStart) PostMessageA(g_app.CdPanel, WM_COMMAND, IDC_PLAY, 0);
    g_app.mainWindow = hwnd;
    ShowWindow(hwnd, trayStart ? SW_HIDE : showCommand);
    UpdateWindow(hwnd);
    return 1;
}
