// The end-to-end driver's helpers: a fresh copy of velutra.exe per test, started with arguments,
// and a user's view of it: its windows, panels, controls, message boxes, registry, files, exit code,
// and the real X pointer and keyboard through xdotool.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// Every wait ends after this long; a wait that runs out fails the test, it never passes it.
constexpr DWORD kWaitMs = 20000;

constexpr const char kMainClass[] = "Velutra";
constexpr const char kVelutraKey[] = "SOFTWARE\\VELUTRA";
constexpr const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char kRunValue[] = "VelutraTray";

enum class Panel { Main, Cd, Midi, Sound };
const char* PanelName(Panel panel);

// A running (or finished) process of velutra.exe.
struct Program {
    HANDLE process = nullptr;
    DWORD pid = 0;
};

// velutra.exe copied into C:\velutra-e2e\<name>\, a folder made afresh for this test.
struct ProgramCopy {
    std::string folder;  // DOS path, no trailing backslash
    std::string exe;
};
ProgramCopy MakeFreshCopy(const std::string& name);

// Removes HKLM\SOFTWARE\VELUTRA and the Run value "VelutraTray".
void ClearVelutraRegistry();

// CreateProcess of the copy with `args` as the argument string; process is null on failure.
Program StartProgram(const ProgramCopy& copy, const std::string& args);

// Waits until the process idles in its message loop and has its main window; null on timeout.
HWND WaitForMainWindow(const Program& program, DWORD ms = kWaitMs);

// The top-level windows of class "Velutra" (all processes).
std::vector<HWND> MainWindows();

std::string ClassOf(HWND window);
DWORD ProcessOf(HWND window);
// Top-level windows of a class in z-order, shown or not; a title and a process (pid 0: any)
// narrow them down.
std::vector<HWND> TopLevelWindows(const char* className, const char* title, DWORD pid);
// The same, only those shown, of one process.
std::vector<HWND> ShownWindows(DWORD pid, const char* className, const char* title = nullptr);

// The exit code, or nothing when the process is still running after `ms`.
std::optional<DWORD> WaitForExit(const Program& program, DWORD ms = kWaitMs);

// Ends the process if it runs, and closes its handle.
void EndProgram(Program* program);

// Ends every process that owns a window of class "Velutra".
void EndAllVelutraProcesses();

// The panel among the main window's child dialogs, told apart by their control ids; null if none.
HWND FindPanel(HWND mainWindow, Panel panel);

// A window's rectangle in the client coordinates of `reference`, or in screen coordinates for null.
RECT WindowRectIn(HWND window, HWND reference);

// The WS_VISIBLE bit of the window itself (IsWindowVisible also asks its parents).
bool HasVisibleStyle(HWND window);

std::string WindowText(HWND window);
// The text as the window holds it, read in UTF-16 whatever the code pages of either process.
std::wstring WideWindowText(HWND window);

// BM_CLICK on the panel's control; returns once the press has been handled.
void Press(HWND panel, int controlId);

// Posts the press instead, for a control whose handling opens a modal window.
void PostPress(HWND panel, int controlId);

// WM_COMMAND with `id` and no control; returns once it has been handled.
LRESULT SendCommand(HWND window, int id);

// The message box captioned "Velutra" (class #32770) of the process; null on timeout.
HWND WaitForMessageBox(DWORD pid, DWORD ms = kWaitMs);
std::string MessageBoxText(HWND box);
void PressMessageBoxButton(HWND box, int buttonId);

// The registry view the program under test (VELUTRA_EXE) keeps its HKLM values in: KEY_WOW64_32KEY
// for a 32-bit program, whose SOFTWARE\VELUTRA and Run value a 64-bit Windows keeps under
// WOW6432Node; 0 for a 64-bit one. ClearVelutraRegistry and the two readers open keys in it.
REGSAM ProgramRegistryView();

std::optional<DWORD> ReadRegistryDword(HKEY root, const char* key, const char* value);
std::optional<std::string> ReadRegistryString(HKEY root, const char* key, const char* value);
std::optional<std::vector<unsigned char>> ReadFileBytes(const std::string& path);

// Polls `done` until it holds; false when `ms` runs out first.
bool WaitUntil(const std::function<bool()>& done, DWORD ms = kWaitMs);

// Runs a command line with /bin/sh on the rig's machine; its exit status, or -1 when it could not run.
int RunShell(const std::string& command);
// Runs xdotool with `arguments` on the rig's display; its exit status, or -1 when it could not run.
int RunXdotool(const std::string& arguments);
// Saves what the display shows of the window, frame included, as a PNG file at a Unix path.
bool SaveScreenshot(HWND window, const std::string& unixPath);

// Real pointer moves, left clicks at a screen point and key presses ("alt+F4"); true when xdotool
// succeeded. Keys go to the window under the pointer, as the display has no window manager.
bool MovePointer(POINT screen);
bool ClickAt(POINT screen);
bool PressKeys(const std::string& keys);

// The screen point at the centre of a rectangle given in a window's client coordinates.
POINT ScreenCentre(HWND window, RECT clientRect);

// A test that owns one fresh copy of the program and ends whatever it started.
class VelutraTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the copy and waits for its main window; the test fails when none appears.
    HWND StartAndWait(const std::string& args = "");
    // Starts the copy; the test keeps its own copy of the result, TearDown ends the process.
    Program Start(const std::string& args = "");

    ProgramCopy copy;
    std::vector<Program> programs;
};

}  // namespace e2e
