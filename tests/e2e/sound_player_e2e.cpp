// The Sound player and recorder end to end: the real program under Wine plays tone files into the
// rig's sink "out" (captured with parec), records the tone fed into the sink "feed", and its
// review dialog plays, saves and drops recordings; sox measures what was heard and saved.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/audio/audio_rig.h"
#include "tests/audio/wave_file.h"
#include "tests/e2e/driver.h"

namespace {

using namespace e2e;

const char kBusy[] = "You are in the middle of sound recording.\nPlease stop your recording before closing the player.";
const int kLocked[] = {IDC_PLAYLIST, IDC_RECORD, IDC_PLAY, IDC_REWIND, IDC_FORWARD, IDC_BACK, IDC_NEXT, IDC_PAUSE};


std::string TextOf(HWND window)
{
    return WindowText(window);
}

bool Exists(const std::string& dosPath)
{
    return GetFileAttributesA(dosPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// MCI holds a wave file it plays with others denied writing: the file is open while this fails.
bool HeldOpen(const std::string& dosPath)
{
    HANDLE file = CreateFileA(dosPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return false;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION;
}

// The review files that recordings keep in the temporary folder of the prefix.
std::vector<std::string> ReviewFiles()
{
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    std::vector<std::string> files;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((std::string(folder) + "VLR*.tmp").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return files;
    do files.push_back(std::string(folder) + found.cFileName);
    while (FindNextFileA(find, &found));
    FindClose(find);
    return files;
}

int ReviewFilesLeft()
{
    return static_cast<int>(ReviewFiles().size());
}

void DeleteReviewFiles()
{
    for (const std::string& file : ReviewFiles()) DeleteFileA(file.c_str());
}

std::vector<std::string> FilesIn(const std::string& dosFolder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((dosFolder + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    while (FindNextFileA(find, &found));
    FindClose(find);
    return names;
}

// The icons in Wine's own notification area (its standalone tray window, as the rig has no other).
std::vector<HWND> TrayIcons()
{
    std::vector<HWND> icons;
    HWND tray = FindWindowA("__winex11_standalone_tray", nullptr);
    for (HWND child = tray ? GetWindow(tray, GW_CHILD) : nullptr; child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[64] = {};
        GetClassNameA(child, name, sizeof name);
        if (std::strcmp(name, "__winex11_tray_icon") == 0 && IsWindowVisible(child)) icons.push_back(child);
    }
    return icons;
}

POINT CentreOf(const RECT& r)
{
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// xdotool's "mousemove --sync" waits long when the pointer is already there: it steps aside first.
bool PointerAt(POINT at, const std::string& then)
{
    return RunXdotool("mousemove " + std::to_string(at.x + 30) + " " + std::to_string(at.y + 30) +
                      " mousemove --sync " + std::to_string(at.x) + " " + std::to_string(at.y) + " " + then) == 0;
}

class SoundPlayerTest : public VelutraTest {
protected:
    void SetUp() override
    {
        VelutraTest::SetUp();
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        folder = audio::FreshFolder(info->name());
        dos = audio::DosPath(folder);
        DeleteReviewFiles();
    }

    void TearDown() override
    {
        feed.Stop();
        capture.Stop();
        VelutraTest::TearDown();
    }

    void Launch()
    {
        std::vector<HWND> iconsBefore = TrayIcons();
        main = StartAndWait();
        WaitUntil([&] { return TrayIcons().size() > iconsBefore.size(); });
        for (HWND shown : TrayIcons())
            if (std::find(iconsBefore.begin(), iconsBefore.end(), shown) == iconsBefore.end()) trayIcon = shown;
        ASSERT_TRUE(main);
        pid = programs.back().pid;
        sound = FindPanel(main, Panel::Sound);
        banner = FindPanel(main, Panel::Main);
        ASSERT_TRUE(sound) << "no Sound panel";
        ASSERT_TRUE(banner) << "no banner";
    }

    HWND Window(const char* className, const char* caption, bool question = false)
    {
        for (HWND window : ShownWindows(pid, className, caption))
            if (!question || (GetDlgItem(window, IDYES) && GetDlgItem(window, IDNO))) return window;
        return nullptr;
    }
    HWND WaitWindow(const char* className, const char* caption, bool question = false, DWORD ms = kWaitMs)
    {
        HWND found = nullptr;
        WaitUntil([&] { return (found = Window(className, caption, question)) != nullptr; }, ms);
        return found;
    }

    std::string Text(int id) { return TextOf(GetDlgItem(sound, id)); }
    bool Shows(int id, const std::string& text)
    {
        return WaitUntil([&] { return Text(id) == text; });
    }
    // The read-out's seconds, or -1.
    int Seconds()
    {
        std::string text = Text(IDC_TRACK);
        return text.size() >= 5 ? std::atoi(text.substr(0, 2).c_str()) * 60 + std::atoi(text.substr(3, 2).c_str())
                                : -1;
    }
    std::string Enabled()
    {
        std::string bits;
        for (int id : kLocked) bits += IsWindowEnabled(GetDlgItem(sound, id)) ? '1' : '0';
        return bits;
    }

    // Answers the box captioned "Velutra" and gives its text.
    std::string TakeBox()
    {
        HWND box = WaitForMessageBox(pid);
        if (!box) return "(no message box)";
        std::string text = MessageBoxText(box);
        PressMessageBoxButton(box, IDOK);
        return text;
    }

    // The Sound Playlist editor: its entries, and OK or Cancel.
    HWND OpenEditor()
    {
        PostPress(sound, IDC_PLAYLIST);
        return WaitWindow("#32770", "Sound Playlist");
    }
    std::vector<std::string> EditorEntries(HWND editor)
    {
        std::vector<std::string> texts;
        LRESULT count = SendDlgItemMessageA(editor, IDC_LIST, LB_GETCOUNT, 0, 0);
        // Across processes Wine hands list box texts over in their wide form only.
        for (LRESULT i = 0; i < count; ++i) {
            wchar_t wide[300] = {};
            SendDlgItemMessageW(editor, IDC_LIST, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide));
            char text[600] = {};
            WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof(text), nullptr, nullptr);
            texts.push_back(text);
        }
        return texts;
    }
    void EndEditor(HWND editor, int id)
    {
        PostMessageA(editor, WM_COMMAND, static_cast<WPARAM>(id), 0);
        WaitUntil([&] { return !IsWindow(editor); });
    }
    std::vector<std::string> Playlist()
    {
        HWND editor = OpenEditor();
        if (!editor) return {"(no Sound Playlist dialog)"};
        std::vector<std::string> texts = EditorEntries(editor);
        EndEditor(editor, IDCANCEL);
        return texts;
    }

    // Puts the named files of the test's folder into the playlist through the editor's Open dialog.
    void MakePlaylist(const std::vector<std::string>& names, bool loop)
    {
        HWND editor = OpenEditor();
        ASSERT_TRUE(editor) << "no Sound Playlist dialog";
        PostMessageA(editor, WM_COMMAND, IDC_ADD, 0);
        HWND open = WaitWindow("#32770", "Open");
        ASSERT_TRUE(open) << "no Open dialog";
        Sleep(200);
        HWND name = GetDlgItem(open, 0x47C);
        if (!name) name = GetDlgItem(open, 0x480);
        DWORD_PTR result = 0;
        SendMessageTimeoutA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(dos.c_str()), SMTO_NORMAL, kWaitMs, &result);
        SendMessageTimeoutA(open, WM_COMMAND, IDOK, 0, SMTO_NORMAL, kWaitMs, &result);
        Sleep(300);
        std::string quoted;
        for (const std::string& n : names) quoted += "\"" + n + "\" ";
        SendMessageTimeoutA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(quoted.c_str()), SMTO_NORMAL, kWaitMs,
                            &result);
        SendMessageTimeoutA(open, WM_COMMAND, IDOK, 0, SMTO_NORMAL, kWaitMs, &result);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(open); }));
        ASSERT_EQ(names.size(), EditorEntries(editor).size());
        SendDlgItemMessageA(editor, IDC_LOOP, BM_SETCHECK, loop ? BST_CHECKED : BST_UNCHECKED, 0);
        EndEditor(editor, IDOK);
        ASSERT_TRUE(Shows(IDC_DISPLAY, names.front()));
    }

    // Properties: the recording format row.
    void ChooseFormat(int row)
    {
        PostPress(banner, IDC_PROPERTIES);
        HWND properties = WaitWindow("#32770", "Properties");
        ASSERT_TRUE(properties) << "no Properties dialog";
        SendDlgItemMessageA(properties, IDC_FORMAT, CB_SETCURSEL, static_cast<WPARAM>(row), 0);
        PostMessageA(properties, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(properties); }));
    }

    void StartFeed(double hertz)
    {
        ASSERT_TRUE(audio::MakeTone(folder + "/feed.wav", 60, hertz, 0.5, 44100));
        ASSERT_TRUE(feed.Start(folder + "/feed.wav")) << "paplay could not feed the tone";
    }

    // Record until the read-out has counted `seconds`, then Stop: the review dialog.
    HWND RecordAndStop(int seconds)
    {
        Press(sound, IDC_RECORD);
        EXPECT_TRUE(WaitUntil([&] { return Seconds() >= seconds && Text(IDC_TRACK).find("Record") != std::string::npos; }))
            << "the read-out did not count the recording: " << Text(IDC_TRACK);
        Press(sound, IDC_STOP);
        return WaitWindow("#32770", "Velutra Record");
    }

