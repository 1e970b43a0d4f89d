// The Sound player's journey: one start of the real program on Wine's own wave driver and the rig's
// sound server. It plays tone files into the sink "out" (captured with parec), records the tone fed
// into the sink "feed", and reviews, saves and drops recordings; what is heard and saved is measured.
#include "tests/audio/audio_rig.h"
#include "tests/audio/wave_file.h"
#include "tests/e2e/journey.h"

namespace {

const char kBusy[] = "You are in the middle of sound recording.\nPlease stop your recording before closing the player.";

// MCI holds a wave file it plays with others denied writing: the file is open while this fails.
bool HeldOpen(const std::string& dosPath)
{
    HANDLE file = CreateFileA(dosPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION;
}

// The files that match a pattern; with none, the review files that recordings keep.
int Files(std::string dosPattern = "")
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((dosPattern.empty() ? temp + std::string("VLR*.tmp") : dosPattern).c_str(), &found);
    int count = 0;
    for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find, &found))
        count += !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
    return count;
}

class SoundJourney : public journey::Journey {
protected:
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
    // The review has gone and the panel with every button is back.
    bool Ended(HWND review)
    {
        return e2e::WaitUntil([&] {
            bool enabled = !IsWindow(review) && IsWindowEnabled(panel);
            for (int id : {IDC_PLAYLIST, IDC_RECORD, IDC_PLAY, IDC_REWIND, IDC_FORWARD, IDC_BACK, IDC_NEXT, IDC_PAUSE})
                enabled = enabled && IsWindowEnabled(GetDlgItem(panel, id));
            return enabled;
        });
    }
    // A saved recording: a plain PCM header of the format, and the fed tone at its level.
    void ExpectRecording(const std::string& name, unsigned rate, unsigned bits, unsigned channels)
    {
        std::optional<std::vector<unsigned char>> bytes = e2e::ReadFileBytes(dos + "\\" + name);
        ASSERT_TRUE(bytes) << name << " was not saved";
        audio::WaveFile wave = audio::ReadWaveFile(*bytes);
        ASSERT_TRUE(wave.ok) << wave.error;
        unsigned align = bits / 8 * channels;
        EXPECT_EQ((std::vector<unsigned>{1, channels, rate, rate * align, align, bits, 44, unsigned(bytes->size() - 8)}),
                  (std::vector<unsigned>{wave.formatTag, wave.channels, wave.samplesPerSec, wave.avgBytesPerSec,
                                         wave.blockAlign, wave.bitsPerSample, unsigned(wave.dataOffset), wave.riffSize}))
            << name << ": format tag, channels, rate, bytes a second, block, bits, data offset, RIFF size";
        audio::ToneMeasure tone = audio::MeasureTone(wave);
        EXPECT_NEAR(440, tone.frequency, 15) << name;
        EXPECT_NEAR(0.354, tone.rms, 0.05) << name << ": a sine of half full scale";
    }

    std::string folder = audio::FreshFolder("sound-journey"), dos = audio::DosPath(folder);
    audio::Capture capture;
    audio::Feed feed;
};

