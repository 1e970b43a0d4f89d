// The three players' journey: one start of the real program, its panels, editors and dialogs worked
// as a user would. CD plays discs of the virtual drive and MIDI the virtual sequencer, whose logs it
// reads; Sound plays into the rig's sink "out" (captured) and records the tone fed into "feed".
#include <fstream>
#include <regex>

#include "resources/resource.h"
#include "tests/audio/audio_rig.h"
#include "tests/audio/wave_file.h"
#include "tests/drivers/sequencer/smf_builder.h"
#include "tests/e2e/driver.h"

namespace {

using namespace e2e;

const char kMciKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\MCI";
const char kSequencer[] = "Software\\Velutra Tests\\Sequencer";
const char kNoDisc[] = "There is no CD-ROM in the player.", kNotAudio[] = "The inserted CD-ROM is not an audio CD.";
const char kPlay[] = "MCI_PLAY .*flags=0x00000001", kTrack1[] = "MCI_SEEK .*to=0x00000001";
const char kBusy[] = "You are in the middle of sound recording.\nPlease stop your recording before closing the player.";

// The sequencer's clock in percent of real time, read as it opens or starts playing.
void Speed(DWORD percent) { RegSetKeyValueA(HKEY_CURRENT_USER, kSequencer, "Speed", REG_DWORD, &percent, 4); }

// MCI holds a wave file it plays with others denied writing: the file is open while this fails.
bool HeldOpen(const std::string& dosPath)
{
    HANDLE file = CreateFileA(dosPath.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION;
}

class PlayersJourney : public VelutraTest {
protected:
    void TearDown() override
    {
        VelutraTest::TearDown();
        HKEY mci = OpenProgramKey(HKEY_LOCAL_MACHINE, kMciKey, KEY_SET_VALUE);
        if (mci) RegDeleteValueA(mci, "sequencer"), RegCloseKey(mci);
        RegDeleteKeyA(HKEY_CURRENT_USER, kSequencer);  // the Speed and Log it set
    }
    // Names the step that every failure belongs to, until the next step.
    void Step(const char* name) { trace.reset(), trace.emplace(__FILE__, __LINE__, std::string("step: ") + name); }

    std::string Text(int id) { return WindowText(GetDlgItem(panel, id)); }
    bool Shows(int id, const std::string& text) { return WaitUntil([&] { return Text(id) == text; }); }
    // A press of the panel's control (handled on return), and the read-out it leads to.
    void Tap(int id, const char* readout = nullptr)
    {
        Press(panel, id);
        EXPECT_TRUE(!readout || Shows(IDC_TRACK, readout)) << "after " << id << ": " << Text(IDC_TRACK);
    }
    // The message box that the command `id` sent to `window` shows (or that comes by itself), answered.
    std::string Box(HWND window, int id, int answer = IDOK)
    {
        if (window) PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(id), 0);
        HWND box = WaitForMessageBox(pid);
        std::string text = box ? MessageBoxText(box) : "(no message box)";
        if (box) PressMessageBoxButton(box, answer);
        return text;
    }
    HWND Dialog(const char* title) { return WaitForShown(pid, "#32770", title); }
    bool Ends(HWND dialog, int id)
    {
        PostMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(id), 0);
        return WaitUntil([&] { return !IsWindow(dialog); });
    }
    // The Open or Save As dialog answered with a name typed into it and OK, handled on return.
    bool Answer(const char* title, const std::string& name)
    {
        HWND dialog = Dialog(title), edit = nullptr;
        DWORD_PTR r = 0;
        auto text = reinterpret_cast<LPARAM>(name.c_str());
        auto found = [&] { return (edit = GetDlgItem(dialog, 0x47C)) || (edit = GetDlgItem(dialog, 0x480)); };
        return dialog && WaitUntil(found) &&
               SendMessageTimeoutA(edit, WM_SETTEXT, 0, text, SMTO_NORMAL, kWaitMs, &r) &&
               SendMessageTimeoutA(dialog, WM_COMMAND, IDOK, 0, SMTO_NORMAL, kWaitMs, &r);
    }
    // The panel's playlist editor; with `count`, once files of a folder are added through its Open
    // dialog and it lists `count` entries.
    HWND Editor(const std::string& folder = "", const std::string& quotedNames = "", int count = 0)
    {
        PostMessageA(panel, WM_COMMAND, IDC_PLAYLIST, 0);
        HWND editor = Dialog(panel == midi ? "MIDI Playlist" : "Sound Playlist");
        if (count) PostMessageA(editor, WM_COMMAND, IDC_ADD, 0);
        return !count || (Answer("Open", folder) && Answer("Open", quotedNames) &&
                          WaitUntil([&] { return ListCount(editor) == count; })) ? editor : nullptr;
    }
    int ListCount(HWND editor) { return static_cast<int>(SendDlgItemMessageA(editor, IDC_LIST, LB_GETCOUNT, 0, 0)); }