public:
    // Save in the review: the Save As dialog gets `name` (empty: Cancel). With `answer` set, the
    // question about overwriting is expected and answered with it.
    void SaveAs(HWND review, const std::string& name, int answer = 0)
    {
        HWND button = GetDlgItem(review, IDOK);
        PostMessageA(review, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        HWND dialog = WaitWindow("#32770", "Save As");
        ASSERT_TRUE(dialog) << "no Save As dialog";
        Sleep(200);
        if (name.empty()) {
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        HWND box = GetDlgItem(dialog, 0x47C);
        if (!box) box = GetDlgItem(dialog, 0x480);
        DWORD_PTR result = 0;
        SendMessageTimeoutA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()), SMTO_NORMAL, kWaitMs, &result);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        if (!answer) return;
        HWND question = WaitWindow("#32770", nullptr, true);
        ASSERT_TRUE(question) << "no question before overwriting";
        PostMessageA(question, WM_COMMAND, static_cast<WPARAM>(answer), 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(question); }));
    }

protected:
    void ExpectReviewEnded(HWND review)
    {
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(review); })) << "the review is still open";
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(sound) != FALSE; })) << "the panel is still locked";
        // The panel is enabled before its buttons, so the buttons are waited for too.
        EXPECT_TRUE(WaitUntil([&] { return Enabled() == "11111111"; })) << Enabled();
    }

    // Exit as the tray menu gives it while Exit is refused: a real right press on the icon, then
    // a click on the menu's last item (Open, About, Exit), until the refusal's message box shows.
    // On a loaded machine a press now and then reaches the icon before the program has finished
    // with the box just answered, or the click comes before the menu takes it; then the menu is
    // dismissed and the whole is done again, as a user would. The box is left for TakeBox.
    bool ExitThroughTrayMenu()
    {
        if (!trayIcon) return false;
        RECT icon{};
        GetWindowRect(trayIcon, &icon);
        for (int attempt = 0; attempt < 3; ++attempt) {
            if (!PointerAt(CentreOf(icon), "mousedown 3")) return false;
            HWND menu = WaitWindow("#32768", nullptr, false, 3000);
            RunXdotool("mouseup 3");
            if (!menu) continue;
            RECT r{};
            GetWindowRect(menu, &r);
            if (!PointerAt({(r.left + r.right) / 2, r.bottom - (r.bottom - r.top) / 6}, "click 1")) return false;
            if (WaitForMessageBox(pid, 5000)) return true;
            if (IsWindow(menu) && IsWindowVisible(menu)) PointerAt({1000, 740}, "click 1");
        }
        return false;
    }

    std::string folder;  // Unix path
    std::string dos;     // the same on drive Z:
    HWND main = nullptr, sound = nullptr, banner = nullptr, trayIcon = nullptr;
    DWORD pid = 0;
    audio::Capture capture;
    audio::Feed feed;
};

