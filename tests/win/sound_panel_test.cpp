// The Sound panel and the record review dialog built from their templates, driven by commands,
// with MCI replaced by the recording seam: the exact traffic of playing, recording, reviewing,
// saving and failing, and what the panel shows meanwhile.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app.h"
#include "panels/panels.h"
#include "resources/resource.h"
#include "tests/win/mci_recorder.h"
#include "tests/win/win_test_support.h"

namespace {

using Boxes = std::vector<std::string>;

const std::string kOpenNew = "OPEN#0 0x2202 type=waveaudio element=\"\" | STATUS#7 0x100 item=0x6 | SET#7 0x400 format=0";
const std::string kRow10 = "SET#7 0x3f0000 tag=1 channels=1 rate=22050 bytes=44100 align=2 bits=16";
const std::string kRecord = "RECORD#7 0x0 cb=0";
const std::string kMode = "STATUS#7 0x100 item=0x4";
const std::string kPosition = "STATUS#7 0x102 item=0x2";
const std::string kStopSeek = "STOP#7 0x0 null | SEEK#7 0xa to=0x00000000";
const int kLocked[] = {IDC_PLAYLIST, IDC_RECORD, IDC_PLAY, IDC_REWIND, IDC_FORWARD, IDC_BACK, IDC_NEXT, IDC_PAUSE};

std::string OpenFile(const std::string& path)
{
    return "OPEN#0 0x2202 type=waveaudio element=\"" + path + "\" | STATUS#7 0x100 item=0x6 | SET#7 0x400 format=0";
}

std::string TempFolder()
{
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    return folder;
}

// The review files of the temporary folder ("VLR*.tmp"), with their full paths.
std::vector<std::string> ReviewFiles()
{
    std::vector<std::string> files;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((TempFolder() + "VLR*.tmp").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return files;
    do files.push_back(TempFolder() + found.cFileName);
    while (FindNextFileA(find, &found));
    FindClose(find);
    return files;
}

class SoundPanelTest : public testing::Test {
protected:
    void SetUp() override
    {
        for (const std::string& file : ReviewFiles()) DeleteFileA(file.c_str());
        g_app.settings = AppSettings{};
        InitMediaDevice(&sound, MCI_DEVTYPE_WAVEFORM_AUDIO);
        SetPlayState(MCI_DEVTYPE_WAVEFORM_AUDIO, PLAYSTATE_STOPPED);
        InstallMciRecorder();
        WatchMessageBoxes(kAppName);  // the review and the Save As dialog are the test's
        // The window stays hidden: a visible panel repaints its Play face whenever a modal loop
        // (the Save As dialog's) runs, and that draw asks MCI for the mode between the commands
        // these tests count. The faces have tests of their own.
        g_app.mainWindow = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 402, 370, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(g_app.mainWindow) << "no windows: is a display driver set?";
        panel = CreateDialogParamA(g_app.instance, MAKEINTRESOURCEA(IDD_SOUNDPANEL), g_app.mainWindow,
                                   SoundPanelProc, 0);
        ASSERT_TRUE(panel);
        ASSERT_EQ(panel, g_app.SoundPanel) << "the panel records itself";
    }

    void TearDown() override
    {
        if (g_app.RecordReview) DestroyWindow(g_app.RecordReview);
        g_app.RecordReview = nullptr;
        DestroyWindow(g_app.mainWindow);
        g_app.mainWindow = g_app.SoundPanel = g_app.recorderPanel = nullptr;
        StopWatchingMessageBoxes();
        CloseMediaDevice(&sound);
        RemoveMciRecorder();
        ClearPlaylist(&sound.playlist);
        sound.deviceId = 0;
        sound.flags = 0;
        for (const std::string& file : ReviewFiles()) DeleteFileA(file.c_str());
    }

    void Press(UINT id) { SendMessageA(panel, WM_COMMAND, id, 0); }
    void Review(UINT id) { SendMessageA(g_app.RecordReview, WM_COMMAND, id, 0); }
    void Notify(WPARAM code, LPARAM device = 7) { SendMessageA(panel, MM_MCINOTIFY, code, device); }

    std::string TextOf(int id)
    {
        char text[256] = {};
        GetDlgItemTextA(panel, id, text, static_cast<int>(std::size(text)));
        return text;
    }

    void AddEntries(std::initializer_list<const char*> texts)
    {
        for (const char* text : texts) {
            PlaylistEntry entry;
            entry.number = sound.playlist.count + 1;
            lstrcpynA(entry.text, text, sizeof(entry.text));
            AppendPlaylistEntry(&sound.playlist, &entry);
        }
        UpdateSoundControls(panel, &sound);
    }

    std::vector<std::string> Entries()
    {
        std::vector<std::string> texts;
        PlaylistEntry entry;
        for (PlaylistHandle node = FirstPlaylistNode(&sound.playlist); node;) {
            node = ReadPlaylistNode(node, &entry);
            texts.push_back(entry.text);
        }
        return texts;
    }

    // Which of the buttons that a recording locks are enabled, as "1" or "0" each.
    std::string Enabled()
    {
        std::string bits;
        for (int id : kLocked) bits += IsWindowEnabled(GetDlgItem(panel, id)) ? '1' : '0';
        return bits;
    }

    static int State()
    {
        int state = -1;
        GetPlayState(MCI_DEVTYPE_WAVEFORM_AUDIO, &state);
        return state;
    }

    // Record, then Stop: the recording in review, its traffic forgotten. Gives the review file.
    std::string RecordAndStop()
    {
        Press(IDC_RECORD);
        Press(IDC_STOP);
        TakeMciTrace();
        TakeMessageBoxes();
        std::vector<std::string> files = ReviewFiles();
        return files.size() == 1 ? files[0] : std::string("(no single review file)");
    }

    // The Save As dialog answered from a helper thread with `name`, or cancelled when it is empty.
    // When it asks before overwriting a file, the question is answered Yes.
    bool SaveAs(const std::string& name)
    {
        DWORD thread = GetCurrentThreadId();
        return AnswerModal("#32770", "Save As", [&](HWND dialog) {
            if (name.empty()) {
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                return;
            }
            HWND box = GetDlgItem(dialog, 0x47C);  // the file name combo box
            if (!box) box = GetDlgItem(dialog, 0x480);
            SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            for (int i = 0; i < 50 && IsWindow(dialog); ++i) {
                Sleep(20);
                HWND question = nullptr;
                EnumThreadWindows(thread, [](HWND window, LPARAM found) {
                    if (IsWindowVisible(window) && GetDlgItem(window, IDYES) && GetDlgItem(window, IDNO)) {
                        *reinterpret_cast<HWND*>(found) = window;
                        return FALSE;
                    }
                    return TRUE;
                }, reinterpret_cast<LPARAM>(&question));
                if (question) PostMessageA(question, WM_COMMAND, IDYES, 0);
            }
        }, [&] { Review(IDOK); });
    }

    HWND panel = nullptr;
    MediaDevice& sound = g_app.SoundDevice;
};

TEST_F(SoundPanelTest, StartsClosedWithTheTemplateReadoutAndEveryButtonEnabled)
{
    EXPECT_EQ("00:00 Sound 01", TextOf(IDC_TRACK));
    EXPECT_EQ("EMPTY", TextOf(IDC_DISPLAY));
    EXPECT_EQ("11111111", Enabled());
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(panel, IDC_STOP)));
    EXPECT_EQ("", TakeMciTrace()) << "creating the panel opens nothing";

