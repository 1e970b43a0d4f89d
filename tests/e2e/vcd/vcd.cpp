// A virtual CD drive for the end-to-end tests: an MCI "cdaudio" driver whose disc is described
// by a small text file and whose every command is written to a log the tests read.
//
// The description file is named by the environment variable VCD_DISC, one key=value per line:
//   disc=audio | data | none    data: track 1 is a data track
//   tracks=20,15,30             track lengths in seconds (an empty list is a disc of 0 tracks)
//   speed=10                    simulated seconds per real second
//   door=open | closed          the door when the drive is first loaded
//   spinup=300                  real milliseconds the drive stays not ready after its door closes
// It is read when the driver is first loaded and again each time the door closes. The log goes
// to the file named by VCD_LOG, one line per message.
#include <windows.h>
#include <mmddk.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

// libwinmm exports these; mingw's headers do not declare them.
extern "C" {
BOOL WINAPI mciDriverNotify(HANDLE hwndCallback, MCIDEVICEID deviceId, UINT status);
BOOL WINAPI mciSetDriverData(MCIDEVICEID deviceId, DWORD_PTR data);
DWORD_PTR WINAPI mciGetDriverData(MCIDEVICEID deviceId);
}

namespace {

constexpr int kMaxTracks = 99;
constexpr int kMaxDevices = 16;
constexpr DWORD kTmsfFormat = MCI_FORMAT_TMSF;

enum DiscKind { DISC_NONE, DISC_AUDIO, DISC_DATA };
enum DriveMode { DRIVE_STOPPED, DRIVE_PLAYING, DRIVE_PAUSED };

struct Device {
    bool open = false;
    MCIDEVICEID id = 0;
    DWORD timeFormat = MCI_FORMAT_MSF;
};

// A pending end-of-play notice: the window and the device that asked for it.
struct Notice {
    bool pending = false;
    HWND window = nullptr;
    MCIDEVICEID device = 0;
};

// The drive itself is one per process and outlives the devices opened on it.
struct Drive {
    bool loaded = false;
    bool doorOpen = false;
    DiscKind disc = DISC_NONE;
    int trackCount = 0;
    double trackMs[kMaxTracks] = {};
    double speed = 1.0;
    DWORD spinupMs = 0;
    ULONGLONG notReadyUntil = 0;
    DriveMode mode = DRIVE_STOPPED;
    double positionMs = 0;  // from the start of track 1
    double playEndMs = 0;
    MCIDEVICEID player = 0;  // the device whose play moves the drive
    Notice notice;
    ULONGLONG lastTick = 0;
    Device devices[kMaxDevices];
    int openCount = 0;
    HANDLE worker = nullptr;
    HANDLE stopWorker = nullptr;
};

Drive g_drive;
CRITICAL_SECTION g_lock;
CRITICAL_SECTION g_logLock;
bool g_locksReady = false;

void InitLocks()
{
    if (g_locksReady) return;
    InitializeCriticalSection(&g_lock);
    InitializeCriticalSection(&g_logLock);
    g_locksReady = true;
}

// ---- log ------------------------------------------------------------------------------------

void Log(const char* format, ...)
{
    wchar_t path[MAX_PATH];
    DWORD length = GetEnvironmentVariableW(L"VCD_LOG", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    char line[512];
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(line, sizeof(line) - 2, format, args);
    va_end(args);
    if (n < 0) return;
    if (n > static_cast<int>(sizeof(line)) - 3) n = static_cast<int>(sizeof(line)) - 3;
    line[n++] = '\r';
    line[n++] = '\n';
    EnterCriticalSection(&g_logLock);
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, line, static_cast<DWORD>(n), &written, nullptr);
        CloseHandle(file);
    }
    LeaveCriticalSection(&g_logLock);
}

const char* MessageName(UINT message)
{
    switch (message) {
    case MCI_OPEN_DRIVER:   return "MCI_OPEN_DRIVER";
    case MCI_CLOSE_DRIVER:  return "MCI_CLOSE_DRIVER";
    case MCI_PLAY:          return "MCI_PLAY";
    case MCI_SEEK:          return "MCI_SEEK";
    case MCI_STOP:          return "MCI_STOP";
    case MCI_PAUSE:         return "MCI_PAUSE";
    case MCI_RESUME:        return "MCI_RESUME";
    case MCI_SET:           return "MCI_SET";
    case MCI_STATUS:        return "MCI_STATUS";
    case MCI_GETDEVCAPS:    return "MCI_GETDEVCAPS";
    case MCI_INFO:          return "MCI_INFO";
    case MCI_SYSINFO:       return "MCI_SYSINFO";
    }
    return "MCI_OTHER";
}

