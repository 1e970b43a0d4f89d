// The rig's sound server as a test under Wine reaches it: a Unix shell, tone files made by sox,
// captures of the sink "out" by parec, the fed tone played into the sink "feed", and sox's
// measures of a wave file.
#pragma once

#include <windows.h>

#include <string>

namespace audio {

// The rig's state folder as a Unix path (VELUTRA_RIG_DIR), empty when the test runs outside it.
std::string RigFolder();
// A Unix path as Wine's drive Z: shows it, and back.
std::string DosPath(const std::string& unixPath);
std::string UnixPath(const std::string& dosPath);

// A fresh folder for one test under the rig's folder, as a Unix path with no trailing slash.
std::string FreshFolder(const std::string& name);

struct ShellResult {
    int status = -1;     // -1: it could not run or did not finish
    std::string output;  // stdout and stderr together
};
// Runs `script` with /bin/sh in the rig's environment (its env.sh first) and waits for it.
ShellResult RunShell(const std::string& script, DWORD timeoutMs = 60000);

// A sine tone file made by sox: `seconds` long at `hertz`, peak `volume` of full scale.
bool MakeTone(const std::string& unixPath, double seconds, double hertz, double volume = 0.5, int rate = 22050,
              int channels = 1, int bits = 16);

// Records the monitor of the sink "out" into a wave file from Start to Stop.
class Capture {
public:
    bool Start(const std::string& unixPath);
    // parec writes the header when it ends on SIGINT.
    bool Stop();
    ~Capture();

private:
    std::string path_;
    bool running_ = false;
};

// Plays a file into the sink "feed", whose monitor is the default source Wine records from.
// Stop ends it early.
class Feed {
public:
    bool Start(const std::string& unixPath);
    void Stop();
    ~Feed();

private:
    std::string pidFile_;
};

// What sox measures of a wave file: its length and, once the silence at both ends is trimmed off,
// the length, RMS level and rough frequency of the sound (of channel 1 mixed down).
struct SoxMeasure {
    bool ok = false;
    double seconds = 0;
    double soundSeconds = 0;
    double rms = 0;
    double frequency = 0;
    std::string text;  // sox's own report, for failure messages
};
SoxMeasure Measure(const std::string& unixPath);
// The same for a slice of the sound (after trimming), from `from` seconds for `length` seconds.
SoxMeasure MeasureSlice(const std::string& unixPath, double from, double length);

}  // namespace audio
