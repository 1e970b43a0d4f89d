// A DLL that the benchmark driver loads into a running program to count what it holds, since
// Wine answers GetGuiResources with 0: its GDI objects, its USER objects (windows, menus,
// cursors and icons, accelerator tables), its committed private memory and its kernel handles.
//
// The driver starts CountGuiObjects in the program with CreateRemoteThread, the argument
// pointing at a GuiCounts block it allocated there, and reads the block back.
#include "tests/bench/gui_count.h"

namespace {

// Wine takes a GDI handle whose upper word is 0 as naming the table entry of its lower word,
// whatever that entry's generation, as Windows does for 16-bit handles. Every entry of the
// process's table is thus asked once.
DWORD CountGdiObjects(GuiCounts* counts)
{
    DWORD count = 0;
    for (ULONG_PTR index = 1; index <= 0xFFFF; ++index) {
        DWORD type = GetObjectType(reinterpret_cast<HGDIOBJ>(index));
        if (!type) continue;
        ++count;
        if (type < 16) ++counts->gdiByType[type];
    }
    return count;
}

bool IsOwnWindow(HWND window)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid == GetCurrentProcessId();
}

// USER handles are even numbers from 0x20 to 0xFFEE; the same upper-word rule holds. Menus,
// cursors, icons and accelerator tables of other processes are not reachable from here; windows
// are, so their process is compared.
void CountUserObjects(GuiCounts* counts)
{
    for (ULONG_PTR value = 0x20; value <= 0xFFEE; value += 2) {
        HANDLE handle = reinterpret_cast<HANDLE>(value);
        if (IsWindow(static_cast<HWND>(handle))) {
            if (IsOwnWindow(static_cast<HWND>(handle))) ++counts->windows;
        } else if (IsMenu(static_cast<HMENU>(handle))) {
            ++counts->menus;
        } else if (CopyAcceleratorTableA(static_cast<HACCEL>(handle), nullptr, 0) > 0) {
            ++counts->accelerators;
        } else {
            ICONINFO info{};
            if (GetIconInfo(static_cast<HICON>(handle), &info)) {
                ++counts->cursorsAndIcons;
                if (info.hbmMask) DeleteObject(info.hbmMask);
                if (info.hbmColor) DeleteObject(info.hbmColor);
            }
        }
    }
    counts->user = counts->windows + counts->menus + counts->cursorsAndIcons + counts->accelerators;
}

// Committed memory that belongs to this process alone (not mapped files, not images): what
// Windows calls private bytes.
ULONGLONG CountPrivateBytes()
{
    ULONGLONG total = 0;
    MEMORY_BASIC_INFORMATION info{};
    for (auto address = static_cast<const char*>(nullptr);
         VirtualQuery(address, &info, sizeof(info)) == sizeof(info);
         address = static_cast<const char*>(info.BaseAddress) + info.RegionSize) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
        if (info.RegionSize == 0) break;
    }
    return total;
}

// Wine answers GetProcessHandleCount with 0; there every handle value is asked about instead.
// Kernel handles are multiples of 4 and a new one takes the lowest free value, so the asking
// stops once 4096 values in a row are free: a gap that wide would need a table that once held
// 4096 handles more than now. The counter's own thread handle lives in the driver, not here.
DWORD CountHandles()
{
    DWORD count = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &count) && count) return count;
    count = 0;
    for (ULONG_PTR value = 4, free = 0; free < 4096; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) {
            ++count;
            free = 0;
        } else {
            ++free;
        }
    }
    return count;
}

}  // namespace

extern "C" __declspec(dllexport) DWORD WINAPI CountGuiObjects(void* block)
{
    auto counts = static_cast<GuiCounts*>(block);
    GuiCounts result{};
    // GDI first: asking for an icon's parts makes bitmaps for a moment.
    result.gdi = CountGdiObjects(&result);
    CountUserObjects(&result);
    result.privateBytes = CountPrivateBytes();
    result.handles = CountHandles();
    *counts = result;
    return 0;
}
