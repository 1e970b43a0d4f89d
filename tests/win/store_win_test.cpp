// The store file beside the program and the registry settings, as the next start finds them.
#include <gtest/gtest.h>
#include <shlwapi.h>

#include <fstream>

#include "app/app.h"
#include "model/playlist_store.h"
#include "tests/host/playlist_texts.h"

namespace {

using namespace std::string_literals;

std::vector<unsigned char> FileBytes(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}
void SetModulePath(const std::string& path) { lstrcpynA(g_app.modulePath, path.c_str(), sizeof g_app.modulePath); }

class StoreWinTest : public ::testing::Test {
protected:
    void SetUp() override { TearDown(), CreateDirectoryA(folder.c_str(), nullptr), SetModulePath(folder + "\\v.exe"); }
    void TearDown() override
    {
        NextStart(), DeleteFileA(store), RemoveDirectoryA(temporary), DeleteFileA((longest + "\\velutra.s").c_str());
        RemoveDirectoryA((longest + "d").c_str()), RemoveDirectoryA(longest.c_str()), RemoveDirectoryA(folder.c_str());
    }
    void NextStart() { ClearPlaylist(midi), ClearPlaylist(sound), g_app.MidiDevice.flags = g_app.SoundDevice.flags = 0; }
    Playlist *midi = &g_app.MidiDevice.playlist, *sound = &g_app.SoundDevice.playlist;
    const std::string folder = "C:\\velutra-store", longest = folder + "\\" + std::string(228, 'd');  // with "\velutra.s": 255 characters
    const char *store = "C:\\velutra-store\\velutra.s", *temporary = "C:\\velutra-store\\velutra.s.tmp";
};

TEST_F(StoreWinTest, ExitSavesWhatTheNextStartLoads)
{
    EXPECT_EQ(-1, LoadPlaylistStore()) << "no store yet";
    for (int i = 1; i <= 300; ++i) AppendText(midi, "C:\\Midi\\" + std::to_string(i) + ".mid");  // over 64 KiB
    AppendText(sound, "C:\\Sounds\\Bell.wav");
    g_app.MidiDevice.flags = MDF_LOOP | MDF_OPEN, g_app.SoundDevice.flags = MDF_NEWRECORDING;
    const std::vector<std::string> midiTexts = Texts(*midi), soundTexts = Texts(*sound);
    ASSERT_EQ(0, SavePlaylistStore());
    EXPECT_EQ(EncodePlaylistStore({midi, MDF_LOOP}, {sound, 0}), FileBytes(store));
    NextStart();
    ASSERT_EQ(0, LoadPlaylistStore());
    EXPECT_EQ(std::tuple(midiTexts, soundTexts, DWORD{MDF_LOOP}, DWORD{0}),
              std::tuple(Texts(*midi), Texts(*sound), g_app.MidiDevice.flags, g_app.SoundDevice.flags));
}

TEST_F(StoreWinTest, FailedSaveLeavesThePreviousStoreByteForByte)
{
    AppendText(midi, "C:\\Old.mid");
    ASSERT_EQ(0, SavePlaylistStore());
    const auto previous = FileBytes(store);
    AppendText(midi, "C:\\New.mid");
    ASSERT_TRUE(CreateDirectoryA(temporary, nullptr));  // the temporary file cannot be made
    EXPECT_EQ(-1, SavePlaylistStore());
    RemoveDirectoryA(temporary);
    HANDLE held = CreateFileA(store, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);  // nor can the store be replaced
    EXPECT_EQ(-1, SavePlaylistStore());
    CloseHandle(held);
    EXPECT_EQ(std::tuple(previous, INVALID_FILE_ATTRIBUTES), std::tuple(FileBytes(store), GetFileAttributesA(temporary)));
}

TEST_F(StoreWinTest, StorePathOfAtMost255Characters)
{
    AppendText(midi, "C:\\a.mid");
    ASSERT_TRUE(CreateDirectoryA(longest.c_str(), nullptr) && CreateDirectoryA((longest + "d").c_str(), nullptr));
    SetModulePath(longest + "d\\v.exe");
    EXPECT_EQ(-1, SavePlaylistStore()) << "a store path of 256 characters";
    EXPECT_EQ(-1, LoadPlaylistStore());
    EXPECT_TRUE(RemoveDirectoryA((longest + "d").c_str())) << "something was written";
    SetModulePath(longest + "\\" + std::string(9, 'v'));
    EXPECT_EQ(-1, SavePlaylistStore()) << "a module path that fills its buffer may have been cut";
    SetModulePath(longest + "\\v.exe");
    ASSERT_EQ(0, SavePlaylistStore());
    ClearPlaylist(midi);
    EXPECT_EQ(0, LoadPlaylistStore());
    EXPECT_EQ(std::vector{"C:\\a.mid"s}, Texts(*midi));
}

constexpr char kSettings[] = "SOFTWARE\\VELUTRA", kRun[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

std::pair<DWORD, std::string> Stored(const char* keyPath, const char* name)  // REG_NONE and no bytes when missing
{
    HKEY key;
    char data[1024];
    DWORD type = REG_NONE, size = sizeof data;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, &key)) return {REG_NONE, ""};
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size)) type = REG_NONE, size = 0;
    RegCloseKey(key);
    return {type, std::string(data, size)};
}
std::string Dword(DWORD value) { return std::string(reinterpret_cast<const char*>(&value), sizeof value); }

