// The MIDI player's journey: one start of the real program, its MIDI panel and "MIDI Playlist"
// editor worked as a user would, playing through the virtual sequencer, whose clock speed the
// journey sets and whose log of commands it reads.
#include "tests/drivers/sequencer/smf_builder.h"
#include "tests/e2e/journey.h"

namespace {

const char kMciKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\MCI";
const char kSequencerKey[] = "Software\\Velutra Tests\\Sequencer";
const char kClear[] = "Do you want to clear the playlist?";

// Sets a registry value, or deletes it when `data` is null.
void SetValue(HKEY root, const char* key, const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY opened = nullptr;
    RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &opened, nullptr);
    if (data) RegSetValueExA(opened, name, 0, type, static_cast<const BYTE*>(data), size);
    else RegDeleteValueA(opened, name);
    RegCloseKey(opened);
}

// The sequencer's clock in percent of real time, read as it opens or starts playing.
void Speed(DWORD percent)
{
    SetValue(HKEY_CURRENT_USER, kSequencerKey, "Speed", REG_DWORD, &percent, sizeof percent);
}

class MidiJourney : public journey::Journey {
protected:
    void TearDown() override
    {
        journey::Journey::TearDown();
        SetValue(HKEY_LOCAL_MACHINE, kMciKey, "sequencer", REG_SZ, nullptr, 0);
        Speed(100);
    }
    void Song(const std::string& name, const Bytes& data)
    {
        std::ofstream(copy.folder + "\\" + name, std::ios::binary)
            .write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    }
    // The commands from line `from` of the log on, less the status queries the read-out sends.
    std::vector<std::string> Log(int from)
    {
        std::vector<std::string> lines = journey::LogLines(log), commands;
        for (size_t i = from; i < lines.size(); ++i)
            if (lines[i].rfind("status ", 0) != 0) commands.push_back(lines[i]);
        return commands;
    }
    // The names of the files opened from line `from` on, each followed by a blank.
    std::string Opened(int from)
    {
        std::string names;
        for (const std::string& line : Log(from))
            if (line.rfind("open ", 0) == 0) names += line.substr(line.rfind('\\') + 1, line.find(" length") - line.rfind('\\') - 1) + " ";
        return names;
    }
    int Count(const std::string& start, int from)
    {
        int n = 0;
        for (const std::string& line : Log(from)) n += line.rfind(start, 0) == 0;
        return n;
    }
    int Mark() { return static_cast<int>(journey::LogLines(log).size()); }
    HWND Editor() { return Journey::Editor("MIDI Playlist"); }

    std::string log;
};

