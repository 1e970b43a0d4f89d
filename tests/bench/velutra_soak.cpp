// The soak of the real program under the rig's Wine and sound server (scripts/soak.sh runs it).
// A looping Sound list of three short tones plays for VELUTRA_SOAK_SECONDS (600 by default)
// while every few seconds a panel is hidden and shown again or Properties is opened and
// cancelled. Throughout, the program must answer, show no message box, and its Sound read-out
// must keep moving; what it holds after a warm-up and at the end (GDI and USER objects, kernel
// handles, private memory) must not grow; Exit must store the same list and flags. The sink
// "out" is recorded the whole time, and the tones heard in it are counted afterwards.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <set>

#include "resources/resource.h"
#include "tests/audio/audio_rig.h"
#include "tests/bench/bench_driver.h"

namespace {

// The store's flags bit of a looping list (the device's MDF_LOOP).
constexpr DWORD kLoopFlag = 0x2;

struct Tone {
    const char* name;
    double seconds;
    double hertz;
};
// Three lengths, and three pitches far enough apart to be told apart in a twentieth of a second.
constexpr Tone kTones[] = {{"tone1.wav", 1.0, 400}, {"tone2.wav", 1.5, 800}, {"tone3.wav", 2.0, 1200}};
constexpr int kToneCount = 3;

constexpr DWORD kStepMs = 3000;            // one action per step, four steps a round
constexpr DWORD kPollMs = 100;
constexpr DWORD kHiddenMs = 700;           // how long a panel stays hidden
constexpr DWORD kPropertiesOpenMs = 1000;  // how long Properties stays open
// The longest tone lasts 2 s and the read-out is refreshed every 500 ms: while the list plays,
// the read-out's seconds or its file change well within this.
constexpr DWORD kStallMs = 4000;
constexpr DWORD kAnswerMs = 5000;
constexpr int kCheckpointRounds = 10;

// What may differ between the count after the warm-up and the count at the end. GDI and USER
// objects and kernel handles may not differ at all: once the counts agree twice in a row, they
// stood at the same figures in every count of the 1- and 10-minute runs. Private memory moved by
// at most one 4 KiB page there; Wine's heaps commit memory 64 KiB at a time, so one such step
// is let pass and a second is not.
constexpr long kHandleSlack = 0;
constexpr long long kMemorySlackKiB = 64;

void PutLittleEndian(std::string* out, DWORD value, int bytes)
{
    for (int i = 0; i < bytes; ++i) out->push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

DWORD GetLittleEndian(const unsigned char* in, int bytes)
{
    DWORD value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | in[i];
    return value;
}

// A plain RIFF wave file: 22050 Hz, mono, 16-bit PCM, a sine at half of full scale.
bool WriteTone(const std::string& path, const Tone& tone)
{
    const DWORD rate = 22050;
    const auto frames = static_cast<DWORD>(tone.seconds * rate);
    std::string bytes = "RIFF";
    PutLittleEndian(&bytes, 36 + frames * 2, 4);
    bytes += "WAVEfmt ";
    PutLittleEndian(&bytes, 16, 4);
    PutLittleEndian(&bytes, 1, 2);  // PCM
    PutLittleEndian(&bytes, 1, 2);  // channels
    PutLittleEndian(&bytes, rate, 4);
    PutLittleEndian(&bytes, rate * 2, 4);
    PutLittleEndian(&bytes, 2, 2);  // block align
    PutLittleEndian(&bytes, 16, 2);
    bytes += "data";
    PutLittleEndian(&bytes, frames * 2, 4);
    const double pi = std::acos(-1.0);
    for (DWORD i = 0; i < frames; ++i) {
        double sample = 0.5 * std::sin(2 * pi * tone.hertz * i / rate);
        PutLittleEndian(&bytes, static_cast<DWORD>(static_cast<std::uint16_t>(std::lround(sample * 32767))), 2);
    }
    return bench::WriteWholeFile(path, bytes);
}

// What the recording of the sink holds: the tones heard whole, and the wraps from the last tone
// to the first, which only a looping list makes.
struct Heard {
    bool ok = false;
    std::string error;
    double seconds = 0;       // of the recording
    double toneSeconds = 0;   // of it, recognised as one of the tones
    int files = 0;            // tones heard whole
    int loops = 0;            // a whole last tone followed by the first within a second
    int dropouts = 0;         // short breaks inside a tone
};

Heard ListenTo(const std::vector<unsigned char>& bytes)
{
    Heard heard;
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0) {
        heard.error = "the recording is no wave file";
        return heard;
    }
    // parec's header is read loosely: a data size it could not fill in runs to the file's end.
    DWORD rate = 0, channels = 0, bits = 0;
    std::size_t data = 0, dataEnd = 0;
    for (std::size_t at = 12; at + 8 <= bytes.size();) {
        DWORD size = GetLittleEndian(&bytes[at + 4], 4);
        if (std::memcmp(&bytes[at], "fmt ", 4) == 0 && at + 24 <= bytes.size()) {
            channels = GetLittleEndian(&bytes[at + 10], 2);
            rate = GetLittleEndian(&bytes[at + 12], 4);
            bits = GetLittleEndian(&bytes[at + 22], 2);
        } else if (std::memcmp(&bytes[at], "data", 4) == 0) {
            data = at + 8;
            dataEnd = size > bytes.size() - data ? bytes.size() : data + size;
            break;
        }
        at += 8 + size + (size & 1);
    }
    if (!data || channels != 1 || bits != 16 || rate == 0) {
        heard.error = "the recording is not 16-bit mono";
        return heard;
    }
    const std::size_t frames = (dataEnd - data) / 2;
    heard.seconds = static_cast<double>(frames) / rate;

    // Each twentieth of a second is silence (-1), one of the tones (0..2) or neither (-2): a
    // window that straddles the start or the end of a tone counts its crossings wrongly.
    const std::size_t window = rate / 20;
    std::vector<int> kinds;
    for (std::size_t from = 0; from + window <= frames; from += window) {
        double sum = 0;
        int crossings = 0;
        double previous = 0;
        for (std::size_t i = from; i < from + window; ++i) {
            double sample = static_cast<std::int16_t>(GetLittleEndian(&bytes[data + 2 * i], 2)) / 32768.0;
            sum += sample * sample;
            if (i > from && (previous < 0) != (sample < 0)) ++crossings;
            previous = sample;
        }
        double rms = std::sqrt(sum / static_cast<double>(window));
        double hertz = crossings / 2.0 * 20;
        int kind = rms < 0.05 ? -1 : -2;
        for (int t = 0; t < kToneCount && rms >= 0.05; ++t)
            if (std::fabs(hertz - kTones[t].hertz) < 60) kind = t;
        kinds.push_back(kind);
        if (kind >= 0) heard.toneSeconds += 0.05;
    }

    // Runs of one tone, in windows. Runs of fewer than three windows are such straddlers and are
    // left out; two runs of the same tone less than six windows apart are one play with a dropout.
    struct Run {
        int tone;
        std::size_t start, length;
    };
    std::vector<Run> runs;
    for (std::size_t i = 0; i < kinds.size();) {
        std::size_t end = i;
        while (end < kinds.size() && kinds[end] == kinds[i]) ++end;
        if (kinds[i] >= 0 && end - i >= 3) {
            Run run{kinds[i], i, end - i};
            if (!runs.empty() && runs.back().tone == run.tone && run.start - (runs.back().start + runs.back().length) < 6) {
                runs.back().length = end - runs.back().start;
                ++heard.dropouts;
            } else {
                runs.push_back(run);
            }
        }
        i = end;
    }
    auto whole = [](const Run& run) { return run.length * 0.05 >= kTones[run.tone].seconds - 0.3; };
    for (std::size_t i = 0; i < runs.size(); ++i) {
        if (whole(runs[i])) ++heard.files;
        if (i + 1 < runs.size() && runs[i].tone == kToneCount - 1 && whole(runs[i]) && runs[i + 1].tone == 0 &&
            runs[i + 1].start - (runs[i].start + runs[i].length) <= 20)
            ++heard.loops;
    }
    heard.ok = true;
    return heard;
}

// GetObjectType's names, for the breakdown of GDI objects.
const char* GdiTypeName(int type)
{
    static const char* const names[] = {"?",       "pens",     "brushes",   "DCs",          "metafile DCs",
                                        "palettes", "fonts",   "bitmaps",   "regions",      "metafiles",
                                        "memory DCs", "extended pens", "enhanced metafile DCs",
                                        "enhanced metafiles", "colour spaces", "?"};
    return names[type & 15];
}

void PrintCounts(const char* when, const GuiCounts& counts)
{
    std::string types;
    for (int type = 1; type < 16; ++type)
        if (counts.gdiByType[type])
            types += (types.empty() ? "" : ", ") + std::to_string(counts.gdiByType[type]) + " " + GdiTypeName(type);
    std::printf("%s: %lu GDI (%s), %lu USER (%lu windows, %lu menus, %lu cursors and icons), %lu handles, "
                "%.0f KiB private\n",
                when, counts.gdi, types.c_str(), counts.user, counts.windows, counts.menus, counts.cursorsAndIcons,
                counts.handles, static_cast<double>(counts.privateBytes) / 1024.0);
    std::fflush(stdout);
}

// The classes of the windows a process owns, top-level, child and message-only, each with its
// caption: to name what a difference in the window count is made of.
struct WindowWalk {
    DWORD pid;
    std::multiset<std::string> names;
};

BOOL CALLBACK AddWindow(HWND window, LPARAM data)
{
    auto walk = reinterpret_cast<WindowWalk*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != walk->pid) return TRUE;
    char name[64] = {}, text[64] = {};
    GetClassNameA(window, name, sizeof(name));
    GetWindowTextA(window, text, sizeof(text));
    walk->names.insert(std::string(name) + " \"" + text + "\"");
    return TRUE;
}