TEST_F(SoundPlayerTest, PlayWithAnEmptyListSaysSoAndShowsEmpty)
{
    Launch();
    EXPECT_EQ("EMPTY", Text(IDC_DISPLAY));
    EXPECT_TRUE(Shows(IDC_TRACK, "00:00 Sound 01"));
    PostPress(sound, IDC_PLAY);
    EXPECT_EQ("Playlist is empty.", TakeBox());
    EXPECT_EQ("EMPTY", Text(IDC_DISPLAY));
}

TEST_F(SoundPlayerTest, PlaysEachFileIntoTheSinkAndClosesAfterTheLast)
{
    ASSERT_TRUE(audio::MakeTone(folder + "/high.wav", 1.0, 1000));
    ASSERT_TRUE(audio::MakeTone(folder + "/low.wav", 1.0, 500));
    Launch();
    MakePlaylist({"high.wav", "low.wav"}, false);
    ASSERT_TRUE(capture.Start(folder + "/heard.wav"));
    Press(sound, IDC_PLAY);
    EXPECT_TRUE(WaitUntil([&] { return HeldOpen(dos + "\\high.wav"); })) << "the first file is not open";
    EXPECT_TRUE(Shows(IDC_DISPLAY, "low.wav")) << "the end notice did not move to the next file";
    EXPECT_TRUE(WaitUntil([&] { return HeldOpen(dos + "\\low.wav"); }));
    EXPECT_FALSE(HeldOpen(dos + "\\high.wav")) << "the first file was closed";
    EXPECT_TRUE(Shows(IDC_DISPLAY, "high.wav")) << "after the last file the first is current again";
    EXPECT_TRUE(Shows(IDC_TRACK, "00:00 Sound 01"));
    EXPECT_TRUE(WaitUntil([&] { return !HeldOpen(dos + "\\low.wav"); })) << "the device stays open";
    EXPECT_FALSE(HeldOpen(dos + "\\high.wav")) << "looping is off: nothing plays again";
    Sleep(500);
    ASSERT_TRUE(capture.Stop());

    audio::SoxMeasure heard = audio::Measure(folder + "/heard.wav");
    ASSERT_TRUE(heard.ok) << heard.text;
    EXPECT_NEAR(2.15, heard.soundSeconds, 0.3) << "two seconds of tone and the change of file";
    audio::SoxMeasure first = audio::MeasureSlice(folder + "/heard.wav", 0.1, 0.7);
    audio::SoxMeasure last = audio::MeasureSlice(folder + "/heard.wav", heard.soundSeconds - 0.8, 0.7);
    EXPECT_NEAR(1000, first.frequency, 20) << first.text;
    EXPECT_NEAR(500, last.frequency, 20) << last.text;
    EXPECT_NEAR(0.354, first.rms, 0.03) << "the file's level reaches the sink";
    std::printf("heard %.3f s of sound in %.3f s: %.0f Hz at RMS %.3f, then %.0f Hz at RMS %.3f\n",
                heard.soundSeconds, heard.seconds, first.frequency, first.rms, last.frequency, last.rms);
}

