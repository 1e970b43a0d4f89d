// What gui_count.dll counts inside a running program (see gui_count.cpp), and how the benchmark
// driver gets it from outside.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

struct GuiCounts {
    DWORD gdi;              // GDI objects, the stock objects included
    DWORD user;             // the four kinds below together
    DWORD windows;
    DWORD menus;
    DWORD cursorsAndIcons;  // shared ones (LoadCursor, LoadIcon) included
    DWORD accelerators;
    ULONGLONG privateBytes; // committed private memory
    DWORD handles;          // kernel object handles
    DWORD gdiByType[16];    // GDI objects by GetObjectType (OBJ_PEN 1 ... OBJ_COLORSPACE 14)
};

// Loads gui_count.dll (at `dllPath`, a DOS path) into `process` once and counts there; nothing
// when the process could not be reached. The process handle needs PROCESS_ALL_ACCESS.
std::optional<GuiCounts> CountInProcess(HANDLE process, const std::string& dllPath);

// Loads a DLL into `process` once more and leaves it loaded; false when it could not.
bool PinLibraryInProcess(HANDLE process, const std::string& dllPath);