BOOL CALLBACK AddWindowAndChildren(HWND window, LPARAM data)
{
    AddWindow(window, data);
    EnumChildWindows(window, AddWindow, data);
    return TRUE;
}

std::multiset<std::string> WindowsOf(DWORD pid)
{
    WindowWalk walk{pid, {}};
    EnumWindows(AddWindowAndChildren, reinterpret_cast<LPARAM>(&walk));
    for (HWND window = FindWindowExA(HWND_MESSAGE, nullptr, nullptr, nullptr); window;
         window = FindWindowExA(HWND_MESSAGE, window, nullptr, nullptr))
        AddWindow(window, reinterpret_cast<LPARAM>(&walk));
    return walk.names;
}

// What `later` has that `earlier` has not, one name a line.
std::string Gained(const std::multiset<std::string>& earlier, const std::multiset<std::string>& later)
{
    std::vector<std::string> gained;
    std::set_difference(later.begin(), later.end(), earlier.begin(), earlier.end(), std::back_inserter(gained));
    std::string text;
    for (const std::string& name : gained) text += "\n  " + name;
    return text.empty() ? "\n  (none)" : text;
}

class Soak : public e2e::VelutraTest {
protected:
    void TearDown() override
    {
        capture.Stop();
        e2e::VelutraTest::TearDown();
    }

