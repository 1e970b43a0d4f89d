// The benchmarks of the real program under the rig's Wine (scripts/bench.sh runs them): they
// report figures with bench::Report and fail only when the program does not do what is measured.
//   Bench.ColdStart     start to the main window shown and painted, beside the bare window
//   Bench.IdleCpu       CPU used while idle, pointer away and on a hot spot, beside the bare window
//   Bench.MidiEditor    opening the MIDI Playlist editor on a 65535-entry list
//   Bench.LargeStore    starting with, and exiting with, two 65535-entry lists
//   Bench.TickSoak      GDI and USER objects and private memory after many timer ticks
//   Bench.SequencerPeer what MCI's opening and closing of the MIDI driver costs in memory alone
#include "resources/resource.h"
#include "tests/bench/bench_driver.h"

namespace {

constexpr int kMaxEntries = 65535;
constexpr const char kBareClass[] = "VelutraBenchBare";

// bare_window.exe copied beside the program copies, so both start from the same drive.
e2e::ProgramCopy BareCopy()
{
    e2e::ProgramCopy copy{"C:\\velutra-e2e\\Bench.Bare", "C:\\velutra-e2e\\Bench.Bare\\bare_window.exe"};
    CreateDirectoryA("C:\\velutra-e2e", nullptr);
    CreateDirectoryA(copy.folder.c_str(), nullptr);
    CopyFileA(bench::DosPath(bench::Env("VELUTRA_BARE_EXE")).c_str(), copy.exe.c_str(), FALSE);
    return copy;
}

// Ends a program by closing its window (Velutra then saves nothing) and waits for it.
void CloseAndWait(e2e::Program* program, HWND window)
{
    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
    e2e::WaitForExit(*program);
    e2e::EndProgram(program);
}

// Seconds from CreateProcess to the window shown and painted; negative when it never was.
double TimeOneStart(const e2e::ProgramCopy& copy, const char* className, const std::string& args = "")
{
    LARGE_INTEGER start = bench::Now();
    e2e::Program program = e2e::StartProgram(copy, args);
    HWND window = bench::WaitShownAndPainted(program, className);
    LARGE_INTEGER shown = bench::Now();
    CloseAndWait(&program, window);
    return window ? bench::Seconds(start, shown) : -1;
}

class Bench : public e2e::VelutraTest {
protected:
    void TearDown() override
    {
        e2e::VelutraTest::TearDown();
        bench::UnregisterVirtualSequencer();
    }

    std::string StorePath() const { return copy.folder + "\\velutra.s"; }

