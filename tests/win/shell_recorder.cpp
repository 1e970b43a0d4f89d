// The import of Shell_NotifyIconA in this test program, rerouted through a recorder.
#include "tests/win/shell_recorder.h"

#include <cstring>

namespace {

using NotifyProc = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAA);

NotifyProc g_shellNotify = nullptr;
std::vector<NotifyCall> g_calls;

BOOL WINAPI RecordingNotify(DWORD operation, PNOTIFYICONDATAA data)
{
    NotifyCall call;
    call.operation = operation;
    if (data) {
        call.passedSize = data->cbSize;
        DWORD size = data->cbSize < sizeof(call.record) ? data->cbSize : static_cast<DWORD>(sizeof(call.record));
        std::memcpy(&call.record, data, size);
    }
    call.result = g_shellNotify(operation, data);
    g_calls.push_back(call);
    return call.result;
}

// Replaces one entry of the executable's import address table; the program's code is linked
// into this executable, so its calls go through that entry.
bool PatchImport(const char* dll, const char* name, void* replacement, void** original)
{
    auto base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name; ++imp) {
        if (lstrcmpiA(reinterpret_cast<char*>(base + imp->Name), dll) != 0) continue;
        auto thunk = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
        auto lookup = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->OriginalFirstThunk);
        for (; thunk->u1.Function; ++thunk, ++lookup) {
            if (IMAGE_SNAP_BY_ORDINAL(lookup->u1.Ordinal)) continue;
            auto byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + lookup->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<char*>(byName->Name), name) != 0) continue;
            DWORD protect = 0;
            VirtualProtect(&thunk->u1.Function, sizeof(thunk->u1.Function), PAGE_READWRITE, &protect);
            *original = reinterpret_cast<void*>(thunk->u1.Function);
            thunk->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&thunk->u1.Function, sizeof(thunk->u1.Function), protect, &protect);
            return true;
        }
    }
    return false;
}

NotifyProc ShellNotify()
{
    if (!g_shellNotify) {
        void* original = nullptr;
        if (PatchImport("shell32.dll", "Shell_NotifyIconA", reinterpret_cast<void*>(RecordingNotify), &original))
            g_shellNotify = reinterpret_cast<NotifyProc>(original);
    }
    return g_shellNotify;
}

}  // namespace

void StartShellRecording()
{
    ShellNotify();
    g_calls.clear();
}

const std::vector<NotifyCall>& RecordedNotifyCalls()
{
    return g_calls;
}

int CountRecorded(DWORD operation)
{
    int count = 0;
    for (const NotifyCall& call : g_calls)
        if (call.operation == operation) ++count;
    return count;
}

bool ShellHasIcon(HWND hwnd, UINT id)
{
    NOTIFYICONDATAA probe{};
    probe.cbSize = NOTIFYICONDATAA_V1_SIZE;
    probe.hWnd = hwnd;
    probe.uID = id;
    return ShellNotify()(NIM_MODIFY, &probe) != FALSE;
}

BOOL ShellDeleteIcon(HWND hwnd, UINT id)
{
    NOTIFYICONDATAA record{};
    record.cbSize = NOTIFYICONDATAA_V1_SIZE;
    record.hWnd = hwnd;
    record.uID = id;
    return ShellNotify()(NIM_DELETE, &record);
}
