// The CD panel built from its template: commands, read-out and end of disc, through the recording seam.
#include <gtest/gtest.h>

#include "app/app.h"
#include "model/media_math.h"
#include "resources/resource.h"
#include "panels/panels.h"
#include "ui/skin.h"
#include "tests/win/mci_recorder.h"

namespace {

using Boxes = std::vector<std::string>;

const std::string kNoDisc = "Velutra|There is no CD-ROM in the player.|asterisk";
const std::string kOpenCd = "OPEN#0 0x2002 type=cdaudio | STATUS#7 0x100 item=0x6 | SET#7 0x400 format=10";
const std::string kCheckDisc = "STATUS#7 0x100 item=0x3 | STATUS#7 0x110 item=0x4001 track=1";

class CdPanelTest : public testing::Test {
protected:
    void SetUp() override
    {
        g_app.instance = GetModuleHandleA(nullptr);
        lstrcpynA(g_app.className, kAppName, sizeof(g_app.className));
        InitMediaDevice(&g_app.CdDevice, MCI_DEVTYPE_CD_AUDIO);
        SetPlayState(MCI_DEVTYPE_CD_AUDIO, PLAYSTATE_STOPPED);
        InstallMciRecorder();
        WatchMessageBoxes();
        parent = CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 402, 170, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(parent) << "no windows: is a display driver set?";
        panel = CreateDialogParamA(g_app.instance, MAKEINTRESOURCEA(IDD_CDPANEL), parent, CdPanelProc, 0);
        ASSERT_TRUE(panel);
        ASSERT_EQ(panel, g_app.CdPanel) << "the panel records itself";
        g_script.tracks = 3;
    }

    void TearDown() override
    {
        DestroyWindow(parent);
        g_app.CdPanel = nullptr;
        StopWatchingMessageBoxes();
        RemoveMciRecorder();
        ClearPlaylist(&g_app.CdDevice.playlist);
        g_app.CdDevice.deviceId = 0;
        g_app.CdDevice.flags = 0;
    }

    void Press(UINT id) { SendMessageA(panel, WM_COMMAND, id, 0); }

    std::string TextOf(int id)
    {
        char text[256] = {};
        GetDlgItemTextA(panel, id, text, static_cast<int>(std::size(text)));
        return text;
    }

    bool Invalid(int id) { return GetUpdateRect(GetDlgItem(panel, id), nullptr, FALSE) != 0; }

    // Opens the device on a listed disc and forgets the traffic.
    void PlayDisc()
    {
        Press(IDC_PLAY);
        TakeMciTrace();
        TakeMessageBoxes();
    }