    g_app.recorderPanel = nullptr;
    SendMessageA(panel, WM_NULL, 0, 0);
    EXPECT_EQ(panel, g_app.recorderPanel) << "every message sets the recorder's panel handle";
}

TEST_F(SoundPanelTest, PlayWithAnEmptyListSaysSoAndOpensNothing)
{
    Press(IDC_PLAY);
    EXPECT_EQ(Boxes{"Velutra|Playlist is empty.|hand"}, TakeMessageBoxes());
    EXPECT_EQ("", TakeMciTrace());
    EXPECT_EQ("EMPTY", TextOf(IDC_DISPLAY));
    EXPECT_EQ(0u, sound.deviceId);
}

TEST_F(SoundPanelTest, PlayOpensTheCurrentFileAndPlaysWithNoticeToThePanel)
{
    AddEntries({"C:\\waves\\one.wav", "C:\\waves\\two.wav"});
    EXPECT_EQ("one.wav", TextOf(IDC_DISPLAY));
    Press(IDC_PLAY);
    EXPECT_EQ(OpenFile("C:\\waves\\one.wav") + " | " + kMode + " | PLAY#7 0x1 cb=sound | " + kPosition,
              TakeMciTrace());
    EXPECT_EQ(PLAYSTATE_PLAYING, State());

    g_script.position = 65400;
    RefreshSoundDisplay(panel, FALSE);
    EXPECT_EQ("01:05 Sound 01", TextOf(IDC_TRACK));
    SetDlgItemTextA(panel, IDC_TRACK, "untouched");
    g_script.position = 65900;
    RefreshSoundDisplay(panel, FALSE);
    EXPECT_EQ("untouched", TextOf(IDC_TRACK)) << "the same second is not written again";
    TakeMciTrace();

    Press(IDC_FORWARD);
    EXPECT_EQ(kMode + " | STOP#7 0x0 null | " + kPosition + " | SEEK#7 0xa to=0x00010554 | " + kPosition,
              TakeMciTrace()) << "one second on";
    EXPECT_EQ("untouched", TextOf(IDC_TRACK)) << "only the read-out is refreshed, and not forced";
    g_script.position = 66900;
    Press(IDC_FORWARD);
    EXPECT_EQ("01:06 Sound 01", TextOf(IDC_TRACK));
}

