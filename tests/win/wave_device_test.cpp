// The Sound panel on Wine's real wave driver and the rig's sound server: every format row records
// the tone fed to it under the right header, and long runs of recordings and of plays that end
// and go on to the next file never crash the driver.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app.h"
#include "media/mci_seam.h"
#include "panels/panels.h"
#include "resources/resource.h"
#include "tests/audio/audio_rig.h"
#include "tests/audio/wave_file.h"
#include "tests/win/mci_recorder.h"
#include "tests/win/win_test_support.h"

namespace {

using Boxes = std::vector<std::string>;

int g_opens = 0;

// winmm itself, counting the opens on the way.
MCIERROR WINAPI CountingSend(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR parms)
{
    if (message == MCI_OPEN) ++g_opens;
    return mciSendCommandA(device, message, flags, parms);
}

std::vector<unsigned char> ReadBytes(const std::string& path)
{
    std::vector<unsigned char> bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    DWORD size = GetFileSize(file, nullptr);
    bytes.resize(size);
    DWORD got = 0;
    ReadFile(file, bytes.data(), size, &got, nullptr);
    bytes.resize(got);
    CloseHandle(file);
    return bytes;
}

void Wait(DWORD ms)
{
    PumpUntil([] { return false; }, ms);
}

class WaveDeviceTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_GT(waveInGetNumDevs(), 0u) << "no wave input: is the rig's PulseAudio running?";
        ASSERT_GT(waveOutGetNumDevs(), 0u) << "no wave output: is the rig's PulseAudio running?";
        g_app.settings = AppSettings{};
        InitMediaDevice(&sound, MCI_DEVTYPE_WAVEFORM_AUDIO);
        SetPlayState(MCI_DEVTYPE_WAVEFORM_AUDIO, PLAYSTATE_STOPPED);
        g_opens = 0;
        g_mci.sendCommand = CountingSend;
        WatchMessageBoxes(kAppName);  // the review and the Save As dialog are the test's
        g_app.mainWindow = CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 402, 370, nullptr, nullptr,
                                         nullptr, nullptr);
        ASSERT_TRUE(g_app.mainWindow) << "no windows: is a display driver set?";
        panel = CreateDialogParamA(g_app.instance, MAKEINTRESOURCEA(IDD_SOUNDPANEL), g_app.mainWindow,
                                   SoundPanelProc, 0);
        ASSERT_TRUE(panel);
    }

    void TearDown() override
    {
        if (g_app.RecordReview) Press(IDC_RECORDEND);
        StopMedia(&sound);
        CloseMediaDevice(&sound);
        DestroyWindow(g_app.mainWindow);
        g_app.mainWindow = g_app.SoundPanel = g_app.recorderPanel = nullptr;
        StopWatchingMessageBoxes();
        g_mci.sendCommand = mciSendCommandA;
        ClearPlaylist(&sound.playlist);
        sound.flags = 0;
    }

    void Press(UINT id) { SendMessageA(panel, WM_COMMAND, id, 0); }

    // Record for `ms`, stop, save to `path` and end the recording, as the review dialog does.
    bool RecordInto(const std::string& path, DWORD ms)
    {
        Press(IDC_RECORD);
        Wait(ms);
        Press(IDC_STOP);
        if (!g_app.RecordReview) return false;
        int saved = SaveRecording(&sound, path.c_str());
        Press(IDC_RECORDEND);
        return saved == 0 && !(sound.flags & MDF_NEWRECORDING);
    }

    void AddEntry(const std::string& path)
    {
        PlaylistEntry entry;
        entry.number = sound.playlist.count + 1;
        lstrcpynA(entry.text, path.c_str(), sizeof(entry.text));
        AppendPlaylistEntry(&sound.playlist, &entry);
    }

    HWND panel = nullptr;
    MediaDevice& sound = g_app.SoundDevice;
};