// ---- the disc description ---------------------------------------------------------------------

void ReadDisc(bool firstLoad)
{
    g_drive.disc = DISC_NONE;
    g_drive.trackCount = 0;
    g_drive.speed = 1.0;
    g_drive.spinupMs = 0;
    wchar_t path[MAX_PATH];
    DWORD length = GetEnvironmentVariableW(L"VCD_DISC", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    char text[4096] = {};
    DWORD read = 0;
    ReadFile(file, text, sizeof(text) - 1, &read, nullptr);
    CloseHandle(file);
    text[read] = '\0';

    for (char* line = std::strtok(text, "\r\n"); line; line = std::strtok(nullptr, "\r\n")) {
        char* equals = std::strchr(line, '=');
        if (!equals) continue;
        *equals = '\0';
        const char* key = line;
        const char* value = equals + 1;
        if (!std::strcmp(key, "disc")) {
            if (!std::strcmp(value, "audio")) g_drive.disc = DISC_AUDIO;
            else if (!std::strcmp(value, "data")) g_drive.disc = DISC_DATA;
            else g_drive.disc = DISC_NONE;
        } else if (!std::strcmp(key, "tracks")) {
            int count = 0;
            const char* p = value;
            while (*p && count < kMaxTracks) {
                char* end = nullptr;
                double seconds = std::strtod(p, &end);
                if (end == p) break;
                g_drive.trackMs[count++] = seconds * 1000.0;
                p = end;
                while (*p == ',' || *p == ' ') ++p;
            }
            g_drive.trackCount = count;
        } else if (!std::strcmp(key, "speed")) {
            double speed = std::strtod(value, nullptr);
            if (speed > 0) g_drive.speed = speed;
        } else if (!std::strcmp(key, "spinup")) {
            g_drive.spinupMs = static_cast<DWORD>(std::strtoul(value, nullptr, 10));
        } else if (!std::strcmp(key, "door") && firstLoad) {
            g_drive.doorOpen = !std::strcmp(value, "open");
        }
    }
    if (g_drive.disc == DISC_NONE) g_drive.trackCount = 0;
}

// ---- positions --------------------------------------------------------------------------------

double TrackStartMs(int track)  // 1-based
{
    double start = 0;
    for (int i = 1; i < track; ++i) start += g_drive.trackMs[i - 1];
    return start;
}

double DiscLengthMs()
{
    return TrackStartMs(g_drive.trackCount + 1);
}

int TrackAt(double ms)
{
    for (int t = 1; t <= g_drive.trackCount; ++t)
        if (ms < TrackStartMs(t) + g_drive.trackMs[t - 1]) return t;
    return g_drive.trackCount;
}

bool Ready()
{
    return !g_drive.doorOpen && g_drive.disc != DISC_NONE && GetTickCount64() >= g_drive.notReadyUntil;
}

// MSF counts from the disc's lead-in, two seconds before track 1.
constexpr double kLeadInMs = 2000;

DWORD MsfOf(double ms)
{
    auto frames = static_cast<DWORD>((ms + kLeadInMs) * 75 / 1000);
    return MCI_MAKE_MSF(frames / 75 / 60, frames / 75 % 60, frames % 75);
}

DWORD Encode(DWORD format, double ms)
{
    switch (format) {
    case MCI_FORMAT_MILLISECONDS: return static_cast<DWORD>(ms);
    case MCI_FORMAT_MSF:          return MsfOf(ms);
    }
    int track = TrackAt(ms);
    double inTrack = ms - TrackStartMs(track);
    auto frames = static_cast<DWORD>(inTrack * 75 / 1000);
    return MCI_MAKE_TMSF(track, frames / 75 / 60, frames / 75 % 60, frames % 75);
}

// A length, which MCI gives as MSF when the device counts in TMSF.
DWORD EncodeLength(DWORD format, double ms)
{
    if (format == MCI_FORMAT_MILLISECONDS) return static_cast<DWORD>(ms);
    auto frames = static_cast<DWORD>(ms * 75 / 1000);
    return MCI_MAKE_MSF(frames / 75 / 60, frames / 75 % 60, frames % 75);
}

DWORD ReturnFlagOf(DWORD format)
{
    switch (format) {
    case MCI_FORMAT_MSF:  return MCI_COLONIZED3_RETURN;
    case MCI_FORMAT_TMSF: return MCI_COLONIZED4_RETURN;
    }
    return 0;
}

// A position given by the caller; false when it lies outside the disc.
bool Decode(DWORD format, DWORD value, double* ms)
{
    switch (format) {
    case MCI_FORMAT_MILLISECONDS:
        *ms = value;
        break;
    case MCI_FORMAT_MSF: {
        double at = (MCI_MSF_MINUTE(value) * 60.0 + MCI_MSF_SECOND(value)) * 1000 +
                    MCI_MSF_FRAME(value) * 1000.0 / 75 - kLeadInMs;
        if (at < 0) return false;
        *ms = at;
        break;
    }
    default: {
        int track = MCI_TMSF_TRACK(value);
        if (track < 1 || track > g_drive.trackCount) return false;
        *ms = TrackStartMs(track) + (MCI_TMSF_MINUTE(value) * 60.0 + MCI_TMSF_SECOND(value)) * 1000 +
              MCI_TMSF_FRAME(value) * 1000.0 / 75;
        break;
    }
    }
    return *ms <= DiscLengthMs();
}

// ---- notices and the clock ----------------------------------------------------------------------

void PostNotice(HWND window, MCIDEVICEID device, UINT status)
{
    Log("NOTIFY dev=%u status=%u hwnd=%p", device, status, static_cast<void*>(window));
    mciDriverNotify(window, device, status);
}

void EndPendingNotice(UINT status)
{
    if (!g_drive.notice.pending) return;
    g_drive.notice.pending = false;
    PostNotice(g_drive.notice.window, g_drive.notice.device, status);
}

void NotifyNow(DWORD flags, const void* parms, MCIDEVICEID device)
{
    if (!(flags & MCI_NOTIFY) || !parms) return;
    auto generic = static_cast<const MCI_GENERIC_PARMS*>(parms);
    PostNotice(reinterpret_cast<HWND>(generic->dwCallback), device, MCI_NOTIFY_SUCCESSFUL);
}

void Advance()
{
    ULONGLONG now = GetTickCount64();
    ULONGLONG elapsed = now - g_drive.lastTick;
    g_drive.lastTick = now;
    if (g_drive.mode != DRIVE_PLAYING) return;
    g_drive.positionMs += static_cast<double>(elapsed) * g_drive.speed;
    if (g_drive.positionMs < g_drive.playEndMs) return;
    g_drive.positionMs = g_drive.playEndMs;
    g_drive.mode = DRIVE_STOPPED;
    Log("END position=%lu", static_cast<unsigned long>(g_drive.positionMs));
    EndPendingNotice(MCI_NOTIFY_SUCCESSFUL);
}

DWORD WINAPI Worker(void*)
{
    while (WaitForSingleObject(g_drive.stopWorker, 10) == WAIT_TIMEOUT) {
        EnterCriticalSection(&g_lock);
        Advance();
        LeaveCriticalSection(&g_lock);
    }
    return 0;
}

void StartWorker()
{
    if (g_drive.worker) return;
    g_drive.lastTick = GetTickCount64();
    g_drive.stopWorker = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    g_drive.worker = CreateThread(nullptr, 0, Worker, nullptr, 0, nullptr);
}

void StopWorker()
{
    if (!g_drive.worker) return;
    SetEvent(g_drive.stopWorker);
    WaitForSingleObject(g_drive.worker, INFINITE);
    CloseHandle(g_drive.worker);
    CloseHandle(g_drive.stopWorker);
    g_drive.worker = nullptr;
    g_drive.stopWorker = nullptr;
}

void Halt(UINT noticeStatus)
{
    if (g_drive.mode == DRIVE_PLAYING || g_drive.mode == DRIVE_PAUSED) g_drive.mode = DRIVE_STOPPED;
    EndPendingNotice(noticeStatus);
}

// ---- devices ----------------------------------------------------------------------------------

Device* FindDevice(MCIDEVICEID id)
{
    for (Device& device : g_drive.devices)
        if (device.open && device.id == id) return &device;
    return nullptr;
}

Device* AddDevice(MCIDEVICEID id)
{
    for (Device& device : g_drive.devices) {
        if (!device.open) {
            device = Device{};
            device.open = true;
            device.id = id;
            ++g_drive.openCount;
            return &device;
        }
    }
    return nullptr;
}

// ---- commands -----------------------------------------------------------------------------------

DWORD ResourceOf(DWORD value)
{
    return MAKEMCIRESOURCE(value, value);
}

DWORD Status(Device* device, DWORD flags, MCI_STATUS_PARMS* parms)
{
    if (!parms) return MCIERR_NULL_PARAMETER_BLOCK;
    if (!(flags & MCI_STATUS_ITEM)) return MCIERR_MISSING_PARAMETER;
    DWORD format = device->timeFormat;
    switch (parms->dwItem) {
    case MCI_STATUS_MODE: {
        DWORD mode = MCI_MODE_STOP;
        if (g_drive.doorOpen) mode = MCI_MODE_OPEN;
        else if (!Ready()) mode = MCI_MODE_NOT_READY;
        else if (g_drive.mode == DRIVE_PLAYING) mode = MCI_MODE_PLAY;
        else if (g_drive.mode == DRIVE_PAUSED) mode = MCI_MODE_PAUSE;
        parms->dwReturn = ResourceOf(mode);
        return MCI_RESOURCE_RETURNED;
    }
    case MCI_STATUS_READY:
    case MCI_STATUS_MEDIA_PRESENT:
        parms->dwReturn = Ready() ? MAKEMCIRESOURCE(TRUE, MCI_TRUE) : MAKEMCIRESOURCE(FALSE, MCI_FALSE);
        return MCI_RESOURCE_RETURNED;
    case MCI_STATUS_TIME_FORMAT:
        parms->dwReturn = MAKEMCIRESOURCE(format, format + MCI_FORMAT_RETURN_BASE);
        return MCI_RESOURCE_RETURNED;
    case MCI_STATUS_NUMBER_OF_TRACKS:
        if (!Ready()) return MCIERR_DEVICE_NOT_READY;
        parms->dwReturn = static_cast<DWORD>(g_drive.trackCount);
        return 0;
    case MCI_STATUS_CURRENT_TRACK:
        if (!Ready() || g_drive.trackCount == 0) return MCIERR_DEVICE_NOT_READY;
        parms->dwReturn = static_cast<DWORD>(TrackAt(g_drive.positionMs));
        return 0;
    case MCI_STATUS_POSITION:
        if (!Ready() || g_drive.trackCount == 0) return MCIERR_DEVICE_NOT_READY;
        if (flags & MCI_TRACK) {
            if (parms->dwTrack < 1 || parms->dwTrack > static_cast<DWORD>(g_drive.trackCount))
                return MCIERR_OUTOFRANGE;
            parms->dwReturn = Encode(format, TrackStartMs(static_cast<int>(parms->dwTrack)));
        } else if (flags & MCI_STATUS_START) {
            parms->dwReturn = Encode(format, 0);
        } else {
            parms->dwReturn = Encode(format, g_drive.positionMs);
        }
        return ReturnFlagOf(format);
    case MCI_STATUS_LENGTH: {
        if (!Ready()) return MCIERR_DEVICE_NOT_READY;
        double length = DiscLengthMs();
        if (flags & MCI_TRACK) {
            if (parms->dwTrack < 1 || parms->dwTrack > static_cast<DWORD>(g_drive.trackCount))
                return MCIERR_OUTOFRANGE;
            length = g_drive.trackMs[parms->dwTrack - 1];
        }
        parms->dwReturn = EncodeLength(format, length);
        return format == MCI_FORMAT_MILLISECONDS ? 0 : MCI_COLONIZED3_RETURN;
    }
    case MCI_CDA_STATUS_TYPE_TRACK: {
        if (!(flags & MCI_TRACK)) return MCIERR_MISSING_PARAMETER;
        if (!Ready()) return MCIERR_DEVICE_NOT_READY;
        if (parms->dwTrack < 1 || parms->dwTrack > static_cast<DWORD>(g_drive.trackCount)) return MCIERR_OUTOFRANGE;
        DWORD type = g_drive.disc == DISC_DATA && parms->dwTrack == 1 ? MCI_CDA_TRACK_OTHER : MCI_CDA_TRACK_AUDIO;
        parms->dwReturn = ResourceOf(type);
        return MCI_RESOURCE_RETURNED | MCI_RESOURCE_DRIVER;
    }
    }
    return MCIERR_UNSUPPORTED_FUNCTION;
}

DWORD Play(Device* device, DWORD flags, const MCI_PLAY_PARMS* parms)
{
    if (!Ready()) return MCIERR_DEVICE_NOT_READY;
    double from = g_drive.positionMs;
    double to = DiscLengthMs();
    if (flags & (MCI_FROM | MCI_TO)) {
        if (!parms) return MCIERR_NULL_PARAMETER_BLOCK;
        if ((flags & MCI_FROM) && !Decode(device->timeFormat, parms->dwFrom, &from)) return MCIERR_OUTOFRANGE;
        if ((flags & MCI_TO) && !Decode(device->timeFormat, parms->dwTo, &to)) return MCIERR_OUTOFRANGE;
    }
    if (g_drive.disc == DISC_DATA && TrackAt(from) == 1) return MCIERR_HARDWARE;
    EndPendingNotice(MCI_NOTIFY_SUPERSEDED);
    if (from >= to) {
        // Nothing to play: the play has ended as soon as it began.
        g_drive.positionMs = from;
        g_drive.mode = DRIVE_STOPPED;
        NotifyNow(flags, parms, device->id);
        return 0;
    }
    g_drive.positionMs = from;
    g_drive.playEndMs = to;
    g_drive.mode = DRIVE_PLAYING;
    g_drive.player = device->id;
    g_drive.lastTick = GetTickCount64();
    if ((flags & MCI_NOTIFY) && parms) {
        g_drive.notice.pending = true;
        g_drive.notice.window = reinterpret_cast<HWND>(parms->dwCallback);
        g_drive.notice.device = device->id;
    }
    return 0;
}

DWORD Seek(Device* device, DWORD flags, const MCI_SEEK_PARMS* parms)
{
    if (!Ready()) return MCIERR_DEVICE_NOT_READY;
    double to = 0;
    if (flags & MCI_SEEK_TO_END) {
        to = DiscLengthMs();
    } else if (flags & MCI_TO) {
        if (!parms) return MCIERR_NULL_PARAMETER_BLOCK;
        if (!Decode(device->timeFormat, parms->dwTo, &to)) return MCIERR_OUTOFRANGE;
    } else if (!(flags & MCI_SEEK_TO_START)) {
        return MCIERR_MISSING_PARAMETER;
    }
    Halt(MCI_NOTIFY_ABORTED);
    g_drive.positionMs = to;
    NotifyNow(flags, parms, device->id);
    return 0;
}

DWORD Set(Device* device, DWORD flags, const MCI_SET_PARMS* parms)
{
    // The door needs no parameter block, as with real drives.
    if (flags & MCI_SET_DOOR_OPEN) {
        Halt(MCI_NOTIFY_ABORTED);
        g_drive.doorOpen = true;
        g_drive.positionMs = 0;
        Log("DOOR open");
    }
    if (flags & MCI_SET_DOOR_CLOSED) {
        bool wasOpen = g_drive.doorOpen;
        g_drive.doorOpen = false;
        if (wasOpen) {
            ReadDisc(false);
            g_drive.positionMs = 0;
            g_drive.mode = DRIVE_STOPPED;
            g_drive.notReadyUntil = GetTickCount64() + g_drive.spinupMs;
        }
        Log("DOOR closed disc=%d tracks=%d", static_cast<int>(g_drive.disc), g_drive.trackCount);
    }
    if (flags & MCI_SET_TIME_FORMAT) {
        if (!parms) return MCIERR_NULL_PARAMETER_BLOCK;
        switch (parms->dwTimeFormat) {
        case MCI_FORMAT_MILLISECONDS:
        case MCI_FORMAT_MSF:
        case MCI_FORMAT_TMSF:
            device->timeFormat = parms->dwTimeFormat;
            break;
        default:
            return MCIERR_BAD_TIME_FORMAT;
        }
    }
    NotifyNow(flags, parms, device->id);
    return 0;
}

DWORD GetDevCaps(DWORD flags, MCI_GETDEVCAPS_PARMS* parms)
{
    if (!parms) return MCIERR_NULL_PARAMETER_BLOCK;
    if (!(flags & MCI_GETDEVCAPS_ITEM)) return MCIERR_MISSING_PARAMETER;
    switch (parms->dwItem) {
    case MCI_GETDEVCAPS_DEVICE_TYPE:
        parms->dwReturn = ResourceOf(MCI_DEVTYPE_CD_AUDIO);
        return MCI_RESOURCE_RETURNED;
    case MCI_GETDEVCAPS_CAN_EJECT:
    case MCI_GETDEVCAPS_CAN_PLAY:
    case MCI_GETDEVCAPS_HAS_AUDIO:
        parms->dwReturn = MAKEMCIRESOURCE(TRUE, MCI_TRUE);
        return MCI_RESOURCE_RETURNED;
    case MCI_GETDEVCAPS_CAN_RECORD:
    case MCI_GETDEVCAPS_CAN_SAVE:
    case MCI_GETDEVCAPS_HAS_VIDEO:
    case MCI_GETDEVCAPS_USES_FILES:
    case MCI_GETDEVCAPS_COMPOUND_DEVICE:
        parms->dwReturn = MAKEMCIRESOURCE(FALSE, MCI_FALSE);
        return MCI_RESOURCE_RETURNED;
    }
    return MCIERR_UNSUPPORTED_FUNCTION;
}

DWORD Info(DWORD flags, MCI_INFO_PARMSW* parms)
{
    if (!parms || !parms->lpstrReturn) return MCIERR_NULL_PARAMETER_BLOCK;
    if (!(flags & MCI_INFO_PRODUCT)) return MCIERR_UNSUPPORTED_FUNCTION;
    const wchar_t product[] = L"Virtual CD drive";
    if (parms->dwRetSize <= std::wcslen(product)) return MCIERR_PARAM_OVERFLOW;
    std::wcscpy(parms->lpstrReturn, product);
    return 0;
}

DWORD Command(MCIDEVICEID id, UINT message, DWORD flags, void* parms)
{
    Device* device = FindDevice(id);
    if (!device) return MCIERR_INVALID_DEVICE_ID;
    Advance();
    switch (message) {
    case MCI_STATUS:        return Status(device, flags, static_cast<MCI_STATUS_PARMS*>(parms));
    case MCI_PLAY:          return Play(device, flags, static_cast<MCI_PLAY_PARMS*>(parms));
    case MCI_SEEK:          return Seek(device, flags, static_cast<MCI_SEEK_PARMS*>(parms));
    case MCI_SET:           return Set(device, flags, static_cast<MCI_SET_PARMS*>(parms));
    case MCI_GETDEVCAPS:    return GetDevCaps(flags, static_cast<MCI_GETDEVCAPS_PARMS*>(parms));
    case MCI_INFO:          return Info(flags, static_cast<MCI_INFO_PARMSW*>(parms));
    case MCI_STOP:
        if (!Ready()) return MCIERR_DEVICE_NOT_READY;
        Halt(MCI_NOTIFY_ABORTED);
        NotifyNow(flags, parms, id);
        return 0;
    case MCI_PAUSE:
        if (!Ready()) return MCIERR_DEVICE_NOT_READY;
        if (g_drive.mode == DRIVE_PLAYING) g_drive.mode = DRIVE_PAUSED;
        EndPendingNotice(MCI_NOTIFY_ABORTED);
        NotifyNow(flags, parms, id);
        return 0;
    case MCI_OPEN_DRIVER:
        NotifyNow(flags, parms, id);
        return 0;
    case MCI_CLOSE_DRIVER:
        if (g_drive.player == id) Halt(MCI_NOTIFY_ABORTED);
        device->open = false;
        --g_drive.openCount;
        return 0;
    }
    return MCIERR_UNSUPPORTED_FUNCTION;
}

// What a log line says about a command's block, so the tests can check what was asked.
void LogCommand(MCIDEVICEID id, UINT message, DWORD flags, const void* parms, DWORD result)
{
    char detail[160] = "";
    if (parms) {
        switch (message) {
        case MCI_STATUS: {
            auto p = static_cast<const MCI_STATUS_PARMS*>(parms);
            std::snprintf(detail, sizeof(detail), " item=0x%lx track=%lu return=0x%08lx",
                          static_cast<unsigned long>(p->dwItem), static_cast<unsigned long>(p->dwTrack),
                          static_cast<unsigned long>(p->dwReturn));
            break;
        }
        case MCI_PLAY: {
            auto p = static_cast<const MCI_PLAY_PARMS*>(parms);
            std::snprintf(detail, sizeof(detail), " from=0x%08lx to=0x%08lx callback=%p",
                          static_cast<unsigned long>(p->dwFrom), static_cast<unsigned long>(p->dwTo),
                          reinterpret_cast<void*>(p->dwCallback));
            break;
        }
        case MCI_SEEK: {
            auto p = static_cast<const MCI_SEEK_PARMS*>(parms);
            std::snprintf(detail, sizeof(detail), " to=0x%08lx", static_cast<unsigned long>(p->dwTo));
            break;
        }
        case MCI_SET: {
            auto p = static_cast<const MCI_SET_PARMS*>(parms);
            std::snprintf(detail, sizeof(detail), " format=%lu", static_cast<unsigned long>(p->dwTimeFormat));
            break;
        }
        }
    } else {
        std::snprintf(detail, sizeof(detail), " noparms");
    }
    Log("%s dev=%u flags=0x%08lx%s result=0x%08lx", MessageName(message), id, static_cast<unsigned long>(flags),
        detail, static_cast<unsigned long>(result));
}

LRESULT OpenDriver(LPARAM parms)
{
    if (!parms) return 1;
    auto open = reinterpret_cast<MCI_OPEN_DRIVER_PARMS*>(parms);
    open->wType = MCI_DEVTYPE_CD_AUDIO;
    open->wCustomCommandTable = MCI_NO_COMMAND_TABLE;
    EnterCriticalSection(&g_lock);
    Device* device = AddDevice(open->wDeviceID);
    if (device) {
        mciSetDriverData(open->wDeviceID, reinterpret_cast<DWORD_PTR>(device));
        StartWorker();
    }
    LeaveCriticalSection(&g_lock);
    Log("DRV_OPEN dev=%u", open->wDeviceID);
    return device ? open->wDeviceID : 0;
}

// The drive must outlive the devices: winmm frees the driver when its last device closes,
// so the DLL keeps itself loaded for the life of the process.
void KeepLoaded()
{
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&KeepLoaded), &self);
}

}  // namespace