TEST_F(SoundPanelTest, EndOfPlayGoesOnClosesAfterTheLastOrLoops)
{
    AddEntries({"C:\\waves\\one.wav", "C:\\waves\\two.wav"});
    Press(IDC_PLAY);
    TakeMciTrace();
    Notify(MCI_NOTIFY_ABORTED);
    Notify(MCI_NOTIFY_SUCCESSFUL, 9);
    EXPECT_EQ("", TakeMciTrace()) << "aborted and stale notices are ignored";

    Notify(MCI_NOTIFY_SUCCESSFUL);
    EXPECT_EQ(kMode + " | STOP#7 0x0 null | WAIT 100 | CLOSE#7 0x2 cb=0 | " + OpenFile("C:\\waves\\two.wav") + " | " +
                  kMode + " | PLAY#7 0x1 cb=sound",
              TakeMciTrace())
        << "the next file plays; the finished one rests before its close";
    EXPECT_EQ("two.wav", TextOf(IDC_DISPLAY));

    Notify(MCI_NOTIFY_SUCCESSFUL);
    EXPECT_EQ("STOP#7 0x0 null | WAIT 100 | CLOSE#7 0x2 cb=0", TakeMciTrace()) << "after the last: closed";
    EXPECT_EQ(0u, sound.deviceId);
    EXPECT_EQ(0, sound.playlist.current);
    EXPECT_EQ("one.wav", TextOf(IDC_DISPLAY));

    sound.flags |= MDF_LOOP;
    sound.playlist.current = 1;
    Press(IDC_PLAY);
    TakeMciTrace();
    Notify(MCI_NOTIFY_SUCCESSFUL);
    EXPECT_EQ(kMode + " | STOP#7 0x0 null | WAIT 100 | CLOSE#7 0x2 cb=0 | " + OpenFile("C:\\waves\\one.wav") + " | " +
                  kMode + " | PLAY#7 0x1 cb=sound",
              TakeMciTrace())
        << "looping: from the last back to the first";
    EXPECT_EQ(0, sound.playlist.current);
}

