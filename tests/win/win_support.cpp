// The stand-in main window and the recorders.
#include "tests/win/win_support.h"

#include <cstring>

#include "app/app.h"
#include "media/mci_seam.h"

Recorded g_rec;

namespace {

HFONT(WINAPI* g_createFont)(const LOGFONTA*) = nullptr;

MCIERROR WINAPI RecordCommand(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR parms)
{
    static const std::pair<UINT, const char*> kNames[] = {{MCI_CLOSE, "CLOSE"}, {MCI_PLAY, "PLAY"}, {MCI_STOP, "STOP"}};
    if (message == MCI_OPEN) {
        auto open = reinterpret_cast<MCI_OPEN_PARMSA*>(parms);
        g_rec.mci += "OPEN " + ((flags & MCI_OPEN_ELEMENT) ? std::string(open->lpstrElementName) + " " : "");
        open->wDeviceID = g_rec.openError ? 0xBEEF : 7;  // garbage after a failed open
        return g_rec.openError;
    }
    for (const auto& [traced, name] : kNames)
        if (message == traced) g_rec.mci += std::string(name) + "#" + std::to_string(device) + " ";
    auto status = reinterpret_cast<MCI_STATUS_PARMS*>(parms);
    if (message == MCI_STATUS) status->dwReturn = status->dwItem == MCI_STATUS_MODE ? g_rec.mode : 0;
    return device != 7 ? MCIERR_INVALID_DEVICE_ID : message == g_rec.failing ? MCIERR_HARDWARE : 0;
}

DWORD WINAPI FakeTickCount() { return g_rec.clock; }

VOID WINAPI FakeSleep(DWORD milliseconds)
{
    g_rec.mci += "WAIT " + std::to_string(milliseconds) + " ";
    g_rec.clock += milliseconds;
}

BOOL WINAPI RecordNotify(DWORD operation, PNOTIFYICONDATAA data)
{
    g_rec.shellCalls.emplace_back(operation, *data);
    return g_rec.shellAnswer;
}

HFONT WINAPI RecordFont(const LOGFONTA* font)
{
    g_rec.fonts.push_back(*font);
    return g_createFont(font);
}

// Points an import of this executable, which holds the program's code, at a recorder.
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
            std::swap(reinterpret_cast<void*&>(thunk->u1.Function), replacement);
            return replacement;
        }
    }
    return nullptr;
}

LRESULT CALLBACK WatchBoxes(int code, WPARAM wParam, LPARAM lParam)
{
    auto box = reinterpret_cast<HWND>(wParam);
    char caption[16] = {}, text[512] = {};
    GetWindowTextA(box, caption, sizeof(caption));
    if (code == HCBT_ACTIVATE && !lstrcmpA(caption, kAppName) && GetDlgItemTextA(box, 0xFFFF, text, sizeof(text))) {
        auto icon = reinterpret_cast<HICON>(SendDlgItemMessageA(box, 0x0440, STM_GETICON, 0, 0));
        const char* name = icon == LoadIconA(nullptr, IDI_HAND) ? "hand" : icon ? "question" : "none";
        g_rec.boxes.push_back(text + std::string("|") + name);
        PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(g_rec.boxAnswer), 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    if (msg != WM_ENTERIDLE || wParam != MSGF_DIALOGBOX) return DefWindowProcA(hwnd, msg, wParam, lParam);
    if (auto script = std::exchange(g_rec.script, nullptr)) script(reinterpret_cast<HWND>(lParam));
    else EndDialog(reinterpret_cast<HWND>(lParam), -77);
    return 0;
}

}  // namespace

HWND Owner()
{
    static HWND owner = [] {
        WNDCLASSA wc{0, OwnerProc, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, "VelutraTestOwner"};
        RegisterClassA(&wc);
        g_app.instance = GetModuleHandleA(nullptr);
        lstrcpynA(g_app.className, kAppName, sizeof(g_app.className));
        SetWindowsHookExA(WH_CBT, WatchBoxes, nullptr, GetCurrentThreadId());
        PatchImport("Shell_NotifyIconA", reinterpret_cast<void*>(RecordNotify));
        g_createFont = reinterpret_cast<decltype(g_createFont)>(PatchImport("CreateFontIndirectA",
                                                                            reinterpret_cast<void*>(RecordFont)));
        return CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
    }();
    return owner;
}

void ResetApp()
{
    for (HWND* slot : {&g_app.RecordReview, &g_app.MainPanel, &g_app.CdPanel, &g_app.MidiPanel, &g_app.SoundPanel})
        DestroyWindow(std::exchange(*slot, nullptr));
    DestroyMenu(std::exchange(g_app.trayMenu, nullptr));
    g_app.mainWindow = Owner();
    g_app.settings = AppSettings{};
    g_mci = MciSeam{RecordCommand, mciGetErrorStringA, FakeTickCount, FakeSleep};
    const DWORD types[] = {MCI_DEVTYPE_CD_AUDIO, MCI_DEVTYPE_SEQUENCER, MCI_DEVTYPE_WAVEFORM_AUDIO};
    MediaDevice* devices[] = {&g_app.CdDevice, &g_app.MidiDevice, &g_app.SoundDevice};
    for (int i = 0; i < 3; ++i) {
        ClearPlaylist(&devices[i]->playlist);
        InitMediaDevice(devices[i], types[i]);
        SetPlayState(types[i], PLAYSTATE_STOPPED);
    }
    g_rec = Recorded{};
}