extern "C" LRESULT CALLBACK DriverProc(DWORD_PTR driverId, HDRVR, UINT message, LPARAM param1, LPARAM param2)
{
    switch (message) {
    case DRV_LOAD:
        InitLocks();
        if (!g_drive.loaded) {
            KeepLoaded();
            g_drive.loaded = true;
            ReadDisc(true);
        }
        Log("DRV_LOAD");
        return 1;
    case DRV_FREE:          Log("DRV_FREE"); return 1;
    case DRV_ENABLE:        Log("DRV_ENABLE"); return 1;
    case DRV_DISABLE:       Log("DRV_DISABLE"); return 1;
    case DRV_OPEN:          return OpenDriver(param2);
    case DRV_CLOSE: {
        // The worker takes the lock on every tick: it is stopped outside it.
        EnterCriticalSection(&g_lock);
        bool idle = g_drive.openCount == 0;
        LeaveCriticalSection(&g_lock);
        if (idle) StopWorker();
        Log("DRV_CLOSE dev=%u", static_cast<unsigned>(driverId));
        return 1;
    }
    case DRV_QUERYCONFIGURE: return 0;
    case DRV_CONFIGURE:      return DRVCNF_OK;
    case DRV_INSTALL:
    case DRV_REMOVE:         return DRVCNF_OK;
    }
    if (message < DRV_MCI_FIRST || message > DRV_MCI_LAST) return DefDriverProc(driverId, nullptr, message, param1, param2);

    auto id = static_cast<MCIDEVICEID>(driverId);
    auto flags = static_cast<DWORD>(param1);
    auto parms = reinterpret_cast<void*>(param2);
    EnterCriticalSection(&g_lock);
    DWORD result = Command(id, message, flags, parms);
    LeaveCriticalSection(&g_lock);
    LogCommand(id, message, flags, parms, result);
    if (message == MCI_PLAY && result == 0 && (flags & MCI_WAIT)) {
        for (;;) {
            EnterCriticalSection(&g_lock);
            bool playing = g_drive.mode == DRIVE_PLAYING && g_drive.player == id;
            LeaveCriticalSection(&g_lock);
            if (!playing) break;
            Sleep(10);
        }
    }
    return result;
}
