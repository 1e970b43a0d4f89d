// The end-to-end driver (see driver.h).
#include "tests/e2e/driver.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstdlib>

namespace e2e {

namespace {

std::string Environment(const char* name) { return getenv(name) ? getenv(name) : ""; }

std::string DosPath(std::string path)  // a Unix path as Wine's drive Z: shows it
{
    std::replace(path.begin(), path.end(), '/', '\\');
    return path[0] == '\\' ? "Z:" + path : path;
}

DWORD ProcessOf(HWND window)
{
    DWORD pid = 0;
    return GetWindowThreadProcessId(window, &pid) ? pid : 0;
}

LRESULT Sent(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kWaitMs, &result))
        ADD_FAILURE() << "message " << message << " to a control or window was not handled (a modal window?)";
    return static_cast<LRESULT>(result);
}

// KEY_WOW64_32KEY for a 32-bit program under test, 0 for a 64-bit one.
REGSAM ProgramRegistryView()
{
    DWORD type = 0;
    bool x86 = GetBinaryTypeA(DosPath(Environment("VELUTRA_EXE")).c_str(), &type) && type == SCS_32BIT_BINARY;
    return x86 ? KEY_WOW64_32KEY : 0;
}

}  // namespace

const char* PanelName(Panel panel)
{
    static const char* const names[] = {"MainPanel", "CdPanel", "MidiPanel", "SoundPanel"};
    return names[static_cast<int>(panel)];
}

HKEY OpenProgramKey(HKEY root, const char* key, REGSAM access)
{
    HKEY opened = nullptr;
    access |= root == HKEY_LOCAL_MACHINE ? ProgramRegistryView() : 0;
    return RegOpenKeyExA(root, key, 0, access, &opened) == ERROR_SUCCESS ? opened : nullptr;
}

bool WriteRegistryValue(HKEY root, const char* key, const char* value, DWORD type, const void* data, DWORD size)
{
    HKEY opened = nullptr;
    REGSAM access = KEY_SET_VALUE | (root == HKEY_LOCAL_MACHINE ? ProgramRegistryView() : 0);
    if (RegCreateKeyExA(root, key, 0, nullptr, 0, access, nullptr, &opened, nullptr) != ERROR_SUCCESS) return false;
    LONG status = RegSetValueExA(opened, value, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(opened);
    return status == ERROR_SUCCESS;
}

void ClearVelutraRegistry()
{
    if (HKEY software = OpenProgramKey(HKEY_LOCAL_MACHINE, "SOFTWARE", KEY_ALL_ACCESS)) {
        SHDeleteKeyA(software, "VELUTRA");
        RegCloseKey(software);
    }
    if (HKEY run = OpenProgramKey(HKEY_LOCAL_MACHINE, kRunKey, KEY_SET_VALUE)) {
        RegDeleteValueA(run, kRunValue);
        RegCloseKey(run);
    }
}

Program StartCommandLine(const std::string& commandLine, const std::string& folder)
{
    std::string line = commandLine;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup, &info)) {
        ADD_FAILURE() << "cannot start " << commandLine << ", error " << GetLastError();
        return {};
    }
    CloseHandle(info.hThread);
    return {info.hProcess, info.dwProcessId};
}

Program StartProgram(const ProgramCopy& copy, const std::string& args)
{
    return StartCommandLine("\"" + copy.exe + "\"" + (args.empty() ? "" : " " + args), copy.folder);
}

HWND WaitForMainWindow(const Program& program, DWORD ms)
{
    std::vector<HWND> windows;
    if (program.process) WaitForInputIdle(program.process, ms);
    auto found = [&] { return !(windows = TopLevelWindows(kMainClass, nullptr, program.pid)).empty(); };
    WaitUntil([&] { return found() || WaitForExit(program, 0); }, ms);
    return windows.empty() || !program.process ? nullptr : windows.front();
}

std::optional<DWORD> WaitForExit(const Program& program, DWORD ms)
{
    DWORD code = 0;
    if (!program.process || WaitForSingleObject(program.process, ms) || !GetExitCodeProcess(program.process, &code))
        return {};
    return code;
}

void EndProgram(Program* program)
{
    if (program->process && TerminateProcess(program->process, 1)) WaitForSingleObject(program->process, kWaitMs);
    if (program->process) CloseHandle(program->process);
    program->process = nullptr;
}

void EndAllVelutraProcesses()
{
    for (HWND window : TopLevelWindows(kMainClass, nullptr, 0)) {
        Program program{OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, ProcessOf(window))};
        EndProgram(&program);
    }
}

