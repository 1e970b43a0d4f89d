// The virtual sequencer, driven through winmm as any program drives a "sequencer" device.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include "tests/win/win_test_support.h"

namespace {

class VirtualSequencer : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(RegisterVirtualSequencer()) << "vseq.dll must lie beside the tests, on a path without blanks";
        dir_ = ScratchDirectory("sequencer");
        log_ = dir_ + "sequencer.log";
        SetSequencerLog(log_);
        SetSequencerSpeed(100);
        ASSERT_TRUE(CreateNoticeWindow(&window_));
    }
    void TearDown() override
    {
        if (device_) mciSendCommandA(device_, MCI_CLOSE, MCI_WAIT, 0);
        SetSequencerSpeed(100);
        DestroyWindow(window_.hwnd);
    }

    MCIERROR Open(const std::string& path)
    {
        MCI_OPEN_PARMSA open{};
        open.lpstrDeviceType = "sequencer";
        open.lpstrElementName = path.c_str();
        MCIERROR error = mciSendCommandA(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT | MCI_WAIT,
                                         reinterpret_cast<DWORD_PTR>(&open));
        if (!error) device_ = open.wDeviceID;
        return error;
    }
    DWORD Status(DWORD item)
    {
        MCI_STATUS_PARMS status{};
        status.dwItem = item;
        MCIERROR error = mciSendCommandA(device_, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT,
                                         reinterpret_cast<DWORD_PTR>(&status));
        EXPECT_EQ(0u, error) << "status item " << item;
        return static_cast<DWORD>(status.dwReturn);
    }
    MCIERROR Play(DWORD flags = MCI_NOTIFY)
    {
        MCI_PLAY_PARMS play{};
        play.dwCallback = reinterpret_cast<DWORD_PTR>(window_.hwnd);
        return mciSendCommandA(device_, MCI_PLAY, flags, reinterpret_cast<DWORD_PTR>(&play));
    }
    MCIERROR Seek(DWORD to)
    {
        MCI_SEEK_PARMS seek{};
        seek.dwTo = to;
        return mciSendCommandA(device_, MCI_SEEK, MCI_TO | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&seek));
    }
    MCIERROR Simple(UINT command)
    {
        MCI_GENERIC_PARMS generic{};
        return mciSendCommandA(device_, command, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&generic));
    }
    bool WaitForNotices(std::size_t count)
    {
        return PumpUntil([&] { return window_.notices.size() >= count; });
    }

    std::string dir_;
    std::string log_;
    NoticeWindow window_;
    MCIDEVICEID device_ = 0;
};

TEST_F(VirtualSequencer, ReportsTheFilesTrueLengthAndRefusesOtherFiles)
{
    std::string song = dir_ + "song.mid";
    ASSERT_TRUE(WriteBytes(song, MidiOfLength(2345)));
    ASSERT_EQ(0u, Open(song));
    MCI_SET_PARMS set{};
    set.dwTimeFormat = MCI_FORMAT_MILLISECONDS;
    EXPECT_EQ(0u, mciSendCommandA(device_, MCI_SET, MCI_SET_TIME_FORMAT | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&set)));
    EXPECT_EQ(2345u, Status(MCI_STATUS_LENGTH));
    EXPECT_EQ(0u, Status(MCI_STATUS_POSITION));
    EXPECT_EQ(static_cast<DWORD>(MCI_MODE_STOP), Status(MCI_STATUS_MODE));
    EXPECT_EQ(static_cast<DWORD>(MCIERR_OUTOFRANGE), Seek(2346)) << "past the end";
    EXPECT_EQ(0u, Seek(2345)) << "to the very end";
    mciSendCommandA(device_, MCI_CLOSE, MCI_WAIT, 0);
    device_ = 0;

    std::string text = dir_ + "notes.mid";
    ASSERT_TRUE(WriteBytes(text, Bytes{'n', 'o', 't', ' ', 'm', 'u', 's', 'i', 'c'}));
    EXPECT_NE(0u, Open(text)) << "a text file named .mid";
    EXPECT_NE(0u, Open(dir_ + "missing.mid")) << "no such file";
    std::string log = ReadText(log_);
    EXPECT_NE(std::string::npos, log.find("song.mid length 2345")) << log;
    EXPECT_NE(std::string::npos, log.find("notes.mid refused: not a MIDI file")) << log;
}