    std::string StorePath() const { return copy.folder + "\\velutra.s"; }

    // The first problem seen; the soak stops at it.
    bool Fail(const std::string& what)
    {
        if (problem.empty()) {
            char when[32];
            std::snprintf(when, sizeof(when), "after %.1f s: ", bench::Seconds(started, bench::Now()));
            problem = when + what;
        }
        return false;
    }

    int EntryShown(const std::string& display) const
    {
        for (int t = 0; t < kToneCount; ++t)
            if (display == kTones[t].name) return t;
        return -1;
    }

    // One look at the program: it answers, it is still running, no message box stands open, and
    // while the list plays the Sound read-out moves.
    bool Poll()
    {
        LARGE_INTEGER asked = bench::Now();
        if (!bench::Answers(window, WM_NULL, 0, 0, kAnswerMs))
            return Fail("the program did not answer within " + std::to_string(kAnswerMs) + " ms");
        slowestAnswerMs = std::max(slowestAnswerMs, 1000 * bench::Seconds(asked, bench::Now()));
        ++answers;
        if (WaitForSingleObject(program.process, 0) == WAIT_OBJECT_0) return Fail("the program ended");
        if (HWND box = bench::FindProcessWindow(program.pid, "#32770", "Velutra"))
            return Fail("a message box: \"" + e2e::MessageBoxText(box) + "\"");

        std::string display = e2e::WindowText(GetDlgItem(sound, IDC_DISPLAY));
        std::string readout = display + " | " + e2e::WindowText(GetDlgItem(sound, IDC_TRACK));
        DWORD now = GetTickCount();
        if (readout != lastReadout) {
            lastReadout = readout;
            lastChange = now;
        }
        int shown = EntryShown(display);
        if (shown < 0) return Fail("the Sound panel shows \"" + display + "\", none of the tones");
        if (playing && shown != entry) {
            ++filesSeen;
            if (entry == kToneCount - 1 && shown == 0) ++loopsSeen;
        }
        entry = shown;
        if (playing) {
            DWORD still = now - lastChange;
            longestStallMs = std::max(longestStallMs, still);
            if (still > kStallMs)
                return Fail("the Sound read-out stood at \"" + readout + "\" for " + std::to_string(still) + " ms");
        }
        return true;
    }