TEST_F(SoundPanelTest, RecordWhilePlayingClosesTheFileAndRecordsInTheChosenFormat)
{
    AddEntries({"C:\\waves\\one.wav"});
    Press(IDC_PLAY);
    TakeMciTrace();
    Press(IDC_RECORD);
    EXPECT_EQ(kStopSeek + " | WAIT 100 | CLOSE#7 0x2 cb=0 | " + kOpenNew + " | " + kRow10 + " | " + kRecord,
              TakeMciTrace());
    EXPECT_EQ(Boxes{}, TakeMessageBoxes());
    EXPECT_EQ(static_cast<DWORD>(MDF_OPEN | MDF_NEWRECORDING), sound.flags);
    EXPECT_EQ(PLAYSTATE_PLAYING, State());
    EXPECT_EQ("00000000", Enabled()) << "every button but Stop is locked";
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(panel, IDC_STOP)));
    EXPECT_TRUE(IsWindowEnabled(panel));
    EXPECT_EQ("Recording ...", TextOf(IDC_DISPLAY));
    EXPECT_EQ("00:00 Record 01", TextOf(IDC_TRACK));
    EXPECT_EQ(0, sound.playlist.current) << "the current entry stays current";

    g_script.position = 7400;
    RefreshSoundDisplay(panel, FALSE);
    EXPECT_EQ("00:07 Record 01", TextOf(IDC_TRACK)) << "the read-out counts the recording";
}

TEST_F(SoundPanelTest, TheFormatFollowsWavefmtAndARowOutsideTheTableRecordsTheDefault)
{
    g_app.settings.Wavefmt = 16;
    Press(IDC_RECORD);
    EXPECT_EQ(kOpenNew + " | SET#7 0x3f0000 tag=1 channels=2 rate=48000 bytes=192000 align=4 bits=16 | " + kRecord,
              TakeMciTrace());
    Press(IDC_STOP);
    Review(IDCANCEL);
    TakeMciTrace();

    g_app.settings.Wavefmt = 0;
    Press(IDC_RECORD);
    EXPECT_EQ(kOpenNew + " | SET#7 0x3f0000 tag=1 channels=1 rate=8000 bytes=8000 align=1 bits=8 | " + kRecord,
              TakeMciTrace());
    Press(IDC_STOP);
    Review(IDCANCEL);
    TakeMciTrace();

    g_app.settings.Wavefmt = 17;
    Press(IDC_RECORD);
    EXPECT_EQ(kOpenNew + " | " + kRow10 + " | " + kRecord, TakeMciTrace()) << "Wavefmt 17 names no row";
}

TEST_F(SoundPanelTest, AFormatThatIsRefusedIsShownAndRecordingGoesOn)
{
    g_script.waveFormatError = MCIERR_OUTOFRANGE;
    Press(IDC_RECORD);
    EXPECT_EQ(kOpenNew + " | " + kRow10 + " | " + kRecord, TakeMciTrace());
    EXPECT_EQ(Boxes{"Velutra|MCI error 282|none"}, TakeMessageBoxes());
    EXPECT_EQ(PLAYSTATE_PLAYING, State());
}

TEST_F(SoundPanelTest, ARecordThatFailsEndsTheRecordingAgainWithoutReview)
{
    AddEntries({"C:\\waves\\one.wav"});
    g_script.recordError = MCIERR_WAVE_INPUTSINUSE;
    Press(IDC_RECORD);
    EXPECT_EQ(kOpenNew + " | " + kRow10 + " | " + kRecord + " | STOP#7 0x0 null | WAIT 100 | CLOSE#7 0x2 cb=0",
              TakeMciTrace())
        << "Recordend closes the device; the Stop after it finds nothing to stop";
    EXPECT_EQ(Boxes{"Velutra|MCI error " + std::to_string(MCIERR_WAVE_INPUTSINUSE) + "|none"}, TakeMessageBoxes());
    EXPECT_EQ(nullptr, g_app.RecordReview) << "no review";
    EXPECT_EQ(0u, sound.flags);
    EXPECT_EQ("11111111", Enabled());
    EXPECT_TRUE(IsWindowEnabled(panel));
    EXPECT_EQ("one.wav", TextOf(IDC_DISPLAY));
    EXPECT_EQ("00:00 Sound 01", TextOf(IDC_TRACK));
}

