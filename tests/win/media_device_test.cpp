// The media layer's MCI traffic, results and error policy, through the recording seam.
#include <gtest/gtest.h>

#include "app/app.h"
#include "model/media_math.h"
#include "tests/win/mci_recorder.h"

namespace {

using Boxes = std::vector<std::string>;

const std::string kNoDisc = "Velutra|There is no CD-ROM in the player.|asterisk";
const std::string kNotAudio = "Velutra|The inserted CD-ROM is not an audio CD.|asterisk";
const std::string kEmpty = "Velutra|Playlist is empty.|hand";
const std::string kUnavailable = "Velutra|Device is not available.|hand";

class MediaDeviceTest : public testing::Test {
protected:
    void SetUp() override
    {
        g_app.instance = GetModuleHandleA(nullptr);
        lstrcpynA(g_app.className, kAppName, sizeof(g_app.className));
        g_app.CdPanel = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
        g_app.MidiPanel = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
        g_app.SoundPanel = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(g_app.CdPanel && g_app.MidiPanel && g_app.SoundPanel) << "no windows: is a display driver set?";
        InitMediaDevice(&cd, MCI_DEVTYPE_CD_AUDIO);
        InitMediaDevice(&midi, MCI_DEVTYPE_SEQUENCER);
        InitMediaDevice(&wave, MCI_DEVTYPE_WAVEFORM_AUDIO);
        for (DWORD type : {MCI_DEVTYPE_CD_AUDIO, MCI_DEVTYPE_SEQUENCER, MCI_DEVTYPE_WAVEFORM_AUDIO})
            SetPlayState(type, PLAYSTATE_STOPPED);
        InstallMciRecorder();
        WatchMessageBoxes();
    }

    void TearDown() override
    {
        StopWatchingMessageBoxes();
        RemoveMciRecorder();
        for (MediaDevice* device : {&cd, &midi, &wave}) ClearPlaylist(&device->playlist);
        for (HWND* slot : {&g_app.CdPanel, &g_app.MidiPanel, &g_app.SoundPanel}) {
            DestroyWindow(*slot);
            *slot = nullptr;
        }
    }

    // A device that the layer holds open with id 7, without traffic in the trace.
    void MakeOpen(MediaDevice* device, int state = PLAYSTATE_STOPPED)
    {
        ASSERT_EQ(1, OpenMediaDevice(device));
        SetPlayState(device->deviceType, state);
        TakeMciTrace();
        TakeMessageBoxes();
    }

    void AddEntries(MediaDevice* device, std::initializer_list<const char*> texts)
    {
        int number = 0;
        for (const char* text : texts) {
            PlaylistEntry entry;
            entry.number = ++number;
            lstrcpynA(entry.text, text, sizeof(entry.text));
            AppendPlaylistEntry(&device->playlist, &entry);
        }
    }

    static int StateOf(DWORD type)
    {
        int state = -1;
        GetPlayState(type, &state);
        return state;
    }

