// Helpers of the benchmark and soak driver (see bench_driver.h).
#include "tests/bench/bench_driver.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tests/drivers/sequencer/smf_builder.h"

namespace bench {

namespace {

constexpr char kMciKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\MCI";
constexpr char kSequencerKey[] = "Software\\Velutra Tests\\Sequencer";
constexpr std::size_t kRecordSize = 256;

std::string ReadSmallFile(const std::string& path)
{
    std::optional<std::vector<unsigned char>> bytes = e2e::ReadFileBytes(path);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

bool IsNumber(const char* text)
{
    if (!*text) return false;
    for (; *text; ++text)
        if (*text < '0' || *text > '9') return false;
    return true;
}

void PutBigEndian(std::string* out, DWORD value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i) out->push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

DWORD GetBigEndian(const unsigned char* in, int bytes)
{
    DWORD value = 0;
    for (int i = 0; i < bytes; ++i) value = (value << 8) | in[i];
    return value;
}

}  // namespace

bool WriteWholeFile(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

std::string Env(const char* name, const std::string& fallback)
{
    char value[2048] = {};
    DWORD length = GetEnvironmentVariableA(name, value, sizeof(value));
    return length > 0 && length < sizeof(value) ? std::string(value, length) : fallback;
}

long EnvNumber(const char* name, long fallback)
{
    std::string text = Env(name);
    return text.empty() ? fallback : std::strtol(text.c_str(), nullptr, 10);
}

std::string DosPath(const std::string& path)
{
    if (path.empty() || path[0] != '/') return path;
    std::string dos = "Z:" + path;
    std::replace(dos.begin(), dos.end(), '/', '\\');
    return dos;
}

void Report(const std::string& key, double value, const char* unit)
{
    char line[256];
    std::snprintf(line, sizeof(line), "BENCH %s %.6g %s\n", key.c_str(), value, unit);
    std::fputs(line, stdout);
    std::fflush(stdout);
    std::string out = Env("VELUTRA_BENCH_OUT");
    if (out.empty()) return;
    HANDLE file = CreateFileA(DosPath(out).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, line + 6, static_cast<DWORD>(std::strlen(line + 6)), &written, nullptr);
    CloseHandle(file);
}

double Median(std::vector<double> values)
{
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

LARGE_INTEGER Now()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Wine runs each Windows process as a Linux process whose command line starts with the program's
// DOS path, and whose environment names its prefix.
int LinuxPidOf(const std::string& exe)
{
    const std::string prefix = "WINEPREFIX=" + Env("WINEPREFIX");
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int pid = 0;
    do {
        if (!IsNumber(found.cFileName)) continue;
        std::string folder = std::string("Z:\\proc\\") + found.cFileName;
        std::string command = ReadSmallFile(folder + "\\cmdline");
        std::string first = command.substr(0, command.find('\0'));
        if (lstrcmpiA(first.c_str(), exe.c_str()) != 0) continue;
        std::string environment = ReadSmallFile(folder + "\\environ");
        if (environment.find(prefix + '\0') == std::string::npos) continue;
        pid = std::atoi(found.cFileName);
    } while (!pid && FindNextFileA(search, &found));
    FindClose(search);
    return pid;
}

int WineserverPid()
{
    std::string rig = Env("VELUTRA_RIG_DIR");
    return rig.empty() ? 0 : std::atoi(ReadSmallFile(DosPath(rig + "/run/wineserver.pid")).c_str());
}

// The first field of each thread's schedstat is the nanoseconds it has run on a processor.
double CpuSeconds(int linuxPid)
{
    if (linuxPid <= 0) return -1;
    std::string tasks = "Z:\\proc\\" + std::to_string(linuxPid) + "\\task";
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((tasks + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return -1;
    double seconds = 0;
    do {
        if (!IsNumber(found.cFileName)) continue;
        std::string stat = ReadSmallFile(tasks + "\\" + found.cFileName + "\\schedstat");
        seconds += std::strtod(stat.c_str(), nullptr) / 1e9;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return seconds;
}

bool NothingToPaint(HWND window)
{
    if (GetUpdateRect(window, nullptr, FALSE)) return false;
    bool clean = true;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM data) -> BOOL {
            if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) {
                *reinterpret_cast<bool*>(data) = false;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&clean));
    return clean;
}

HWND FindProcessWindow(DWORD pid, const char* className, const char* caption)
{
    std::vector<HWND> windows = e2e::TopLevelWindows(className, caption, pid);
    return windows.empty() ? nullptr : windows.front();
}

HWND WaitShownAndPainted(const e2e::Program& program, const char* className, DWORD ms)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (WaitForInputIdle(program.process, 0) == 0) {
            HWND window = FindProcessWindow(program.pid, className, nullptr);
            if (window && IsWindowVisible(window) && NothingToPaint(window)) return window;
        }
        if (GetTickCount() - start > ms || WaitForSingleObject(program.process, 0) == WAIT_OBJECT_0) return nullptr;
        Sleep(1);
    }
}

bool Answers(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, DWORD ms)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, msg, wParam, lParam, SMTO_NORMAL, ms, &result) != 0;
}

bool WriteStore(const std::string& path, const std::vector<std::string>& midi, DWORD midiFlags,
                const std::vector<std::string>& sound, DWORD soundFlags)
{
    std::string bytes = "VL";
    bytes.push_back(10);
    bytes.append(5, '\0');
    auto section = [&](int id, const std::vector<std::string>& list, DWORD flags) {
        PutBigEndian(&bytes, static_cast<DWORD>(id), 2);
        PutBigEndian(&bytes, static_cast<DWORD>(list.size()), 2);
        PutBigEndian(&bytes, flags, 4);
        for (const std::string& text : list) {
            std::string record = text.substr(0, kRecordSize - 1);
            record.resize(kRecordSize, '\0');
            bytes += record;
        }
    };
    section(1, midi, midiFlags);
    section(2, sound, soundFlags);
    return WriteWholeFile(path, bytes);
}

bool ReadStore(const std::string& path, std::vector<std::string>* midi, DWORD* midiFlags,
               std::vector<std::string>* sound, DWORD* soundFlags)
{
    std::optional<std::vector<unsigned char>> bytes = e2e::ReadFileBytes(path);
    if (!bytes || bytes->size() < 24 || (*bytes)[0] != 'V' || (*bytes)[1] != 'L') return false;
    std::size_t at = 8;
    auto section = [&](int id, std::vector<std::string>* list, DWORD* flags) {
        if (at + 8 > bytes->size() || GetBigEndian(&(*bytes)[at], 2) != static_cast<DWORD>(id)) return false;
        DWORD count = GetBigEndian(&(*bytes)[at + 2], 2);
        *flags = GetBigEndian(&(*bytes)[at + 4], 4);
        at += 8;
        if (at + count * kRecordSize > bytes->size()) return false;
        list->clear();
        for (DWORD i = 0; i < count; ++i, at += kRecordSize)
            list->emplace_back(reinterpret_cast<const char*>(&(*bytes)[at]));
        return true;
    };
    return section(1, midi, midiFlags) && section(2, sound, soundFlags) && at == bytes->size();
}

bool RegisterVirtualSequencer()
{
    char driver[MAX_PATH] = {};
    GetFullPathNameA(DosPath(Env("VELUTRA_VSEQ_DLL")).c_str(), MAX_PATH, driver, nullptr);
    if (GetFileAttributesA(driver) == INVALID_FILE_ATTRIBUTES || std::strchr(driver, ' ')) return false;
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kMciKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    RegSetValueExA(key, "sequencer", 0, REG_SZ, reinterpret_cast<const BYTE*>(driver),
                   static_cast<DWORD>(std::strlen(driver) + 1));
    RegCloseKey(key);
    DWORD speed = 100;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSequencerKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) ==
        ERROR_SUCCESS) {
        RegSetValueExA(key, "Speed", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&speed), sizeof(speed));
        RegDeleteValueA(key, "Log");
        RegCloseKey(key);
    }
    return true;
}