TEST_F(SoundPanelTest, ARecorderThatCannotOpenStaysInRecordingAndReviewsNothing)
{
    g_script.openError = MCIERR_WAVE_INPUTSUNSUITABLE;
    Press(IDC_RECORD);
    EXPECT_EQ("OPEN#0 0x2202 type=waveaudio element=\"\"", TakeMciTrace());
    EXPECT_EQ(Boxes{"Velutra|Device is not available.|hand"}, TakeMessageBoxes());
    EXPECT_EQ(static_cast<DWORD>(MDF_NEWRECORDING), sound.flags);
    EXPECT_EQ("00000000", Enabled());

    Press(IDC_STOP);
    EXPECT_EQ("", TakeMciTrace()) << "nothing to stop and nothing to keep";
    ASSERT_TRUE(g_app.RecordReview) << "Stop opens the review all the same";
    EXPECT_TRUE(ReviewFiles().empty());

    std::string folder = ScratchDirectory("unopened");
    ASSERT_TRUE(SaveAs(folder + "nothing.wav"));
    EXPECT_EQ("SAVE#0 0x102 file=\"" + folder + "nothing.wav\"", TakeMciTrace());
    EXPECT_EQ(Boxes{"Velutra|MCI error " + std::to_string(MCIERR_INVALID_DEVICE_ID) + "|none"}, TakeMessageBoxes());
    EXPECT_TRUE(IsWindow(g_app.RecordReview)) << "nothing was saved: the review stays";
    EXPECT_EQ(0, sound.playlist.count) << "and nothing is listed";
    Review(IDCANCEL);
    EXPECT_EQ(nullptr, g_app.RecordReview);
    EXPECT_EQ(0u, sound.flags);
}

TEST_F(SoundPanelTest, StopKeepsTheRecordingForReviewAndLocksThePanel)
{
    AddEntries({"C:\\waves\\one.wav"});
    Press(IDC_RECORD);
    TakeMciTrace();
    Press(IDC_STOP);
    std::vector<std::string> files = ReviewFiles();
    ASSERT_EQ(1u, files.size()) << "one review file in " << TempFolder();
    EXPECT_EQ(kStopSeek + " | WAIT 100 | SAVE#7 0x102 file=\"" + files[0] + "\" | SEEK#7 0xa to=0x00000000 | " +
                  kPosition,
              TakeMciTrace())
        << "the stopped recording rests, then goes into its review file";
    EXPECT_EQ(PLAYSTATE_STOPPED, State());

    HWND review = g_app.RecordReview;
    ASSERT_TRUE(review);
    EXPECT_TRUE(IsWindowVisible(review));
    EXPECT_EQ(g_app.mainWindow, GetWindow(review, GW_OWNER)) << "owned through the panel by its top window";
    char caption[64] = {};
    GetWindowTextA(review, caption, sizeof caption);
    EXPECT_STREQ("Velutra Record", caption);
    auto textOf = [review](int id) {
        char text[256] = {};
        GetDlgItemTextA(review, id, text, sizeof text);
        return std::string(text);
    };
    EXPECT_EQ("&Play/Stop", textOf(IDC_PLAYSTOP));
    EXPECT_EQ("&Save", textOf(IDOK));
    EXPECT_EQ("&Quit", textOf(IDCANCEL));
    EXPECT_EQ(GetDlgItem(review, IDC_PLAYSTOP), GetFocus()) << "the first tab stop has the focus";
    HWND note = GetWindow(GetDlgItem(review, IDCANCEL), GW_HWNDNEXT);
    char text[256] = {};
    GetWindowTextA(note, text, sizeof text);
    EXPECT_STREQ("Press button &Play/Stop to hear what you recorded.\n\nAfter playing, click button &Save to save "
                 "your recording or press button &Quit to quit recording.",
                 text);
    HWND icon = GetWindow(note, GW_HWNDNEXT);
    EXPECT_TRUE(icon && SendMessageA(icon, STM_GETICON, 0, 0)) << "the program's icon";
    RECT units{0, 0, 198, 77}, client{};
    MapDialogRect(review, &units);
    GetClientRect(review, &client);
    EXPECT_EQ(units.right, client.right);
    EXPECT_EQ(units.bottom, client.bottom);
    EXPECT_FALSE(IsWindowEnabled(panel)) << "the whole panel is locked during the review";
    EXPECT_EQ("Recording ...", TextOf(IDC_DISPLAY));
    EXPECT_EQ("00:00 Record 01", TextOf(IDC_TRACK));
    EXPECT_EQ(static_cast<DWORD>(MDF_OPEN | MDF_NEWRECORDING), sound.flags);
}