    MediaDevice cd, midi, wave;
};

TEST_F(MediaDeviceTest, PlayStateWordsPerDeviceType)
{
    SetPlayState(MCI_DEVTYPE_SEQUENCER, PLAYSTATE_PAUSED);
    EXPECT_EQ(PLAYSTATE_PAUSED, StateOf(MCI_DEVTYPE_SEQUENCER));
    EXPECT_EQ(PLAYSTATE_STOPPED, StateOf(MCI_DEVTYPE_CD_AUDIO)) << "each type keeps its own word";
    EXPECT_EQ(0, SetPlayState(0x999, PLAYSTATE_PLAYING));
    int untouched = 42;
    EXPECT_EQ(0, GetPlayState(0x999, &untouched));
    EXPECT_EQ(42, untouched) << "an unknown type leaves the out value alone";
    EXPECT_EQ("", TakeMciTrace());
}

TEST_F(MediaDeviceTest, OpenCdSetsTmsfAndMarksTheRecordOpen)
{
    EXPECT_EQ(1, OpenMediaDevice(&cd));
    EXPECT_EQ("OPEN#0 0x2002 type=cdaudio | STATUS#7 0x100 item=0x6 | SET#7 0x400 format=10", TakeMciTrace());
    EXPECT_EQ(7u, cd.deviceId);
    EXPECT_EQ(static_cast<DWORD>(MDF_OPEN), cd.flags);
    EXPECT_EQ(PLAYSTATE_STOPPED, StateOf(MCI_DEVTYPE_CD_AUDIO));

    EXPECT_EQ(1, OpenMediaDevice(&cd)) << "already open";
    EXPECT_EQ("", TakeMciTrace()) << "an open device sends nothing";
    EXPECT_EQ(Boxes{}, TakeMessageBoxes());
}

TEST_F(MediaDeviceTest, OpenFileDevicesOnTheCurrentEntryInMilliseconds)
{
    EXPECT_EQ(0, OpenMediaDevice(&midi));
    EXPECT_EQ("", TakeMciTrace()) << "an empty playlist sends nothing";
    EXPECT_EQ(Boxes{kEmpty}, TakeMessageBoxes());
    EXPECT_EQ(0u, midi.flags);

    AddEntries(&midi, {"C:\\Music\\one.mid", "C:\\Music\\two.mid"});
    midi.playlist.current = 1;
    EXPECT_EQ(1, OpenMediaDevice(&midi));
    EXPECT_EQ("OPEN#0 0x2202 type=sequencer element=\"C:\\Music\\two.mid\" | STATUS#7 0x100 item=0x6 | "
              "SET#7 0x400 format=0",
              TakeMciTrace());

    midi.playlist.current = 5;
    CloseMediaDevice(&midi);
    TakeMciTrace();
    EXPECT_EQ(0, OpenMediaDevice(&midi)) << "current beyond the list";
    EXPECT_EQ(Boxes{kEmpty}, TakeMessageBoxes());

    wave.flags = MDF_NEWRECORDING | MDF_LOOP;
    EXPECT_EQ(1, OpenMediaDevice(&wave)) << "a new recording needs no entry";
    EXPECT_EQ("OPEN#0 0x2202 type=waveaudio element=\"\" | STATUS#7 0x100 item=0x6 | SET#7 0x400 format=0",
              TakeMciTrace());
    EXPECT_EQ(static_cast<DWORD>(MDF_NEWRECORDING | MDF_LOOP | MDF_OPEN), wave.flags);
}

TEST_F(MediaDeviceTest, FailedOpenShowsDeviceNotAvailableAndNeverUsesTheId)
{
    g_script.openError = MCIERR_DEVICE_NOT_READY;
    EXPECT_EQ(0, OpenMediaDevice(&cd));
    EXPECT_EQ("OPEN#0 0x2002 type=cdaudio", TakeMciTrace()) << "nothing is sent to the garbage id";
    EXPECT_EQ(Boxes{kUnavailable}, TakeMessageBoxes()) << "the CD too shows this one";
    EXPECT_EQ(0u, cd.deviceId);
    EXPECT_EQ(0u, cd.flags);

    AddEntries(&midi, {"C:\\a.mid"});
    EXPECT_EQ(0, OpenMediaDevice(&midi));
    EXPECT_EQ(Boxes{kUnavailable}, TakeMessageBoxes());
}

TEST_F(MediaDeviceTest, TimeFormatFailuresAfterOpen)
{
    AddEntries(&midi, {"C:\\a.mid"});
    g_script.statusTimeFormatError = MCIERR_UNSUPPORTED_FUNCTION;
    EXPECT_EQ(1, OpenMediaDevice(&midi)) << "a failed time-format query does not stop the open";
    EXPECT_EQ(Boxes{"Velutra|MCI error 274|none"}, TakeMessageBoxes());
    CloseMediaDevice(&midi);
    TakeMciTrace();
    TakeMessageBoxes();

    g_script.statusTimeFormatError = 0;
    g_script.setTimeFormatError = MCIERR_BAD_TIME_FORMAT;
    EXPECT_EQ(0, OpenMediaDevice(&midi));
    EXPECT_EQ("OPEN#0 0x2202 type=sequencer element=\"C:\\a.mid\" | STATUS#7 0x100 item=0x6 | "
              "SET#7 0x400 format=0 | CLOSE#7 0x2 cb=0",
              TakeMciTrace());
    EXPECT_EQ(Boxes{"Velutra|MCI error 293|none"}, TakeMessageBoxes());
    EXPECT_EQ(0u, midi.deviceId) << "a failed time-format setting leaves nothing open";
    EXPECT_EQ(0u, midi.flags & MDF_OPEN);

    EXPECT_EQ(0, OpenMediaDevice(&cd));
    EXPECT_EQ("OPEN#0 0x2002 type=cdaudio | STATUS#7 0x100 item=0x6 | SET#7 0x400 format=10 | CLOSE#7 0x2 cb=0",
              TakeMciTrace());
    EXPECT_EQ(Boxes{}, TakeMessageBoxes()) << "CD errors are never shown";
    EXPECT_EQ(0u, cd.deviceId);
}

TEST_F(MediaDeviceTest, CloseClearsOpenAndRecordingButKeepsLoop)
{
    EXPECT_EQ(1, CloseMediaDevice(&cd));
    EXPECT_EQ("", TakeMciTrace()) << "a closed device sends nothing";

    wave.flags = MDF_LOOP | MDF_NEWRECORDING;
    MakeOpen(&wave, PLAYSTATE_PLAYING);
    EXPECT_EQ(1, CloseMediaDevice(&wave));
    EXPECT_EQ("STOP#7 0x0 null | WAIT 100 | CLOSE#7 0x2 cb=0", TakeMciTrace())
        << "a wave device that may be playing is stopped and rests before it is closed";
    EXPECT_EQ(0u, wave.deviceId);
    EXPECT_EQ(static_cast<DWORD>(MDF_LOOP), wave.flags);
    EXPECT_EQ(PLAYSTATE_STOPPED, StateOf(MCI_DEVTYPE_WAVEFORM_AUDIO));

    MakeOpen(&cd);
    AddEntries(&midi, {"C:\\a.mid"});
    MakeOpen(&midi);
    g_script.closeError = MCIERR_HARDWARE;
    EXPECT_EQ(1, CloseMediaDevice(&cd));
    EXPECT_EQ(Boxes{}, TakeMessageBoxes());
    EXPECT_EQ(1, CloseMediaDevice(&midi));
    EXPECT_EQ(Boxes{"Velutra|MCI error 262|none"}, TakeMessageBoxes());
    EXPECT_EQ(0u, midi.deviceId) << "the close goes on after an error";
}

TEST_F(MediaDeviceTest, ModeAndPositionQueries)
{
    EXPECT_EQ(static_cast<DWORD>(MCI_MODE_NOT_READY), QueryDeviceMode(0));
    DWORD position = 1234;
    EXPECT_EQ(0, QueryDevicePosition(0, &position));
    EXPECT_EQ("", TakeMciTrace());

    g_script.mode = MCI_MODE_PLAY;
    EXPECT_EQ(static_cast<DWORD>(MCI_MODE_PLAY), QueryDeviceMode(9));
    g_script.modeError = MCIERR_HARDWARE;
    EXPECT_EQ(static_cast<DWORD>(MCI_MODE_NOT_READY), QueryDeviceMode(9));

    g_script.position = MakeTmsf(2, 1, 5, 0);
    EXPECT_EQ(1, QueryDevicePosition(9, &position));
    EXPECT_EQ(MakeTmsf(2, 1, 5, 0), position);
    g_script.positionError = MCIERR_HARDWARE;
    EXPECT_EQ(0, QueryDevicePosition(9, &position));
    EXPECT_EQ(MakeTmsf(2, 1, 5, 0), position) << "left untouched on failure";
    EXPECT_EQ("STATUS#9 0x100 item=0x4 | STATUS#9 0x100 item=0x4 | STATUS#9 0x102 item=0x2 | STATUS#9 0x102 item=0x2",
              TakeMciTrace());
    EXPECT_EQ(Boxes{}, TakeMessageBoxes());
}

TEST_F(MediaDeviceTest, CdTrackQueries)
{
    int count = 99;
    EXPECT_EQ(0, QueryCdTracks(0, &count));
    EXPECT_EQ(0, count);
    EXPECT_EQ("", TakeMciTrace());

    g_script.tracks = 12;
    EXPECT_EQ(0, QueryCdTracks(9, &count));
    EXPECT_EQ(12, count);
    EXPECT_EQ("STATUS#9 0x100 item=0x3 | STATUS#9 0x110 item=0x4001 track=1", TakeMciTrace());

    g_script.trackType = MCI_CDA_TRACK_OTHER;
    EXPECT_EQ(-1, QueryCdTracks(9, &count)) << "a data track first";
    g_script.trackTypeError = MCIERR_HARDWARE;
    EXPECT_EQ(0, QueryCdTracks(9, &count)) << "an unanswered type counts as audio";
    EXPECT_EQ(12, count);
    TakeMciTrace();

    g_script.tracksError = MCIERR_DEVICE_NOT_READY;
    EXPECT_EQ(0, QueryCdTracks(9, &count));
    EXPECT_EQ(-1, count) << "no disc";
    EXPECT_EQ("STATUS#9 0x100 item=0x3", TakeMciTrace());
    EXPECT_EQ(Boxes{}, TakeMessageBoxes());
}

TEST_F(MediaDeviceTest, AudioCdPresenceThroughTheOpenOrATemporaryDevice)
{
    g_script.tracks = 3;
    g_script.nextId = 12;
    EXPECT_EQ(1, IsAudioCdPresent(&cd));
    EXPECT_EQ("OPEN#0 0x2002 type=cdaudio | STATUS#12 0x100 item=0x3 | STATUS#12 0x110 item=0x4001 track=1 | "
              "CLOSE#12 0x2 cb=0",
              TakeMciTrace());
    EXPECT_EQ(0u, cd.deviceId) << "the temporary device is not the record's";

    g_script.tracks = 0;
    EXPECT_EQ(0, IsAudioCdPresent(&cd)) << "a disc of no tracks";
    TakeMciTrace();
    g_script.tracks = 2;
    g_script.trackType = MCI_CDA_TRACK_OTHER;
    EXPECT_EQ(0, IsAudioCdPresent(&cd)) << "a data disc";
    TakeMciTrace();
    g_script.openError = MCIERR_DEVICE_NOT_READY;
    EXPECT_EQ(0, IsAudioCdPresent(&cd));
    EXPECT_EQ("OPEN#0 0x2002 type=cdaudio", TakeMciTrace());

    g_script = MciScript{};
    MakeOpen(&cd);
    g_script.tracks = 5;
    EXPECT_EQ(1, IsAudioCdPresent(&cd));
    EXPECT_EQ("STATUS#7 0x100 item=0x3 | STATUS#7 0x110 item=0x4001 track=1", TakeMciTrace());
    g_script.tracksError = MCIERR_DEVICE_NOT_READY;
    EXPECT_EQ(0, IsAudioCdPresent(&cd));
    EXPECT_EQ(Boxes{}, TakeMessageBoxes()) << "no message is ever shown";
}

TEST_F(MediaDeviceTest, DoorToggleClosesOnlyAnOpenDoor)
{
    EXPECT_EQ(0, ToggleCdDoor(&cd));
    EXPECT_EQ("", TakeMciTrace());

    MakeOpen(&cd);
    EXPECT_EQ(0, ToggleCdDoor(&cd));
    EXPECT_EQ("STATUS#7 0x100 item=0x4 | SET#7 0x100 null", TakeMciTrace());

    g_script.mode = MCI_MODE_OPEN;
    EXPECT_EQ(1, ToggleCdDoor(&cd));
    EXPECT_EQ("STATUS#7 0x100 item=0x4 | SET#7 0x200 null", TakeMciTrace());

    g_script.doorError = MCIERR_HARDWARE;
    EXPECT_EQ(1, ToggleCdDoor(&cd)) << "1 when the close was sent, even if it failed";
    g_script.mode = MCI_MODE_STOP;
    EXPECT_EQ(0, ToggleCdDoor(&cd));
    EXPECT_EQ(Boxes{}, TakeMessageBoxes());
}

TEST_F(MediaDeviceTest, PlayWithNoticeToThePanel)
{
    PlayMedia(&cd);
    EXPECT_EQ("", TakeMciTrace()) << "a closed device sends nothing";

    MakeOpen(&cd);
    PlayMedia(&cd);
    EXPECT_EQ("STATUS#7 0x100 item=0x4 | PLAY#7 0x1 cb=cd", TakeMciTrace());
    EXPECT_EQ(PLAYSTATE_PLAYING, StateOf(MCI_DEVTYPE_CD_AUDIO));

    // Stopped by MCI while the program says playing: the disc ended, so it starts again at track 1.
    g_script.position = MakeTmsf(9, 4, 1, 0);
    PlayMedia(&cd);
    EXPECT_EQ("STATUS#7 0x100 item=0x4 | STATUS#7 0x102 item=0x2 | SEEK#7 0xa to=0x00000001 | PLAY#7 0x1 cb=cd",
              TakeMciTrace());

    AddEntries(&midi, {"C:\\a.mid"});
    MakeOpen(&midi);
    g_script.playError = MCIERR_HARDWARE;
    PlayMedia(&midi);
    EXPECT_EQ("STATUS#7 0x100 item=0x4 | PLAY#7 0x1 cb=midi", TakeMciTrace());
    EXPECT_EQ(PLAYSTATE_STOPPED, StateOf(MCI_DEVTYPE_SEQUENCER)) << "unchanged after a failed play";
    EXPECT_EQ(Boxes{"Velutra|MCI error 262|none"}, TakeMessageBoxes());

    g_script.playError = 0;
    wave.flags = MDF_NEWRECORDING;
    MakeOpen(&wave);
    PlayMedia(&wave);
    EXPECT_EQ("STATUS#7 0x100 item=0x4 | PLAY#7 0x1 cb=sound", TakeMciTrace());
}

TEST_F(MediaDeviceTest, PauseAndResume)
{
    TogglePauseMedia(&cd);
    EXPECT_EQ("", TakeMciTrace());

    MakeOpen(&cd);
    TogglePauseMedia(&cd);
    EXPECT_EQ("PAUSE#7 0x0 null", TakeMciTrace()) << "pause on a stopped device";
    EXPECT_EQ(PLAYSTATE_PAUSED, StateOf(MCI_DEVTYPE_CD_AUDIO));
    TogglePauseMedia(&cd);
    EXPECT_EQ("PLAY#7 0x0 cb=0", TakeMciTrace()) << "the CD resumes with a plain play without notice";
    EXPECT_EQ(PLAYSTATE_PLAYING, StateOf(MCI_DEVTYPE_CD_AUDIO));

    AddEntries(&midi, {"C:\\a.mid"});
    MakeOpen(&midi, PLAYSTATE_PLAYING);
    TogglePauseMedia(&midi);
    TogglePauseMedia(&midi);
    EXPECT_EQ("PAUSE#7 0x0 null | RESUME#7 0x0 cb=0", TakeMciTrace());

    g_script.pauseError = MCIERR_HARDWARE;
    TogglePauseMedia(&midi);
    EXPECT_EQ(PLAYSTATE_PLAYING, StateOf(MCI_DEVTYPE_SEQUENCER)) << "stored only when MCI accepts";
    SetPlayState(MCI_DEVTYPE_SEQUENCER, PLAYSTATE_PAUSED);
    g_script.resumeError = MCIERR_HARDWARE;
    TogglePauseMedia(&midi);
    EXPECT_EQ(PLAYSTATE_PAUSED, StateOf(MCI_DEVTYPE_SEQUENCER));
    EXPECT_EQ(Boxes{}, TakeMessageBoxes()) << "pause and resume errors are not shown";
}

TEST_F(MediaDeviceTest, Stop)
{
    StopMedia(&midi);
    EXPECT_EQ("", TakeMciTrace());

    AddEntries(&midi, {"C:\\a.mid"});
    MakeOpen(&midi, PLAYSTATE_PLAYING);
    StopMedia(&midi);
    EXPECT_EQ("STOP#7 0x0 null", TakeMciTrace());
    EXPECT_EQ(PLAYSTATE_STOPPED, StateOf(MCI_DEVTYPE_SEQUENCER));

    SetPlayState(MCI_DEVTYPE_SEQUENCER, PLAYSTATE_PLAYING);
    g_script.stopError = MCIERR_HARDWARE;
    StopMedia(&midi);
    EXPECT_EQ(PLAYSTATE_PLAYING, StateOf(MCI_DEVTYPE_SEQUENCER));
    EXPECT_EQ(Boxes{"Velutra|MCI error 262|none"}, TakeMessageBoxes());
}

TEST_F(MediaDeviceTest, SeekToStartOfTrackOrDisc)
{
    SeekToStart(&cd, 1);
    EXPECT_EQ("", TakeMciTrace());

    MakeOpen(&cd, PLAYSTATE_PAUSED);
    g_script.position = MakeTmsf(4, 2, 33, 17);
    SeekToStart(&cd, 0);
    EXPECT_EQ("STATUS#7 0x102 item=0x2 | SEEK#7 0xa to=0x00000004", TakeMciTrace());
    SeekToStart(&cd, 1);
    EXPECT_EQ("STATUS#7 0x102 item=0x2 | SEEK#7 0xa to=0x00000001", TakeMciTrace());
    EXPECT_EQ(PLAYSTATE_PAUSED, StateOf(MCI_DEVTYPE_CD_AUDIO)) << "seeks leave the play state alone";

    g_script.positionError = MCIERR_HARDWARE;
    SeekToStart(&cd, 0);
    EXPECT_EQ("STATUS#7 0x102 item=0x2", TakeMciTrace()) << "gives up when the position is unknown";

    AddEntries(&midi, {"C:\\a.mid"});
    MakeOpen(&midi);
    SeekToStart(&midi, 0);
    EXPECT_EQ("SEEK#7 0xa to=0x00000000", TakeMciTrace());
    g_script.seekError = MCIERR_OUTOFRANGE;
    SeekToStart(&midi, 0);
    EXPECT_EQ(Boxes{"Velutra|MCI error 282|none"}, TakeMessageBoxes());
}

TEST_F(MediaDeviceTest, SelectEntryOnTheCd)
{
    SelectPlaylistEntry(&cd, 3);
    EXPECT_EQ("", TakeMciTrace()) << "a closed device only stores the index";
    EXPECT_EQ(3, cd.playlist.current);

    MakeOpen(&cd, PLAYSTATE_PLAYING);
    g_script.mode = MCI_MODE_PLAY;
    SelectPlaylistEntry(&cd, 1);
    EXPECT_EQ("STATUS#7 0x100 item=0x4 | STOP#7 0x0 null | STATUS#7 0x102 item=0x2 | "
              "SEEK#7 0xa to=0x00000002 | STATUS#7 0x100 item=0x4 | PLAY#7 0x1 cb=cd",
              TakeMciTrace());
    EXPECT_EQ(1, cd.playlist.current);

    g_script.mode = MCI_MODE_PAUSE;
    SelectPlaylistEntry(&cd, 0);
    EXPECT_EQ("STATUS#7 0x100 item=0x4 | STOP#7 0x0 null | STATUS#7 0x102 item=0x2 | SEEK#7 0xa to=0x00000001",
              TakeMciTrace()) << "a device that was not playing does not start";
    EXPECT_EQ(0, cd.playlist.current);

    g_script.mode = MCI_MODE_PLAY;
    g_script.seekError = MCIERR_OUTOFRANGE;
    SelectPlaylistEntry(&cd, 6);
    EXPECT_EQ("STATUS#7 0x100 item=0x4 | STOP#7 0x0 null | STATUS#7 0x102 item=0x2 | SEEK#7 0xa to=0x00000007",
              TakeMciTrace()) << "no play after a failed seek";
    EXPECT_EQ(6, cd.playlist.current);

    g_script.positionError = MCIERR_DEVICE_NOT_READY;
    SelectPlaylistEntry(&cd, 2);
    EXPECT_EQ(6, cd.playlist.current) << "unchanged when the position is unknown";
    EXPECT_EQ(Boxes{}, TakeMessageBoxes());
}

TEST_F(MediaDeviceTest, SelectEntryReopensFileDevices)
{
    AddEntries(&midi, {"C:\\a.mid", "C:\\b.mid"});
    MakeOpen(&midi, PLAYSTATE_PLAYING);
    g_script.mode = MCI_MODE_PLAY;
    SelectPlaylistEntry(&midi, 1);
    EXPECT_EQ("STATUS#7 0x100 item=0x4 | STOP#7 0x0 null | CLOSE#7 0x2 cb=0 | "
              "OPEN#0 0x2202 type=sequencer element=\"C:\\b.mid\" | STATUS#7 0x100 item=0x6 | SET#7 0x400 format=0 | "
              "STATUS#7 0x100 item=0x4 | PLAY#7 0x1 cb=midi",
              TakeMciTrace());
    EXPECT_EQ(1, midi.playlist.current);

    wave.flags = MDF_NEWRECORDING;
    MakeOpen(&wave);
    SelectPlaylistEntry(&wave, 0);
    EXPECT_EQ(Boxes{kEmpty}, TakeMessageBoxes()) << "the reopen shows its own messages";
    EXPECT_EQ(0u, wave.flags & MDF_NEWRECORDING);
}

TEST_F(MediaDeviceTest, NextAndPreviousWrap)
{
    NextPlaylistEntry(&cd);
    PreviousPlaylistEntry(&cd);
    EXPECT_EQ("", TakeMciTrace()) << "nothing at all on a closed device";
    EXPECT_EQ(0, cd.playlist.current);

    AddEntries(&cd, {"Track 1", "Track 2", "Track 3"});
    MakeOpen(&cd);
    cd.playlist.current = 2;
    NextPlaylistEntry(&cd);
    EXPECT_EQ(0, cd.playlist.current);
    EXPECT_EQ("STATUS#7 0x100 item=0x4 | STOP#7 0x0 null | STATUS#7 0x102 item=0x2 | SEEK#7 0xa to=0x00000001",
              TakeMciTrace());
    PreviousPlaylistEntry(&cd);
    EXPECT_EQ(2, cd.playlist.current);
    EXPECT_EQ("STATUS#7 0x100 item=0x4 | STOP#7 0x0 null | STATUS#7 0x102 item=0x2 | SEEK#7 0xa to=0x00000003",
              TakeMciTrace());

    ClearPlaylist(&cd.playlist);
    g_script.seekError = MCIERR_OUTOFRANGE;
    PreviousPlaylistEntry(&cd);
    EXPECT_EQ(-1, cd.playlist.current) << "previous on an open device with an empty list";
}

TEST_F(MediaDeviceTest, SkipBackwardOnTheCd)
{
    SkipBackward(&cd);
    EXPECT_EQ("", TakeMciTrace());

    MakeOpen(&cd, PLAYSTATE_PLAYING);
    g_script.mode = MCI_MODE_PLAY;
    g_script.position = MakeTmsf(3, 0, 0, 40);
    SkipBackward(&cd);
    EXPECT_EQ("STATUS#7 0x100 item=0x4 | STOP#7 0x0 null | STATUS#7 0x102 item=0x2", TakeMciTrace())
        << "at 0:00 the device stops and seeks nowhere";
    EXPECT_EQ(PLAYSTATE_STOPPED, StateOf(MCI_DEVTYPE_CD_AUDIO));

    g_script.position = MakeTmsf(3, 0, 7, 0);
    SkipBackward(&cd);
    EXPECT_EQ("STATUS#7 0x100 item=0x4 | STOP#7 0x0 null | STATUS#7 0x102 item=0x2 | SEEK#7 0xa to=0x00000003 | "
              "STATUS#7 0x100 item=0x4 | PLAY#7 0x1 cb=cd",
              TakeMciTrace()) << "0:07 to 0:00, playing again";

    g_script.mode = MCI_MODE_STOP;
    g_script.position = MakeTmsf(3, 3, 4, 0);
    SkipBackward(&cd);
    EXPECT_EQ("STATUS#7 0x100 item=0x4 | STOP#7 0x0 null | STATUS#7 0x102 item=0x2 | SEEK#7 0xa to=0x00360203",
              TakeMciTrace()) << "3:04 to 2:54, still stopped";

    g_script.seekError = MCIERR_OUTOFRANGE;
    SkipBackward(&cd);
    EXPECT_EQ(Boxes{}, TakeMessageBoxes());
}

TEST_F(MediaDeviceTest, SkipForwardOnTheCd)
{
    MakeOpen(&cd, PLAYSTATE_PLAYING);
    g_script.mode = MCI_MODE_PLAY;
    g_script.position = MakeTmsf(1, 2, 55, 0);
    SkipForward(&cd);
    EXPECT_EQ("STATUS#7 0x100 item=0x4 | STOP#7 0x0 null | STATUS#7 0x102 item=0x2 | SEEK#7 0xa to=0x00050301 | "
              "STATUS#7 0x100 item=0x4 | PLAY#7 0x1 cb=cd",
              TakeMciTrace()) << "2:55 to 3:05";

    g_script.positionError = MCIERR_HARDWARE;
    SkipForward(&cd);
    EXPECT_EQ("STATUS#7 0x100 item=0x4 | STOP#7 0x0 null | STATUS#7 0x102 item=0x2", TakeMciTrace());
}

TEST_F(MediaDeviceTest, MillisecondSkipsAndTheirErrors)
{
    AddEntries(&midi, {"C:\\a.mid"});
    MakeOpen(&midi, PLAYSTATE_PLAYING);
    g_script.mode = MCI_MODE_PLAY;
    g_script.position = 600;
    SkipBackward(&midi);
    EXPECT_EQ("STATUS#7 0x100 item=0x4 | STOP#7 0x0 null | STATUS#7 0x102 item=0x2 | SEEK#7 0xa to=0x00000000 | "
              "STATUS#7 0x100 item=0x4 | PLAY#7 0x1 cb=midi",
              TakeMciTrace());

    g_script.position = 61500;
    g_script.seekError = MCIERR_OUTOFRANGE;
    SkipForward(&midi);
    EXPECT_EQ("STATUS#7 0x100 item=0x4 | STOP#7 0x0 null | STATUS#7 0x102 item=0x2 | SEEK#7 0xa to=0x0000f424",
              TakeMciTrace()) << "past the end: refused, and no play";
    EXPECT_EQ(Boxes{}, TakeMessageBoxes()) << "a refused forward seek is not shown";
    EXPECT_EQ(PLAYSTATE_STOPPED, StateOf(MCI_DEVTYPE_SEQUENCER));

    SkipBackward(&midi);
    EXPECT_EQ(Boxes{"Velutra|MCI error 282|none"}, TakeMessageBoxes()) << "a refused backward seek is shown";
}

TEST_F(MediaDeviceTest, CdTrackListFromTheDisc)
{
    g_script.tracks = 3;
    EXPECT_EQ(-1, RefreshCdTrackList(&cd));
    EXPECT_EQ("", TakeMciTrace()) << "a closed device is refused silently";

    MakeOpen(&cd);
    cd.playlist.current = 5;
    EXPECT_EQ(0, RefreshCdTrackList(&cd));
    ASSERT_EQ(3, cd.playlist.count);
    PlaylistEntry entry;
    ReadPlaylistNode(FindPlaylistNode(&cd.playlist, 2), &entry);
    EXPECT_STREQ("Track 3", entry.text);
    EXPECT_EQ(3, entry.number);
    EXPECT_EQ(5, cd.playlist.current) << "current is put back even beyond the count";

    g_script.trackType = MCI_CDA_TRACK_OTHER;
    EXPECT_EQ(-1, RefreshCdTrackList(&cd));
    EXPECT_EQ(Boxes{kNotAudio}, TakeMessageBoxes());
    EXPECT_EQ(3, cd.playlist.count) << "a data disc leaves the old list";

    g_script.tracksError = MCIERR_DEVICE_NOT_READY;
    EXPECT_EQ(-1, RefreshCdTrackList(&cd));
    EXPECT_EQ(Boxes{kNoDisc}, TakeMessageBoxes());
    EXPECT_EQ(3, cd.playlist.count);

    g_script = MciScript{};
    g_script.tracks = 0;
    EXPECT_EQ(0, RefreshCdTrackList(&cd));
    EXPECT_EQ(0, cd.playlist.count) << "a disc of 0 tracks empties the list";
    EXPECT_EQ(Boxes{}, TakeMessageBoxes());
}

TEST_F(MediaDeviceTest, MciErrorTextsAreShownExceptForTheCd)
{
    ReportMciError(&cd, MCIERR_HARDWARE);
    EXPECT_EQ(Boxes{}, TakeMessageBoxes());
    ReportMciError(&wave, MCIERR_FILE_NOT_FOUND);
    EXPECT_EQ(Boxes{"Velutra|MCI error 275|none"}, TakeMessageBoxes());
}

TEST_F(MediaDeviceTest, ReleaseStopsClosesAndEmpties)
{
    AddEntries(&cd, {"Track 1", "Track 2"});
    MakeOpen(&cd, PLAYSTATE_PLAYING);
    EXPECT_EQ(0, ReleaseMediaDevice(&cd));
    EXPECT_EQ("STOP#7 0x0 null | CLOSE#7 0x2 cb=0", TakeMciTrace());
    EXPECT_EQ(0, cd.playlist.count);
    EXPECT_EQ(0u, cd.deviceId);
    ReleaseMediaDevice(&cd);
    EXPECT_EQ("", TakeMciTrace());
}

}  // namespace