    // The lines of a virtual device's log from line `from` on (none from -1) that match a pattern.
    std::vector<int> Matches(const std::string& log, const std::string& pattern, int from)
    {
        std::ifstream file(log, std::ios::binary);
        std::regex match(pattern);
        std::vector<int> found;
        int i = 0;
        for (std::string line; std::getline(file, line); ++i)
            if (from >= 0 && i >= from && std::regex_search(line, match)) found.push_back(i);
        return found;
    }
    // The first such line, waited for up to `ms`; -1 when none comes.
    int Find(const std::string& pattern, int from = 0, DWORD ms = 0)
    {
        std::vector<int> found;
        WaitUntil([&] { return !(found = Matches(log, pattern, from)).empty() || from < 0; }, ms);
        return found.empty() ? -1 : found.front();
    }
    int Await(const std::string& pattern, int from = 0) { return Find(pattern, from, kWaitMs); }
    int Count(const std::string& pattern, int from = 0) { return static_cast<int>(Matches(log, pattern, from).size()); }
    int Size() { return Count("", 0); }

    // Record for as long as a take lasts (the user's doing, not a wait for the program), then Stop.
    HWND Take(DWORD ms)
    {
        Tap(IDC_RECORD);
        Sleep(ms);
        Tap(IDC_STOP);
        return Dialog("Velutra Record");
    }
    bool SaveAs(HWND review, const std::string& name)
    {
        PostMessageA(review, WM_COMMAND, IDOK, 0);
        return Answer("Save As", name);
    }
    // A review file in the temporary folder, in which a stopped recording is kept until it is saved or dropped.
    bool ReviewFileLeft()
    {
        char temp[MAX_PATH] = {};
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA((std::string(temp, GetTempPathA(MAX_PATH, temp)) + "VLR*.tmp").c_str(), &found);
        return find != INVALID_HANDLE_VALUE && FindClose(find);
    }
    // The review has gone, leaving no review file, and the panel with every button is back.
    bool Ended(HWND review)
    {
        return WaitUntil([&] {
            bool back = !IsWindow(review) && IsWindowEnabled(panel) && !ReviewFileLeft();
            for (int id : {IDC_PLAYLIST, IDC_RECORD, IDC_PLAY, IDC_REWIND, IDC_FORWARD, IDC_BACK, IDC_NEXT, IDC_PAUSE})
                back = back && IsWindowEnabled(GetDlgItem(panel, id));
            return back;
        });
    }
    // A saved recording: a plain PCM header of the format, and the fed tone at its level.
    void ExpectRecording(const std::string& name, unsigned rate, unsigned bits, unsigned channels)
    {
        std::vector<unsigned char> bytes = ReadFileBytes(dos + "\\" + name).value_or(std::vector<unsigned char>{});
        audio::WaveFile wave = audio::ReadWaveFile(bytes);
        audio::ToneMeasure tone = audio::MeasureTone(wave);
        unsigned align = bits / 8 * channels;
        std::vector<unsigned> want{1, channels, rate, rate * align, align, bits, 44, unsigned(bytes.size() - 8)};
        std::vector<unsigned> got{wave.formatTag, wave.channels, wave.samplesPerSec, wave.avgBytesPerSec,
                                  wave.blockAlign, wave.bitsPerSample, unsigned(wave.dataOffset), wave.riffSize};
        EXPECT_EQ(want, got) << name << ": format tag, channels, rate, bytes a second, block, bits, data offset, "
                             << "RIFF size; " << wave.error;
        EXPECT_TRUE(std::abs(tone.frequency - 440) < 15 && std::abs(tone.rms - 0.354) < 0.05)
            << name << ": " << tone.frequency << " Hz at RMS " << tone.rms << " for a 440 Hz sine of half full scale";
    }