TEST_F(SoundJourney, FilesPlayedAndLoopedRecordingsReviewedSavedInThreeFormatsAndDropped)
{
    ASSERT_TRUE(audio::MakeTone(folder + "/high.wav", 0.3, 1000) && audio::MakeTone(folder + "/low.wav", 0.3, 500));
    ASSERT_TRUE(audio::MakeTone(folder + "/feed.wav", 60, 440, 0.5, 44100));
    Launch(e2e::Panel::Sound);

    Step("two files play into the sink in turn, and after the last the player closes");
    HWND editor = Editor("Sound Playlist");
    ASSERT_TRUE(Add(editor, dos, "\"high.wav\" \"low.wav\"", 2));
    EXPECT_TRUE(Ends(editor, IDOK));
    ASSERT_TRUE(capture.Start(folder + "/heard.wav"));
    Tap(IDC_PLAY);
    EXPECT_TRUE(Shows(IDC_DISPLAY, "low.wav")) << "the end notice did not move on";
    EXPECT_TRUE(Shows(IDC_DISPLAY, "high.wav") && Shows(IDC_TRACK, "00:00 Sound 01")) << "the first is not current";
    EXPECT_TRUE(e2e::WaitUntil([&] { return !HeldOpen(dos + "\\low.wav"); })) << "the device stayed open";
    ASSERT_TRUE(capture.Stop());
    audio::SoxMeasure heard = audio::Measure(folder + "/heard.wav");
    audio::SoxMeasure first = audio::MeasureSlice(folder + "/heard.wav", 0.05, 0.2);
    audio::SoxMeasure last = audio::MeasureSlice(folder + "/heard.wav", heard.soundSeconds - 0.25, 0.2);
    EXPECT_NEAR(0.7, heard.soundSeconds, 0.25) << heard.text;
    EXPECT_NEAR(1000, first.frequency, 30) << first.text;
    EXPECT_NEAR(500, last.frequency, 30) << last.text;
    EXPECT_NEAR(0.354, first.rms, 0.03) << "the file's level reaches the sink";

    Step("looping goes on from file to file, time after time");
    SendDlgItemMessageA(editor = Editor("Sound Playlist"), IDC_LOOP, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_TRUE(Ends(editor, IDOK));
    Tap(IDC_PLAY);
    int changes = 0;
    std::string shown = Text(IDC_DISPLAY);
    EXPECT_TRUE(e2e::WaitUntil([&] {
        changes += Text(IDC_DISPLAY) != shown;
        shown = Text(IDC_DISPLAY);
        return changes >= 20;
    }, 60000)) << changes << " changes of file";

    Step("with the tray icon on, Power hides the window and stops and closes the wave device");
    e2e::Press(banner, IDC_POWER);
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_FALSE(HeldOpen(dos + "\\high.wav") || HeldOpen(dos + "\\low.wav"));
    e2e::SendCommand(main, IDM_OPEN);

    Step("Record while playing closes the file, locks all but Stop and counts; closing is refused");
    ASSERT_TRUE(feed.Start(folder + "/feed.wav")) << "paplay could not feed the tone";
    Tap(IDC_PLAY);
    EXPECT_TRUE(HeldOpen(dos + "\\" + Text(IDC_DISPLAY)));
    Tap(IDC_RECORD);
    EXPECT_FALSE(HeldOpen(dos + "\\high.wav") || HeldOpen(dos + "\\low.wav"));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(panel, IDC_PLAY)) || IsWindowEnabled(GetDlgItem(panel, IDC_PAUSE)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(panel, IDC_STOP)));
    EXPECT_EQ("Recording ...", Text(IDC_DISPLAY));
    EXPECT_TRUE(Shows(IDC_TRACK, "00:01 Record 01")) << Text(IDC_TRACK);
    EXPECT_EQ(kBusy, Box(banner, IDC_POWER));
    EXPECT_EQ(kBusy, Box(banner, IDC_SOUND));
    EXPECT_EQ(kBusy, Box(main, IDM_EXIT));
    Tap(IDC_STOP);
    HWND review = Dialog("Velutra Record");
    ASSERT_TRUE(review);
    EXPECT_FALSE(IsWindowEnabled(panel)) << "the panel is locked while reviewing";
    feed.Stop();

    Step("the review plays the recording, stops and rewinds it, and at its end is back at its start");
    e2e::Press(review, IDC_PLAYSTOP);
    EXPECT_TRUE(Shows(IDC_TRACK, "00:01 Record 01")) << Text(IDC_TRACK);
    e2e::Press(review, IDC_PLAYSTOP);
    EXPECT_TRUE(Shows(IDC_TRACK, "00:00 Record 01")) << Text(IDC_TRACK);
    ASSERT_TRUE(capture.Start(folder + "/review.wav"));
    e2e::Press(review, IDC_PLAYSTOP);
    EXPECT_TRUE(Shows(IDC_TRACK, "00:01 Record 01") && Shows(IDC_TRACK, "00:00 Record 01")) << Text(IDC_TRACK);
    ASSERT_TRUE(capture.Stop());
    heard = audio::Measure(folder + "/review.wav");
    EXPECT_NEAR(440, heard.frequency, 15) << heard.text;
    EXPECT_GT(heard.soundSeconds, 1.0) << heard.text;

    Step("a save that fails keeps the review; a save elsewhere writes the name typed and lists it last");
    ASSERT_TRUE(SaveAs(review, "Z:\\proc\\velutra-take.wav"));
    EXPECT_NE("(no message box)", Box(nullptr, 0));
    EXPECT_TRUE(IsWindow(review));
    ASSERT_TRUE(SaveAs(review, dos + "\\take1"));
    EXPECT_TRUE(Ended(review));
    EXPECT_EQ(0u, Text(IDC_TRACK).find("00:00 Sound 0")) << Text(IDC_TRACK);
    EXPECT_EQ(0, Files(dos + "\\take1.wav")) << "an extension was added";
    EXPECT_EQ(0, Files()) << "a review file was left";
    ExpectRecording("take1", 22050, 16, 1);
    wchar_t text[MAX_PATH] = {};  // across processes Wine hands list box texts over in their wide form only
    SendDlgItemMessageW(editor = Editor("Sound Playlist"), IDC_LIST, LB_GETTEXT, 2, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(dos + "\\take1", std::string(text, text + wcslen(text)));
    EXPECT_TRUE(Ends(editor, IDCANCEL));

    Step("recording formats chosen in Properties");
    ASSERT_TRUE(feed.Start(folder + "/feed.wav"));
    struct Format { int row; unsigned rate, bits, channels; };
    for (Format format : {Format{0, 8000, 8, 1}, Format{16, 48000, 16, 2}}) {
        PostMessageA(banner, WM_COMMAND, IDC_PROPERTIES, 0);
        HWND properties = Dialog("Properties");
        SendDlgItemMessageA(properties, IDC_FORMAT, CB_SETCURSEL, static_cast<WPARAM>(format.row), 0);
        EXPECT_TRUE(Ends(properties, IDOK));
        std::string name = "row" + std::to_string(format.row) + ".wav";
        ASSERT_TRUE((review = Take(600)) && SaveAs(review, dos + "\\" + name) && Ended(review)) << name;
        ExpectRecording(name, format.rate, format.bits, format.channels);
    }

    Step("recordings dropped by Quit, Esc and a cancelled Save As, time after time, leave nothing");
    int files = Files(dos + "\\*");
    for (int cycle = 0; cycle < 15; ++cycle) {
        ASSERT_TRUE(review = Take(150)) << "cycle " << cycle;
        if (cycle % 3 == 0) e2e::Press(review, IDCANCEL);
        GUITHREADINFO gui{sizeof(GUITHREADINFO), 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, {}};
        if (cycle % 3 == 1 && GetGUIThreadInfo(GetWindowThreadProcessId(review, nullptr), &gui))
            PostMessageA(gui.hwndFocus ? gui.hwndFocus : review, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        if (cycle % 3 == 2) PostMessageA(review, WM_COMMAND, IDOK, 0);
        if (cycle % 3 == 2) EXPECT_TRUE(Ends(Dialog("Save As"), IDCANCEL));
        EXPECT_TRUE(Ended(review) && files == Files(dos + "\\*") && Files() == 0) << "cycle " << cycle;
    }

    Step("once the recording has ended, Exit ends the program");
    PostMessageA(main, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_TRUE(e2e::WaitForExit(programs.back()).has_value());
}

}  // namespace
