// The recording stand-in for MCI.
#include "tests/win/mci_recorder.h"

#include <cstdio>

#include "media/mci_seam.h"

MciScript g_script;

namespace {

std::string g_trace;

const char* Name(UINT message)
{
    switch (message) {
    case MCI_CLOSE:  return "CLOSE";
    case MCI_PLAY:   return "PLAY";
    case MCI_SEEK:   return "SEEK";
    case MCI_STOP:   return "STOP";
    case MCI_PAUSE:  return "PAUSE";
    case MCI_RESUME: return "RESUME";
    case MCI_RECORD: return "RECORD";
    case MCI_SAVE:   return "SAVE";
    }
    return nullptr;
}

MCIERROR WINAPI RecordCommand(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR parms)
{
    if (message == MCI_OPEN) {
        auto open = reinterpret_cast<MCI_OPEN_PARMSA*>(parms);
        g_trace += std::string(" OPEN") + ((flags & MCI_OPEN_ELEMENT) ? " " : "") +
                   ((flags & MCI_OPEN_ELEMENT) ? open->lpstrElementName : "");
        open->wDeviceID = g_script.openError ? 0xBEEF : 7;  // garbage after a failed open
        return g_script.openError;
    }
    if (message == MCI_STATUS) {
        auto status = reinterpret_cast<MCI_STATUS_PARMS*>(parms);
        status->dwReturn = status->dwItem == MCI_STATUS_MODE                ? g_script.mode
                           : status->dwItem == MCI_STATUS_NUMBER_OF_TRACKS ? g_script.tracks
                           : status->dwItem == MCI_CDA_STATUS_TYPE_TRACK   ? MCI_CDA_TRACK_AUDIO
                                                                            : 0;
    } else if (Name(message)) {
        g_trace += std::string(" ") + Name(message) + "#" + std::to_string(device);
    }
    if (device != 7) return MCIERR_INVALID_DEVICE_ID;
    return message == g_script.failing ? MCIERR_HARDWARE : 0;
}

DWORD WINAPI FakeTickCount()
{
    return g_script.clock;
}

VOID WINAPI FakeSleep(DWORD milliseconds)
{
    g_trace += " WAIT " + std::to_string(milliseconds);
    g_script.clock += milliseconds;
}

BOOL WINAPI ErrorText(MCIERROR error, LPSTR text, UINT size)
{
    std::snprintf(text, size, "MCI error %lu", static_cast<unsigned long>(error));
    return TRUE;
}

}  // namespace

void InstallMciRecorder()
{
    g_script = MciScript{};
    g_trace.clear();
    g_mci = MciSeam{RecordCommand, ErrorText, FakeTickCount, FakeSleep};
}

std::string TakeMci()
{
    std::string trace = g_trace.empty() ? g_trace : g_trace.substr(1);
    g_trace.clear();
    return trace;
}