    // Polls until `ms` have passed since `from` (GetTickCount).
    bool RunUntil(DWORD from, DWORD ms)
    {
        while (GetTickCount() - from < ms) {
            if (!Poll()) return false;
            Sleep(kPollMs);
        }
        return Poll();
    }
    bool Run(DWORD ms) { return RunUntil(GetTickCount(), ms); }

    bool PressPlay()
    {
        sound = e2e::FindPanel(window, e2e::Panel::Sound);
        if (!sound) return Fail("no Sound panel");
        e2e::Press(sound, IDC_PLAY);
        playing = true;
        lastChange = GetTickCount();
        return true;
    }

    // Hides a panel and shows it again. Hiding the Sound panel stops and closes its device (the
    // current file stays current), so after showing it Play is pressed again.
    bool TogglePanel(int command, e2e::Panel which)
    {
        const bool isSound = which == e2e::Panel::Sound;
        HWND panel = e2e::FindPanel(window, which);
        if (!panel || !e2e::HasVisibleStyle(panel)) return Fail(std::string(e2e::PanelName(which)) + " is not shown");
        e2e::SendCommand(window, command);
        if (isSound) playing = false;
        if (e2e::HasVisibleStyle(panel)) return Fail(std::string(e2e::PanelName(which)) + " did not hide");
        if (!Run(kHiddenMs)) return false;
        e2e::SendCommand(window, command);
        panel = e2e::FindPanel(window, which);
        if (!panel || !e2e::HasVisibleStyle(panel)) return Fail(std::string(e2e::PanelName(which)) + " did not show");
        ++toggles;
        if (!isSound) return Poll();
        ++replays;
        return PressPlay() && Poll();
    }

    // Properties is modal inside the command's handling: the command is posted, the dialog found
    // by its caption and cancelled after a while.
    bool OpenAndCancelProperties()
    {
        PostMessageA(window, WM_COMMAND, IDM_PROPERTIES, 0);
        HWND dialog = nullptr;
        if (!e2e::WaitUntil([&] {
                dialog = bench::FindProcessWindow(program.pid, "#32770", "Properties");
                return dialog && IsWindowVisible(dialog);
            }))
            return Fail("Properties did not open");
        ++propertiesOpened;
        if (!Run(kPropertiesOpenMs)) return false;
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        if (!e2e::WaitUntil([&] { return !IsWindow(dialog); })) return Fail("Properties stayed open after Cancel");
        return Poll();
    }

