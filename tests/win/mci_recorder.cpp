// The recording stand-in for MCI and the message-box watcher.
#include "tests/win/mci_recorder.h"

#include <cstdio>
#include <iterator>

#include "app/app.h"
#include "media/mci_seam.h"

MciScript g_script;

namespace {

std::vector<std::string> g_trace;
std::vector<std::string> g_boxes;
HHOOK g_boxHook = nullptr;

std::string Hex(DWORD_PTR value)
{
    char text[24];
    std::snprintf(text, sizeof(text), "0x%llx", static_cast<unsigned long long>(value));
    return text;
}

std::string Hex8(DWORD value)
{
    char text[16];
    std::snprintf(text, sizeof(text), "0x%08lx", static_cast<unsigned long>(value));
    return text;
}

std::string WindowName(DWORD_PTR callback)
{
    auto window = reinterpret_cast<HWND>(callback);
    if (!window) return "0";
    if (window == g_app.CdPanel) return "cd";
    if (window == g_app.MidiPanel) return "midi";
    if (window == g_app.SoundPanel) return "sound";
    return Hex(callback);
}

const char* Name(UINT message)
{
    switch (message) {
    case MCI_OPEN:   return "OPEN";
    case MCI_CLOSE:  return "CLOSE";
    case MCI_PLAY:   return "PLAY";
    case MCI_SEEK:   return "SEEK";
    case MCI_STOP:   return "STOP";
    case MCI_PAUSE:  return "PAUSE";
    case MCI_RESUME: return "RESUME";
    case MCI_SET:    return "SET";
    case MCI_STATUS: return "STATUS";
    case MCI_RECORD: return "RECORD";
    case MCI_SAVE:   return "SAVE";
    }
    return "OTHER";
}

MCIERROR Answer(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR parms)
{
    if (device == 0 && message != MCI_OPEN) return MCIERR_INVALID_DEVICE_ID;
    switch (message) {
    case MCI_OPEN: {
        auto open = reinterpret_cast<MCI_OPEN_PARMSA*>(parms);
        if (g_script.openError) {
            open->wDeviceID = 0xBEEF;  // what a failed open may leave behind
            return g_script.openError;
        }
        open->wDeviceID = g_script.nextId;
        return 0;
    }
    case MCI_CLOSE:  return g_script.closeError;
    case MCI_PLAY:   return g_script.playError;
    case MCI_SEEK:   return g_script.seekError;
    case MCI_STOP:   return g_script.stopError;
    case MCI_PAUSE:  return g_script.pauseError;
    case MCI_RESUME: return g_script.resumeError;
    case MCI_SET:
        if (flags & (MCI_SET_DOOR_OPEN | MCI_SET_DOOR_CLOSED)) return g_script.doorError;
        if (flags & MCI_WAVE_SET_FORMATTAG) return g_script.waveFormatError;
        return g_script.setTimeFormatError;
    case MCI_RECORD: return g_script.recordError;
    case MCI_SAVE:   return g_script.saveError;
    case MCI_STATUS: {
        auto status = reinterpret_cast<MCI_STATUS_PARMS*>(parms);
        switch (status->dwItem) {
        case MCI_STATUS_TIME_FORMAT:
            status->dwReturn = MCI_FORMAT_MSF;
            return g_script.statusTimeFormatError;
        case MCI_STATUS_MODE:
            status->dwReturn = g_script.mode;
            return g_script.modeError;
        case MCI_STATUS_POSITION:
            if (g_script.positionError) return g_script.positionError;
            status->dwReturn = g_script.position;
            return 0;
        case MCI_STATUS_NUMBER_OF_TRACKS:
            if (g_script.tracksError) return g_script.tracksError;
            status->dwReturn = g_script.tracks;
            return 0;
        case MCI_CDA_STATUS_TYPE_TRACK:
            if (g_script.trackTypeError) return g_script.trackTypeError;
            status->dwReturn = g_script.trackType;
            return 0;
        }
        return MCIERR_UNSUPPORTED_FUNCTION;
    }
    }
    return MCIERR_UNRECOGNIZED_COMMAND;
}

std::string Describe(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR parms)
{
    std::string item = std::string(Name(message)) + "#" + std::to_string(device) + " " + Hex(flags);
    if (!parms) return item + " null";
    switch (message) {
    case MCI_OPEN: {
        auto open = reinterpret_cast<const MCI_OPEN_PARMSA*>(parms);
        item += " type=" + std::string(open->lpstrDeviceType ? open->lpstrDeviceType : "(none)");
        if (open->lpstrElementName) item += " element=\"" + std::string(open->lpstrElementName) + "\"";
        if (open->lpstrAlias) item += " alias";
        if (open->dwCallback) item += " cb=" + WindowName(open->dwCallback);
        break;
    }
    case MCI_STATUS: {
        auto status = reinterpret_cast<const MCI_STATUS_PARMS*>(parms);
        item += " item=" + Hex(status->dwItem);
        if (flags & MCI_TRACK) item += " track=" + std::to_string(status->dwTrack);
        break;
    }
    case MCI_SET:
        if (flags & MCI_SET_TIME_FORMAT)
            item += " format=" + std::to_string(reinterpret_cast<const MCI_SET_PARMS*>(parms)->dwTimeFormat);
        if (flags & MCI_WAVE_SET_FORMATTAG) {
            auto wave = reinterpret_cast<const MCI_WAVE_SET_PARMS*>(parms);
            item += " tag=" + std::to_string(wave->wFormatTag) + " channels=" + std::to_string(wave->nChannels) +
                    " rate=" + std::to_string(wave->nSamplesPerSec) +
                    " bytes=" + std::to_string(wave->nAvgBytesPerSec) +
                    " align=" + std::to_string(wave->nBlockAlign) + " bits=" + std::to_string(wave->wBitsPerSample);
            if (wave->dwCallback) item += " cb=" + WindowName(wave->dwCallback);
        }
        break;
    case MCI_SAVE: {
        auto save = reinterpret_cast<const MCI_SAVE_PARMSA*>(parms);
        item += " file=\"" + std::string(save->lpfilename ? save->lpfilename : "(none)") + "\"";
        if (save->dwCallback) item += " cb=" + WindowName(save->dwCallback);
        break;
    }
    case MCI_RECORD: {
        auto record = reinterpret_cast<const MCI_RECORD_PARMS*>(parms);
        item += " cb=" + WindowName(record->dwCallback);
        if (flags & MCI_FROM) item += " from=" + Hex8(record->dwFrom);
        if (flags & MCI_TO) item += " to=" + Hex8(record->dwTo);
        break;
    }
    case MCI_SEEK:
        item += " to=" + Hex8(reinterpret_cast<const MCI_SEEK_PARMS*>(parms)->dwTo);
        break;
    case MCI_PLAY: {
        auto play = reinterpret_cast<const MCI_PLAY_PARMS*>(parms);
        item += " cb=" + WindowName(play->dwCallback);
        if (flags & MCI_FROM) item += " from=" + Hex8(play->dwFrom);
        if (flags & MCI_TO) item += " to=" + Hex8(play->dwTo);
        break;
    }
    default:
        item += " cb=" + WindowName(reinterpret_cast<const MCI_GENERIC_PARMS*>(parms)->dwCallback);
        break;
    }
    return item;
}

MCIERROR WINAPI RecordCommand(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR parms)
{
    g_trace.push_back(Describe(device, message, flags, parms));
    return Answer(device, message, flags, parms);
}

DWORD WINAPI FakeTickCount()
{
    return g_script.clock;
}

VOID WINAPI FakeSleep(DWORD milliseconds)
{
    g_trace.push_back("WAIT " + std::to_string(milliseconds));
    g_script.clock += milliseconds;
}

BOOL WINAPI ErrorText(MCIERROR error, LPSTR text, UINT size)
{
    std::snprintf(text, size, "MCI error %lu", static_cast<unsigned long>(error));
    return TRUE;
}

std::string IconOf(HWND box)
{
    HWND icon = GetDlgItem(box, 0x0440);  // the message box's icon control
    if (!icon) return "none";
    auto shown = reinterpret_cast<HICON>(SendMessageA(icon, STM_GETICON, 0, 0));
    if (!shown) return "none";
    if (shown == LoadIconA(nullptr, IDI_HAND)) return "hand";
    if (shown == LoadIconA(nullptr, IDI_ASTERISK)) return "asterisk";
    return "other";
}

LRESULT CALLBACK WatchBoxes(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        auto window = reinterpret_cast<HWND>(wParam);
        char className[32] = {};
        GetClassNameA(window, className, static_cast<int>(std::size(className)));
        char caption[256] = {};
        GetWindowTextA(window, caption, static_cast<int>(std::size(caption)));
        // Only the program's own boxes: its dialogs and the common dialogs are left to the tests.
        if (std::string(className) == "#32770" && std::string(caption) == kAppName) {
            char text[512] = {};
            GetDlgItemTextA(window, 0xFFFF, text, static_cast<int>(std::size(text)));
            g_boxes.push_back(std::string(caption) + "|" + text + "|" + IconOf(window));
            PostMessageA(window, WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(g_boxHook, code, wParam, lParam);
}

}  // namespace

void InstallMciRecorder()
{
    g_script = MciScript{};
    g_trace.clear();
    g_mci.sendCommand = RecordCommand;
    g_mci.getErrorString = ErrorText;
    g_mci.tickCount = FakeTickCount;
    g_mci.sleep = FakeSleep;
}

void RemoveMciRecorder()
{
    g_mci.sendCommand = mciSendCommandA;
    g_mci.getErrorString = mciGetErrorStringA;
    g_mci.tickCount = GetTickCount;
    g_mci.sleep = Sleep;
}

std::string TakeMciTrace()
{
    std::string joined;
    for (const std::string& item : g_trace) joined += (joined.empty() ? "" : " | ") + item;
    g_trace.clear();
    return joined;
}

void WatchMessageBoxes()
{
    g_boxes.clear();
    g_boxHook = SetWindowsHookExA(WH_CBT, WatchBoxes, nullptr, GetCurrentThreadId());
}

void StopWatchingMessageBoxes()
{
    if (g_boxHook) UnhookWindowsHookEx(g_boxHook);
    g_boxHook = nullptr;
}

std::vector<std::string> TakeMessageBoxes()
{
    std::vector<std::string> boxes;
    boxes.swap(g_boxes);
    return boxes;
}
