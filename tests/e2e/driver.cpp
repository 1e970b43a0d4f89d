// The end-to-end driver's helpers (see driver.h).
#include "tests/e2e/driver.h"

#include <shlwapi.h>

#include <cstdlib>
#include <iterator>

namespace e2e {

namespace {

std::string Environment(const char* name)
{
    char value[1024] = {};
    DWORD length = GetEnvironmentVariableA(name, value, sizeof(value));
    return length > 0 && length < sizeof(value) ? std::string(value, length) : std::string();
}

// A Unix path as Wine's drive Z: (the file system root in every prefix) shows it.
std::string DosPathOfUnixPath(const std::string& unixPath)
{
    std::string dos = "Z:" + unixPath;
    for (char& c : dos)
        if (c == '/') c = '\\';
    return dos;
}

void RemoveFolderTree(const std::string& folder)
{
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveFolderTree(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

}  // namespace

std::string ClassOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

DWORD ProcessOf(HWND window)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

// Top-level windows of a class, optionally with a title and a process.
std::vector<HWND> TopLevelWindows(const char* className, const char* title, DWORD pid)
{
    struct Query {
        const char* className;
        const char* title;
        DWORD pid;
        std::vector<HWND> found;
    } query{className, title, pid, {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto q = reinterpret_cast<Query*>(data);
            if (ClassOf(window) != q->className) return TRUE;
            if (q->pid && ProcessOf(window) != q->pid) return TRUE;
            if (q->title) {
                char text[256] = {};
                GetWindowTextA(window, text, sizeof(text));
                if (std::string(text) != q->title) return TRUE;
            }
            q->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&query));
    return query.found;
}

std::vector<HWND> ShownWindows(DWORD pid, const char* className, const char* title)
{
    std::vector<HWND> shown;
    for (HWND window : TopLevelWindows(className, title, pid))
        if (IsWindowVisible(window)) shown.push_back(window);
    return shown;
}

const char* PanelName(Panel panel)
{
    switch (panel) {
    case Panel::Main:  return "MainPanel";
    case Panel::Cd:    return "CdPanel";
    case Panel::Midi:  return "MidiPanel";
    case Panel::Sound: return "SoundPanel";
    }
    return "?";
}

ProgramCopy MakeFreshCopy(const std::string& name)
{
    const std::string root = "C:\\velutra-e2e";
    std::string safeName = name;
    for (char& c : safeName)
        if (c == '/' || c == '\\' || c == ':') c = '_';
    ProgramCopy copy;
    copy.folder = root + "\\" + safeName;
    copy.exe = copy.folder + "\\velutra.exe";
    CreateDirectoryA(root.c_str(), nullptr);
    RemoveFolderTree(copy.folder);
    if (!CreateDirectoryA(copy.folder.c_str(), nullptr))
        ADD_FAILURE() << "cannot make the folder " << copy.folder << ", error " << GetLastError();
    std::string source = Environment("VELUTRA_EXE");
    if (source.empty()) {
        ADD_FAILURE() << "VELUTRA_EXE is not set; run the driver through ctest";
        return copy;
    }
    if (source[0] == '/') source = DosPathOfUnixPath(source);
    if (!CopyFileA(source.c_str(), copy.exe.c_str(), FALSE))
        ADD_FAILURE() << "cannot copy " << source << " to " << copy.exe << ", error " << GetLastError();
    return copy;
}

REGSAM ProgramRegistryView()
{
    std::string exe = Environment("VELUTRA_EXE");
    if (!exe.empty() && exe[0] == '/') exe = DosPathOfUnixPath(exe);
    DWORD type = 0;
    return GetBinaryTypeA(exe.c_str(), &type) && type == SCS_32BIT_BINARY ? KEY_WOW64_32KEY : 0;
}

void ClearVelutraRegistry()
{
    HKEY software = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_ALL_ACCESS | ProgramRegistryView(), &software) ==
        ERROR_SUCCESS) {
        SHDeleteKeyA(software, "VELUTRA");
        RegCloseKey(software);
    }
    HKEY run = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_SET_VALUE | ProgramRegistryView(), &run) == ERROR_SUCCESS) {
        RegDeleteValueA(run, kRunValue);
        RegCloseKey(run);
    }
}

Program StartProgram(const ProgramCopy& copy, const std::string& args)
{
    std::string commandLine = "\"" + copy.exe + "\"";
    if (!args.empty()) commandLine += " " + args;
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    Program program;
    if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, copy.folder.c_str(),
                        &startup, &info)) {
        ADD_FAILURE() << "CreateProcess of " << commandLine << " failed, error " << GetLastError();
        return program;
    }
    CloseHandle(info.hThread);
    program.process = info.hProcess;
    program.pid = info.dwProcessId;
    return program;
}

HWND WaitForMainWindow(const Program& program, DWORD ms)
{
    if (!program.process) return nullptr;
    WaitForInputIdle(program.process, ms);
    HWND found = nullptr;
    WaitUntil(
        [&] {
            std::vector<HWND> windows = TopLevelWindows(kMainClass, nullptr, program.pid);
            found = windows.empty() ? nullptr : windows.front();
            return found != nullptr || WaitForSingleObject(program.process, 0) == WAIT_OBJECT_0;
        },
        ms);
    return found;
}

