// The end-to-end driver: fresh copies of velutra.exe started under the rig's Wine and worked from
// outside as a user would. Every wait ends after kWaitMs at most, and a wait that runs out fails.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

constexpr DWORD kWaitMs = 20000;
constexpr const char kMainClass[] = "Velutra";
constexpr const char kVelutraKey[] = "SOFTWARE\\VELUTRA";
constexpr const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char kRunValue[] = "VelutraTray";

enum class Panel { Main, Cd, Midi, Sound };
const char* PanelName(Panel panel);
struct Program {
    HANDLE process = nullptr;
    DWORD pid = 0;
};
struct ProgramCopy {
    std::string folder, exe;
};  // DOS paths

void ClearVelutraRegistry();  // the settings key and the Run value
Program StartProgram(const ProgramCopy& copy, const std::string& args);
Program StartCommandLine(const std::string& commandLine, const std::string& folder = "C:\\");
HWND WaitForMainWindow(const Program& program, DWORD ms = kWaitMs);            // null on timeout
std::optional<DWORD> WaitForExit(const Program& program, DWORD ms = kWaitMs);  // the exit code
void EndProgram(Program* program);
void EndAllVelutraProcesses();

// Top-level windows of a class in z-order; a title and a process (pid 0: any) narrow them down.
std::vector<HWND> TopLevelWindows(const char* className, const char* title, DWORD pid);
// The first shown one; null once `ms` have passed.
HWND WaitForShown(DWORD pid, const char* className, const char* title = nullptr, DWORD ms = kWaitMs);
HWND FindPanel(HWND mainWindow, Panel panel);
RECT WindowRectIn(HWND window, HWND reference);  // reference null: the screen
bool HasVisibleStyle(HWND window);
std::string Utf8(const std::wstring& text);
std::string WindowText(HWND window);                       // read in UTF-16, whatever the code pages

void Press(HWND panel, int controlId);      // returns once handled
void PostPress(HWND panel, int controlId);  // for a press that opens a modal window
LRESULT SendCommand(HWND window, int id);
HWND WaitForMessageBox(DWORD pid, DWORD ms = kWaitMs);  // titled as the program
std::string MessageBoxText(HWND box);
void PressMessageBoxButton(HWND box, int buttonId);

// Under HKLM a key opened, or a value written (the key made when missing), in the registry view of the program
// under test (VELUTRA_EXE): a 64-bit Windows keeps a 32-bit program's values under WOW6432Node.
HKEY OpenProgramKey(HKEY root, const char* key, REGSAM access);
bool WriteRegistryValue(HKEY root, const char* key, const char* value, DWORD type, const void* data, DWORD size);

std::optional<DWORD> ReadRegistryDword(HKEY root, const char* key, const char* value);
std::optional<std::string> ReadRegistryString(HKEY root, const char* key, const char* value);
std::optional<std::vector<unsigned char>> ReadFileBytes(const std::string& path);
bool PutFileBytes(const std::string& path, const std::vector<unsigned char>& bytes);
std::vector<unsigned char> StoreFile(const std::vector<std::string>& midi);  // a store of MIDI entries, empty Sound
bool WaitUntil(const std::function<bool()>& done, DWORD ms = kWaitMs);

// /bin/sh and xdotool on the rig's machine and display; the exit status, or -1.
int RunShell(const std::string& command);
int RunXdotool(const std::string& arguments);
bool SaveScreenshot(HWND window, const std::string& unixPath);
bool MovePointer(POINT screen);
bool ClickAt(POINT screen);
bool PressKeys(const std::string& keys);  // to the window under the pointer: there is no window manager
POINT ScreenCentre(HWND window, RECT clientRect);

// A test that owns one fresh copy of the program and ends whatever it started.
class VelutraTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    HWND StartAndWait(const std::string& args = "");
    Program Start(const std::string& args = "");

    ProgramCopy copy;
    std::vector<Program> programs;
};

}  // namespace e2e