    HWND parent = nullptr;
    HWND panel = nullptr;
    MediaDevice& cd = g_app.CdDevice;
};

TEST_F(CdPanelTest, ReadoutStartsAtTrackOneAndFollowsTheDisc)
{
    EXPECT_EQ("00:00 Track 01", TextOf(IDC_TRACK));
    EXPECT_EQ("", TextOf(IDC_DISPLAY));
    EXPECT_EQ("", TakeMciTrace()) << "creating the panel opens nothing";

    cd.playlist.current = 2;
    RefreshCdDisplay(panel, FALSE);
    EXPECT_EQ("00:00 Track 03", TextOf(IDC_TRACK)) << "closed: the current index + 1 at zero time";

    PlayDisc();
    g_script.position = MakeTmsf(2, 3, 27, 40);
    RefreshCdDisplay(panel, FALSE);
    EXPECT_EQ("STATUS#7 0x102 item=0x2", TakeMciTrace());
    EXPECT_EQ("03:27 Track 02", TextOf(IDC_TRACK));
    EXPECT_EQ(1, cd.playlist.current) << "the current index follows the disc";

    SetDlgItemTextA(panel, IDC_TRACK, "untouched");
    g_script.position = MakeTmsf(2, 3, 27, 60);
    RefreshCdDisplay(panel, FALSE);
    EXPECT_EQ("untouched", TextOf(IDC_TRACK)) << "same minutes and seconds: not rewritten";
    RefreshCdDisplay(panel, TRUE);
    EXPECT_EQ("03:27 Track 02", TextOf(IDC_TRACK)) << "forced";

    g_script.positionError = MCIERR_DEVICE_NOT_READY;
    RefreshCdDisplay(panel, FALSE);
    EXPECT_EQ("00:00 Track 01", TextOf(IDC_TRACK));
    EXPECT_EQ(0, cd.playlist.current);
    EXPECT_EQ(Boxes{}, TakeMessageBoxes());
}

TEST_F(CdPanelTest, PlayOpensChecksTheDiscAndPlaysWithNoticeToThePanel)
{
    Press(IDC_PLAY);
    EXPECT_EQ(kOpenCd + " | " + kCheckDisc + " | STATUS#7 0x100 item=0x4 | PLAY#7 0x1 cb=cd", TakeMciTrace());
    EXPECT_EQ(3, cd.playlist.count);
    int state = -1;
    GetPlayState(MCI_DEVTYPE_CD_AUDIO, &state);
    EXPECT_EQ(PLAYSTATE_PLAYING, state);

    Press(IDC_PLAY);
    EXPECT_EQ(kCheckDisc + " | STATUS#7 0x100 item=0x4 | STATUS#7 0x102 item=0x2 | SEEK#7 0xa to=0x00000001 | "
                           "PLAY#7 0x1 cb=cd",
              TakeMciTrace()) << "stopped by itself while playing: the disc ended, start at track 1";
}

TEST_F(CdPanelTest, StopAndPauseOnAClosedDeviceDoNothing)
{
    g_script.tracksError = MCIERR_DEVICE_NOT_READY;
    Press(IDC_STOP);
    Press(IDC_PAUSE);
    Press(IDOK);
    EXPECT_EQ("", TakeMciTrace());
    EXPECT_EQ(Boxes{}, TakeMessageBoxes());
}

TEST_F(CdPanelTest, WithoutADiscEveryDiscCommandSaysSo)
{
    g_script.tracksError = MCIERR_DEVICE_NOT_READY;
    for (int id : {IDC_NEXT, IDC_BACK, IDC_FORWARD, IDC_REWIND, IDC_PLAY, IDC_PLAYLIST}) {
        Press(id);
        EXPECT_EQ(Boxes{kNoDisc}, TakeMessageBoxes()) << "control " << id;
    }
    EXPECT_EQ(kOpenCd + " | STATUS#7 0x100 item=0x3 | STATUS#7 0x100 item=0x3 | STATUS#7 0x100 item=0x3 | "
                        "STATUS#7 0x100 item=0x3 | STATUS#7 0x100 item=0x3 | STATUS#7 0x100 item=0x3",
              TakeMciTrace()) << "opened once, checked at every press, nothing more";
    EXPECT_EQ("EMPTY", TextOf(IDC_DISPLAY)) << "CDPlayList names the current entry even after a failed check";

    Press(IDC_STOP);
    Press(IDC_PAUSE);
    EXPECT_EQ(Boxes{}, TakeMessageBoxes());
}

TEST_F(CdPanelTest, NextAndBackWrapAroundTheDisc)
{
    PlayDisc();
    g_script.mode = MCI_MODE_PLAY;
    cd.playlist.current = 2;
    Press(IDC_NEXT);
    EXPECT_EQ(kCheckDisc + " | STATUS#7 0x100 item=0x4 | STOP#7 0x0 null | STATUS#7 0x102 item=0x2 | "
                           "SEEK#7 0xa to=0x00000001 | STATUS#7 0x100 item=0x4 | PLAY#7 0x1 cb=cd",
              TakeMciTrace());
    EXPECT_EQ(0, cd.playlist.current) << "next on the last track goes to track 1";
    Press(IDC_BACK);
    EXPECT_EQ(2, cd.playlist.current) << "back on track 1 goes to the last";
}

TEST_F(CdPanelTest, SkipsCheckTheDiscFirst)
{
    PlayDisc();
    g_script.mode = MCI_MODE_STOP;
    g_script.position = MakeTmsf(2, 2, 55, 0);
    Press(IDC_FORWARD);
    EXPECT_EQ(kCheckDisc + " | STATUS#7 0x100 item=0x4 | STOP#7 0x0 null | STATUS#7 0x102 item=0x2 | "
                           "SEEK#7 0xa to=0x00050302",
              TakeMciTrace());
    Press(IDC_REWIND);
    EXPECT_EQ(kCheckDisc + " | STATUS#7 0x100 item=0x4 | STOP#7 0x0 null | STATUS#7 0x102 item=0x2 | "
                           "SEEK#7 0xa to=0x002d0202",
              TakeMciTrace());
}

TEST_F(CdPanelTest, StopGoesToTheStartOfTheTrackAndPauseToggles)
{
    PlayDisc();
    g_script.position = MakeTmsf(3, 1, 2, 3);
    Press(IDC_STOP);
    EXPECT_EQ("STOP#7 0x0 null | STATUS#7 0x102 item=0x2 | SEEK#7 0xa to=0x00000003", TakeMciTrace());
    Press(IDC_PAUSE);
    Press(IDC_PAUSE);
    EXPECT_EQ("PAUSE#7 0x0 null | PLAY#7 0x0 cb=0", TakeMciTrace());
}

TEST_F(CdPanelTest, EndOfDiscReturnsToTrackOne)
{
    PlayDisc();
    cd.playlist.current = 2;
    for (WPARAM code : {MCI_NOTIFY_SUPERSEDED, MCI_NOTIFY_ABORTED, MCI_NOTIFY_FAILURE})
        SendMessageA(panel, MM_MCINOTIFY, code, 7);
    EXPECT_EQ("", TakeMciTrace()) << "other notices are ignored";
    EXPECT_EQ(2, cd.playlist.current);

    g_script.position = MakeTmsf(3, 4, 0, 0);
    SendMessageA(panel, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, 7);
    EXPECT_EQ("STATUS#7 0x102 item=0x2 | SEEK#7 0xa to=0x00000001", TakeMciTrace());
    EXPECT_EQ(0, cd.playlist.current);
    EXPECT_EQ(7u, cd.deviceId) << "the device stays open";
}

TEST_F(CdPanelTest, EjectOpensAndClosesTheDoor)
{
    PlayDisc();
    g_script.position = MakeTmsf(2, 0, 30, 0);
    Press(IDC_EJECT);
    EXPECT_EQ("STOP#7 0x0 null | STATUS#7 0x102 item=0x2 | SEEK#7 0xa to=0x00000002 | STATUS#7 0x100 item=0x4 | "
              "SET#7 0x100 null | CLOSE#7 0x2 cb=0",
              TakeMciTrace());
    EXPECT_EQ(0u, cd.deviceId) << "opening the door closes the device";
    EXPECT_EQ(0, cd.playlist.count) << "and empties the track list";

    g_script.mode = MCI_MODE_OPEN;
    g_script.tracksError = MCIERR_DEVICE_NOT_READY;
    Press(IDC_EJECT);
    EXPECT_EQ(kOpenCd + " | STOP#7 0x0 null | STATUS#7 0x102 item=0x2 | SEEK#7 0xa to=0x00000002 | "
                        "STATUS#7 0x100 item=0x4 | SET#7 0x200 null | STATUS#7 0x100 item=0x3",
              TakeMciTrace()) << "closing the door checks the disc at once";
    EXPECT_EQ(Boxes{kNoDisc}, TakeMessageBoxes());
    EXPECT_EQ(7u, cd.deviceId);
}

TEST_F(CdPanelTest, PlaylistButtonNamesTheCurrentTrack)
{
    g_script.tracks = 0;
    Press(IDC_PLAYLIST);
    EXPECT_EQ("EMPTY", TextOf(IDC_DISPLAY)) << "no tracks: no dialog, the line is still set";
    EXPECT_EQ(Boxes{}, TakeMessageBoxes());

    g_script.tracks = 4;
    cd.playlist.current = 1;
    Press(IDC_PLAYLIST);
    EXPECT_EQ("Track 2", TextOf(IDC_DISPLAY));
}

TEST_F(CdPanelTest, EveryCommandRepaintsPlayAndThePressedControl)
{
    for (int id : {IDC_STOP, IDC_PAUSE, IDC_EJECT, IDC_DISPLAY}) {
        UpdateWindow(parent);
        RedrawWindow(panel, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        ASSERT_FALSE(Invalid(IDC_PLAY));
        Press(id);
        EXPECT_TRUE(Invalid(IDC_PLAY)) << "control " << id;
        EXPECT_TRUE(Invalid(id)) << "control " << id;
        EXPECT_FALSE(Invalid(IDC_NEXT)) << "control " << id;
    }
}

// The timer looks at the faces that follow the device twice a second but draws one only when it
// would change; with the device closed a disc is looked for on every fourth tick.
TEST_F(CdPanelTest, TheTimerRedrawsAFaceOnlyWhenWhatItShowsChanges)
{
    std::uint32_t config = g_app.settings.Config;
    g_app.settings.Config = CFG_CD;
    auto drawAll = [&] {
        UpdateWindow(parent);
        RedrawWindow(panel, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    };
    auto count = [](const std::string& trace, const std::string& what) {
        int n = 0;
        for (std::size_t at = trace.find(what); at != std::string::npos; at = trace.find(what, at + 1)) ++n;
        return n;
    };

    g_script.tracks = 0;
    drawAll();
    TakeMciTrace();
    for (int tick = 0; tick < 8; ++tick) PollPanels();
    EXPECT_FALSE(Invalid(IDC_PLAY)) << "nothing changed: nothing is drawn again";
    EXPECT_FALSE(Invalid(IDC_PLAYLIST));
    EXPECT_EQ(2, count(TakeMciTrace(), "type=cdaudio")) << "a closed drive is asked for a disc every 2 s";

    g_script.tracks = 3;  // a disc goes in
    for (int tick = 0; tick < 4 && !Invalid(IDC_PLAYLIST); ++tick) PollPanels();
    EXPECT_TRUE(Invalid(IDC_PLAYLIST)) << "the disc shows within four ticks";
    EXPECT_FALSE(Invalid(IDC_PLAY));
    drawAll();

    PlayDisc();
    g_script.mode = MCI_MODE_PLAY;
    drawAll();
    PollPanels();
    EXPECT_FALSE(Invalid(IDC_PLAY)) << "the playing face is already shown";
    g_script.mode = MCI_MODE_STOP;  // the disc ran out
    PollPanels();
    EXPECT_TRUE(Invalid(IDC_PLAY)) << "the face goes back to rest";
    drawAll();

    SendDlgItemMessageA(panel, IDC_PLAY, BM_SETSTATE, TRUE, 0);
    drawAll();
    PollPanels();
    EXPECT_TRUE(Invalid(IDC_PLAY)) << "a pressed face is drawn on every tick";
    SendDlgItemMessageA(panel, IDC_PLAY, BM_SETSTATE, FALSE, 0);
    g_app.settings.Config = config;
}

}  // namespace