std::vector<HWND> TopLevelWindows(const char* className, const char* title, DWORD pid)
{
    std::vector<HWND> found;
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        char name[64] = {}, text[256] = {};
        GetClassNameA(w, name, sizeof(name));
        if (title) GetWindowTextA(w, text, sizeof(text));
        if (!lstrcmpA(name, className) && (!pid || ProcessOf(w) == pid) && (!title || !lstrcmpA(text, title)))
            found.push_back(w);
    }
    return found;
}

HWND WaitForShown(DWORD pid, const char* className, const char* title, DWORD ms)
{
    HWND shown = nullptr;
    auto find = [&] {
        for (HWND w : TopLevelWindows(className, title, pid))
            if (IsWindowVisible(w)) return (shown = w) != nullptr;
        return false;
    };
    return WaitUntil(find, ms) ? shown : nullptr;
}

// The panels are told apart by their controls: the banner has 1026, the CD Eject (1014), the
// Sound Record (1006), the MIDI a playlist face (1013) and neither.
HWND FindPanel(HWND mainWindow, Panel panel)
{
    for (HWND child = GetWindow(mainWindow, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        Panel kind = GetDlgItem(child, 1026)   ? Panel::Main
                     : GetDlgItem(child, 1014) ? Panel::Cd
                     : GetDlgItem(child, 1006) ? Panel::Sound
                                               : Panel::Midi;
        if (kind == panel && (kind != Panel::Midi || GetDlgItem(child, 1013))) return child;
    }
    return nullptr;
}

RECT WindowRectIn(HWND window, HWND reference)
{
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, reference, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool HasVisibleStyle(HWND window) { return (GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE) != 0; }

std::string Utf8(const std::wstring& text)
{
    char out[1024] = {};
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out, sizeof(out), nullptr, nullptr);
    return out;
}

std::string WindowText(HWND window)
{
    wchar_t text[1024] = {};
    Sent(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return Utf8(text);
}

void Press(HWND panel, int controlId) { Sent(GetDlgItem(panel, controlId), BM_CLICK, 0, 0); }
void PostPress(HWND panel, int controlId)
{
    EXPECT_TRUE(PostMessageA(GetDlgItem(panel, controlId), BM_CLICK, 0, 0)) << controlId;
}
LRESULT SendCommand(HWND window, int id) { return Sent(window, WM_COMMAND, static_cast<WPARAM>(id), 0); }
HWND WaitForMessageBox(DWORD pid, DWORD ms) { return WaitForShown(pid, "#32770", kMainClass, ms); }
std::string MessageBoxText(HWND box) { return WindowText(GetDlgItem(box, 0xFFFF)); }
void PressMessageBoxButton(HWND box, int buttonId)
{
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, buttonId)));
    EXPECT_TRUE(WaitUntil([box] { return !IsWindow(box); })) << "the window stayed open after button " << buttonId;
}

// A value of type `type` read into `data` of `size` bytes.
bool ReadRegistryValue(HKEY root, const char* key, const char* value, DWORD type, void* data, DWORD size)
{
    HKEY opened = OpenProgramKey(root, key, KEY_QUERY_VALUE);
    LONG status = opened ? RegGetValueA(opened, nullptr, value, type, nullptr, data, &size) : 1;
    if (opened) RegCloseKey(opened);
    return status == ERROR_SUCCESS;
}

std::optional<DWORD> ReadRegistryDword(HKEY root, const char* key, const char* value)
{
    DWORD data = 0;
    return ReadRegistryValue(root, key, value, RRF_RT_REG_DWORD, &data, sizeof(data)) ? std::optional(data)
                                                                                       : std::nullopt;
}

std::optional<std::string> ReadRegistryString(HKEY root, const char* key, const char* value)
{
    char data[1024] = {};
    return ReadRegistryValue(root, key, value, RRF_RT_REG_SZ, data, sizeof(data)) ? std::optional<std::string>(data)
                                                                                  : std::nullopt;
}

std::optional<std::vector<unsigned char>> ReadFileBytes(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 7, nullptr, OPEN_EXISTING, 0, nullptr);  // 7: any sharing
    std::vector<unsigned char> bytes(file == INVALID_HANDLE_VALUE ? 0 : GetFileSize(file, nullptr));
    DWORD got = 0;
    bool read = file != INVALID_HANDLE_VALUE && ReadFile(file, bytes.data(), bytes.size(), &got, nullptr) &&
                got == bytes.size();
    CloseHandle(file);
    return read ? std::optional(bytes) : std::nullopt;
}

bool PutFileBytes(const std::string& path, const std::vector<unsigned char>& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD put = 0;
    bool written = WriteFile(file, bytes.data(), bytes.size(), &put, nullptr) && put == bytes.size();
    return CloseHandle(file) && written;
}