class SettingsWinTest : public ::testing::Test {
protected:
    void SetUp() override { TearDown(), g_app.settings = AppSettings{}, SetModulePath("C:\\Velutra\\velutra.exe"); }
    void TearDown() override { RegDeleteKeyA(HKEY_LOCAL_MACHINE, kSettings), SHDeleteValueA(HKEY_LOCAL_MACHINE, kRun, "VelutraTray"); }
};

TEST_F(SettingsWinTest, SaveWritesThreeDwordsAndARunEntryOfTheWholeQuotedPathWhileTheTrayIsOn)
{
    EXPECT_EQ(0, LoadSettings());
    EXPECT_EQ(std::pair(DWORD{REG_NONE}, ""s), Stored(kSettings, "Config")) << "loading writes no value";
    EXPECT_EQ(0, SaveSettings());
    for (auto [name, value] : {std::pair{"Config", 0x9Fu}, {"Option", 0u}, {"Wavefmt", 10u}})
        EXPECT_EQ(std::pair(DWORD{REG_DWORD}, Dword(value)), Stored(kSettings, name)) << name;
    const std::string p254 = "C:\\" + std::string(251, 'p');
    for (auto [path, entry] : {std::pair{"C:\\Velutra\\velutra.exe"s, "C:\\Velutra\\velutra.exe TRAYAPP"s},
             {"C:\\Program Files\\v.exe"s, "\"C:\\Program Files\\v.exe\" TRAYAPP"s}, {"C:\\a\tb\\v.exe"s, "\"C:\\a\tb\\v.exe\" TRAYAPP"s},
             {p254, p254 + " TRAYAPP"}, {p254 + 'q', p254 + " TRAYAPP"}}) {  // 255 characters may have been cut: kept
        SetModulePath(path);
        EXPECT_EQ(0, SaveSettings());
        EXPECT_EQ(std::pair(DWORD{REG_SZ}, entry + '\0'), Stored(kRun, "VelutraTray")) << path.size();
    }
    g_app.settings.Config &= ~CFG_TRAY;
    EXPECT_EQ(0, SaveSettings());
    EXPECT_EQ(std::tuple(DWORD{REG_NONE}, Dword(0x1F)), std::tuple(Stored(kRun, "VelutraTray").first, Stored(kSettings, "Config").second));
}

TEST_F(SettingsWinTest, OnlyFourByteDwordsReplaceTheDefaultsAndTheBannerIsForcedOn)
{
    const std::tuple<const char*, DWORD, std::string, std::uint32_t AppSettings::*, std::uint32_t> cases[] = {
        {"Config", REG_DWORD, Dword(0x6E), &AppSettings::Config, 0x6F},  // unassigned bits kept
        {"Option", REG_DWORD, Dword(0xDEADBEEF), &AppSettings::Option, 0xDEADBEEF}, {"Wavefmt", REG_DWORD, "\3\0"s, &AppSettings::Wavefmt, 10},
        {"Wavefmt", REG_DWORD, Dword(16), &AppSettings::Wavefmt, 16}, {"Wavefmt", REG_DWORD, Dword(17), &AppSettings::Wavefmt, 10},
        {"Config", REG_SZ, "5"s + '\0', &AppSettings::Config, 0x9F}, {"Option", REG_BINARY, Dword(1), &AppSettings::Option, 0},
        {"Wavefmt", REG_QWORD, Dword(3) + Dword(0), &AppSettings::Wavefmt, 10}};
    for (const auto& [name, type, data, field, loaded] : cases) {
        SetUp(), SHSetValueA(HKEY_LOCAL_MACHINE, kSettings, name, type, data.data(), DWORD(data.size()));
        EXPECT_EQ(0, LoadSettings());
        EXPECT_EQ(loaded, g_app.settings.*field) << name << " of type " << type;
    }
}

}  // namespace