TEST_F(SoundPanelTest, ReviewPlaysFromTheStartStopsAndRewindsAndSeeksBackAtTheEnd)
{
    std::string file = RecordAndStop();
    Review(IDC_PLAYSTOP);
    EXPECT_EQ(kMode + " | " + kMode + " | PLAY#7 0x1 cb=sound", TakeMciTrace()) << "the notice goes to the panel";

    g_script.mode = MCI_MODE_PLAY;
    Review(IDC_PLAYSTOP);
    EXPECT_EQ(kMode + " | " + kStopSeek, TakeMciTrace()) << "pressed while playing: stop and rewind";

    g_script.mode = MCI_MODE_STOP;
    Review(IDC_PLAYSTOP);
    TakeMciTrace();
    Notify(MCI_NOTIFY_SUCCESSFUL);
    EXPECT_EQ("SEEK#7 0xa to=0x00000000", TakeMciTrace()) << "played to its end: back to the start, nothing else";
    EXPECT_TRUE(IsWindow(g_app.RecordReview));
    g_script.position = 0;
    RefreshSoundDisplay(panel, TRUE);
    EXPECT_EQ("00:00 Record 01", TextOf(IDC_TRACK));
    TakeMciTrace();

    Review(IDC_PLAYSTOP);
    EXPECT_EQ(kMode + " | " + kMode + " | SEEK#7 0xa to=0x00000000 | PLAY#7 0x1 cb=sound", TakeMciTrace())
        << "it plays again from the start";
}

TEST_F(SoundPanelTest, QuitDropsTheRecordingAndGivesThePanelBack)
{
    AddEntries({"C:\\waves\\one.wav", "C:\\waves\\two.wav"});
    sound.playlist.current = 1;
    std::string file = RecordAndStop();
    HWND review = g_app.RecordReview;
    g_script.clock += 5000;  // the user listened for a while: no rest is left to take
    Review(IDCANCEL);
    EXPECT_EQ(kStopSeek + " | CLOSE#7 0x2 cb=0", TakeMciTrace());
    EXPECT_FALSE(IsWindow(review)) << "Recordend destroyed the review";
    EXPECT_EQ(nullptr, g_app.RecordReview);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(file.c_str())) << "the review file is gone";
    EXPECT_EQ(0u, sound.flags);
    EXPECT_EQ(0u, sound.deviceId);
    EXPECT_TRUE(IsWindowEnabled(panel));
    EXPECT_EQ("11111111", Enabled());
    EXPECT_EQ("two.wav", TextOf(IDC_DISPLAY));
    EXPECT_EQ("00:00 Sound 02", TextOf(IDC_TRACK)) << "the word changes back at once";
    EXPECT_EQ((std::vector<std::string>{"C:\\waves\\one.wav", "C:\\waves\\two.wav"}), Entries());
}