    // Starts the copy and waits until it is shown and painted.
    HWND StartPainted(e2e::Program* program, const std::string& args = "")
    {
        *program = Start(args);
        HWND window = bench::WaitShownAndPainted(*program, e2e::kMainClass);
        EXPECT_NE(window, nullptr) << "the program never came to rest with its window shown";
        return window;
    }
};

TEST_F(Bench, ColdStart)
{
    const int runs = static_cast<int>(bench::EnvNumber("VELUTRA_BENCH_RUNS", 21));
    e2e::ProgramCopy bare = BareCopy();
    // The first starts fill the caches of the file system and of the wineserver.
    for (int i = 0; i < 2; ++i) {
        ASSERT_GT(TimeOneStart(bare, kBareClass), 0) << "the bare window did not show";
        ASSERT_GT(TimeOneStart(copy, e2e::kMainClass), 0) << "Velutra did not show";
    }
    std::vector<double> velutra, peer;
    for (int i = 0; i < runs; ++i) {
        peer.push_back(TimeOneStart(bare, kBareClass));
        velutra.push_back(TimeOneStart(copy, e2e::kMainClass));
        ASSERT_GT(peer.back(), 0);
        ASSERT_GT(velutra.back(), 0);
    }
    bench::Report("cold_start.runs", runs, "runs");
    bench::Report("cold_start.bare_median", 1000 * bench::Median(peer), "ms");
    bench::Report("cold_start.velutra_median", 1000 * bench::Median(velutra), "ms");
    bench::Report("cold_start.ratio", bench::Median(velutra) / bench::Median(peer), "x");
}

// CPU seconds a process uses over `seconds`, as a percentage of one core, and the wineserver's.
void MeasureIdle(const std::string& key, int linuxPid, int seconds)
{
    int server = bench::WineserverPid();
    double before = bench::CpuSeconds(linuxPid), serverBefore = bench::CpuSeconds(server);
    LARGE_INTEGER start = bench::Now();
    Sleep(static_cast<DWORD>(seconds) * 1000);
    double elapsed = bench::Seconds(start, bench::Now());
    double used = bench::CpuSeconds(linuxPid) - before, serverUsed = bench::CpuSeconds(server) - serverBefore;
    ASSERT_GE(before, 0) << "no CPU figures for Linux process " << linuxPid;
    bench::Report(key + ".cpu", 100 * used / elapsed, "%");
    if (serverBefore >= 0) bench::Report(key + ".wineserver_cpu", 100 * serverUsed / elapsed, "%");
}

TEST_F(Bench, IdleCpu)
{
    const int seconds = static_cast<int>(bench::EnvNumber("VELUTRA_BENCH_IDLE_SECONDS", 60));
    const POINT away{1000, 740};
    e2e::Program program;
    HWND window = StartPainted(&program);
    ASSERT_NE(window, nullptr);
    HWND cd = e2e::FindPanel(window, e2e::Panel::Cd);
    ASSERT_NE(cd, nullptr) << "the CD panel is not shown";
    ASSERT_TRUE(e2e::HasVisibleStyle(e2e::FindPanel(window, e2e::Panel::Midi)));
    ASSERT_TRUE(e2e::HasVisibleStyle(e2e::FindPanel(window, e2e::Panel::Sound)));
    int pid = bench::LinuxPidOf(copy.exe);
    ASSERT_NE(pid, 0) << "no Linux process runs " << copy.exe;

    e2e::MovePointer(away);
    Sleep(3000);
    MeasureIdle("idle.velutra_pointer_away", pid, seconds);

    RECT play = e2e::WindowRectIn(GetDlgItem(cd, IDC_PLAY), cd);
    e2e::MovePointer(e2e::ScreenCentre(cd, play));
    Sleep(2000);
    MeasureIdle("idle.velutra_pointer_on_play", pid, seconds);
    e2e::MovePointer(away);
    CloseAndWait(&program, window);

    e2e::ProgramCopy bare = BareCopy();
    e2e::Program peer = e2e::StartProgram(bare, "timer");
    HWND peerWindow = bench::WaitShownAndPainted(peer, kBareClass);
    ASSERT_NE(peerWindow, nullptr);
    int peerPid = bench::LinuxPidOf(bare.exe);
    Sleep(3000);
    MeasureIdle("idle.bare_timer", peerPid, seconds);
    CloseAndWait(&peer, peerWindow);
}

std::vector<std::string> LongList(const char* kind)
{
    std::vector<std::string> list;
    for (int i = 1; i <= kMaxEntries; ++i)
        list.push_back(std::string("C:\\Music\\") + kind + "\\Collection\\Item number " + std::to_string(i) +
                       (kind[0] == 'M' ? ".mid" : ".wav"));
    return list;
}

// Seconds from the press of the MIDI panel's playlist button to the editor shown and painted
// with all `entries` in its list, median of five openings.
double TimeEditorOpening(HWND window, const e2e::Program& program, std::size_t entries)
{
    HWND midi = e2e::FindPanel(window, e2e::Panel::Midi);
    EXPECT_NE(midi, nullptr);
    std::vector<double> times;
    for (int round = 0; round < 5 && midi; ++round) {
        LARGE_INTEGER start = bench::Now();
        e2e::PostPress(midi, IDC_PLAYLIST);
        HWND editor = nullptr;
        bool shown = e2e::WaitUntil(
            [&] {
                editor = bench::FindProcessWindow(program.pid, "#32770", "MIDI Playlist");
                if (!editor || !IsWindowVisible(editor)) return false;
                DWORD_PTR count = 0;
                return SendMessageTimeoutA(GetDlgItem(editor, IDC_LIST), LB_GETCOUNT, 0, 0, SMTO_NORMAL,
                                           e2e::kWaitMs, &count) &&
                       count == entries && bench::NothingToPaint(editor);
            },
            120000);
        EXPECT_TRUE(shown) << "the editor did not show the " << entries << " entries";
        if (!shown) break;
        times.push_back(bench::Seconds(start, bench::Now()));
        PostMessageA(editor, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(e2e::WaitUntil([&] { return !IsWindow(editor); }));
    }
    return bench::Median(times);
}

TEST_F(Bench, MidiEditor)
{
    for (std::size_t entries : {std::size_t{1}, std::size_t{kMaxEntries}}) {
        std::vector<std::string> list = LongList("Midi");
        list.resize(entries);
        ASSERT_TRUE(bench::WriteStore(StorePath(), list, 0, {}, 0));
        e2e::Program program;
        HWND window = StartPainted(&program);
        ASSERT_NE(window, nullptr);
        double seconds = TimeEditorOpening(window, program, entries);
        bench::Report("midi_editor.open_" + std::to_string(entries) + "_median", 1000 * seconds, "ms");
        CloseAndWait(&program, window);
    }
}

// Seconds from Exit (or, for the bare window, WM_CLOSE) to the end of the process; negative when
// it did not end.
double TimeExit(const e2e::Program& program, HWND window, bool bare = false)
{
    LARGE_INTEGER start = bench::Now();
    if (bare)
        PostMessageA(window, WM_CLOSE, 0, 0);
    else
        PostMessageA(window, WM_COMMAND, IDM_EXIT, 0);
    if (!e2e::WaitForExit(program).has_value()) return -1;
    return bench::Seconds(start, bench::Now());
}

TEST_F(Bench, LargeStore)
{
    {
        e2e::Program program;
        HWND window = StartPainted(&program);
        ASSERT_NE(window, nullptr);
        double seconds = TimeExit(program, window);
        ASSERT_GT(seconds, 0) << "Exit did not end the program";
        bench::Report("large_store.exit_empty", 1000 * seconds, "ms");
        e2e::EndProgram(&program);
    }
    {
        e2e::ProgramCopy bare = BareCopy();
        e2e::Program peer = e2e::StartProgram(bare, "");
        HWND window = bench::WaitShownAndPainted(peer, kBareClass);
        ASSERT_NE(window, nullptr);
        double seconds = TimeExit(peer, window, true);
        ASSERT_GT(seconds, 0) << "the bare window did not end";
        bench::Report("large_store.exit_bare", 1000 * seconds, "ms");
        e2e::EndProgram(&peer);
    }
    std::vector<std::string> midi = LongList("Midi"), sound = LongList("Sound");
    ASSERT_TRUE(bench::WriteStore(StorePath(), midi, 2, sound, 0));
    std::vector<double> starts;
    for (int round = 0; round < 5; ++round) {
        double seconds = TimeOneStart(copy, e2e::kMainClass);
        ASSERT_GT(seconds, 0);
        starts.push_back(seconds);
    }
    bench::Report("large_store.start_median", 1000 * bench::Median(starts), "ms");

    e2e::Program program;
    HWND window = StartPainted(&program);
    ASSERT_NE(window, nullptr);
    DeleteFileA(StorePath().c_str());
    double seconds = TimeExit(program, window);
    ASSERT_GT(seconds, 0) << "Exit did not end the program";
    bench::Report("large_store.exit", 1000 * seconds, "ms");

    std::vector<std::string> savedMidi, savedSound;
    DWORD midiFlags = 0, soundFlags = 0;
    ASSERT_TRUE(bench::ReadStore(StorePath(), &savedMidi, &midiFlags, &savedSound, &soundFlags));
    EXPECT_EQ(savedMidi, midi);
    EXPECT_EQ(savedSound, sound);
    EXPECT_EQ(midiFlags, 2u);
}

// Timer ticks sent by the driver, a playing MIDI list, panels hidden and shown, whole repaints:
// what the program holds before and after must be the same.
TEST_F(Bench, TickSoak)
{
    const int ticks = static_cast<int>(bench::EnvNumber("VELUTRA_BENCH_TICKS", 10000));
    ASSERT_TRUE(bench::RegisterVirtualSequencer()) << "no virtual sequencer (VELUTRA_VSEQ_DLL)";
    std::vector<std::string> tunes = bench::WriteMidiFiles(copy.folder + "\\tunes", 3, 1500);
    ASSERT_EQ(tunes.size(), 3u);
    ASSERT_TRUE(bench::WriteStore(StorePath(), tunes, 2, {}, 0));
    e2e::Program program;
    HWND window = StartPainted(&program);
    ASSERT_NE(window, nullptr);
    e2e::MovePointer({1000, 740});

    auto playMidi = [&] {
        HWND midi = e2e::FindPanel(window, e2e::Panel::Midi);
        if (midi) e2e::Press(midi, IDC_PLAY);
    };
    auto tick = [&] { return bench::Answers(window, WM_TIMER, 1, 0); };
    ASSERT_TRUE(bench::PinVirtualSequencer(program)) << "the virtual sequencer could not be held in the program";
    playMidi();
    for (int i = 0; i < 200; ++i) ASSERT_TRUE(tick());
    std::optional<GuiCounts> before = bench::Count(program);
    ASSERT_TRUE(before.has_value()) << "gui_count.dll could not count in the program";
    bench::ReportCounts("soak.after_start", *before);

    const int commands[] = {40006, 40007, 40008};
    LARGE_INTEGER start = bench::Now();
    for (int i = 1; i <= ticks; ++i) {
        ASSERT_TRUE(tick()) << "the program stopped answering at tick " << i;
        if (i % 100 == 0) {
            int command = commands[(i / 100) % 3];
            e2e::SendCommand(window, command);  // hide
            e2e::SendCommand(window, command);  // and show again
            if (command == 40007) playMidi();
        }
        if (i % 50 == 0) RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        if (i % 1000 == 0) {
            std::optional<GuiCounts> now = bench::Count(program);
            if (now) bench::Report("soak.private_memory_at_" + std::to_string(i), double(now->privateBytes / 1024), "KiB");
        }
    }
    bench::Report("soak.ticks", ticks, "ticks");
    bench::Report("soak.seconds", bench::Seconds(start, bench::Now()), "s");
    for (int i = 0; i < 20; ++i) tick();
    std::optional<GuiCounts> after = bench::Count(program);
    ASSERT_TRUE(after.has_value());
    bench::ReportCounts("soak.after_ticks", *after);
    EXPECT_EQ(after->gdi, before->gdi) << "GDI objects grew";
    EXPECT_EQ(after->user, before->user) << "USER objects grew";
    CloseAndWait(&program, window);
}

// What MCI itself leaves behind, without Velutra: this process opens, plays to the end and closes
// MIDI files through MCI as the tick soak's playing does, then loads and frees the sequencer DLL
// alone, as MCI does at each open and close.
TEST_F(Bench, SequencerPeer)
{
    const int cycles = static_cast<int>(bench::EnvNumber("VELUTRA_BENCH_SEQUENCER_CYCLES", 30));
    ASSERT_TRUE(bench::RegisterVirtualSequencer()) << "no virtual sequencer (VELUTRA_VSEQ_DLL)";
    std::vector<std::string> tunes = bench::WriteMidiFiles(copy.folder + "\\peer", 3, 1000);
    ASSERT_EQ(tunes.size(), 3u);
    auto cycle = [&](int i) {
        MCI_OPEN_PARMSA open{};
        open.lpstrDeviceType = "sequencer";
        open.lpstrElementName = tunes[i % 3].c_str();
        if (mciSendCommandA(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&open)))
            return false;
        MCI_PLAY_PARMS play{};
        mciSendCommandA(open.wDeviceID, MCI_PLAY, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&play));
        mciSendCommandA(open.wDeviceID, MCI_CLOSE, MCI_WAIT, 0);
        return true;
    };
    // Wine's GetProcessMemoryInfo gives no private bytes: the soak's counter counts them here.
    HMODULE counter = LoadLibraryA(bench::DosPath(bench::Env("VELUTRA_GUI_COUNT_DLL")).c_str());
    ASSERT_NE(counter, nullptr);
    auto count = reinterpret_cast<DWORD(WINAPI*)(void*)>(GetProcAddress(counter, "CountGuiObjects"));
    ASSERT_NE(count, nullptr);
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(cycle(i));
    GuiCounts start{}, played{}, loaded{};
    count(&start);
    for (int i = 0; i < cycles; ++i) ASSERT_TRUE(cycle(i));
    count(&played);
    std::string driver = bench::DosPath(bench::Env("VELUTRA_VSEQ_DLL"));
    for (int i = 0; i < cycles; ++i) FreeLibrary(LoadLibraryA(driver.c_str()));
    count(&loaded);
    bench::Report("sequencer_peer.cycles", cycles, "cycles");
    bench::Report("sequencer_peer.growth_per_play", (double(played.privateBytes) - double(start.privateBytes)) / 1024 / cycles, "KiB");
    bench::Report("sequencer_peer.growth_per_load", (double(loaded.privateBytes) - double(played.privateBytes)) / 1024 / cycles, "KiB");
}

}  // namespace