TEST_F(SoundPlayerTest, LoopingPlaysTheListOverAndOver)
{
    ASSERT_TRUE(audio::MakeTone(folder + "/short.wav", 0.5, 1000));
    Launch();
    MakePlaylist({"short.wav"}, true);
    ASSERT_TRUE(capture.Start(folder + "/heard.wav"));
    Press(sound, IDC_PLAY);
    Sleep(3000);
    EXPECT_TRUE(WaitUntil([&] { return HeldOpen(dos + "\\short.wav"); })) << "it stopped playing";
    Press(sound, IDC_STOP);
    ASSERT_TRUE(capture.Stop());
    audio::SoxMeasure heard = audio::Measure(folder + "/heard.wav");
    ASSERT_TRUE(heard.ok) << heard.text;
    EXPECT_GT(heard.soundSeconds, 2.0) << "a half-second file heard over more than two seconds";
    EXPECT_NEAR(1000, heard.frequency, 20);
    std::printf("looping: %.3f s of sound\n", heard.soundSeconds);
}

TEST_F(SoundPlayerTest, RecordWhilePlayingReviewAndSaveInTheDefaultFormat)
{
    ASSERT_TRUE(audio::MakeTone(folder + "/long.wav", 20, 1000));
    Launch();
    MakePlaylist({"long.wav"}, false);
    StartFeed(440);
    Press(sound, IDC_PLAY);
    ASSERT_TRUE(WaitUntil([&] { return Seconds() >= 1; })) << "the file does not play";

    Press(sound, IDC_RECORD);
    EXPECT_TRUE(WaitUntil([&] { return !HeldOpen(dos + "\\long.wav"); })) << "the playing file was not closed";
    EXPECT_EQ("00000000", Enabled()) << "every button but Stop is locked";
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(sound, IDC_STOP)));
    EXPECT_EQ("Recording ...", Text(IDC_DISPLAY));
    std::string first = Text(IDC_TRACK);
    EXPECT_TRUE(first == "00:00 Record 01" || first == "00:01 Record 01") << first;
    EXPECT_TRUE(Shows(IDC_TRACK, "00:01 Record 01")) << "the read-out counts up";
    EXPECT_TRUE(Shows(IDC_TRACK, "00:02 Record 01"));

    Press(sound, IDC_STOP);
    HWND review = WaitWindow("#32770", "Velutra Record");
    ASSERT_TRUE(review) << "no review dialog";
    EXPECT_FALSE(IsWindowEnabled(sound)) << "the whole panel is locked";
    EXPECT_TRUE(Shows(IDC_TRACK, "00:00 Record 01"));
    EXPECT_EQ("Recording ...", Text(IDC_DISPLAY));
    feed.Stop();

    // Play/Stop plays the recording into the sink; at its end it is back at 0.
    ASSERT_TRUE(capture.Start(folder + "/review.wav"));
    Press(review, IDC_PLAYSTOP);
    EXPECT_TRUE(Shows(IDC_TRACK, "00:01 Record 01")) << "the recording does not play";
    EXPECT_TRUE(Shows(IDC_TRACK, "00:00 Record 01")) << "the end did not rewind";
    Sleep(300);
    ASSERT_TRUE(capture.Stop());
    audio::SoxMeasure heard = audio::Measure(folder + "/review.wav");
    ASSERT_TRUE(heard.ok) << heard.text;
    EXPECT_NEAR(440, heard.frequency, 15) << "the review plays what was fed";
    EXPECT_GT(heard.soundSeconds, 1.8);
    std::printf("review: heard %.3f s at %.0f Hz, RMS %.3f\n", heard.soundSeconds, heard.frequency, heard.rms);

    // Pressed during play it stops and rewinds.
    Press(review, IDC_PLAYSTOP);
    EXPECT_TRUE(Shows(IDC_TRACK, "00:01 Record 01"));
    Press(review, IDC_PLAYSTOP);
    EXPECT_TRUE(Shows(IDC_TRACK, "00:00 Record 01"));

    // Save writes exactly the name typed and lists it last; "Sound" is back at once.
    SaveAs(review, dos + "\\take1");
    ExpectReviewEnded(review);
    EXPECT_EQ("00:00 Sound 01", Text(IDC_TRACK));
    EXPECT_EQ("long.wav", Text(IDC_DISPLAY)) << "the current entry did not change";
    EXPECT_TRUE(Exists(dos + "\\take1"));
    EXPECT_FALSE(Exists(dos + "\\take1.wav")) << "an extension was added";
    EXPECT_EQ(0, ReviewFilesLeft());
    EXPECT_EQ((std::vector<std::string>{dos + "\\long.wav", dos + "\\take1"}), Playlist());

    std::optional<std::vector<unsigned char>> bytes = ReadFileBytes(dos + "\\take1");
    ASSERT_TRUE(bytes.has_value());
    audio::WaveFile wave = audio::ReadWaveFile(*bytes);
    ASSERT_TRUE(wave.ok) << wave.error;
    EXPECT_EQ(1, wave.formatTag);
    EXPECT_EQ(1, wave.channels);
    EXPECT_EQ(22050u, wave.samplesPerSec);
    EXPECT_EQ(44100u, wave.avgBytesPerSec);
    EXPECT_EQ(2, wave.blockAlign);
    EXPECT_EQ(16, wave.bitsPerSample);
    EXPECT_EQ(44u, wave.dataOffset);
    EXPECT_EQ(bytes->size() - 8, wave.riffSize);
    audio::SoxMeasure saved = audio::Measure(folder + "/take1");
    ASSERT_TRUE(saved.ok) << saved.text;
    EXPECT_NEAR(440, saved.frequency, 15);
    EXPECT_NEAR(0.354, saved.rms, 0.03);
    EXPECT_NEAR(heard.soundSeconds, saved.seconds, 0.4) << "the review played the whole recording";
    std::printf("saved: %.3f s, %.0f Hz, RMS %.3f, %u data bytes\n", saved.seconds, saved.frequency, saved.rms,
                static_cast<unsigned>(wave.dataSize));
}