// A store as a disk holds it: a MIDI section (looping when it has entries) and an empty Sound
// section, each an id, a count and flags, big-endian, the MIDI one followed by 256-byte records.
std::vector<unsigned char> StoreFile(const std::vector<std::string>& midi)
{
    auto count = static_cast<unsigned char>(midi.size()), loop = static_cast<unsigned char>(count ? 2 : 0);
    std::vector<unsigned char> bytes{'V', 'L', 10, 0, 0, 0, 0, 0, 0, 1, 0, count, 0, 0, 0, loop};
    for (const std::string& text : midi) {
        bytes.insert(bytes.end(), text.begin(), text.end());
        bytes.resize(bytes.size() + 256 - text.size());
    }
    bytes.insert(bytes.end(), {0, 2, 0, 0, 0, 0, 0, 0});
    return bytes;
}

bool WaitUntil(const std::function<bool()>& done, DWORD ms)
{
    for (DWORD start = GetTickCount(); !done(); Sleep(20))
        if (GetTickCount() - start > ms) return false;
    return true;
}

// CreateProcessA runs an ELF file (with the environment, DISPLAY too) but gives no handle to wait
// on, and leaves left-over data in PROCESS_INFORMATION, which must not be closed: the shell writes
// its status to a file, renamed into place once complete.
int RunShell(const std::string& command)
{
    static int serial = 0;
    std::string status = Environment("VELUTRA_RIG_DIR") + "/run/shell-" + std::to_string(GetCurrentProcessId()) + "-" +
                         std::to_string(++serial);
    std::string line =
        "/bin/sh -c \"" + command + "; echo $? >" + status + ".part; mv " + status + ".part " + status + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::optional<std::vector<unsigned char>> bytes;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info) ||
        !WaitUntil([&] { return (bytes = ReadFileBytes(DosPath(status))).has_value(); })) {
        ADD_FAILURE() << "/bin/sh did not run " << command << " (is the rig up, VELUTRA_RIG_DIR set?)";
        return -1;
    }
    DeleteFileA(DosPath(status).c_str());
    return atoi(std::string(bytes->begin(), bytes->end()).c_str());
}

// Moves go without --sync, which waits 15 s when the pointer is already there; X keeps input in order.
int RunXdotool(const std::string& arguments)
{
    int status = RunShell("xdotool " + arguments);
    EXPECT_EQ(0, status) << "xdotool " << arguments;
    return status;
}

bool SaveScreenshot(HWND window, const std::string& unixPath)
{
    RECT r = WindowRectIn(window, nullptr);
    std::string geometry = std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top) + "+" +
                           std::to_string(r.left) + "+" + std::to_string(r.top);
    return !RunShell("import -window root -crop " + geometry + " +repage '" + unixPath + "'");
}

bool MovePointer(POINT at) { return !RunXdotool("mousemove " + std::to_string(at.x) + " " + std::to_string(at.y)); }
bool ClickAt(POINT at) { return MovePointer(at) && !RunXdotool("click 1"); }
bool PressKeys(const std::string& keys) { return !RunXdotool("key " + keys); }
POINT ScreenCentre(HWND window, RECT clientRect)
{
    POINT centre{(clientRect.left + clientRect.right - 1) / 2, (clientRect.top + clientRect.bottom - 1) / 2};
    ClientToScreen(window, &centre);
    return centre;
}

// VELUTRA_EXE copied into a fresh folder C:\\velutra-e2e\\<test name>.
void VelutraTest::SetUp()
{
    EndAllVelutraProcesses();
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    copy = {"C:\\velutra-e2e\\" + name, "C:\\velutra-e2e\\" + name + "\\velutra.exe"};
    std::string doomed = copy.folder + '\0', source = Environment("VELUTRA_EXE");  // a list ended by two NULs
    SHFILEOPSTRUCTA remove{nullptr, FO_DELETE, doomed.c_str(), nullptr, FOF_NO_UI, FALSE, nullptr, nullptr};
    SHFileOperationA(&remove);
    CreateDirectoryA("C:\\velutra-e2e", nullptr);
    CreateDirectoryA(copy.folder.c_str(), nullptr);
    if (source.empty() || !CopyFileA(DosPath(source).c_str(), copy.exe.c_str(), FALSE))
        ADD_FAILURE() << "cannot copy VELUTRA_EXE \"" << source << "\" to " << copy.exe;
    ClearVelutraRegistry();
}

void VelutraTest::TearDown()
{
    for (Program& program : programs) EndProgram(&program);
    EndAllVelutraProcesses();
}

Program VelutraTest::Start(const std::string& args) { return programs.emplace_back(StartProgram(copy, args)); }

HWND VelutraTest::StartAndWait(const std::string& args)
{
    HWND window = WaitForMainWindow(Start(args));
    EXPECT_TRUE(window) << "no main window for a start with \"" << args << "\"";
    return window;
}

}  // namespace e2e
