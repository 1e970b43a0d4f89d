// The stand-in main window, the message-box answerer and the import recorders.
#include "tests/win/win_support.h"

#include <cstring>

#include "app/app.h"
#include "tests/win/mci_recorder.h"

int g_boxAnswer = IDOK;
std::vector<ShellCall> g_shellCalls;
BOOL g_shellAnswer = TRUE;
std::vector<LOGFONTA> g_fonts;
std::vector<UINT> g_commands;

namespace {

HWND g_owner = nullptr;
HHOOK g_boxHook = nullptr;
std::function<void(HWND)> g_dialogScript;
std::vector<std::string> g_boxes;
HFONT(WINAPI* g_createFont)(const LOGFONTA*) = nullptr;

BOOL WINAPI RecordNotify(DWORD operation, PNOTIFYICONDATAA data)
{
    g_shellCalls.push_back({operation, *data});
    return g_shellAnswer;
}

HFONT WINAPI RecordFont(const LOGFONTA* font)
{
    g_fonts.push_back(*font);
    return g_createFont(font);
}

// Points one import of this executable, which holds the program's code, at a recorder.
void* PatchImport(const char* name, void* replacement)
{
    auto base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    DWORD imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (auto dll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports); dll->Name; ++dll) {
        auto thunk = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk);
        for (auto look = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->OriginalFirstThunk); look->u1.Function;
             ++look, ++thunk) {
            if (IMAGE_SNAP_BY_ORDINAL(look->u1.Ordinal) ||
                std::strcmp(reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + look->u1.AddressOfData)->Name, name))
                continue;
            DWORD protect = 0;
            VirtualProtect(&thunk->u1.Function, sizeof(ULONG_PTR), PAGE_READWRITE, &protect);
            auto original = reinterpret_cast<void*>(thunk->u1.Function);
            thunk->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            return original;
        }
    }
    return nullptr;
}

const char* IconName(HWND box)
{
    auto shown = reinterpret_cast<HICON>(SendDlgItemMessageA(box, 0x0440, STM_GETICON, 0, 0));
    if (shown && shown == LoadIconA(nullptr, IDI_HAND)) return "hand";
    if (shown && shown == LoadIconA(nullptr, IDI_QUESTION)) return "question";
    if (shown && shown == LoadIconA(nullptr, IDI_EXCLAMATION)) return "exclamation";
    return "none";
}

LRESULT CALLBACK WatchBoxes(int code, WPARAM wParam, LPARAM lParam)
{
    auto window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && TextOf(window) == kAppName && GetDlgItem(window, 0xFFFF)) {
        g_boxes.push_back(TextOf(GetDlgItem(window, 0xFFFF)) + "|" + IconName(window));
        PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(g_boxAnswer), 0);
    }
    return CallNextHookEx(g_boxHook, code, wParam, lParam);
}

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    if (msg == WM_COMMAND) g_commands.push_back(LOWORD(wParam));
    if (msg != WM_ENTERIDLE || wParam != MSGF_DIALOGBOX) return DefWindowProcA(hwnd, msg, wParam, lParam);
    auto dialog = reinterpret_cast<HWND>(lParam);
    auto script = std::move(g_dialogScript);
    g_dialogScript = nullptr;
    if (script) script(dialog);
    else EndDialog(dialog, -77);
    return 0;
}

}  // namespace

HWND Owner()
{
    if (!g_owner) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = OwnerProc;
        wc.lpszClassName = "VelutraTestOwner";
        RegisterClassA(&wc);
        g_owner = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        g_boxHook = SetWindowsHookExA(WH_CBT, WatchBoxes, nullptr, GetCurrentThreadId());
        PatchImport("Shell_NotifyIconA", reinterpret_cast<void*>(RecordNotify));
        g_createFont = reinterpret_cast<decltype(g_createFont)>(PatchImport("CreateFontIndirectA",
                                                                            reinterpret_cast<void*>(RecordFont)));
    }
    return g_owner;
}

void ResetApp()
{
    g_app.instance = GetModuleHandleA(nullptr);
    g_app.mainWindow = Owner();
    ShowWindow(Owner(), SW_HIDE);
    lstrcpynA(g_app.className, kAppName, sizeof(g_app.className));
    g_app.settings = AppSettings{};
    for (HWND* slot : {&g_app.RecordReview, &g_app.MainPanel, &g_app.CdPanel, &g_app.MidiPanel, &g_app.SoundPanel}) {
        if (*slot) DestroyWindow(*slot);
        *slot = nullptr;
    }
    if (g_app.trayMenu) DestroyMenu(g_app.trayMenu);
    g_app.trayMenu = nullptr;
    InstallMciRecorder();
    const DWORD types[] = {MCI_DEVTYPE_CD_AUDIO, MCI_DEVTYPE_SEQUENCER, MCI_DEVTYPE_WAVEFORM_AUDIO};
    MediaDevice* devices[] = {&g_app.CdDevice, &g_app.MidiDevice, &g_app.SoundDevice};
    for (int i = 0; i < 3; ++i) {
        ClearPlaylist(&devices[i]->playlist);
        InitMediaDevice(devices[i], types[i]);
        SetPlayState(types[i], PLAYSTATE_STOPPED);
    }
    TakeMci();
    g_dialogScript = nullptr;
    g_boxAnswer = IDOK;
    g_boxes.clear();
    g_shellCalls.clear();
    g_shellAnswer = TRUE;
    g_fonts.clear();
    g_commands.clear();
}

void WhenDialogWaits(std::function<void(HWND)> script)
{
    g_dialogScript = std::move(script);
}

INT_PTR RunDialog(const char* name, DLGPROC proc, std::function<void(HWND)> script)
{
    WhenDialogWaits(std::move(script));
    return DialogBoxParamA(g_app.instance, name, Owner(), proc, 0);
}

std::vector<std::string> TakeBoxes()
{
    std::vector<std::string> boxes;
    boxes.swap(g_boxes);
    return boxes;
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    for (DWORD start = GetTickCount(); !condition(); MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT)) {
        if (GetTickCount() - start > timeoutMs) return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return true;
}

std::string TextOf(HWND window)
{
    char text[512] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

void Fill(MediaDevice* device, std::initializer_list<const char*> texts)
{
    for (const char* text : texts) {
        PlaylistEntry entry;
        entry.number = device->playlist.count + 1;
        lstrcpynA(entry.text, text, sizeof(entry.text));
        AppendPlaylistEntry(&device->playlist, &entry);
    }
}

std::string Entries(const MediaDevice& device)
{
    std::string texts;
    PlaylistEntry entry;
    for (PlaylistHandle node = FirstPlaylistNode(&device.playlist); node;) {
        node = ReadPlaylistNode(node, &entry);
        texts += (texts.empty() ? "" : " ") + std::string(entry.text);
    }
    return texts;
}