TEST_F(SoundPlayerTest, AnotherFormatAskingBeforeOverwritingAndTwoSavesInOrder)
{
    ASSERT_TRUE(audio::MakeTone(folder + "/existing.wav", 0.2, 300));
    Launch();
    ChooseFormat(16);
    StartFeed(440);

    HWND review = RecordAndStop(1);
    ASSERT_TRUE(review);
    SaveAs(review, dos + "\\existing.wav", IDNO);
    HWND saveAs = Window("#32770", "Save As");
    EXPECT_TRUE(saveAs) << "declining the overwrite goes back to the Save As dialog";
    EXPECT_TRUE(IsWindow(review));
    if (saveAs) {
        PostMessageA(saveAs, WM_COMMAND, IDOK, 0);
        HWND question = WaitWindow("#32770", nullptr, true);
        ASSERT_TRUE(question);
        PostMessageA(question, WM_COMMAND, IDYES, 0);
    }
    ExpectReviewEnded(review);
    std::optional<std::vector<unsigned char>> bytes = ReadFileBytes(dos + "\\existing.wav");
    ASSERT_TRUE(bytes.has_value());
    audio::WaveFile wave = audio::ReadWaveFile(*bytes);
    ASSERT_TRUE(wave.ok) << wave.error;
    EXPECT_EQ(2, wave.channels) << "the recording replaced the file";
    EXPECT_EQ(48000u, wave.samplesPerSec);
    EXPECT_EQ(192000u, wave.avgBytesPerSec);
    EXPECT_EQ(4, wave.blockAlign);
    EXPECT_EQ(16, wave.bitsPerSample);
    audio::SoxMeasure saved = audio::Measure(folder + "/existing.wav");
    EXPECT_NEAR(440, saved.frequency, 15) << saved.text;

    review = RecordAndStop(1);
    ASSERT_TRUE(review);
    SaveAs(review, dos + "\\second.wav");
    ExpectReviewEnded(review);
    EXPECT_EQ((std::vector<std::string>{dos + "\\existing.wav", dos + "\\second.wav"}), Playlist())
        << "the saved recordings stand at the end in the order saved";
    EXPECT_EQ("existing.wav", Text(IDC_DISPLAY)) << "the first entry stays current";
}