std::vector<HWND> MainWindows()
{
    return TopLevelWindows(kMainClass, nullptr, 0);
}

std::optional<DWORD> WaitForExit(const Program& program, DWORD ms)
{
    if (!program.process || WaitForSingleObject(program.process, ms) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(program.process, &code);
    return code;
}

void EndProgram(Program* program)
{
    if (!program->process) return;
    if (WaitForSingleObject(program->process, 0) == WAIT_TIMEOUT) {
        TerminateProcess(program->process, 1);
        WaitForSingleObject(program->process, kWaitMs);
    }
    CloseHandle(program->process);
    program->process = nullptr;
}

void EndAllVelutraProcesses()
{
    for (HWND window : MainWindows()) {
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, ProcessOf(window));
        if (!process) continue;
        TerminateProcess(process, 1);
        WaitForSingleObject(process, kWaitMs);
        CloseHandle(process);
    }
}

HWND FindPanel(HWND mainWindow, Panel panel)
{
    for (HWND child = GetWindow(mainWindow, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        auto has = [child](int id) { return GetDlgItem(child, id) != nullptr; };
        bool match = false;
        switch (panel) {
        case Panel::Main:  match = has(1026); break;
        case Panel::Cd:    match = has(1014); break;
        case Panel::Midi:  match = has(1013) && !has(1006) && !has(1014); break;
        case Panel::Sound: match = has(1006); break;
        }
        if (match) return child;
    }
    return nullptr;
}

RECT WindowRectIn(HWND window, HWND reference)
{
    RECT r{};
    GetWindowRect(window, &r);
    if (reference) MapWindowPoints(nullptr, reference, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool HasVisibleStyle(HWND window)
{
    return (GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

std::string WindowText(HWND window)
{
    char text[1024] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_NORMAL, kWaitMs,
                        &copied);
    return std::string(text, copied < sizeof(text) ? copied : 0);
}

std::wstring WideWindowText(HWND window)
{
    wchar_t text[1024] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text), SMTO_NORMAL, kWaitMs,
                        &copied);
    return std::wstring(text, copied < std::size(text) ? copied : 0);
}

void Press(HWND panel, int controlId)
{
    HWND control = GetDlgItem(panel, controlId);
    if (!control) {
        ADD_FAILURE() << "the panel has no control " << controlId;
        return;
    }
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(control, BM_CLICK, 0, 0, SMTO_NORMAL, kWaitMs, &result))
        ADD_FAILURE() << "the press of " << controlId << " was not handled (a modal window? use PostPress)";
}

void PostPress(HWND panel, int controlId)
{
    HWND control = GetDlgItem(panel, controlId);
    if (!control) {
        ADD_FAILURE() << "the panel has no control " << controlId;
        return;
    }
    PostMessageA(control, BM_CLICK, 0, 0);
}

LRESULT SendCommand(HWND window, int id)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, WM_COMMAND, static_cast<WPARAM>(id), 0, SMTO_NORMAL, kWaitMs, &result))
        ADD_FAILURE() << "WM_COMMAND " << id << " was not handled (a modal window? post it instead)";
    return static_cast<LRESULT>(result);
}

HWND WaitForMessageBox(DWORD pid, DWORD ms)
{
    HWND box = nullptr;
    WaitUntil(
        [&] {
            std::vector<HWND> boxes = TopLevelWindows("#32770", kMainClass, pid);
            box = boxes.empty() ? nullptr : boxes.front();
            return box != nullptr;
        },
        ms);
    return box;
}

std::string MessageBoxText(HWND box)
{
    // A message box shows its text in a static control with id 0xFFFF.
    HWND text = GetDlgItem(box, 0xFFFF);
    return text ? WindowText(text) : std::string();
}

void PressMessageBoxButton(HWND box, int buttonId)
{
    HWND button = GetDlgItem(box, buttonId);
    if (!button) {
        ADD_FAILURE() << "the message box has no button " << buttonId;
        return;
    }
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    if (!WaitUntil([box] { return !IsWindow(box); })) ADD_FAILURE() << "the message box stayed open";
}

std::optional<DWORD> ReadRegistryDword(HKEY root, const char* key, const char* value)
{
    DWORD data = 0, size = sizeof(data), type = 0;
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key, 0, KEY_QUERY_VALUE | ProgramRegistryView(), &opened) != ERROR_SUCCESS)
        return std::nullopt;
    LONG status = RegQueryValueExA(opened, value, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size);
    RegCloseKey(opened);
    if (status != ERROR_SUCCESS || type != REG_DWORD) return std::nullopt;
    return data;
}

std::optional<std::string> ReadRegistryString(HKEY root, const char* key, const char* value)
{
    char data[1024] = {};
    DWORD size = sizeof(data) - 1, type = 0;
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key, 0, KEY_QUERY_VALUE | ProgramRegistryView(), &opened) != ERROR_SUCCESS)
        return std::nullopt;
    LONG status = RegQueryValueExA(opened, value, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(opened);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;
    return std::string(data);
}

