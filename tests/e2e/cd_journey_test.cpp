// The CD player's journey: one start of the real program, its CD panel worked as a user would, with
// discs that the virtual drive reads from a file (again as its door closes) and a log of its commands.
#include <algorithm>
#include <sstream>

#include "tests/e2e/journey.h"

namespace {

const char kNoDisc[] = "There is no CD-ROM in the player.", kNotAudio[] = "The inserted CD-ROM is not an audio CD.";
const char kPlay[] = "MCI_PLAY flags=0x00000001", kTrack1[] = "MCI_SEEK flags=0x0000000a to=0x00000001";

class CdJourney : public journey::Journey {
protected:
    void Disc(const char* description) { std::ofstream(copy.folder + "\\disc.txt", std::ios::trunc) << description; }

    // The first log line from line `from` on that starts with the pattern's first word and holds its
    // others, waited for up to `ms`; -1 when none comes (or `from` is -1 itself).
    int Await(const std::string& pattern, int from = 0, DWORD ms = e2e::kWaitMs)
    {
        std::vector<std::string> words;
        std::istringstream split(pattern);
        for (std::string word; split >> word;) words.push_back(word);
        int found = -1;
        e2e::WaitUntil([&] {
            std::vector<std::string> lines = journey::LogLines(copy.folder + "\\vcd.log");
            for (int i = from; found < 0 && i >= 0 && i < static_cast<int>(lines.size()); ++i) {
                bool match = lines[i].rfind(words[0], 0) == 0;
                for (size_t w = 1; match && w < words.size(); ++w) match = lines[i].find(words[w]) != std::string::npos;
                if (match) found = i;
            }
            return found >= 0 || from < 0;
        }, ms);
        return found;
    }
    int Find(const std::string& pattern, int from = 0) { return Await(pattern, from, 0); }
    int Size() { return static_cast<int>(journey::LogLines(copy.folder + "\\vcd.log").size()); }
};

TEST_F(CdJourney, NoDiscADataDiscThenAnAudioDiscPlayedSkippedEjectedAndPoweredOff)
{
    SetEnvironmentVariableA("VCD_DISC", (copy.folder + "\\disc.txt").c_str());
    SetEnvironmentVariableA("VCD_LOG", (copy.folder + "\\vcd.log").c_str());

    Step("a CD start with no disc says so, as does every disc command; Stop and Pause say nothing");
    Disc("disc=none\n");
    Launch(e2e::Panel::Cd, "CD");
    EXPECT_EQ(kNoDisc, Box(nullptr, 0));
    for (int id : {IDC_NEXT, IDC_BACK, IDC_FORWARD, IDC_REWIND, IDC_PLAY, IDC_PLAYLIST})
        EXPECT_EQ(kNoDisc, Box(panel, id)) << "control " << id;
    Tap(IDC_STOP), Tap(IDC_PAUSE);
    EXPECT_TRUE(NoBox());
    EXPECT_EQ("EMPTY", Text(IDC_DISPLAY));

    Step("a data disc is looked at as the door closes, and never played");
    Disc("disc=data\ntracks=300\n");
    Tap(IDC_EJECT);
    EXPECT_EQ(kNotAudio, Box(panel, IDC_EJECT));
    EXPECT_EQ(kNotAudio, Box(panel, IDC_PLAY));
    EXPECT_EQ(-1, Find("MCI_PLAY"));

    Step("an audio disc plays from track 1 with an end notice; Pause holds it, Pause again plays on");
    Disc("disc=audio\ntracks=30,1,2\n");
    Tap(IDC_EJECT), Tap(IDC_EJECT);
    Tap(IDC_PLAY, "00:01 Track 01");
    EXPECT_GE(Find(kPlay), 0);
    Tap(IDC_PAUSE);
    EXPECT_GE(Find("MCI_PAUSE result=0x00000000"), 0);
    Tap(IDC_PAUSE, "00:02 Track 01");
    EXPECT_TRUE(NoBox());

    Step("Stop goes to the track's start; skips while stopped move ten seconds and do not play");
    int mark = Size();
    Tap(IDC_STOP, "00:00 Track 01"), Tap(IDC_FORWARD, "00:10 Track 01"), Tap(IDC_REWIND, "00:00 Track 01");
    EXPECT_EQ(-1, Find("MCI_PLAY", mark));

    Step("Back on track 1 plays the last track, Next on the last plays track 1");
    Tap(IDC_PLAY);
    mark = Size();
    Tap(IDC_BACK);
    EXPECT_GE(Find(kPlay, Find("MCI_SEEK to=0x00000003", mark)), 0);
    Tap(IDC_NEXT, "00:01 Track 01");

    Step("played to its end, the disc goes back to track 1 and rests there");
    Tap(IDC_BACK);
    mark = Await("NOTIFY status=1");
    EXPECT_TRUE(Shows(IDC_TRACK, "00:00 Track 01")) << Text(IDC_TRACK);
    EXPECT_GE(Find(kTrack1, mark), 0);
    EXPECT_EQ(-1, Find("MCI_PLAY", mark)) << "nothing plays again";
    PostMessageA(panel, WM_COMMAND, IDC_PLAYLIST, 0);
    EXPECT_TRUE(Ends(Dialog("CD Playlist"), IDCANCEL));
    EXPECT_TRUE(Shows(IDC_DISPLAY, "Track 1"));

    Step("a paused and resumed disc ends with no notice; the next Play starts again from track 1");
    Tap(IDC_BACK), Tap(IDC_PLAY), Tap(IDC_PAUSE);
    mark = Size();
    Tap(IDC_PAUSE);
    EXPECT_GE(Await("END", mark), 0);
    EXPECT_EQ(-1, Find("NOTIFY status=1", mark));
    EXPECT_TRUE(Shows(IDC_TRACK, "00:02 Track 03")) << Text(IDC_TRACK);
    Tap(IDC_PLAY);
    EXPECT_GE(Find(kPlay, Find(kTrack1, mark)), 0);

    Step("Eject stops the disc before the door opens, then closes the device, with no message box");
    mark = Size();
    Tap(IDC_EJECT);
    int stop = Find("MCI_STOP", mark), open = Find("DOOR open", mark);
    EXPECT_TRUE(stop >= 0 && stop < open) << stop << " " << open;
    EXPECT_GE(Find("MCI_CLOSE_DRIVER", open), 0);
    Tap(IDC_EJECT);
    EXPECT_GE(Find("DOOR closed disc=1", open), 0);
    EXPECT_TRUE(NoBox());

    Step("hiding the CD panel stops and closes a playing disc");
    mark = Size();
    Tap(IDC_PLAY);
    e2e::SendCommand(main, IDM_CDPLAYER);
    EXPECT_GE(Find("MCI_CLOSE_DRIVER", Find("MCI_STOP", Find(kPlay, mark))), 0);
    e2e::SendCommand(main, IDM_CDPLAYER);

    Step("with the tray icon on, Power hides the window and stops and closes a playing disc");
    mark = Size();
    Tap(IDC_PLAY);
    e2e::Press(banner, IDC_POWER);
    EXPECT_GE(Find("MCI_CLOSE_DRIVER", Find("MCI_STOP", Find(kPlay, mark))), 0);
    EXPECT_FALSE(IsWindowVisible(main));

    Step("a second start with CD plays in the hidden running copy");
    mark = Size();
    EXPECT_EQ(0u, e2e::WaitForExit(Start("CD")).value_or(STILL_ACTIVE));
    EXPECT_GE(Await(kPlay, mark), 0);
    EXPECT_TRUE(NoBox());
}

}  // namespace