TEST_F(SoundPanelTest, TheCloseBoxEscAndEnterWorkThroughTheDialogManager)
{
    RecordAndStop();
    HWND review = g_app.RecordReview;
    HWND playStop = GetDlgItem(review, IDC_PLAYSTOP);
    ASSERT_TRUE(playStop);
    EXPECT_TRUE(GetWindowLongA(playStop, GWL_STYLE) & BS_DEFPUSHBUTTON) << "Play/Stop is the default button";
    EXPECT_EQ(IDC_PLAYSTOP, LOWORD(SendMessageA(review, DM_GETDEFID, 0, 0)));

    MSG enter{playStop, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    EXPECT_TRUE(IsDialogMessageA(review, &enter));
    EXPECT_EQ(kMode + " | " + kMode + " | PLAY#7 0x1 cb=sound", TakeMciTrace()) << "Enter plays";

    g_script.mode = MCI_MODE_STOP;
    MSG escape{playStop, WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    EXPECT_TRUE(IsDialogMessageA(review, &escape));
    EXPECT_FALSE(IsWindow(review)) << "Esc quits";
    EXPECT_EQ(0u, sound.flags);

    RecordAndStop();
    review = g_app.RecordReview;
    SendMessageA(review, WM_CLOSE, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(review); })) << "the close box quits";
    EXPECT_EQ(0u, sound.flags);
    EXPECT_TRUE(ReviewFiles().empty());
}

TEST_F(SoundPanelTest, SaveWritesTheChosenNameAndAppendsItAsTheLastEntry)
{
    AddEntries({"C:\\waves\\one.wav"});
    std::string folder = ScratchDirectory("save");
    std::string file = RecordAndStop();
    HWND review = g_app.RecordReview;
    g_script.clock += 5000;
    ASSERT_TRUE(SaveAs(folder + "take one"));
    EXPECT_EQ(kStopSeek + " | SAVE#7 0x102 file=\"" + folder + "take one\" | WAIT 100 | CLOSE#7 0x2 cb=0",
              TakeMciTrace())
        << "the name as typed, no extension added; the saved device rests before its close";
    EXPECT_EQ(Boxes{}, TakeMessageBoxes());
    EXPECT_FALSE(IsWindow(review));
    EXPECT_EQ((std::vector<std::string>{"C:\\waves\\one.wav", folder + "take one"}), Entries());
    PlaylistEntry last;
    ReadPlaylistNode(FindPlaylistNode(&sound.playlist, 1), &last);
    EXPECT_EQ(2, last.number);
    EXPECT_EQ(0, sound.playlist.current) << "the current entry does not change";
    EXPECT_EQ("one.wav", TextOf(IDC_DISPLAY));
    EXPECT_EQ("00:00 Sound 01", TextOf(IDC_TRACK));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(file.c_str())) << "the review file is gone";

    RecordAndStop();
    ASSERT_TRUE(SaveAs(folder + "take two.wav"));
    EXPECT_EQ((std::vector<std::string>{"C:\\waves\\one.wav", folder + "take one", folder + "take two.wav"}),
              Entries())
        << "two recordings stand at the end in the order saved";
}

TEST_F(SoundPanelTest, ACancelledSaveAsDropsTheRecording)
{
    AddEntries({"C:\\waves\\one.wav"});
    std::string file = RecordAndStop();
    ASSERT_TRUE(SaveAs(""));
    EXPECT_EQ(kStopSeek + " | WAIT 100 | CLOSE#7 0x2 cb=0", TakeMciTrace()) << "no save";
    EXPECT_EQ(nullptr, g_app.RecordReview);
    EXPECT_EQ(1, sound.playlist.count);
    EXPECT_EQ(0u, sound.flags);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(file.c_str()));
}

