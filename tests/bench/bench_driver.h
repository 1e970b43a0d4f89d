// Helpers of the benchmark and soak driver (velutra_bench.exe), on top of the end-to-end driver:
// figures reported to scripts/bench.sh, CPU time read from Linux, a prepared store file, the
// virtual sequencer, and "shown and painted".
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/bench/gui_count.h"
#include "tests/e2e/driver.h"

namespace bench {

// An environment variable, or `fallback` when it is unset or empty.
std::string Env(const char* name, const std::string& fallback = "");
long EnvNumber(const char* name, long fallback);

// A Unix path as drive Z: shows it; a DOS path stays as it is.
std::string DosPath(const std::string& path);

// Prints "BENCH key value unit" and appends the same line to the file named by VELUTRA_BENCH_OUT.
void Report(const std::string& key, double value, const char* unit);

double Median(std::vector<double> values);
double Seconds(LARGE_INTEGER from, LARGE_INTEGER to);
LARGE_INTEGER Now();

// The Linux process that runs the Windows program `exe` (its DOS path) in this prefix, or 0.
int LinuxPidOf(const std::string& exe);
// The rig's wineserver, or 0.
int WineserverPid();
// CPU time a Linux process has used so far, all its threads, in seconds; negative when unknown.
double CpuSeconds(int linuxPid);

// Waits until the program has shown a top-level window of `className` and has nothing left to
// paint: it waits for input with an empty queue (no WM_PAINT pending) and no window of it keeps
// an update region. The window, or null when `ms` ran out.
HWND WaitShownAndPainted(const e2e::Program& program, const char* className, DWORD ms = e2e::kWaitMs);
// True when neither `window` nor any window inside it has an update region.
bool NothingToPaint(HWND window);

// Sends a message and waits for its answer; false when the program did not answer within `ms`.
bool Answers(HWND window, UINT msg = WM_NULL, WPARAM wParam = 0, LPARAM lParam = 0, DWORD ms = 10000);

// Writes `bytes` as the whole of the file at `path`; false when any of it could not be written.
bool WriteWholeFile(const std::string& path, const std::string& bytes);

// Writes a store file of the two lists (full paths) and their flags words.
bool WriteStore(const std::string& path, const std::vector<std::string>& midi, DWORD midiFlags,
                const std::vector<std::string>& sound, DWORD soundFlags);
// The lists and flags a store file holds; false when it is malformed.
bool ReadStore(const std::string& path, std::vector<std::string>* midi, DWORD* midiFlags,
               std::vector<std::string>* sound, DWORD* soundFlags);

// The virtual sequencer of the tests as MCI's "sequencer", and MIDI files it can play.
bool RegisterVirtualSequencer();
void UnregisterVirtualSequencer();
// MCI loads a driver at each open and frees it at each close; under Wine every load of the
// virtual sequencer leaves about 70 KiB behind in the process. Holding it loaded in the program
// keeps that out of the program's own memory figures.
bool PinVirtualSequencer(const e2e::Program& program);
// Writes `count` MIDI files of `lengthMs` each into `folder`; their paths.
std::vector<std::string> WriteMidiFiles(const std::string& folder, int count, unsigned lengthMs);

// The counts of the program, through gui_count.dll (VELUTRA_GUI_COUNT_DLL).
std::optional<GuiCounts> Count(const e2e::Program& program);
void ReportCounts(const std::string& prefix, const GuiCounts& counts);

// A window of the process with that class and caption (null: any caption), shown or not.
HWND FindProcessWindow(DWORD pid, const char* className, const char* caption);

}  // namespace bench
