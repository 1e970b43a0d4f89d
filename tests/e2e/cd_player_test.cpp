// The CD player end to end: the real program under Wine, its CD panel driven by window messages,
// playing a virtual CD drive whose disc each test describes and whose command log it reads.
#include "tests/e2e/driver.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "resources/resource.h"

namespace {

using e2e::WaitUntil;

// The virtual drive reads its disc from the file named by VCD_DISC and logs to the one named by
// VCD_LOG; the program inherits both from the test.
class CdPlayerTest : public e2e::VelutraTest {
protected:
    void SetUp() override
    {
        e2e::VelutraTest::SetUp();
        std::optional<std::string> driver = e2e::ReadRegistryString(
            HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows NT\\CurrentVersion\\MCI", "cdaudio");
        ASSERT_TRUE(driver.has_value()) << "the rig has not registered the virtual CD drive";
        ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(driver->c_str())) << "no virtual drive at " << *driver;
        discPath = copy.folder + "\\disc.txt";
        logPath = copy.folder + "\\vcd.log";
        SetEnvironmentVariableA("VCD_DISC", discPath.c_str());
        SetEnvironmentVariableA("VCD_LOG", logPath.c_str());
    }

    void TearDown() override
    {
        e2e::VelutraTest::TearDown();
        SetEnvironmentVariableA("VCD_DISC", nullptr);
        SetEnvironmentVariableA("VCD_LOG", nullptr);
    }

    void Disc(const std::string& description)
    {
        std::ofstream(discPath, std::ios::binary | std::ios::trunc) << description;
    }

    void Launch(const std::string& words = "")
    {
        mainWindow = StartAndWait(words);
        ASSERT_TRUE(mainWindow);
        panel = e2e::FindPanel(mainWindow, e2e::Panel::Cd);
        ASSERT_TRUE(panel) << "no CD panel";
        pid = programs.back().pid;
    }

    // A press whose handling shows no modal window: handled when this returns.
    void Press(int id) { e2e::Press(panel, id); }
    // A press that may show a message box.
    void PostPress(int id) { e2e::PostPress(panel, id); }

    std::string TextOf(int id) { return e2e::WindowText(GetDlgItem(panel, id)); }

    bool ReadoutBecomes(const std::string& text) { return WaitUntil([&] { return TextOf(IDC_TRACK) == text; }); }

    bool ReadoutShows(const std::string& part)
    {
        return WaitUntil([&] { return TextOf(IDC_TRACK).find(part) != std::string::npos; });
    }

    // Waits for the program's next message box, answers OK and gives its text.
    std::string TakeBox()
    {
        HWND box = e2e::WaitForMessageBox(pid);
        if (!box) return "(no message box)";
        std::string text = e2e::MessageBoxText(box);
        e2e::PressMessageBoxButton(box, IDOK);
        return text;
    }

    bool NoBox() { return e2e::WaitForMessageBox(pid, 0) == nullptr; }

    // CDPlayList with a listed disc runs the CD Playlist dialog, which is cancelled as soon as it
    // shows; gives the Display line that the panel sets afterwards.
    std::string PressPlaylist()
    {
        SetWindowTextA(GetDlgItem(panel, IDC_DISPLAY), "");
        PostPress(IDC_PLAYLIST);
        WaitUntil([&] {
            // The dialog's owner is the main window, the panel's top-level ancestor.
            if (HWND dialog = FindWindowA("#32770", "CD Playlist")) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            return !TextOf(IDC_DISPLAY).empty();
        });
        return TextOf(IDC_DISPLAY);
    }