    // One round: CD, MIDI, Properties, Sound, one step each.
    bool Round()
    {
        for (int step = 0; step < 4; ++step) {
            DWORD begun = GetTickCount();
            bool done = false;
            switch (step) {
            case 0: done = TogglePanel(IDM_CDPLAYER, e2e::Panel::Cd); break;
            case 1: done = TogglePanel(IDM_MIDIPLAYER, e2e::Panel::Midi); break;
            case 2: done = OpenAndCancelProperties(); break;
            case 3: done = TogglePanel(IDM_SOUNDPLAYER, e2e::Panel::Sound); break;
            }
            if (!done || !RunUntil(begun, kStepMs)) return false;
        }
        ++rounds;
        return true;
    }

    // Counts what the program holds, looking at the program meanwhile as ever. Two things come
    // and go beside the program's own work: Wine's wave driver keeps a message-only window on a
    // thread of its own, which it ends and starts again as devices close and open between files,
    // and the read-out is painted now and then, holding a region or a DC for a moment. So a count
    // starts as the longest tone starts, and is taken as it is only when the next one agrees.
    std::optional<GuiCounts> CountNow()
    {
        std::optional<GuiCounts> counts;
        for (int attempt = 0; attempt < 6; ++attempt) {
            if (!AwaitLongestTone()) return std::nullopt;
            std::optional<GuiCounts> next = CountWhilePolling();
            if (!next) {
                counts.reset();
                break;
            }
            if (counts && next->gdi == counts->gdi && next->user == counts->user && next->handles == counts->handles) {
                counts = next;
                break;
            }
            if (counts) {
                std::printf("a count moved: %lu to %lu GDI, %lu to %lu USER, %lu to %lu handles\n", counts->gdi,
                            next->gdi, counts->user, next->user, counts->handles, next->handles);
                std::fflush(stdout);
                ++unsettledCounts;
            }
            counts = next;
        }
        if (!counts && problem.empty()) Fail("gui_count.dll could not count in the program");
        windowsCounted = WindowsOf(program.pid);
        return counts;
    }

    // Polls until the read-out turns to the last, longest tone.
    bool AwaitLongestTone()
    {
        DWORD begun = GetTickCount();
        for (int was = entry;; was = entry) {
            if (!Poll()) return false;
            if (entry == kToneCount - 1 && was != kToneCount - 1) return true;
            if (GetTickCount() - begun > 20000) return Fail("the list did not come round to its last file");
            Sleep(kPollMs / 2);
        }
    }

    std::optional<GuiCounts> CountWhilePolling()
    {
        struct Job {
            const e2e::Program* program;
            std::optional<GuiCounts> counts;
        } job{&program, std::nullopt};
        HANDLE counter = CreateThread(
            nullptr, 0,
            [](void* data) -> DWORD {
                auto j = static_cast<Job*>(data);
                j->counts = bench::Count(*j->program);
                return 0;
            },
            &job, 0, nullptr);
        if (!counter) return std::nullopt;
        bool fine = true;
        while (WaitForSingleObject(counter, kPollMs) == WAIT_TIMEOUT)
            if (fine) fine = Poll();
        CloseHandle(counter);
        if (!fine) return std::nullopt;
        return job.counts;
    }

