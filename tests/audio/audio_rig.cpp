// The rig's sound server from a test under Wine (see audio_rig.h).
#include "tests/audio/audio_rig.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace audio {

namespace {

std::string Environment(const char* name)
{
    char value[1024] = {};
    DWORD length = GetEnvironmentVariableA(name, value, sizeof(value));
    return length > 0 && length < sizeof(value) ? std::string(value, length) : std::string();
}

bool WriteText(const std::string& dosPath, const std::string& text)
{
    HANDLE file = CreateFileA(dosPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == text.size();
}

bool ReadText(const std::string& dosPath, std::string* text)
{
    HANDLE file = CreateFileA(dosPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    text->clear();
    char block[4096];
    DWORD got = 0;
    while (ReadFile(file, block, sizeof(block), &got, nullptr) && got > 0) text->append(block, got);
    CloseHandle(file);
    return true;
}

// A single-quoted shell word.
std::string Quote(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof(text), "%.3f", value);
    return text;
}

// The number after `label` in sox's report, or -1.
double ValueAfter(const std::string& text, const char* label)
{
    std::size_t at = text.find(label);
    if (at == std::string::npos) return -1;
    return std::strtod(text.c_str() + at + std::strlen(label), nullptr);
}

SoxMeasure ParseMeasure(const ShellResult& result)
{
    SoxMeasure measure;
    measure.text = result.output;
    measure.seconds = ValueAfter(result.output, "seconds ");
    measure.soundSeconds = ValueAfter(result.output, "sound ");
    measure.rms = ValueAfter(result.output, "RMS     amplitude:");
    measure.frequency = ValueAfter(result.output, "Rough   frequency:");
    measure.ok = result.status == 0 && measure.seconds >= 0 && measure.soundSeconds >= 0 && measure.rms >= 0 &&
                 measure.frequency >= 0;
    return measure;
}

// Waits until the pulse client with the PID in `pidFile` has a stream of the given kind.
std::string WaitForStream(const std::string& pidFile, const char* kind)
{
    return "pid=$(cat " + Quote(pidFile) + ")\n"
           "for i in $(seq 200); do\n"
           "  pactl list " + kind + " | grep -q \"application.process.id = \\\"$pid\\\"\" && exit 0\n"
           "  kill -0 $pid 2>/dev/null || exit 3\n"
           "  sleep 0.05\n"
           "done\n"
           "exit 4\n";
}

std::string EndProcess(const std::string& pidFile, const char* signal)
{
    return "[ -f " + Quote(pidFile) + " ] || exit 0\n"
           "pid=$(cat " + Quote(pidFile) + ")\n"
           "kill -" + signal + " $pid 2>/dev/null\n"
           "for i in $(seq 200); do kill -0 $pid 2>/dev/null || break; sleep 0.05; done\n"
           "rm -f " + Quote(pidFile) + "\n";
}

}  // namespace

std::string RigFolder()
{
    return Environment("VELUTRA_RIG_DIR");
}

std::string DosPath(const std::string& unixPath)
{
    std::string dos = "Z:" + unixPath;
    for (char& c : dos)
        if (c == '/') c = '\\';
    return dos;
}

std::string UnixPath(const std::string& dosPath)
{
    std::string path = dosPath;
    if (path.size() >= 2 && (path[0] == 'Z' || path[0] == 'z') && path[1] == ':') path = path.substr(2);
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

std::string FreshFolder(const std::string& name)
{
    std::string folder = RigFolder() + "/audio-tests/" + name;
    RunShell("rm -rf " + Quote(folder) + " && mkdir -p " + Quote(folder));
    return folder;
}

ShellResult RunShell(const std::string& script, DWORD timeoutMs)
{
    static int serial = 0;
    ShellResult result;
    std::string rig = RigFolder();
    if (rig.empty()) {
        result.output = "VELUTRA_RIG_DIR is not set: run the test through the rig";
        return result;
    }
    std::string base = rig + "/run/shell-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
    if (!WriteText(DosPath(base + ".sh"), ". " + Quote(rig + "/env.sh") + "\n" + script + "\n")) {
        result.output = "cannot write " + base + ".sh";
        return result;
    }
    // Wine runs an ELF file given to CreateProcess but gives back no handle to wait on, so the
    // shell reports its end through a status file that appears by rename once complete.
    std::string commandLine = "/bin/sh -c \"/bin/sh " + base + ".sh >" + base + ".out 2>&1 </dev/null; echo $? >" +
                              base + ".part; mv " + base + ".part " + base + ".status\"";
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        result.output = "cannot run /bin/sh, error " + std::to_string(GetLastError());
        return result;
    }
    if (info.hThread) CloseHandle(info.hThread);
    if (info.hProcess) CloseHandle(info.hProcess);
    std::string status;
    DWORD start = GetTickCount();
    while (!ReadText(DosPath(base + ".status"), &status)) {
        if (GetTickCount() - start > timeoutMs) {
            result.output = "the shell did not finish: " + script;
            return result;
        }
        Sleep(20);
    }
    ReadText(DosPath(base + ".out"), &result.output);
    result.status = std::atoi(status.c_str());
    for (const char* suffix : {".sh", ".out", ".status"}) DeleteFileA(DosPath(base + suffix).c_str());
    return result;
}

bool MakeTone(const std::string& unixPath, double seconds, double hertz, double volume, int rate, int channels,
              int bits)
{
    return RunShell("sox -n -r " + std::to_string(rate) + " -c " + std::to_string(channels) + " -b " +
                    std::to_string(bits) + " " + Quote(unixPath) + " synth " + Number(seconds) + " sine " +
                    Number(hertz) + " vol " + Number(volume))
               .status == 0;
}

bool Capture::Start(const std::string& unixPath)
{
    path_ = unixPath;
    std::string pidFile = path_ + ".pid";
    ShellResult started = RunShell("parec -d out.monitor --rate=44100 --channels=1 --format=s16le --file-format=wav " +
                                   Quote(path_) + " </dev/null >/dev/null 2>&1 &\necho $! >" + Quote(pidFile) + "\n" +
                                   WaitForStream(pidFile, "source-outputs"));
    running_ = started.status == 0;
    return running_;
}

bool Capture::Stop()
{
    if (!running_) return false;
    running_ = false;
    return RunShell(EndProcess(path_ + ".pid", "INT")).status == 0;
}

Capture::~Capture()
{
    if (running_) Stop();
}

bool Feed::Start(const std::string& unixPath)
{
    pidFile_ = unixPath + ".feed.pid";
    ShellResult started = RunShell("paplay -d feed " + Quote(unixPath) + " </dev/null >/dev/null 2>&1 &\necho $! >" +
                                   Quote(pidFile_) + "\n" + WaitForStream(pidFile_, "sink-inputs"));
    return started.status == 0;
}

void Feed::Stop()
{
    if (pidFile_.empty()) return;
    RunShell(EndProcess(pidFile_, "TERM"));
    pidFile_.clear();
}

Feed::~Feed()
{
    Stop();
}

SoxMeasure Measure(const std::string& unixPath)
{
    return MeasureSlice(unixPath, 0, 0);
}

SoxMeasure MeasureSlice(const std::string& unixPath, double from, double length)
{
    std::string slice = length > 0 ? " trim " + Number(from) + " " + Number(length) : std::string();
    return ParseMeasure(RunShell("f=" + Quote(unixPath) + "\n"
                                 "t=$(mktemp --suffix=.wav)\n"
                                 "s=$(mktemp --suffix=.wav)\n"
                                 "echo \"seconds $(soxi -D \"$f\")\"\n"
                                 "sox \"$f\" \"$t\" silence 1 0.01 1% reverse silence 1 0.01 1% reverse\n"
                                 "sox \"$t\" \"$s\"" + slice + "\n"
                                 "echo \"sound $(soxi -D \"$s\")\"\n"
                                 "sox \"$s\" -n channels 1 stat 2>&1\n"
                                 "status=$?\n"
                                 "rm -f \"$t\" \"$s\"\n"
                                 "exit $status\n"));
}

}  // namespace audio
