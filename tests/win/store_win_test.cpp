// The store file beside the program and the registry settings, as the next start finds them.
#include <shlwapi.h>

#include <fstream>

#include "app/app.h"
#include "model/playlist_store.h"
#include "tests/win/win_support.h"

namespace {

using namespace std::string_literals;

std::vector<unsigned char> FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void SetModulePath(const std::string& path) { lstrcpynA(g_app.modulePath, path.c_str(), sizeof g_app.modulePath); }

// Exit saves what the next start loads, a list over 64 KiB included; a save that fails leaves the
// previous store byte for byte and no temporary file; a store path of 255 characters, the longest, works.
TEST_F(Program, StoreSavesWhatTheNextStartLoadsAndAFailedSaveKeepsThePreviousStore)
{
    const std::string folder = "C:\\velutra-store", store = folder + "\\velutra.s", temporary = store + ".tmp";
    const std::string longest = folder + "\\" + std::string(228, 'd');  // with "\velutra.s": 255 characters
    Playlist *midi = &g_app.MidiDevice.playlist, *sound = &g_app.SoundDevice.playlist;
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr) && CreateDirectoryA(longest.c_str(), nullptr));
    SetModulePath(folder + "\\v.exe");
    for (int i = 1; i <= 300; ++i) AppendText(midi, "C:\\Midi\\" + std::to_string(i) + ".mid");
    AppendText(sound, "C:\\Sounds\\Bell.wav");
    g_app.MidiDevice.flags = MDF_LOOP | MDF_OPEN;
    g_app.SoundDevice.flags = MDF_NEWRECORDING;
    const std::vector<std::string> midiTexts = Texts(*midi), soundTexts = Texts(*sound);
    ASSERT_EQ(0, SavePlaylistStore());
    const std::vector<unsigned char> saved = FileBytes(store);
    EXPECT_EQ(EncodePlaylistStore({midi, MDF_LOOP}, {sound, 0}), saved);
    ResetApp();  // the next start
    ASSERT_EQ(0, LoadPlaylistStore());
    EXPECT_EQ(std::pair(midiTexts, soundTexts), std::pair(Texts(*midi), Texts(*sound)));

    AppendText(sound, "C:\\New.wav");
    HANDLE held = CreateFileA(store.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(-1, SavePlaylistStore()) << "the store is held open, so it cannot be replaced";
    CloseHandle(held);
    EXPECT_EQ(saved, FileBytes(store)) << "a failed save changed the store";
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(temporary.c_str())) << "a failed save left its temporary";

    SetModulePath(longest + "\\v.exe");
    ASSERT_EQ(0, SavePlaylistStore()) << "a store path of 255 characters";
    EXPECT_EQ(0, LoadPlaylistStore());
    for (const std::string& file : {store, longest + "\\velutra.s"}) DeleteFileA(file.c_str());
    RemoveDirectoryA(longest.c_str());
    RemoveDirectoryA(folder.c_str());
}

constexpr char kSettings[] = "SOFTWARE\\VELUTRA", kRun[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

std::pair<DWORD, std::string> Stored(const char* keyPath, const char* name)  // REG_NONE and no bytes when missing
{
    char data[1024];
    DWORD type = REG_NONE, size = sizeof data;
    if (SHGetValueA(HKEY_LOCAL_MACHINE, keyPath, name, &type, data, &size)) return {REG_NONE, ""};
    return {type, std::string(data, size)};
}

std::string Dword(DWORD value) { return std::string(reinterpret_cast<const char*>(&value), sizeof value); }

void ClearSettings()  // no settings key, no Run entry, the defaults and a module path
{
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kSettings);
    SHDeleteValueA(HKEY_LOCAL_MACHINE, kRun, "VelutraTray");
    g_app.settings = AppSettings{};
    SetModulePath("C:\\Velutra\\velutra.exe");
}

TEST_F(Program, SettingsSaveARunEntryOfTheWholeQuotedPathWhileTheTrayIsOn)
{
    ClearSettings();
    const std::string p254 = "C:\\" + std::string(251, 'p');
    const std::pair<std::string, std::string> runEntries[] = {  // the module path, the Run entry it gives
        {"C:\\Velutra\\velutra.exe", "C:\\Velutra\\velutra.exe TRAYAPP"},
        {"C:\\Program Files\\v.exe", "\"C:\\Program Files\\v.exe\" TRAYAPP"},
        {"C:\\a\tb\\v.exe", "\"C:\\a\tb\\v.exe\" TRAYAPP"},
        {p254, p254 + " TRAYAPP"},
        {p254 + 'q', p254 + " TRAYAPP"}};  // 255 characters may have been cut: the entry is kept
    for (const auto& [path, entry] : runEntries) {
        SetModulePath(path);
        EXPECT_EQ(0, SaveSettings());
        EXPECT_EQ(std::pair(DWORD{REG_SZ}, entry + '\0'), Stored(kRun, "VelutraTray")) << path.size();
    }
    g_app.settings.Config &= ~CFG_TRAY;
    EXPECT_EQ(0, SaveSettings());
    EXPECT_EQ(DWORD{REG_NONE}, Stored(kRun, "VelutraTray").first) << "the tray is off";
}

TEST_F(Program, SettingsOnlyFourByteDwordsReplaceTheDefaultsAndTheBannerIsForcedOn)
{
    struct Case { const char* name; DWORD type; std::string data; std::uint32_t AppSettings::*field, loaded; };
    const Case cases[] = {
        {"Config", REG_DWORD, Dword(0x6E), &AppSettings::Config, 0x6F},  // unassigned bits kept
        {"Option", REG_DWORD, Dword(0xDEADBEEF), &AppSettings::Option, 0xDEADBEEF},
        {"Wavefmt", REG_DWORD, "\3\0"s, &AppSettings::Wavefmt, 10},
        {"Wavefmt", REG_DWORD, Dword(16), &AppSettings::Wavefmt, 16},
        {"Wavefmt", REG_DWORD, Dword(17), &AppSettings::Wavefmt, 10},
        {"Config", REG_SZ, "5"s + '\0', &AppSettings::Config, 0x9F},
        {"Option", REG_BINARY, Dword(1), &AppSettings::Option, 0},
        {"Wavefmt", REG_QWORD, Dword(3) + Dword(0), &AppSettings::Wavefmt, 10}};
    for (const Case& c : cases) {
        ClearSettings();
        SHSetValueA(HKEY_LOCAL_MACHINE, kSettings, c.name, c.type, c.data.data(), DWORD(c.data.size()));
        EXPECT_EQ(0, LoadSettings());
        EXPECT_EQ(c.loaded, g_app.settings.*c.field) << c.name << " of type " << c.type;
    }
}

}  // namespace
