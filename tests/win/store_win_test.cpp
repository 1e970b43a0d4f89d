// The store file beside the program: what lands on disk, what comes back, and failed saves.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/app.h"
#include "model/playlist_store.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes ReadWholeFile(const std::string& path)
{
    Bytes bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    unsigned char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof(chunk), &got, nullptr) && got) bytes.insert(bytes.end(), chunk, chunk + got);
    CloseHandle(file);
    return bytes;
}

void WriteWholeFile(const std::string& path, const Bytes& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << path;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

Bytes Record(const std::string& text)
{
    Bytes record(256, 0);
    std::memcpy(record.data(), text.data(), text.size());
    return record;
}

std::vector<std::string> Texts(const Playlist& list)
{
    std::vector<std::string> texts;
    PlaylistEntry entry;
    for (PlaylistHandle node = FirstPlaylistNode(&list); node;) {
        node = ReadPlaylistNode(node, &entry);
        texts.emplace_back(entry.text);
    }
    return texts;
}

void Append(Playlist* list, const std::string& text)
{
    PlaylistEntry entry;
    entry.number = list->count + 1;
    std::memcpy(entry.text, text.data(), text.size());
    ASSERT_EQ(0, AppendPlaylistEntry(list, &entry));
}

class StoreWinTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "velutra-store-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder.c_str(), nullptr);
        SetModulePath(folder + "\\velutra.exe");
        store = folder + "\\velutra.s";
        temporary = store + ".tmp";
        InitMediaDevice(&g_app.MidiDevice, MCI_DEVTYPE_SEQUENCER);
        InitMediaDevice(&g_app.SoundDevice, MCI_DEVTYPE_WAVEFORM_AUDIO);
    }
    void TearDown() override
    {
        ClearPlaylist(&g_app.MidiDevice.playlist);
        ClearPlaylist(&g_app.SoundDevice.playlist);
        SetFileAttributesA(store.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(store.c_str());
        RemoveDirectoryA(temporary.c_str());
        DeleteFileA(temporary.c_str());
        RemoveDirectoryA(folder.c_str());
    }
    void SetModulePath(const std::string& path)
    {
        std::memset(g_app.modulePath, 0, sizeof(g_app.modulePath));
        lstrcpynA(g_app.modulePath, path.c_str(), sizeof(g_app.modulePath));
    }
    std::string folder, store, temporary;
};

TEST_F(StoreWinTest, SaveWritesTheExactBytesBesideTheProgram)
{
    for (const char* text : {"C:\\Music\\First.mid", "C:\\Music\\Second.rmi", "D:\\Third.mid"})
        Append(&g_app.MidiDevice.playlist, text);
    g_app.MidiDevice.flags = MDF_LOOP | MDF_OPEN;
    g_app.SoundDevice.flags = MDF_NEWRECORDING;
    ASSERT_EQ(0, SavePlaylistStore());

    Bytes expected{0x56, 0x4C, 0x0A, 0, 0, 0, 0, 0, 0x00, 0x01, 0x00, 0x03, 0x00, 0x00, 0x00, 0x02};
    for (const char* text : {"C:\\Music\\First.mid", "C:\\Music\\Second.rmi", "D:\\Third.mid"}) {
        Bytes record = Record(text);
        expected.insert(expected.end(), record.begin(), record.end());
    }
    expected.insert(expected.end(), {0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00});
    EXPECT_EQ(expected, ReadWholeFile(store));
    EXPECT_FALSE(Exists(temporary)) << "no temporary file is left behind";
}

TEST_F(StoreWinTest, LoadBringsBackWhatExitSaved)
{
    for (int i = 1; i <= 300; ++i) Append(&g_app.MidiDevice.playlist, "C:\\Midi\\" + std::to_string(i) + ".mid");
    Append(&g_app.SoundDevice.playlist, "C:\\Sounds\\Bell.wav");
    g_app.MidiDevice.flags = MDF_LOOP;
    g_app.SoundDevice.flags = MDF_LOOP | MDF_OPEN;
    g_app.MidiDevice.playlist.current = 7;
    std::vector<std::string> midi = Texts(g_app.MidiDevice.playlist), sound = Texts(g_app.SoundDevice.playlist);
    ASSERT_EQ(0, SavePlaylistStore());
    Bytes saved = ReadWholeFile(store);

    InitMediaDevice(&g_app.MidiDevice, MCI_DEVTYPE_SEQUENCER);  // a fresh start
    InitMediaDevice(&g_app.SoundDevice, MCI_DEVTYPE_WAVEFORM_AUDIO);
    ASSERT_EQ(0, LoadPlaylistStore());
    EXPECT_EQ(midi, Texts(g_app.MidiDevice.playlist));
    EXPECT_EQ(sound, Texts(g_app.SoundDevice.playlist));
    EXPECT_EQ(0, g_app.MidiDevice.playlist.current);
    EXPECT_EQ(static_cast<DWORD>(MDF_LOOP), g_app.MidiDevice.flags);
    EXPECT_EQ(static_cast<DWORD>(MDF_LOOP), g_app.SoundDevice.flags);

    ASSERT_EQ(0, SavePlaylistStore());
    EXPECT_EQ(saved, ReadWholeFile(store)) << "saving what was loaded gives the same bytes";
}