bool PinVirtualSequencer(const e2e::Program& program)
{
    char driver[MAX_PATH] = {};
    GetFullPathNameA(DosPath(Env("VELUTRA_VSEQ_DLL")).c_str(), MAX_PATH, driver, nullptr);
    return PinLibraryInProcess(program.process, driver);
}

void UnregisterVirtualSequencer()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kMciKey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, "sequencer");
        RegCloseKey(key);
    }
}

std::vector<std::string> WriteMidiFiles(const std::string& folder, int count, unsigned lengthMs)
{
    CreateDirectoryA(folder.c_str(), nullptr);
    Bytes midi = MidiOfLength(lengthMs);
    std::vector<std::string> paths;
    for (int i = 1; i <= count; ++i) {
        std::string path = folder + "\\tune" + std::to_string(i) + ".mid";
        if (WriteWholeFile(path, std::string(midi.begin(), midi.end()))) paths.push_back(path);
    }
    return paths;
}

std::optional<GuiCounts> Count(const e2e::Program& program)
{
    std::string dll = DosPath(Env("VELUTRA_GUI_COUNT_DLL"));
    char full[MAX_PATH] = {};
    GetFullPathNameA(dll.c_str(), MAX_PATH, full, nullptr);
    return CountInProcess(program.process, full);
}

void ReportCounts(const std::string& prefix, const GuiCounts& counts)
{
    Report(prefix + ".gdi_objects", counts.gdi, "objects");
    Report(prefix + ".user_objects", counts.user, "objects");
    Report(prefix + ".windows", counts.windows, "objects");
    Report(prefix + ".menus", counts.menus, "objects");
    Report(prefix + ".cursors_icons", counts.cursorsAndIcons, "objects");
    Report(prefix + ".handles", counts.handles, "handles");
    Report(prefix + ".private_memory", static_cast<double>(counts.privateBytes) / 1024.0, "KiB");
}

}  // namespace bench