TEST_F(MidiJourney, AListPlayedThroughSkippedPausedEditedLoopedAndPoweredOff)
{
    log = copy.folder + "\\vseq.log";
    SetValue(HKEY_CURRENT_USER, kSequencerKey, "Log", REG_SZ, log.c_str(), static_cast<DWORD>(log.size() + 1));
    char driver[MAX_PATH] = {};
    GetFullPathNameA(VSEQ_DLL, MAX_PATH, driver, nullptr);
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(driver)) << "no virtual sequencer at " << driver;
    SetValue(HKEY_LOCAL_MACHINE, kMciKey, "sequencer", REG_SZ, driver, static_cast<DWORD>(strlen(driver) + 1));
    Song("notes.mid", Bytes{'j', 'u', 's', 't', ' ', 't', 'e', 'x', 't'});
    Song("song1.mid", MidiOfLength(3000));
    Song("song2.mid", MidiOfLength(1200));
    Song("song3.mid", MidiOfLength(1000));

    Step("with an empty list Play says so");
    Launch(e2e::Panel::Midi);
    EXPECT_EQ("EMPTY", Text(IDC_DISPLAY));
    EXPECT_EQ("Playlist is empty.", Box(panel, IDC_PLAY));

    Step("a file that is not MIDI is not available, at the editor's OK and at Play");
    HWND editor = Editor();
    ASSERT_TRUE(Add(editor, copy.folder, "\"notes.mid\"", 1));
    EXPECT_EQ("Device is not available.", Box(editor, IDOK));
    EXPECT_EQ("Device is not available.", Box(panel, IDC_PLAY));
    EXPECT_EQ(0, Count("play ", 0));

    Step("Clear asks, and Cancel keeps the list");
    EXPECT_EQ(kClear, Box(editor = Editor(), IDC_CLEAR, IDYES));
    EXPECT_EQ(0, ListCount(editor));
    EXPECT_TRUE(Ends(editor, IDCANCEL));
    EXPECT_EQ(1, ListCount(editor = Editor())) << "Cancel kept the list";

    Step("three songs put in the list play through in order, and after the last the player closes");
    EXPECT_EQ(kClear, Box(editor, IDC_CLEAR, IDYES));
    ASSERT_TRUE(Add(editor, copy.folder, "\"song1.mid\" \"song2.mid\" \"song3.mid\"", 3));
    EXPECT_TRUE(Ends(editor, IDOK));
    EXPECT_TRUE(Shows(IDC_DISPLAY, "song1.mid"));
    Speed(500);
    int mark = Mark();
    Tap(IDC_PLAY);
    EXPECT_TRUE(e2e::WaitUntil([&] { return Count("close", mark) == 3; })) << Count("close", mark);
    EXPECT_EQ("song2.mid song3.mid ", Opened(mark));
    EXPECT_EQ(3, Count("notify successful", mark));
    EXPECT_EQ("close", Log(mark).back());
    EXPECT_TRUE(Shows(IDC_DISPLAY, "song1.mid")) << "the first entry is current again";
    EXPECT_TRUE(Shows(IDC_TRACK, "00:00 Music 01"));

    Step("Back on the first plays the last, Next on the last the first; skips move a second; Stop rewinds");
    Speed(0);
    mark = Mark();
    Tap(IDC_PLAY), Tap(IDC_BACK, "00:00 Music 03"), Tap(IDC_NEXT, "00:00 Music 01");
    EXPECT_EQ(3, Count("play ", mark)) << "a playing player plays on with each entry";
    Tap(IDC_FORWARD), Tap(IDC_FORWARD, "00:02 Music 01"), Tap(IDC_REWIND, "00:01 Music 01");
    Tap(IDC_STOP, "00:00 Music 01");

    Step("Pause, then Pause again plays on to the end, and the next file plays");
    Speed(100);
    Tap(IDC_PLAY, "00:01 Music 01"), Tap(IDC_PAUSE), Tap(IDC_PAUSE, "00:02 Music 01");
    EXPECT_TRUE(Shows(IDC_DISPLAY, "song2.mid")) << "no end notice";
    Tap(IDC_STOP);

    Step("OK with another entry selected moves a playing player, which plays on");
    Speed(0);
    Tap(IDC_PLAY);
    editor = Editor();
    SendDlgItemMessageA(editor, IDC_LIST, LB_SETSEL, TRUE, 2);
    SendDlgItemMessageA(editor, IDC_LIST, LB_SETCARETINDEX, 2, 0);
    mark = Mark();
    EXPECT_TRUE(Ends(editor, IDOK));
    EXPECT_TRUE(Shows(IDC_DISPLAY, "song3.mid"));
    EXPECT_EQ(1, Count("play ", mark));

    Step("an edit stops the player, which rests on the first entry");
    SendDlgItemMessageA(editor = Editor(), IDC_LIST, LB_SETSEL, TRUE, 2);
    PostMessageA(editor, WM_COMMAND, IDC_REMOVE, 0);
    EXPECT_TRUE(e2e::WaitUntil([&] { return ListCount(editor) == 2; }));
    mark = Mark();
    EXPECT_TRUE(Ends(editor, IDOK));
    EXPECT_TRUE(Shows(IDC_DISPLAY, "song1.mid"));
    EXPECT_EQ(0, Count("play ", mark));

    Step("the loop switch counts only through OK; a double-click acts as OK");
    SendDlgItemMessageA(editor = Editor(), IDC_LOOP, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_TRUE(Ends(editor, IDCANCEL));
    EXPECT_EQ(BST_UNCHECKED, SendDlgItemMessageA(editor = Editor(), IDC_LOOP, BM_GETCHECK, 0, 0));
    HWND list = GetDlgItem(editor, IDC_LIST);
    LPARAM at = MAKELPARAM(10, SendMessageA(list, LB_GETITEMHEIGHT, 0, 0) * 3 / 2);
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        PostMessageA(list, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
    EXPECT_TRUE(e2e::WaitUntil([&] { return !IsWindow(editor); })) << "the double-click left the editor open";
    EXPECT_TRUE(Shows(IDC_DISPLAY, "song2.mid"));

    Step("looping plays the list over and over");
    SendDlgItemMessageA(editor = Editor(), IDC_LOOP, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_TRUE(Ends(editor, IDOK));
    Speed(1000);
    mark = Mark();
    Tap(IDC_PLAY);
    EXPECT_TRUE(e2e::WaitUntil([&] { return Opened(mark).size() >= 30; })) << Opened(mark);
    EXPECT_EQ(0u, Opened(mark).find("song1.mid song2.mid song1.mid ")) << Opened(mark);

    Step("with the tray icon on, Power hides the window and stops and closes the sequencer");
    mark = Mark();
    e2e::Press(banner, IDC_POWER);
    EXPECT_FALSE(IsWindowVisible(main));
    std::vector<std::string> last = Log(mark);
    ASSERT_GE(last.size(), 2u);
    EXPECT_EQ("stop at", last[last.size() - 2].substr(0, 7)) << "the sequencer was stopped, then closed";
    EXPECT_EQ("close", last.back());
}

}  // namespace