    // Play, a warm-up round, the count to compare with, rounds while the time lasts, the count
    // at the end. Stops at the first problem.
    void SoakFor(long seconds)
    {
        started = bench::Now();
        ASSERT_TRUE(PressPlay()) << problem;
        // The first count loads the counter into the program; the warm-up runs every action once.
        ASSERT_TRUE(Run(2000)) << problem;
        ASSERT_TRUE(CountNow().has_value()) << problem;
        ASSERT_TRUE(Round()) << problem;
        ASSERT_TRUE(Run(1000)) << problem;
        before = CountNow();
        windowsBefore = windowsCounted;
        ASSERT_TRUE(before.has_value()) << problem;
        PrintCounts("after the warm-up", *before);
        const int warmUpRounds = rounds;

        // Rounds go on while a whole one still fits into the time given.
        while (bench::Seconds(started, bench::Now()) + 4 * kStepMs / 1000.0 <= seconds) {
            ASSERT_TRUE(Round()) << problem;
            if ((rounds - warmUpRounds) % kCheckpointRounds == 0 &&
                bench::Seconds(started, bench::Now()) + 15 < seconds) {
                std::optional<GuiCounts> now = CountNow();
                ASSERT_TRUE(now.has_value()) << problem;
                char when[64];
                std::snprintf(when, sizeof(when), "after %.0f s", bench::Seconds(started, bench::Now()));
                PrintCounts(when, *now);
            }
        }
        // The list plays on until the time is up, then the count at the end.
        const double left = seconds - bench::Seconds(started, bench::Now());
        ASSERT_TRUE(Run(left > 1 ? static_cast<DWORD>(left * 1000) : 1000)) << problem;
        after = CountNow();
        windowsAfter = windowsCounted;
        ASSERT_TRUE(after.has_value()) << problem;
        PrintCounts("at the end", *after);
        soaked = bench::Seconds(started, bench::Now());
        ASSERT_TRUE(Run(500)) << problem;
    }

    e2e::Program program;
    HWND window = nullptr, sound = nullptr;
    LARGE_INTEGER started{};
    std::string problem;
    audio::Capture capture;
    std::optional<GuiCounts> before, after;
    std::multiset<std::string> windowsCounted, windowsBefore, windowsAfter;
    double soaked = 0;

    bool playing = false;
    std::string lastReadout;
    DWORD lastChange = 0, longestStallMs = 0;
    int entry = 0, filesSeen = 0, loopsSeen = 0;
    int rounds = 0, toggles = 0, replays = 0, propertiesOpened = 0;
    long answers = 0;
    int unsettledCounts = 0;  // counts that the next one did not agree with
    double slowestAnswerMs = 0;
};