    std::vector<std::string> LogLines()
    {
        std::ifstream file(logPath, std::ios::binary);
        std::vector<std::string> lines;
        for (std::string line; std::getline(file, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
        }
        return lines;
    }

    // Index of the first log line at or after `from` that starts with the pattern's first word and
    // holds each of its other words; -1 when there is none.
    int FindLog(const std::string& pattern, int from = 0)
    {
        std::vector<std::string> words;
        std::istringstream split(pattern);
        for (std::string word; split >> word;) words.push_back(word);
        std::vector<std::string> lines = LogLines();
        for (int i = std::max(from, 0); i < static_cast<int>(lines.size()); ++i) {
            const std::string& line = lines[static_cast<size_t>(i)];
            bool match = !words.empty() && line.rfind(words[0], 0) == 0;
            for (size_t w = 1; match && w < words.size(); ++w) match = line.find(words[w]) != std::string::npos;
            if (match) return i;
        }
        return -1;
    }

    bool LogShows(const std::string& pattern, int from = 0)
    {
        return WaitUntil([&] { return FindLog(pattern, from) >= 0; });
    }

    int LogSize() { return static_cast<int>(LogLines().size()); }

    std::string discPath, logPath;
    HWND mainWindow = nullptr;
    HWND panel = nullptr;
    DWORD pid = 0;
};

const char kNoDisc[] = "There is no CD-ROM in the player.";
const char kNotAudio[] = "The inserted CD-ROM is not an audio CD.";

TEST_F(CdPlayerTest, CdStartPlaysTheDiscAtOnce)
{
    Disc("disc=audio\ntracks=60,60\nspeed=1\n");
    Launch("CD");
    EXPECT_TRUE(LogShows("MCI_PLAY flags=0x00000001")) << "a CD start plays";
    EXPECT_TRUE(ReadoutBecomes("00:01 Track 01")) << TextOf(IDC_TRACK);
    EXPECT_TRUE(NoBox());
}

TEST_F(CdPlayerTest, CdStartWithoutADiscSaysSo)
{
    Disc("disc=none\n");
    Launch("cd");
    EXPECT_EQ(kNoDisc, TakeBox());
    EXPECT_EQ(-1, FindLog("MCI_PLAY"));
}

TEST_F(CdPlayerTest, WithoutADiscEveryDiscCommandSaysSoAgain)
{
    Disc("disc=none\n");
    Launch();
    for (int id : {IDC_NEXT, IDC_BACK, IDC_FORWARD, IDC_REWIND, IDC_PLAY, IDC_PLAYLIST}) {
        PostPress(id);
        EXPECT_EQ(kNoDisc, TakeBox()) << "control " << id;
    }
    Press(IDC_STOP);
    Press(IDC_PAUSE);
    EXPECT_TRUE(NoBox()) << "Stop and Pause show nothing";
    EXPECT_EQ("EMPTY", TextOf(IDC_DISPLAY));
}

TEST_F(CdPlayerTest, DataDiscIsNotAnAudioCd)
{
    Disc("disc=data\ntracks=300\n");
    Launch();
    PostPress(IDC_PLAY);
    EXPECT_EQ(kNotAudio, TakeBox());
    EXPECT_EQ(-1, FindLog("MCI_PLAY"));
}

TEST_F(CdPlayerTest, NextAndBackWrapAroundTheDisc)
{
    Disc("disc=audio\ntracks=60,60,60\nspeed=1\n");
    Launch();
    Press(IDC_PLAY);
    ASSERT_TRUE(LogShows("MCI_PLAY flags=0x00000001"));
    Press(IDC_BACK);
    EXPECT_TRUE(LogShows("MCI_SEEK flags=0x0000000a to=0x00000003")) << "back on track 1 goes to the last";
    EXPECT_TRUE(ReadoutBecomes("00:01 Track 03")) << "and plays on there: " << TextOf(IDC_TRACK);
    Press(IDC_NEXT);
    EXPECT_TRUE(LogShows("MCI_SEEK flags=0x0000000a to=0x00000001")) << "next on the last goes to track 1";
    EXPECT_TRUE(ReadoutBecomes("00:01 Track 01")) << TextOf(IDC_TRACK);
}

TEST_F(CdPlayerTest, PauseResumeStopAndSkips)
{
    Disc("disc=audio\ntracks=200,60\nspeed=1\n");
    Launch();
    Press(IDC_PLAY);
    ASSERT_TRUE(ReadoutBecomes("00:01 Track 01")) << TextOf(IDC_TRACK);
    Press(IDC_PAUSE);
    int paused = FindLog("MCI_PAUSE flags=0x00000000");
    ASSERT_GE(paused, 0);
    std::string held = TextOf(IDC_TRACK);
    Sleep(1500);
    EXPECT_EQ(held, TextOf(IDC_TRACK)) << "a paused disc stands still";
    Press(IDC_PAUSE);
    EXPECT_GE(FindLog("MCI_PLAY flags=0x00000000", paused), 0) << "resumed with a plain play";
    EXPECT_TRUE(ReadoutBecomes("00:03 Track 01")) << TextOf(IDC_TRACK);

    Press(IDC_STOP);
    int stopped = FindLog("MCI_STOP", paused);
    EXPECT_GE(FindLog("MCI_SEEK flags=0x0000000a to=0x00000001", stopped), 0) << "stop goes to the track's start";
    EXPECT_TRUE(ReadoutBecomes("00:00 Track 01")) << TextOf(IDC_TRACK);

    Press(IDC_FORWARD);
    int forward = FindLog("MCI_SEEK flags=0x0000000a to=0x000a0001", stopped);
    EXPECT_GE(forward, 0) << "ten seconds on";
    EXPECT_TRUE(ReadoutBecomes("00:10 Track 01")) << "and still stopped: " << TextOf(IDC_TRACK);
    Press(IDC_REWIND);
    EXPECT_GE(FindLog("MCI_SEEK flags=0x0000000a to=0x00000001", forward), 0) << "ten seconds back";
    EXPECT_TRUE(ReadoutBecomes("00:00 Track 01")) << TextOf(IDC_TRACK);
    EXPECT_EQ(-1, FindLog("MCI_PLAY", stopped)) << "skips while stopped do not start playing";
}

TEST_F(CdPlayerTest, ReadoutFollowsTheDiscToItsEndAndBackToTrackOne)
{
    Disc("disc=audio\ntracks=4,4\nspeed=2\n");
    Launch();
    Press(IDC_PLAY);
    EXPECT_TRUE(ReadoutShows("Track 02")) << "the read-out follows into track 2: " << TextOf(IDC_TRACK);
    ASSERT_TRUE(LogShows("NOTIFY status=1")) << "the end-of-play notice";
    EXPECT_TRUE(ReadoutBecomes("00:00 Track 01")) << TextOf(IDC_TRACK);
    int end = FindLog("NOTIFY status=1");
    EXPECT_GE(FindLog("MCI_SEEK flags=0x0000000a to=0x00000001", end), 0) << "back to track 1";
    Sleep(1200);
    EXPECT_EQ(-1, FindLog("MCI_PLAY", end)) << "nothing starts again";
    EXPECT_EQ("00:00 Track 01", TextOf(IDC_TRACK));

    EXPECT_EQ("Track 1", PressPlaylist()) << "the current index is back at 0";
}

TEST_F(CdPlayerTest, APausedAndResumedDiscBringsNoEndNotice)
{
    Disc("disc=audio\ntracks=4,4\nspeed=2\n");
    Launch();
    Press(IDC_PLAY);
    ASSERT_TRUE(LogShows("MCI_PLAY flags=0x00000001"));
    Press(IDC_PAUSE);
    Press(IDC_PAUSE);
    ASSERT_GE(FindLog("MCI_PLAY flags=0x00000000"), 0);
    ASSERT_TRUE(LogShows("END "));
    Sleep(1200);
    EXPECT_EQ(-1, FindLog("NOTIFY status=1"));
    EXPECT_EQ("00:04 Track 02", TextOf(IDC_TRACK)) << "the read-out keeps the last track";

    int before = LogSize();
    Press(IDC_PLAY);
    int seek = -1;
    EXPECT_TRUE(WaitUntil([&] { return (seek = FindLog("MCI_SEEK flags=0x0000000a to=0x00000001", before)) >= 0; }))
        << "the next Play starts again from track 1";
    EXPECT_GE(FindLog("MCI_PLAY flags=0x00000001", seek), 0);
}

TEST_F(CdPlayerTest, EjectOpensTheDoorAndClosesItAgain)
{
    Disc("disc=audio\ntracks=60,60\nspeed=1\nspinup=1500\n");
    Launch();
    Press(IDC_PLAY);
    ASSERT_TRUE(LogShows("MCI_PLAY flags=0x00000001"));
    Press(IDC_EJECT);
    int open = -1;
    ASSERT_TRUE(WaitUntil([&] { return (open = FindLog("DOOR open")) >= 0; }));
    int stop = FindLog("MCI_STOP");
    EXPECT_TRUE(stop >= 0 && stop < open) << "the disc stops before the door opens";
    EXPECT_TRUE(LogShows("MCI_CLOSE_DRIVER", open)) << "and the device closes";
    EXPECT_TRUE(NoBox());

    PostPress(IDC_EJECT);
    EXPECT_TRUE(LogShows("DOOR closed", open));
    EXPECT_EQ(kNoDisc, TakeBox()) << "checked at once: the drive is not ready yet";

    Sleep(2000);
    Press(IDC_PLAY);
    EXPECT_TRUE(LogShows("MCI_PLAY flags=0x00000001", open)) << "ready after spinning up";
}

TEST_F(CdPlayerTest, HidingThePanelStopsAndClosesAPlayingDisc)
{
    Disc("disc=audio\ntracks=60,60\nspeed=1\n");
    Launch();
    Press(IDC_PLAY);
    int play = -1;
    ASSERT_TRUE(WaitUntil([&] { return (play = FindLog("MCI_PLAY flags=0x00000001")) >= 0; }));
    e2e::SendCommand(mainWindow, IDM_CDPLAYER);
    int stop = -1;
    EXPECT_TRUE(WaitUntil([&] { return (stop = FindLog("MCI_STOP", play)) >= 0; }));
    EXPECT_GE(FindLog("MCI_CLOSE_DRIVER", stop), 0);
    EXPECT_FALSE(IsWindowVisible(panel));
}

TEST_F(CdPlayerTest, SecondStartWithCdPlaysInTheRunningCopyEvenWithThePanelHidden)
{
    Disc("disc=audio\ntracks=60,60\nspeed=1\n");
    Launch();
    e2e::SendCommand(mainWindow, IDM_CDPLAYER);
    ASSERT_FALSE(e2e::HasVisibleStyle(panel));
    e2e::Program second = Start("CD");
    EXPECT_EQ(0u, e2e::WaitForExit(second).value_or(STILL_ACTIVE)) << "the second copy hands over and ends";
    EXPECT_TRUE(LogShows("MCI_PLAY flags=0x00000001")) << "the running copy plays";
    EXPECT_TRUE(NoBox());
}

}  // namespace