TEST_F(SoundPanelTest, AFailedSaveKeepsTheReviewAndTheRecordingAndListsNothing)
{
    AddEntries({"C:\\waves\\one.wav"});
    std::string folder = ScratchDirectory("failed");
    std::string file = RecordAndStop();
    HWND review = g_app.RecordReview;
    g_script.clock += 5000;
    g_script.saveError = MCIERR_FILE_NOT_SAVED;
    ASSERT_TRUE(SaveAs(folder + "bad.wav"));
    EXPECT_EQ(kStopSeek + " | SAVE#7 0x102 file=\"" + folder + "bad.wav\" | WAIT 100 | CLOSE#7 0x2 cb=0 | " +
                  OpenFile(file),
              TakeMciTrace())
        << "the device opens the recording again from its review file";
    EXPECT_EQ(Boxes{"Velutra|MCI error 286|none"}, TakeMessageBoxes()) << "MCI's own error";
    EXPECT_TRUE(IsWindow(review)) << "the review stays open";
    EXPECT_EQ(1, sound.playlist.count) << "nothing is listed";
    EXPECT_EQ(static_cast<DWORD>(MDF_OPEN | MDF_NEWRECORDING), sound.flags);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(file.c_str())) << "the review file is kept";
    EXPECT_FALSE(IsWindowEnabled(panel));

    Review(IDC_PLAYSTOP);
    EXPECT_EQ(kMode + " | " + kMode + " | PLAY#7 0x1 cb=sound", TakeMciTrace()) << "it still plays";

    g_script.saveError = 0;
    ASSERT_TRUE(SaveAs(folder + "good.wav"));
    EXPECT_EQ(kStopSeek + " | WAIT 100 | SAVE#7 0x102 file=\"" + folder + "good.wav\" | WAIT 100 | CLOSE#7 0x2 cb=0",
              TakeMciTrace());
    EXPECT_FALSE(IsWindow(review));
    EXPECT_EQ((std::vector<std::string>{"C:\\waves\\one.wav", folder + "good.wav"}), Entries());
}

TEST_F(SoundPanelTest, APathLongerThanAnEntryIsRefusedNeverCut)
{
    // A folder of 230-odd characters and a name that takes the path past 255.
    std::string folder = ScratchDirectory("long");
    while (folder.size() < 200) {
        folder += std::string(40, 'd') + "\\";
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    std::string name = folder + std::string(256 - folder.size(), 'n');
    ASSERT_EQ(256u, name.size());
    std::string fits = folder + std::string(255 - folder.size(), 'f');

    AddEntries({"C:\\waves\\one.wav"});
    RecordAndStop();
    HWND review = g_app.RecordReview;
    ASSERT_TRUE(SaveAs(name));
    EXPECT_EQ(kStopSeek, TakeMciTrace()) << "nothing is saved";
    Boxes boxes = TakeMessageBoxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(0u, boxes[0].rfind("Velutra|", 0)) << boxes[0];
    EXPECT_GT(boxes[0].size(), std::string("Velutra||none").size()) << "the box says why";
    EXPECT_TRUE(IsWindow(review));
    EXPECT_EQ(1, sound.playlist.count);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(name.c_str()));

    ASSERT_TRUE(SaveAs(fits));
    EXPECT_EQ((std::vector<std::string>{"C:\\waves\\one.wav", fits}), Entries()) << "255 characters fit";
    EXPECT_FALSE(IsWindow(review));
}

TEST_F(SoundPanelTest, SavingOntoTheReviewFileItselfIsRefused)
{
    std::string file = RecordAndStop();
    ASSERT_TRUE(SaveAs(file));
    EXPECT_EQ(kStopSeek, TakeMciTrace()) << "the overwrite question was answered, but nothing is sent";
    EXPECT_EQ(Boxes{"Velutra|MCI error 286|none"}, TakeMessageBoxes());
    EXPECT_TRUE(IsWindow(g_app.RecordReview));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(file.c_str()));
}

TEST_F(SoundPanelTest, IdsThatNameNoCommandDoNothing)
{
    RecordAndStop();
    Review(IDCANCEL);
    TakeMciTrace();
    for (UINT id : {static_cast<UINT>(IDOK), static_cast<UINT>(IDCANCEL), 4242u}) Press(id);
    EXPECT_EQ("", TakeMciTrace()) << "ids that name no command do nothing";
}

}  // namespace