TEST_F(StoreWinTest, MissingOrForeignFileChangesNothing)
{
    Append(&g_app.MidiDevice.playlist, "C:\\Keep.mid");
    g_app.MidiDevice.flags = MDF_LOOP;
    EXPECT_EQ(-1, LoadPlaylistStore()) << "no file";

    Bytes foreign{'V', 'X', 10, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0};
    WriteWholeFile(store, foreign);
    EXPECT_EQ(-1, LoadPlaylistStore()) << "wrong magic";
    EXPECT_EQ(std::vector<std::string>{"C:\\Keep.mid"}, Texts(g_app.MidiDevice.playlist));
    EXPECT_EQ(static_cast<DWORD>(MDF_LOOP), g_app.MidiDevice.flags);
    EXPECT_EQ(foreign, ReadWholeFile(store)) << "loading never writes";
}

TEST_F(StoreWinTest, DamagedFileLoadsWhatIsWhole)
{
    Bytes bytes{0x56, 0x4C, 0x0A, 0, 0, 0, 0, 0, 0x00, 0x01, 0x00, 0x03, 0x00, 0x00, 0x00, 0x0B};
    for (const char* text : {"C:\\one.mid", "C:\\two.mid"}) {
        Bytes record = Record(text);
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    bytes.resize(bytes.size() - 1);  // the second record is cut short, the third missing
    WriteWholeFile(store, bytes);
    Append(&g_app.SoundDevice.playlist, "C:\\Keep.wav");
    EXPECT_EQ(0, LoadPlaylistStore());
    EXPECT_EQ(std::vector<std::string>{"C:\\one.mid"}, Texts(g_app.MidiDevice.playlist));
    EXPECT_EQ(static_cast<DWORD>(MDF_LOOP), g_app.MidiDevice.flags) << "open and recording bits are not taken";
    EXPECT_EQ(std::vector<std::string>{"C:\\Keep.wav"}, Texts(g_app.SoundDevice.playlist));
}

TEST_F(StoreWinTest, FailedSaveLeavesThePreviousStoreByteForByte)
{
    Append(&g_app.MidiDevice.playlist, "C:\\Old.mid");
    ASSERT_EQ(0, SavePlaylistStore());
    Bytes previous = ReadWholeFile(store);
    ASSERT_EQ(24u + 256u, previous.size());
    Append(&g_app.MidiDevice.playlist, "C:\\New.mid");

    // The temporary file's name is taken by a folder: it cannot be created.
    ASSERT_TRUE(CreateDirectoryA(temporary.c_str(), nullptr));
    EXPECT_EQ(-1, SavePlaylistStore());
    EXPECT_EQ(previous, ReadWholeFile(store));
    RemoveDirectoryA(temporary.c_str());

    // The store cannot be replaced while another program holds it open without sharing.
    HANDLE held = CreateFileA(store.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_EQ(-1, SavePlaylistStore());
    CloseHandle(held);
    EXPECT_EQ(previous, ReadWholeFile(store));
    EXPECT_FALSE(Exists(temporary)) << "the temporary file is removed after a failure";

    ASSERT_EQ(0, SavePlaylistStore());
    EXPECT_EQ(24u + 512u, ReadWholeFile(store).size());
}

TEST_F(StoreWinTest, NoStoreWhereThePathWouldPass255Characters)
{
    // A folder name so long that "<folder>\velutra.s" has 256 characters; the folder itself is
    // never created, so nothing can be written even if the path were cut.
    std::string deep = folder + "\\" + std::string(255 - folder.size() - 1 - 10 + 1, 'd');
    SetModulePath(deep + "\\v.exe");
    std::string longStore = deep + "\\velutra.s";
    ASSERT_EQ(256u, longStore.size());
    Append(&g_app.MidiDevice.playlist, "C:\\a.mid");
    EXPECT_EQ(-1, SavePlaylistStore());
    EXPECT_EQ(-1, LoadPlaylistStore());
    EXPECT_EQ(1, g_app.MidiDevice.playlist.count);

    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    int entries = 0;
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (std::strcmp(found.cFileName, ".") && std::strcmp(found.cFileName, "..")) ++entries;
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    EXPECT_EQ(0, entries) << "nothing written anywhere in the program's folder";

    std::string longest = deep.substr(0, deep.size() - 1);  // the store path has 255 characters
    ASSERT_TRUE(CreateDirectoryA(longest.c_str(), nullptr)) << longest.size();
    SetModulePath(longest + "\v.exe");
    EXPECT_EQ(0, SavePlaylistStore());
    ClearPlaylist(&g_app.MidiDevice.playlist);
    EXPECT_EQ(0, LoadPlaylistStore());
    EXPECT_EQ(std::vector<std::string>{"C:\\a.mid"}, Texts(g_app.MidiDevice.playlist));
    DeleteFileA((longest + "\\velutra.s").c_str());
    RemoveDirectoryA(longest.c_str());
}

}  // namespace