TEST_F(WaveDeviceTest, EveryFormatRowRecordsTheFedToneUnderItsOwnHeader)
{
    std::string folder = audio::FreshFolder("rows");
    ASSERT_TRUE(audio::MakeTone(folder + "/feed.wav", 120, 440, 0.5, 44100));
    audio::Feed feed;
    ASSERT_TRUE(feed.Start(folder + "/feed.wav")) << "paplay could not feed the tone";

    struct Row {
        DWORD rate;
        WORD bits, channels;
    };
    const Row rows[17] = {{8000, 8, 1},   {8000, 8, 2},   {8000, 16, 1},  {8000, 16, 2},  {11025, 8, 1},
                          {11025, 8, 2},  {11025, 16, 1}, {11025, 16, 2}, {22050, 8, 1},  {22050, 8, 2},
                          {22050, 16, 1}, {22050, 16, 2}, {44100, 8, 1},  {44100, 8, 2},  {44100, 16, 1},
                          {44100, 16, 2}, {48000, 16, 2}};
    for (DWORD row = 0; row < 17; ++row) {
        g_app.settings.Wavefmt = row;
        std::string path = audio::DosPath(folder) + "\\row" + std::to_string(row) + ".wav";
        ASSERT_TRUE(RecordInto(path, 900)) << "row " << row;
        std::vector<unsigned char> bytes = ReadBytes(path);
        audio::WaveFile wave = audio::ReadWaveFile(bytes);
        ASSERT_TRUE(wave.ok) << "row " << row << ": " << wave.error;
        const Row& want = rows[row];
        WORD align = static_cast<WORD>(want.bits / 8 * want.channels);
        EXPECT_EQ(1, wave.formatTag) << "row " << row;
        EXPECT_EQ(want.channels, wave.channels) << "row " << row;
        EXPECT_EQ(want.rate, wave.samplesPerSec) << "row " << row;
        EXPECT_EQ(want.bits, wave.bitsPerSample) << "row " << row;
        EXPECT_EQ(align, wave.blockAlign) << "row " << row;
        EXPECT_EQ(want.rate * align, wave.avgBytesPerSec) << "row " << row;
        EXPECT_EQ(44u, wave.dataOffset) << "row " << row << ": a plain header";
        EXPECT_EQ(bytes.size() - 8, wave.riffSize) << "row " << row;
        EXPECT_EQ(bytes.size() - 44, wave.dataSize) << "row " << row;
        EXPECT_EQ(0u, wave.dataSize % align) << "row " << row;
        audio::ToneMeasure tone = audio::MeasureTone(wave);
        EXPECT_NEAR(0.9, tone.seconds, 0.45) << "row " << row;
        EXPECT_NEAR(440, tone.frequency, 15) << "row " << row;
        EXPECT_NEAR(0.354, tone.rms, 0.05) << "row " << row << ": a sine of half full scale";
        std::printf("row %2lu: %5lu Hz %2u bits %u ch: %.3f s, %.1f Hz, RMS %.3f\n", static_cast<unsigned long>(row),
                    static_cast<unsigned long>(want.rate), want.bits, want.channels, tone.seconds, tone.frequency,
                    tone.rms);
    }
    EXPECT_EQ(Boxes{}, TakeMessageBoxes());
}

TEST_F(WaveDeviceTest, FiftyRecordSaveCloseCyclesRunWithoutACrash)
{
    std::string folder = audio::FreshFolder("cycles");
    ASSERT_TRUE(audio::MakeTone(folder + "/feed.wav", 120, 1000, 0.5, 44100));
    audio::Feed feed;
    ASSERT_TRUE(feed.Start(folder + "/feed.wav"));
    for (int cycle = 1; cycle <= 50; ++cycle) {
        std::string path = audio::DosPath(folder) + "\\take" + std::to_string(cycle) + ".wav";
        ASSERT_TRUE(RecordInto(path, 250)) << "cycle " << cycle;
        audio::WaveFile wave = audio::ReadWaveFile(ReadBytes(path));
        ASSERT_TRUE(wave.ok) << "cycle " << cycle << ": " << wave.error;
        EXPECT_GT(wave.dataSize, 0u) << "cycle " << cycle;
    }
    EXPECT_EQ(Boxes{}, TakeMessageBoxes());
}

TEST_F(WaveDeviceTest, FiftyPlaysToTheEndGoOnToTheNextFileWithoutACrash)
{
    std::string folder = audio::FreshFolder("plays");
    ASSERT_TRUE(audio::MakeTone(folder + "/a.wav", 0.15, 1000));
    ASSERT_TRUE(audio::MakeTone(folder + "/b.wav", 0.15, 500));
    AddEntry(audio::DosPath(folder + "/a.wav"));
    AddEntry(audio::DosPath(folder + "/b.wav"));
    sound.flags |= MDF_LOOP;
    Press(IDC_PLAY);
    EXPECT_TRUE(PumpUntil([] { return g_opens > 50; }, 120000)) << "only " << g_opens << " files opened";
    Press(IDC_STOP);
    EXPECT_EQ(Boxes{}, TakeMessageBoxes());
}

}  // namespace