TEST_F(VirtualSequencer, PlaysToTheEndAndNotifies)
{
    std::string song = dir_ + "song.mid";
    ASSERT_TRUE(WriteBytes(song, MidiOfLength(1500)));
    ASSERT_EQ(0u, Open(song));
    SetSequencerSpeed(1000);
    ASSERT_EQ(0u, Play());
    ASSERT_TRUE(WaitForNotices(1)) << "no end notice";
    EXPECT_EQ(static_cast<WPARAM>(MCI_NOTIFY_SUCCESSFUL), window_.notices[0].first);
    EXPECT_EQ(static_cast<LPARAM>(device_), window_.notices[0].second);
    EXPECT_EQ(1500u, Status(MCI_STATUS_POSITION));
    EXPECT_EQ(static_cast<DWORD>(MCI_MODE_STOP), Status(MCI_STATUS_MODE));
}

TEST_F(VirtualSequencer, FrozenClockHoldsThePositionWhilePlaying)
{
    std::string song = dir_ + "song.mid";
    ASSERT_TRUE(WriteBytes(song, MidiOfLength(5000)));
    ASSERT_EQ(0u, Open(song));
    SetSequencerSpeed(0);
    ASSERT_EQ(0u, Seek(3000));
    ASSERT_EQ(0u, Play());
    EXPECT_EQ(static_cast<DWORD>(MCI_MODE_PLAY), Status(MCI_STATUS_MODE));
    Sleep(100);
    EXPECT_EQ(3000u, Status(MCI_STATUS_POSITION));
    ASSERT_EQ(0u, Simple(MCI_PAUSE));
    EXPECT_EQ(static_cast<DWORD>(MCI_MODE_PAUSE), Status(MCI_STATUS_MODE));
    ASSERT_EQ(0u, Simple(MCI_RESUME));
    EXPECT_EQ(static_cast<DWORD>(MCI_MODE_PLAY), Status(MCI_STATUS_MODE));
    EXPECT_TRUE(window_.notices.empty()) << "pause and resume keep the play's notice pending";
    ASSERT_EQ(0u, Simple(MCI_STOP));
    ASSERT_TRUE(WaitForNotices(1));
    EXPECT_EQ(static_cast<WPARAM>(MCI_NOTIFY_ABORTED), window_.notices[0].first) << "stop aborts";
    EXPECT_EQ(3000u, Status(MCI_STATUS_POSITION)) << "stop keeps the position";
}

TEST_F(VirtualSequencer, NewPlaySupersedesAndSeekAbortsThePendingNotice)
{
    std::string song = dir_ + "song.mid";
    ASSERT_TRUE(WriteBytes(song, MidiOfLength(5000)));
    ASSERT_EQ(0u, Open(song));
    SetSequencerSpeed(0);
    ASSERT_EQ(0u, Play());
    ASSERT_EQ(0u, Play());
    ASSERT_TRUE(WaitForNotices(1));
    EXPECT_EQ(static_cast<WPARAM>(MCI_NOTIFY_SUPERSEDED), window_.notices[0].first);
    ASSERT_EQ(0u, Seek(0));
    ASSERT_TRUE(WaitForNotices(2));
    EXPECT_EQ(static_cast<WPARAM>(MCI_NOTIFY_ABORTED), window_.notices[1].first);
    ASSERT_EQ(0u, Play());
    ASSERT_EQ(0u, Play(0));
    ASSERT_TRUE(WaitForNotices(3));
    EXPECT_EQ(static_cast<WPARAM>(MCI_NOTIFY_ABORTED), window_.notices[2].first) << "a play without notice aborts";

    // A paused play resumed at speed reaches its end and sends its notice.
    ASSERT_EQ(0u, Seek(4500));
    ASSERT_EQ(0u, Play());
    ASSERT_EQ(0u, Simple(MCI_PAUSE));
    SetSequencerSpeed(1000);
    ASSERT_EQ(0u, Simple(MCI_RESUME));
    ASSERT_TRUE(WaitForNotices(4));
    EXPECT_EQ(static_cast<WPARAM>(MCI_NOTIFY_SUCCESSFUL), window_.notices[3].first);
    std::string log = ReadText(log_);
    EXPECT_NE(std::string::npos, log.find("notify superseded")) << log;
    EXPECT_NE(std::string::npos, log.find("seek to 4500")) << log;
}

}  // namespace