TEST_F(Soak, LoopingSoundListThroughPanelTogglesAndProperties)
{
    const long seconds = bench::EnvNumber("VELUTRA_SOAK_SECONDS", 600);
    ASSERT_GT(seconds, 0);
    ASSERT_FALSE(audio::RigFolder().empty()) << "VELUTRA_RIG_DIR is not set: run the soak through the rig";

    std::string tones = copy.folder + "\\tones";
    CreateDirectoryA(tones.c_str(), nullptr);
    std::vector<std::string> list;
    for (const Tone& tone : kTones) {
        list.push_back(tones + "\\" + tone.name);
        ASSERT_TRUE(WriteTone(list.back(), tone)) << list.back();
    }
    ASSERT_TRUE(bench::WriteStore(StorePath(), {}, 0, list, kLoopFlag));

    program = Start();
    window = bench::WaitShownAndPainted(program, e2e::kMainClass);
    ASSERT_NE(window, nullptr) << "the program never came to rest with its window shown";
    e2e::MovePointer({1000, 740});
    sound = e2e::FindPanel(window, e2e::Panel::Sound);
    ASSERT_NE(sound, nullptr);
    ASSERT_EQ(kTones[0].name, e2e::WindowText(GetDlgItem(sound, IDC_DISPLAY))) << "the stored list was not loaded";

    std::string heardPath = audio::FreshFolder("Soak") + "/heard.wav";
    ASSERT_TRUE(capture.Start(heardPath)) << "parec could not record the sink";
    SoakFor(seconds);
    if (HasFatalFailure()) soaked = bench::Seconds(started, bench::Now());
    // What was done and heard is reported however far the soak came.
    EXPECT_TRUE(capture.Stop()) << "parec did not stop";
    bench::Report("soak.seconds", soaked, "s");
    bench::Report("soak.rounds", rounds, "rounds");
    bench::Report("soak.panel_toggles", toggles, "toggles");
    bench::Report("soak.sound_replays", replays, "presses");
    bench::Report("soak.properties_openings", propertiesOpened, "openings");
    bench::Report("soak.answers", static_cast<double>(answers), "messages");
    bench::Report("soak.slowest_answer", slowestAnswerMs, "ms");
    bench::Report("soak.longest_readout_stall", longestStallMs, "ms");
    bench::Report("soak.unsettled_counts", unsettledCounts, "counts");
    bench::Report("soak.files_seen", filesSeen, "files");
    bench::Report("soak.loops_seen", loopsSeen, "loops");
    Heard heard = ListenTo(e2e::ReadFileBytes(audio::DosPath(heardPath)).value_or(std::vector<unsigned char>{}));
    EXPECT_TRUE(heard.ok) << heard.error;
    bench::Report("soak.recorded", heard.seconds, "s");
    bench::Report("soak.tones_heard", heard.toneSeconds, "s");
    bench::Report("soak.files_heard", heard.files, "files");
    bench::Report("soak.loops_heard", heard.loops, "loops");
    bench::Report("soak.dropouts_heard", heard.dropouts, "dropouts");
    if (before) bench::ReportCounts("soak.start", *before);
    if (after) bench::ReportCounts("soak.end", *after);
    if (HasFatalFailure()) return;

    const long handleGrowth = static_cast<long>(after->handles) - static_cast<long>(before->handles);
    const long long memoryGrowth =
        (static_cast<long long>(after->privateBytes) - static_cast<long long>(before->privateBytes)) / 1024;
    bench::Report("soak.growth.handles", handleGrowth, "handles");
    bench::Report("soak.growth.private_memory", static_cast<double>(memoryGrowth), "KiB");
    EXPECT_EQ(after->gdi, before->gdi) << "GDI objects grew";
    EXPECT_EQ(after->user, before->user) << "USER objects grew";
    EXPECT_EQ(after->windows, before->windows) << "windows gained:" << Gained(windowsBefore, windowsAfter)
                                                << "\nwindows lost:" << Gained(windowsAfter, windowsBefore);
    EXPECT_EQ(after->menus, before->menus);
    EXPECT_EQ(after->cursorsAndIcons, before->cursorsAndIcons);
    EXPECT_LE(handleGrowth, kHandleSlack) << "kernel handles grew";
    EXPECT_LE(memoryGrowth, kMemorySlackKiB) << "private memory grew";
    // A round plays about 11 s between two presses of Play, time for two passes of the list.
    EXPECT_GE(loopsSeen, rounds) << "the list did not loop as often as it had time to";
    EXPECT_GE(heard.loops, loopsSeen * 9 / 10) << "fewer loops were heard in the sink than the read-out showed";
    EXPECT_GE(heard.files, filesSeen * 9 / 10) << "fewer files were heard whole than the read-out showed";

    // Exit saves the list and its flags beside the program.
    DeleteFileA(StorePath().c_str());
    PostMessageA(window, WM_COMMAND, IDM_EXIT, 0);
    std::optional<DWORD> code = e2e::WaitForExit(program);
    ASSERT_TRUE(code.has_value()) << "Exit did not end the program";
    EXPECT_EQ(0u, *code);
    std::vector<std::string> midi, saved;
    DWORD midiFlags = 1, soundFlags = 0;
    ASSERT_TRUE(bench::ReadStore(StorePath(), &midi, &midiFlags, &saved, &soundFlags)) << "no store file after Exit";
    EXPECT_TRUE(midi.empty());
    EXPECT_EQ(0u, midiFlags);
    EXPECT_EQ(list, saved) << "the Sound list changed";
    EXPECT_EQ(kLoopFlag, soundFlags) << "the Sound list's flags changed";
}

}  // namespace
