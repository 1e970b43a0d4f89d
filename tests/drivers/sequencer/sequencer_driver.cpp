// A virtual MIDI sequencer: an MCI driver for the test prefix that reads a MIDI file's true length
// and plays it in simulated time, with the end-of-play notice a real sequencer sends.
//
// Settings, read at each open and each start of the clock, under
// HKEY_CURRENT_USER\Software\Velutra Tests\Sequencer:
//   Speed (DWORD)  percent of real time at which the position runs: 100 real time, 0 frozen.
//   Log (string)   a file to which every command received is appended, one line each.
#include <windows.h>
#include <mmddk.h>
#include <mmsystem.h>

#include <cstdarg>
#include <cstdio>
#include <new>
#include <vector>

#include "tests/drivers/sequencer/smf.h"

// winmm exports these, but mingw's headers leave them out.
extern "C" {
BOOL WINAPI mciDriverNotify(HANDLE callback, MCIDEVICEID device, UINT status);
BOOL WINAPI mciSetDriverData(MCIDEVICEID device, DWORD_PTR data);
DWORD_PTR WINAPI mciGetDriverData(MCIDEVICEID device);
}

namespace {

constexpr char kSettingsKey[] = "Software\\Velutra Tests\\Sequencer";
constexpr DWORD kMaxFileSize = 16u << 20;

struct Sequence {
    MCIDEVICEID deviceId = 0;
    DWORD lengthMs = 0;
    DWORD timeFormat = MCI_FORMAT_MILLISECONDS;
    DWORD mode = MCI_MODE_STOP;
    DWORD position = 0;       // while playing: the position at clockStart
    DWORD playTo = 0;
    ULONGLONG clockStart = 0;
    DWORD speed = 100;        // percent of real time
    HWND notifyWindow = nullptr;
    bool notifyPending = false;
    bool quit = false;
    CRITICAL_SECTION lock;
    HANDLE wake = nullptr;
    HANDLE thread = nullptr;
};

void ReadSettings(DWORD* speed, char* logPath, DWORD logSize)
{
    *speed = 100;
    if (logPath) logPath[0] = '\0';
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    DWORD type = 0, value = 0, size = sizeof value;
    if (RegQueryValueExA(key, "Speed", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
        type == REG_DWORD)
        *speed = value;
    if (logPath) {
        size = logSize - 1;
        if (RegQueryValueExA(key, "Log", nullptr, &type, reinterpret_cast<BYTE*>(logPath), &size) != ERROR_SUCCESS ||
            type != REG_SZ)
            logPath[0] = '\0';
        logPath[logSize - 1] = '\0';
    }
    RegCloseKey(key);
}

void Log(const char* format, ...)
{
    char path[MAX_PATH];
    DWORD speed;
    ReadSettings(&speed, path, sizeof path);
    if (!path[0]) return;
    char line[600];
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(line, sizeof line - 2, format, args);
    va_end(args);
    if (n < 0) return;
    if (n > static_cast<int>(sizeof line) - 3) n = sizeof line - 3;
    line[n++] = '\r';
    line[n++] = '\n';
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written;
    WriteFile(file, line, static_cast<DWORD>(n), &written, nullptr);
    CloseHandle(file);
}

const char* NoticeName(UINT status)
{
    switch (status) {
    case MCI_NOTIFY_SUCCESSFUL: return "successful";
    case MCI_NOTIFY_SUPERSEDED: return "superseded";
    case MCI_NOTIFY_ABORTED:    return "aborted";
    case MCI_NOTIFY_FAILURE:    return "failure";
    }
    return "?";
}

// Called with the lock held.
DWORD CurrentPosition(const Sequence* s)
{
    if (s->mode != MCI_MODE_PLAY) return s->position;
    ULONGLONG elapsed = (GetTickCount64() - s->clockStart) * s->speed / 100;
    ULONGLONG at = s->position + elapsed;
    return at >= s->playTo ? s->playTo : static_cast<DWORD>(at);
}

// Called with the lock held: freezes the clock at the present position.
void Halt(Sequence* s, DWORD mode)
{
    s->position = CurrentPosition(s);
    s->mode = mode;
}

// Called with the lock held: a pending notice ends with the given status.
void EndNotice(Sequence* s, UINT status)
{
    if (!s->notifyPending) return;
    s->notifyPending = false;
    Log("notify %s", NoticeName(status));
    mciDriverNotify(s->notifyWindow, s->deviceId, status);
}

// Called with the lock held: a command other than play that asked for a notice gets it at once.
void NotifyDone(Sequence* s, DWORD_PTR flags, DWORD_PTR parms)
{
    if (!(flags & MCI_NOTIFY) || !parms) return;
    auto generic = reinterpret_cast<const MCI_GENERIC_PARMS*>(parms);
    mciDriverNotify(reinterpret_cast<HANDLE>(generic->dwCallback), s->deviceId, MCI_NOTIFY_SUCCESSFUL);
}

void StartClock(Sequence* s)
{
    ReadSettings(&s->speed, nullptr, 0);
    s->clockStart = GetTickCount64();
    s->mode = MCI_MODE_PLAY;
    SetEvent(s->wake);
}

// Keeps the simulated clock: when a play reaches its end the device stops and the pending notice
// is sent as successful.
DWORD WINAPI ClockThread(void* arg)
{
    auto s = static_cast<Sequence*>(arg);
    for (;;) {
        WaitForSingleObject(s->wake, 10);
        EnterCriticalSection(&s->lock);
        if (s->quit) {
            LeaveCriticalSection(&s->lock);
            return 0;
        }
        if (s->mode == MCI_MODE_PLAY && CurrentPosition(s) >= s->playTo) {
            s->position = s->playTo;
            s->mode = MCI_MODE_STOP;
            Log("end at %lu", static_cast<unsigned long>(s->position));
            EndNotice(s, MCI_NOTIFY_SUCCESSFUL);
        }
        LeaveCriticalSection(&s->lock);
    }
}

bool ReadWholeFile(const wchar_t* path, std::vector<unsigned char>* data)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD size = GetFileSize(file, nullptr);
    bool ok = size != INVALID_FILE_SIZE && size <= kMaxFileSize;
    if (ok) {
        data->resize(size);
        DWORD got = 0;
        ok = size == 0 || (ReadFile(file, data->data(), size, &got, nullptr) && got == size);
    }
    CloseHandle(file);
    return ok;
}

DWORD OpenElement(Sequence* s, DWORD_PTR flags, const MCI_OPEN_PARMSW* parms)
{
    char name[MAX_PATH * 3] = "";
    if (parms && (flags & MCI_OPEN_ELEMENT) && parms->lpstrElementName)
        WideCharToMultiByte(CP_UTF8, 0, parms->lpstrElementName, -1, name, sizeof name, nullptr, nullptr);
    if (!name[0]) {
        Log("open (no file) refused");
        return MCIERR_UNSUPPORTED_FUNCTION;
    }
    std::vector<unsigned char> data;
    SmfInfo info;
    if (!ReadWholeFile(parms->lpstrElementName, &data)) {
        Log("open %s refused: cannot read", name);
        return MCIERR_FILE_NOT_FOUND;
    }
    if (!ReadSmf(data.data(), data.size(), &info)) {
        Log("open %s refused: not a MIDI file", name);
        return MCIERR_INVALID_FILE;
    }
    s->lengthMs = info.lengthMs;
    s->playTo = info.lengthMs;
    Log("open %s length %lu", name, static_cast<unsigned long>(info.lengthMs));
    return 0;
}

DWORD Close(Sequence* s)
{
    Halt(s, MCI_MODE_STOP);
    EndNotice(s, MCI_NOTIFY_ABORTED);
    Log("close");
    return 0;
}

DWORD Play(Sequence* s, DWORD_PTR flags, const MCI_PLAY_PARMS* parms)
{
    DWORD from = CurrentPosition(s);
    DWORD to = s->lengthMs;
    if (parms && (flags & MCI_FROM)) from = parms->dwFrom;
    if (parms && (flags & MCI_TO)) to = parms->dwTo;
    if (from > s->lengthMs || to > s->lengthMs || from > to) {
        Log("play from %lu to %lu refused: out of range", static_cast<unsigned long>(from), static_cast<unsigned long>(to));
        return MCIERR_OUTOFRANGE;
    }
    // A new notice supersedes the pending one; a play without a notice aborts it.
    EndNotice(s, (flags & MCI_NOTIFY) ? MCI_NOTIFY_SUPERSEDED : MCI_NOTIFY_ABORTED);
    s->position = from;
    s->playTo = to;
    if (flags & MCI_NOTIFY) {
        s->notifyWindow = reinterpret_cast<HWND>(parms ? parms->dwCallback : 0);
        s->notifyPending = true;
    }
    StartClock(s);
    Log("play from %lu to %lu%s speed %lu", static_cast<unsigned long>(from), static_cast<unsigned long>(to),
        (flags & MCI_NOTIFY) ? " notify" : "", static_cast<unsigned long>(s->speed));
    return 0;
}

DWORD Seek(Sequence* s, DWORD_PTR flags, const MCI_SEEK_PARMS* parms)
{
    DWORD to;
    if (flags & MCI_SEEK_TO_START)
        to = 0;
    else if (flags & MCI_SEEK_TO_END)
        to = s->lengthMs;
    else if ((flags & MCI_TO) && parms)
        to = parms->dwTo;
    else
        return MCIERR_MISSING_PARAMETER;
    if (to > s->lengthMs) {
        Log("seek to %lu refused: out of range", static_cast<unsigned long>(to));
        return MCIERR_OUTOFRANGE;
    }
    Halt(s, MCI_MODE_STOP);
    EndNotice(s, MCI_NOTIFY_ABORTED);
    s->position = to;
    s->playTo = s->lengthMs;
    Log("seek to %lu", static_cast<unsigned long>(to));
    return 0;
}

DWORD Status(Sequence* s, DWORD_PTR flags, MCI_STATUS_PARMS* parms)
{
    if (!parms) return MCIERR_NULL_PARAMETER_BLOCK;
    if (!(flags & MCI_STATUS_ITEM)) return MCIERR_MISSING_PARAMETER;
    DWORD result = 0;
    switch (parms->dwItem) {
    case MCI_STATUS_POSITION:
        parms->dwReturn = (flags & MCI_STATUS_START) ? 0 : CurrentPosition(s);
        Log("status position %lu", static_cast<unsigned long>(parms->dwReturn));
        break;
    case MCI_STATUS_LENGTH:
        parms->dwReturn = s->lengthMs;
        Log("status length %lu", static_cast<unsigned long>(s->lengthMs));
        break;
    case MCI_STATUS_MODE: {
        DWORD mode = s->mode == MCI_MODE_PLAY && CurrentPosition(s) >= s->playTo ? MCI_MODE_STOP : s->mode;
        parms->dwReturn = MAKEMCIRESOURCE(mode, mode);
        result = MCI_RESOURCE_RETURNED;
        Log("status mode %lu", static_cast<unsigned long>(mode));
        break;
    }
    case MCI_STATUS_TIME_FORMAT:
        parms->dwReturn = MAKEMCIRESOURCE(s->timeFormat, MCI_FORMAT_RETURN_BASE + s->timeFormat);
        result = MCI_RESOURCE_RETURNED;
        Log("status time format %lu", static_cast<unsigned long>(s->timeFormat));
        break;
    case MCI_STATUS_READY:
    case MCI_STATUS_MEDIA_PRESENT:
        parms->dwReturn = MAKEMCIRESOURCE(TRUE, MCI_TRUE);
        result = MCI_RESOURCE_RETURNED;
        break;
    case MCI_STATUS_NUMBER_OF_TRACKS:
    case MCI_STATUS_CURRENT_TRACK:
        parms->dwReturn = 1;
        break;
    default:
        return MCIERR_UNSUPPORTED_FUNCTION;
    }
    NotifyDone(s, flags, reinterpret_cast<DWORD_PTR>(parms));
    return result;
}

DWORD Set(Sequence* s, DWORD_PTR flags, const MCI_SET_PARMS* parms)
{
    if (flags & MCI_SET_TIME_FORMAT) {
        if (!parms) return MCIERR_NULL_PARAMETER_BLOCK;
        if (parms->dwTimeFormat != MCI_FORMAT_MILLISECONDS) {
            Log("set time format %lu refused", static_cast<unsigned long>(parms->dwTimeFormat));
            return MCIERR_BAD_TIME_FORMAT;
        }
        s->timeFormat = parms->dwTimeFormat;
        Log("set time format %lu", static_cast<unsigned long>(parms->dwTimeFormat));
    }
    if (flags & (MCI_SET_DOOR_OPEN | MCI_SET_DOOR_CLOSED)) return MCIERR_UNSUPPORTED_FUNCTION;
    return 0;
}

// Every command runs under the device's lock, so the clock thread sees each change whole.
DWORD RunCommand(Sequence* s, UINT message, DWORD_PTR flags, DWORD_PTR parms)
{
    switch (message) {
    case MCI_PLAY:   return Play(s, flags, reinterpret_cast<const MCI_PLAY_PARMS*>(parms));
    case MCI_SEEK:   return Seek(s, flags, reinterpret_cast<const MCI_SEEK_PARMS*>(parms));
    case MCI_STATUS: return Status(s, flags, reinterpret_cast<MCI_STATUS_PARMS*>(parms));
    case MCI_SET:    return Set(s, flags, reinterpret_cast<const MCI_SET_PARMS*>(parms));
    case MCI_STOP:
        Halt(s, MCI_MODE_STOP);
        EndNotice(s, MCI_NOTIFY_ABORTED);
        Log("stop at %lu", static_cast<unsigned long>(s->position));
        return 0;
    case MCI_PAUSE:
        // The pending notice stays until the play from here that goes on supersedes it.
        if (s->mode == MCI_MODE_PLAY) Halt(s, MCI_MODE_PAUSE);
        Log("pause at %lu", static_cast<unsigned long>(s->position));
        return 0;
    case MCI_RESUME:
        // As the system's own sequencer: it has no resume; a play goes on from the pause.
        Log("resume refused at %lu", static_cast<unsigned long>(s->position));
        return MCIERR_UNSUPPORTED_FUNCTION;
    case MCI_GETDEVCAPS: {
        auto caps = reinterpret_cast<MCI_GETDEVCAPS_PARMS*>(parms);
        if (!caps || !(flags & MCI_GETDEVCAPS_ITEM)) return MCIERR_MISSING_PARAMETER;
        switch (caps->dwItem) {
        case MCI_GETDEVCAPS_DEVICE_TYPE:
            caps->dwReturn = MAKEMCIRESOURCE(MCI_DEVTYPE_SEQUENCER, MCI_DEVTYPE_SEQUENCER);
            return MCI_RESOURCE_RETURNED;
        case MCI_GETDEVCAPS_CAN_PLAY:
        case MCI_GETDEVCAPS_HAS_AUDIO:
        case MCI_GETDEVCAPS_USES_FILES:
            caps->dwReturn = MAKEMCIRESOURCE(TRUE, MCI_TRUE);
            return MCI_RESOURCE_RETURNED;
        }
        caps->dwReturn = MAKEMCIRESOURCE(FALSE, MCI_FALSE);
        return MCI_RESOURCE_RETURNED;
    }
    }
    Log("command 0x%x unsupported", message);
    return MCIERR_UNRECOGNIZED_COMMAND;
}

DWORD OpenDevice(Sequence* s, DWORD_PTR flags, const MCI_OPEN_PARMSW* parms)
{
    DWORD error = OpenElement(s, flags, parms);
    if (error) return error;
    s->thread = CreateThread(nullptr, 0, ClockThread, s, 0, nullptr);
    return s->thread ? 0 : MCIERR_OUT_OF_MEMORY;
}

LRESULT OpenDriver(MCI_OPEN_DRIVER_PARMS* parms)
{
    // The first open of a loaded driver carries no parameters: it only asks whether it may open.
    if (!parms) return 1;
    auto s = new (std::nothrow) Sequence;
    if (!s) return 0;
    InitializeCriticalSection(&s->lock);
    s->wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    s->deviceId = parms->wDeviceID;
    parms->wType = MCI_DEVTYPE_SEQUENCER;
    parms->wCustomCommandTable = MCI_NO_COMMAND_TABLE;
    mciSetDriverData(parms->wDeviceID, reinterpret_cast<DWORD_PTR>(s));
    return parms->wDeviceID;
}

// Stops the clock thread and frees the device's record.
void CloseDriver(DWORD_PTR driverId)
{
    auto s = reinterpret_cast<Sequence*>(mciGetDriverData(static_cast<MCIDEVICEID>(driverId)));
    if (!s) return;
    mciSetDriverData(static_cast<MCIDEVICEID>(driverId), 0);
    if (s->thread) {
        EnterCriticalSection(&s->lock);
        s->quit = true;
        LeaveCriticalSection(&s->lock);
        SetEvent(s->wake);
        WaitForSingleObject(s->thread, INFINITE);
        CloseHandle(s->thread);
    }
    CloseHandle(s->wake);
    DeleteCriticalSection(&s->lock);
    delete s;
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK DriverProc(DWORD_PTR driverId, HDRVR, UINT message,
                                                             LPARAM param1, LPARAM param2)
{
    switch (message) {
    case DRV_LOAD:
    case DRV_FREE:
    case DRV_ENABLE:
    case DRV_DISABLE:
        return 1;
    case DRV_OPEN:  return OpenDriver(reinterpret_cast<MCI_OPEN_DRIVER_PARMS*>(param2));
    case DRV_CLOSE: CloseDriver(driverId); return 1;
    }
    if (message < DRV_MCI_FIRST || message > DRV_MCI_LAST) return DefDriverProc(driverId, nullptr, message, param1, param2);
    auto s = reinterpret_cast<Sequence*>(mciGetDriverData(static_cast<MCIDEVICEID>(driverId)));
    if (!s) return MCIERR_INVALID_DEVICE_ID;
    DWORD_PTR flags = static_cast<DWORD_PTR>(param1);
    DWORD_PTR parms = static_cast<DWORD_PTR>(param2);
    EnterCriticalSection(&s->lock);
    DWORD result;
    switch (message) {
    case MCI_OPEN_DRIVER:  result = OpenDevice(s, flags, reinterpret_cast<const MCI_OPEN_PARMSW*>(parms)); break;
    case MCI_CLOSE_DRIVER: result = Close(s); break;
    default:               result = RunCommand(s, message, flags, parms); break;
    }
    LeaveCriticalSection(&s->lock);
    bool waitForEnd = message == MCI_PLAY && result == 0 && (flags & MCI_WAIT);
    while (waitForEnd) {
        Sleep(10);
        EnterCriticalSection(&s->lock);
        waitForEnd = s->mode == MCI_MODE_PLAY;
        LeaveCriticalSection(&s->lock);
    }
    return result;
}