    HWND main = nullptr, banner = nullptr, cd = nullptr, midi = nullptr, sound = nullptr, panel = nullptr;
    DWORD pid = 0;
    std::string log, cdLog, midiLog, folder = audio::FreshFolder("players-journey"), dos = audio::DosPath(folder);
    std::optional<testing::ScopedTrace> trace;
    audio::Capture capture;
    audio::Feed feed;
};

TEST_F(PlayersJourney, CdMidiAndSoundPlayedSkippedEditedRecordedAndSaved)
{
    std::ofstream(copy.folder + "\\disc.txt") << "disc=none\n";
    SetEnvironmentVariableA("VCD_DISC", (copy.folder + "\\disc.txt").c_str());
    SetEnvironmentVariableA("VCD_LOG", (cdLog = copy.folder + "\\vcd.log").c_str());
    midiLog = copy.folder + "\\vseq.log";
    RegSetKeyValueA(HKEY_CURRENT_USER, kSequencer, "Log", REG_SZ, midiLog.c_str(), DWORD(midiLog.size() + 1));
    char driver[MAX_PATH] = {};
    GetFullPathNameA(VSEQ_DLL, MAX_PATH, driver, nullptr);
    WriteRegistryValue(HKEY_LOCAL_MACHINE, kMciKey, "sequencer", REG_SZ, driver, DWORD(strlen(driver) + 1));
    for (std::uint32_t song : {1, 2, 3}) {
        Bytes data = MidiOfLength(song == 1 ? 3000 : 1400 - 200 * song);  // 3, 1.2 and 1 seconds
        std::ofstream(copy.folder + "\\song" + std::to_string(song) + ".mid", std::ios::binary)
            .write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
    }
    std::ofstream(copy.folder + "\\notes.mid") << "just text";
    ASSERT_TRUE(audio::MakeTone(folder + "/high.wav", 0.3, 1000) && audio::MakeTone(folder + "/low.wav", 0.3, 500));
    ASSERT_TRUE(audio::MakeTone(folder + "/feed.wav", 60, 440, 0.5, 44100));

    Step("a CD start with no disc says so, as does every disc command; Stop and Pause say nothing");
    ASSERT_TRUE(main = StartAndWait("CD"));
    pid = programs.back().pid;
    banner = FindPanel(main, Panel::Main), cd = FindPanel(main, Panel::Cd), midi = FindPanel(main, Panel::Midi);
    ASSERT_TRUE(banner && cd && midi && (sound = FindPanel(main, Panel::Sound)));
    panel = cd, log = cdLog;
    EXPECT_EQ(kNoDisc, Box(nullptr, 0));
    for (int id : {IDC_NEXT, IDC_BACK, IDC_FORWARD, IDC_REWIND, IDC_PLAY, IDC_PLAYLIST})
        EXPECT_EQ(kNoDisc, Box(panel, id)) << "control " << id;
    Tap(IDC_STOP), Tap(IDC_PAUSE);
    EXPECT_TRUE(!WaitForMessageBox(pid, 0) && Text(IDC_DISPLAY) == "EMPTY");

    Step("a data disc is looked at as the door closes, and never played");
    std::ofstream(copy.folder + "\\disc.txt") << "disc=data\ntracks=300\n";
    Tap(IDC_EJECT);
    EXPECT_EQ(kNotAudio, Box(panel, IDC_EJECT));
    EXPECT_EQ(kNotAudio, Box(panel, IDC_PLAY));
    EXPECT_EQ(0, Count("MCI_PLAY"));

    Step("an audio disc plays from track 1; Pause holds it, Pause again plays on; skips while stopped do not play");
    std::ofstream(copy.folder + "\\disc.txt") << "disc=audio\ntracks=30,1,1\n";
    Tap(IDC_EJECT), Tap(IDC_EJECT), Tap(IDC_PLAY, "00:01 Track 01"), Tap(IDC_PAUSE);
    EXPECT_TRUE(Count(kPlay) == 1 && Count("MCI_PAUSE .*result=0x00000000") == 1);
    Tap(IDC_PAUSE, "00:02 Track 01"), Tap(IDC_STOP, "00:00 Track 01");
    int mark = Size();
    Tap(IDC_FORWARD, "00:10 Track 01"), Tap(IDC_REWIND, "00:00 Track 01");
    EXPECT_TRUE(!WaitForMessageBox(pid, 0) && Count("MCI_PLAY", mark) == 0);

    Step("Back on track 1 plays the last track; played to its end, the disc goes back to track 1 and rests there");
    Tap(IDC_PLAY);
    mark = Size();
    Tap(IDC_BACK);
    EXPECT_GE(Find(kPlay, Find("MCI_SEEK .*to=0x00000003", mark)), 0);
    mark = Await("NOTIFY .*status=1", mark);
    EXPECT_TRUE(Shows(IDC_TRACK, "00:00 Track 01") && Count(kTrack1, mark) == 1) << Text(IDC_TRACK);
    EXPECT_EQ(0, Count("MCI_PLAY", mark)) << "nothing plays again";

    Step("a paused and resumed disc ends with no notice; the next Play starts again from track 1");
    Tap(IDC_BACK), Tap(IDC_PLAY), Tap(IDC_PAUSE);
    mark = Size();
    Tap(IDC_PAUSE);
    EXPECT_TRUE(Await("END", mark) > 0 && Count("NOTIFY .*status=1", mark) == 0);
    EXPECT_TRUE(Shows(IDC_TRACK, "00:01 Track 03")) << Text(IDC_TRACK);
    Tap(IDC_PLAY);
    EXPECT_GE(Find(kPlay, Find(kTrack1, mark)), 0);

    Step("Eject stops the disc before the door opens, then closes the device, with no message box");
    mark = Size();
    Tap(IDC_EJECT);
    EXPECT_GE(Find("MCI_CLOSE_DRIVER", Find("DOOR open", Find("MCI_STOP", mark))), 0);
    Tap(IDC_EJECT);
    EXPECT_TRUE(Count("DOOR closed disc=1", mark) == 1 && !WaitForMessageBox(pid, 0));

    Step("hiding the CD panel stops and closes a playing disc");
    mark = Size();
    Tap(IDC_PLAY);
    SendCommand(main, IDM_CDPLAYER);
    EXPECT_GE(Find("MCI_CLOSE_DRIVER", Find("MCI_STOP", Find(kPlay, mark))), 0);

    Step("MIDI: a file that is not MIDI is unavailable at the editor's OK and at Play; Clear empties the list");
    panel = midi, log = midiLog;
    EXPECT_EQ("Device is not available.", Box(Editor(copy.folder, "\"notes.mid\"", 1), IDOK));
    EXPECT_EQ("Device is not available.", Box(panel, IDC_PLAY));
    HWND editor = Editor();
    EXPECT_EQ("Do you want to clear the playlist?", Box(editor, IDC_CLEAR, IDYES));
    EXPECT_EQ("Playlist is empty.", Box(editor, IDOK));
    EXPECT_EQ(0, Count("^play"));

    Step("three songs put in the list play through in order, and after the last the player closes");
    EXPECT_TRUE(Ends(Editor(copy.folder, "\"song1.mid\" \"song2.mid\" \"song3.mid\"", 3), IDOK));
    EXPECT_TRUE(Shows(IDC_DISPLAY, "song1.mid"));
    Speed(500);
    mark = Size();
    Tap(IDC_PLAY);
    int closed = Await("^close", Await("notify successful", Await("^open .*song3", Await("^open .*song2", mark))));
    EXPECT_TRUE(closed > 0 && Count("^open|^play", closed) == 0) << "the player did not rest closed";
    EXPECT_TRUE(Shows(IDC_DISPLAY, "song1.mid") && Shows(IDC_TRACK, "00:00 Music 01")) << "the first is not current";

    Step("Back on the first plays the last, Next on the last the first; a playing player plays on; Stop rewinds");
    Speed(0);
    mark = Size();
    Tap(IDC_PLAY), Tap(IDC_BACK, "00:00 Music 03"), Tap(IDC_NEXT, "00:00 Music 01");
    Tap(IDC_FORWARD), Tap(IDC_FORWARD, "00:02 Music 01"), Tap(IDC_REWIND, "00:01 Music 01");
    EXPECT_EQ(6, Count("^play", mark)) << "a playing player plays on after each skip";
    Tap(IDC_STOP, "00:00 Music 01");

    Step("Pause, then Pause again plays on to the end, and the next file plays");
    Speed(100);
    Tap(IDC_PLAY, "00:01 Music 01"), Tap(IDC_PAUSE), Tap(IDC_PAUSE, "00:02 Music 01");
    EXPECT_TRUE(Shows(IDC_DISPLAY, "song2.mid")) << "no end notice";
    Tap(IDC_STOP);

    Step("looping plays the list over and over");
    SendDlgItemMessageA(editor = Editor(), IDC_LOOP, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_TRUE(Ends(editor, IDOK));
    Speed(1000);
    mark = Size();
    Tap(IDC_PLAY);
    EXPECT_GE(Await("^open .*song1", Await("^open .*song2", Await("^open .*song1", mark))), 0);
    Speed(0);
    Tap(IDC_STOP);

    Step("Sound: two files play into the sink in turn, and after the last the player closes");
    panel = sound;
    EXPECT_TRUE(Ends(Editor(dos, "\"high.wav\" \"low.wav\"", 2), IDOK));
    ASSERT_TRUE(capture.Start(folder + "/heard.wav"));
    Tap(IDC_PLAY);
    EXPECT_TRUE(Shows(IDC_DISPLAY, "low.wav") && Shows(IDC_DISPLAY, "high.wav") && Shows(IDC_TRACK, "00:00 Sound 01"))
        << "the end did not move on to the next file, or after the last to the first";
    EXPECT_TRUE(WaitUntil([&] { return !HeldOpen(dos + "\\low.wav"); }) && capture.Stop()) << "still open";
    audio::SoxMeasure heard = audio::Measure(folder + "/heard.wav");
    EXPECT_NEAR(1000, audio::MeasureSlice(folder + "/heard.wav", 0.05, 0.2).frequency, 30) << heard.text;
    EXPECT_NEAR(500, audio::MeasureSlice(folder + "/heard.wav", heard.soundSeconds - 0.25, 0.2).frequency, 30);

    Step("looping goes on from file to file, time after time");
    SendDlgItemMessageA(editor = Editor(), IDC_LOOP, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_TRUE(Ends(editor, IDOK));
    Tap(IDC_PLAY);
    for (int change = 0; change < 10; ++change) {
        std::string shown = Text(IDC_DISPLAY);
        EXPECT_TRUE(WaitUntil([&] { return Text(IDC_DISPLAY) != shown; })) << "after " << change << " changes of file";
    }

    Step("Record while playing closes the file, locks all but Stop and counts; closing is refused");
    ASSERT_TRUE(feed.Start(folder + "/feed.wav")) << "paplay could not feed the tone";
    std::string playing;
    EXPECT_TRUE(WaitUntil([&] { return HeldOpen(playing = dos + "\\" + Text(IDC_DISPLAY)); }));
    Tap(IDC_RECORD);
    EXPECT_FALSE(HeldOpen(playing) || IsWindowEnabled(GetDlgItem(panel, IDC_PLAY)));
    EXPECT_TRUE(Text(IDC_DISPLAY) == "Recording ..." && Shows(IDC_TRACK, "00:01 Record 01")) << Text(IDC_TRACK);
    EXPECT_EQ(kBusy, Box(banner, IDC_POWER));
    EXPECT_EQ(kBusy, Box(banner, IDC_SOUND));
    EXPECT_EQ(kBusy, Box(main, IDM_EXIT));
    Tap(IDC_STOP);
    HWND review = Dialog("Velutra Record");
    ASSERT_TRUE(review && !IsWindowEnabled(panel)) << "no review, or the panel is not locked while reviewing";
    feed.Stop();

    Step("the review plays the recording, stops and rewinds it, and at its end is back at its start");
    Press(review, IDC_PLAYSTOP);
    EXPECT_TRUE(Shows(IDC_TRACK, "00:01 Record 01")) << Text(IDC_TRACK);
    Press(review, IDC_PLAYSTOP);
    EXPECT_TRUE(Shows(IDC_TRACK, "00:00 Record 01") && capture.Start(folder + "/review.wav")) << Text(IDC_TRACK);
    Press(review, IDC_PLAYSTOP);
    EXPECT_TRUE(Shows(IDC_TRACK, "00:01 Record 01") && Shows(IDC_TRACK, "00:00 Record 01") && capture.Stop());
    heard = audio::Measure(folder + "/review.wav");
    EXPECT_TRUE(std::abs(heard.frequency - 440) < 15 && heard.soundSeconds > 1.0) << heard.text;

    Step("a save that fails keeps the review; a save elsewhere writes the name typed");
    ASSERT_TRUE(SaveAs(review, "Z:\\proc\\velutra-take.wav"));
    EXPECT_NE("(no message box)", Box(nullptr, 0));
    ASSERT_TRUE(IsWindow(review) && SaveAs(review, dos + "\\take1") && Ended(review));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((dos + "\\take1.wav").c_str())) << "an extension was added";
    ExpectRecording("take1", 22050, 16, 1);

    Step("recording formats chosen in Properties");
    ASSERT_TRUE(feed.Start(folder + "/feed.wav"));
    for (unsigned row : {0, 16}) {
        PostMessageA(banner, WM_COMMAND, IDC_PROPERTIES, 0);
        HWND properties = Dialog("Properties");
        SendDlgItemMessageA(properties, IDC_FORMAT, CB_SETCURSEL, row, 0);
        std::string name = "row" + std::to_string(row) + ".wav";
        ASSERT_TRUE(Ends(properties, IDOK) && (review = Take(500)));
        ASSERT_TRUE(SaveAs(review, dos + "\\" + name) && Ended(review));
        row ? ExpectRecording(name, 48000, 16, 2) : ExpectRecording(name, 8000, 8, 1);
    }

    Step("recordings dropped by Quit, Esc and a cancelled Save As, time after time; the saved ones are listed");
    for (int cycle = 0; cycle < 9; ++cycle) {
        ASSERT_TRUE(review = Take(150)) << "cycle " << cycle;
        GUITHREADINFO gui{sizeof(GUITHREADINFO), 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, {}};
        GetGUIThreadInfo(GetWindowThreadProcessId(review, nullptr), &gui);
        PostMessageA(cycle % 3 == 1 ? gui.hwndFocus : review, cycle % 3 == 1 ? WM_KEYDOWN : WM_COMMAND,
                     cycle % 3 == 1 ? VK_ESCAPE : cycle % 3 == 2 ? IDOK : IDCANCEL, 0);
        EXPECT_TRUE((cycle % 3 != 2 || Ends(Dialog("Save As"), IDCANCEL)) && Ended(review)) << "cycle " << cycle;
    }
    EXPECT_EQ(5, ListCount(editor = Editor()));
    EXPECT_TRUE(Ends(editor, IDCANCEL));

    Step("the session's end drops a recording under review with its file; Quit then gives the panel back");
    ASSERT_TRUE(review = Take(150));
    SendMessageTimeoutA(main, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, kWaitMs, nullptr);
    EXPECT_FALSE(ReviewFileLeft()) << "the review file outlived the session";
    EXPECT_TRUE(Ends(review, IDCANCEL) && Ended(review));

    Step("a close of the window (Alt+F4, the task bar) during a review ends the program and drops the review file");
    ASSERT_TRUE(review = Take(150));
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitForExit(programs.back()) && !ReviewFileLeft());
}

}  // namespace