std::optional<std::vector<unsigned char>> ReadFileBytes(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::vector<unsigned char> bytes;
    unsigned char block[4096];
    DWORD got = 0;
    while (ReadFile(file, block, sizeof(block), &got, nullptr) && got > 0) bytes.insert(bytes.end(), block, block + got);
    CloseHandle(file);
    return bytes;
}

bool WaitUntil(const std::function<bool()>& done, DWORD ms)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (done()) return true;
        if (GetTickCount() - start > ms) return false;
        Sleep(20);
    }
}

// Unix programs (xdotool, import). CreateProcessA runs an ELF file directly (Wine forks and execs
// it with the Windows environment, so DISPLAY comes along), but hands back no process handle to
// wait on or ask for the exit code. So a shell runs the command and writes its exit status to a
// file in the rig's folder, which appears by rename once complete, and the driver polls for it
// through drive Z:. Measured under the rig: one call, from CreateProcessA to the status file,
// takes about 0.12 s.
int RunShell(const std::string& command)
{
    static int serial = 0;
    std::string rig = Environment("VELUTRA_RIG_DIR");
    if (rig.empty()) {
        ADD_FAILURE() << "VELUTRA_RIG_DIR is not set; run the driver through the rig (tests/rig/wine-run.sh)";
        return -1;
    }
    std::string status = rig + "/run/shell-" + std::to_string(GetCurrentProcessId()) + "-" +
                         std::to_string(++serial);
    std::string commandLine = "/bin/sh -c \"" + command + "; echo $? >" + status + ".part; mv " + status +
                              ".part " + status + "\"";
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        ADD_FAILURE() << "cannot run /bin/sh for " << command << ", error " << GetLastError();
        return -1;
    }
    // Nothing in `info` is closed: for an ELF file Wine leaves no process handle there and a
    // thread "handle" that is left-over data, which can name one of this process's own handles
    // (the cached HKEY_LOCAL_MACHINE key was closed that way, failing every later registry call).
    std::string statusFile = DosPathOfUnixPath(status);
    std::optional<std::vector<unsigned char>> bytes;
    if (!WaitUntil([&] { return (bytes = ReadFileBytes(statusFile)).has_value(); })) {
        ADD_FAILURE() << command << " did not finish";
        return -1;
    }
    DeleteFileA(statusFile.c_str());
    return std::atoi(std::string(bytes->begin(), bytes->end()).c_str());
}

// Moves go without --sync: this xdotool then waits for the pointer to move, 15 s when it is there
// already; X handles input in order, so a click after a move lands at the new place anyway.
int RunXdotool(const std::string& arguments)
{
    return RunShell("xdotool " + arguments);
}

bool SaveScreenshot(HWND window, const std::string& unixPath)
{
    RECT r{};
    if (!GetWindowRect(window, &r)) return false;
    std::string geometry = std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top) + "+" +
                           std::to_string(r.left) + "+" + std::to_string(r.top);
    return RunShell("import -window root -crop " + geometry + " +repage '" + unixPath + "'") == 0;
}

bool MovePointer(POINT screen)
{
    std::string arguments = "mousemove " + std::to_string(screen.x) + " " + std::to_string(screen.y);
    int status = RunXdotool(arguments);
    if (status != 0) ADD_FAILURE() << "xdotool " << arguments << " exited with " << status;
    return status == 0;
}

bool ClickAt(POINT screen)
{
    std::string arguments = "mousemove " + std::to_string(screen.x) + " " + std::to_string(screen.y) +
                            " click 1";
    int status = RunXdotool(arguments);
    if (status != 0) ADD_FAILURE() << "xdotool " << arguments << " exited with " << status;
    return status == 0;
}

bool PressKeys(const std::string& keys)
{
    int status = RunXdotool("key " + keys);
    if (status != 0) ADD_FAILURE() << "xdotool key " << keys << " exited with " << status;
    return status == 0;
}

POINT ScreenCentre(HWND window, RECT clientRect)
{
    POINT centre{(clientRect.left + clientRect.right - 1) / 2, (clientRect.top + clientRect.bottom - 1) / 2};
    ClientToScreen(window, &centre);
    return centre;
}

void VelutraTest::SetUp()
{
    EndAllVelutraProcesses();
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    copy = MakeFreshCopy(std::string(info->test_suite_name()) + "." + info->name());
    ClearVelutraRegistry();
}

void VelutraTest::TearDown()
{
    for (Program& program : programs) EndProgram(&program);
    EndAllVelutraProcesses();
}

Program VelutraTest::Start(const std::string& args)
{
    programs.push_back(StartProgram(copy, args));
    return programs.back();
}

HWND VelutraTest::StartAndWait(const std::string& args)
{
    Program program = Start(args);
    HWND window = WaitForMainWindow(program);
    if (!window) ADD_FAILURE() << "no main window of class \"Velutra\" appeared for a start with \"" << args << "\"";
    return window;
}

}  // namespace e2e