TEST_F(SoundPlayerTest, QuitTheCloseBoxEscAndACancelledSaveAsDropTheRecording)
{
    ASSERT_TRUE(audio::MakeTone(folder + "/one.wav", 0.5, 1000));
    ASSERT_TRUE(audio::MakeTone(folder + "/two.wav", 0.5, 1000));
    Launch();
    MakePlaylist({"one.wav", "two.wav"}, false);
    Press(sound, IDC_NEXT);
    ASSERT_TRUE(Shows(IDC_DISPLAY, "two.wav"));
    StartFeed(440);
    std::vector<std::string> before = FilesIn(dos);

    struct Way {
        const char* name;
        void (*end)(SoundPlayerTest*, HWND);
    };
    const Way ways[] = {
        {"Quit", [](SoundPlayerTest*, HWND review) { Press(review, IDCANCEL); }},
        {"close box", [](SoundPlayerTest*, HWND review) { PostMessageA(review, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"Esc", [](SoundPlayerTest*, HWND review) {
             GUITHREADINFO gui{};
             gui.cbSize = sizeof(gui);
             GetGUIThreadInfo(GetWindowThreadProcessId(review, nullptr), &gui);
             HWND focus = gui.hwndFocus ? gui.hwndFocus : review;
             PostMessageA(focus, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
             PostMessageA(focus, WM_KEYUP, VK_ESCAPE, 0xC0010001);
         }},
        {"cancelled Save As", [](SoundPlayerTest* test, HWND review) { test->SaveAs(review, ""); }},
    };
    for (const Way& way : ways) {
        HWND review = RecordAndStop(1);
        ASSERT_TRUE(review) << way.name;
        way.end(this, review);
        ExpectReviewEnded(review);
        EXPECT_EQ("two.wav", Text(IDC_DISPLAY)) << way.name;
        EXPECT_TRUE(Shows(IDC_TRACK, "00:00 Sound 02")) << way.name;
        EXPECT_EQ(before, FilesIn(dos)) << way.name << " left a file";
        EXPECT_EQ(0, ReviewFilesLeft()) << way.name << " left its review file";
    }
    EXPECT_EQ((std::vector<std::string>{dos + "\\one.wav", dos + "\\two.wav"}), Playlist()) << "nothing was listed";
}

TEST_F(SoundPlayerTest, AFailedSaveKeepsTheReviewAndASaveElsewhereSucceeds)
{
    Launch();
    StartFeed(440);
    HWND review = RecordAndStop(2);
    ASSERT_TRUE(review);
    feed.Stop();

    // Nobody, not even root, can make a file in /proc.
    SaveAs(review, "Z:\\proc\\velutra-take.wav");
    std::string error = TakeBox();
    EXPECT_NE("(no message box)", error);
    EXPECT_FALSE(error.empty()) << "MCI's error says what went wrong";
    std::printf("failed save: \"%s\"\n", error.c_str());
    EXPECT_TRUE(IsWindow(review)) << "the review stays open";
    EXPECT_FALSE(IsWindowEnabled(sound));
    EXPECT_EQ("Recording ...", Text(IDC_DISPLAY));

    ASSERT_TRUE(capture.Start(folder + "/review.wav"));
    Press(review, IDC_PLAYSTOP);
    EXPECT_TRUE(Shows(IDC_TRACK, "00:01 Record 01")) << "the recording still plays";
    EXPECT_TRUE(Shows(IDC_TRACK, "00:00 Record 01"));
    ASSERT_TRUE(capture.Stop());
    audio::SoxMeasure heard = audio::Measure(folder + "/review.wav");
    EXPECT_NEAR(440, heard.frequency, 15) << heard.text;

    SaveAs(review, dos + "\\kept.wav");
    ExpectReviewEnded(review);
    audio::SoxMeasure saved = audio::Measure(folder + "/kept.wav");
    ASSERT_TRUE(saved.ok) << saved.text;
    EXPECT_NEAR(440, saved.frequency, 15);
    EXPECT_GT(saved.seconds, 1.5);
    EXPECT_EQ((std::vector<std::string>{dos + "\\kept.wav"}), Playlist()) << "only the saved file is listed";
    EXPECT_EQ(0, ReviewFilesLeft());
}

TEST_F(SoundPlayerTest, ExitSoundAndPowerAreRefusedWhileRecordingOrReviewingButTheSessionEndSaves)
{
    ASSERT_TRUE(audio::MakeTone(folder + "/listed.wav", 0.5, 1000));
    Launch();
    MakePlaylist({"listed.wav"}, false);
    StartFeed(440);
    Press(sound, IDC_RECORD);
    ASSERT_TRUE(Shows(IDC_TRACK, "00:01 Record 01"));
    for (int round = 0; round < 2; ++round) {
        const char* when = round == 0 ? "recording" : "reviewing";
        PostPress(banner, IDC_SOUND);
        EXPECT_EQ(kBusy, TakeBox()) << "SOUND while " << when;
        PostPress(banner, IDC_POWER);
        EXPECT_EQ(kBusy, TakeBox()) << "Power while " << when;
        PostMessageA(main, WM_COMMAND, IDM_EXIT, 0);
        EXPECT_EQ(kBusy, TakeBox()) << "Exit while " << when;
        ASSERT_TRUE(ExitThroughTrayMenu()) << "the tray menu's Exit showed no message box while " << when;
        EXPECT_EQ(kBusy, TakeBox()) << "the tray menu's Exit while " << when;
        EXPECT_FALSE(WaitForExit(programs.back(), 300).has_value()) << "the program ended while " << when;
        EXPECT_TRUE(IsWindowVisible(sound)) << "the Sound panel was hidden while " << when;
        EXPECT_EQ("Recording ...", Text(IDC_DISPLAY)) << when;
        if (round == 0) {
            // The end of the session saves the playlists even now.
            std::string store = copy.folder + "\\velutra.s";
            DeleteFileA(store.c_str());
            DWORD_PTR result = 0;
            SendMessageTimeoutA(main, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, kWaitMs, &result);
            std::optional<std::vector<unsigned char>> saved = ReadFileBytes(store);
            ASSERT_TRUE(saved.has_value()) << "the end of the session wrote no store file";
            std::string bytes(saved->begin(), saved->end());
            EXPECT_NE(std::string::npos, bytes.find(dos + "\\listed.wav")) << "the Sound playlist was not saved";
            int counted = Seconds();
            EXPECT_TRUE(WaitUntil([&] { return Seconds() > counted; })) << "the recording went on";
            Press(sound, IDC_STOP);
            ASSERT_TRUE(WaitWindow("#32770", "Velutra Record"));
        }
    }
    HWND review = Window("#32770", "Velutra Record");
    ASSERT_TRUE(review) << "the review ended";
    Press(review, IDCANCEL);
    ExpectReviewEnded(review);
    PostMessageA(main, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_TRUE(WaitForExit(programs.back()).has_value()) << "Exit works again once the recording has ended";
}

}  // namespace
