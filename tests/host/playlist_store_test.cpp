// The store file's bytes: known layouts, round trips, and damaged or foreign files.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "model/playlist_store.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes Record(const std::string& text)
{
    Bytes record(kStoreRecordSize, 0);
    std::memcpy(record.data(), text.data(), text.size());
    return record;
}

const Bytes kFileHeader{0x56, 0x4C, 0x0A, 0x00, 0x00, 0x00, 0x00, 0x00};

Bytes SectionHeader(std::uint16_t id, std::uint16_t count, std::uint32_t flags)
{
    return {static_cast<unsigned char>(id >> 8), static_cast<unsigned char>(id),
            static_cast<unsigned char>(count >> 8), static_cast<unsigned char>(count),
            static_cast<unsigned char>(flags >> 24), static_cast<unsigned char>(flags >> 16),
            static_cast<unsigned char>(flags >> 8), static_cast<unsigned char>(flags)};
}

std::string EntryPath(const char* kind, int i)
{
    return std::string("C:\\") + kind + "\\" + std::to_string(i) + ".mid";
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

std::vector<int> Numbers(const Playlist& list)
{
    std::vector<int> numbers;
    PlaylistEntry entry;
    for (PlaylistHandle node = FirstPlaylistNode(&list); node;) {
        node = ReadPlaylistNode(node, &entry);
        numbers.push_back(entry.number);
    }
    return numbers;
}

class StoreTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        ClearPlaylist(&midi);
        ClearPlaylist(&sound);
        ClearPlaylist(&loadedMidi);
        ClearPlaylist(&loadedSound);
    }
    void Fill(Playlist* list, const char* kind, int count)
    {
        for (int i = 1; i <= count; ++i) {
            PlaylistEntry entry;
            entry.number = i;
            std::string text = EntryPath(kind, i);
            std::memcpy(entry.text, text.data(), text.size());
            ASSERT_EQ(0, AppendPlaylistEntry(list, &entry));
        }
    }
    Bytes Encode() { return EncodePlaylistStore({&midi, midiFlags}, {&sound, soundFlags}); }
    int Decode(const Bytes& bytes)
    {
        return DecodePlaylistStore(bytes.data(), bytes.size(), {&loadedMidi, &loadedMidiFlags},
                                   {&loadedSound, &loadedSoundFlags});
    }
    // What a fresh start holds before the store is read, made recognisable.
    void PresetLoadedLists()
    {
        Fill(&loadedMidi, "OldMidi", 2);
        Fill(&loadedSound, "OldSound", 1);
        loadedMidi.current = 1;
        loadedSound.current = 5;
        loadedMidiFlags = 0x100;
        loadedSoundFlags = 0x200;
    }

    Playlist midi, sound, loadedMidi, loadedSound;
    std::uint32_t midiFlags = 0, soundFlags = 0;
    std::uint32_t loadedMidiFlags = 0, loadedSoundFlags = 0;
};

TEST_F(StoreTest, TwoEmptyListsGiveTheTwentyFourByteFile)
{
    EXPECT_EQ(Concat({kFileHeader, SectionHeader(1, 0, 0), SectionHeader(2, 0, 0)}), Encode());
    EXPECT_EQ(24u, Encode().size());
}

TEST_F(StoreTest, ThreeLoopingMidiEntriesAndNoSoundGive792Bytes)
{
    const char* texts[] = {"C:\\Music\\First.mid", "C:\\Music\\Second.rmi", "D:\\Third.mid"};
    for (int i = 0; i < 3; ++i) {
        PlaylistEntry entry;
        entry.number = i + 1;
        std::strcpy(entry.text, texts[i]);
        ASSERT_EQ(0, AppendPlaylistEntry(&midi, &entry));
    }
    midiFlags = 0x2 | 0x1;  // looping and open at Exit
    Bytes expected = Concat({kFileHeader, SectionHeader(1, 3, 2), Record(texts[0]), Record(texts[1]),
                             Record(texts[2]), SectionHeader(2, 0, 0)});
    Bytes bytes = Encode();
    EXPECT_EQ(792u, bytes.size());
    EXPECT_EQ(expected, bytes);
    EXPECT_EQ((Bytes{0x00, 0x01, 0x00, 0x03, 0x00, 0x00, 0x00, 0x02}), Bytes(bytes.begin() + 8, bytes.begin() + 16));
    EXPECT_EQ((Bytes{0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}), Bytes(bytes.begin() + 784, bytes.end()));

    ASSERT_EQ(0, Decode(bytes));
    EXPECT_EQ(std::vector<std::string>(texts, texts + 3), Texts(loadedMidi));
    EXPECT_EQ((std::vector<int>{1, 2, 3}), Numbers(loadedMidi));
    EXPECT_EQ(2u, loadedMidiFlags);
    EXPECT_EQ(0, loadedSound.count);
}

TEST_F(StoreTest, ListsOfEveryCountSizeComeBackWhole)
{
    for (int count : {1, 127, 128, 200, 255, 256, 257, 300, 1000}) {
        SCOPED_TRACE(count);
        ClearPlaylist(&midi);
        ClearPlaylist(&sound);
        Fill(&midi, "Midi", count);
        Fill(&sound, "Sound", count / 2 + 1);
        midiFlags = 0x2;
        soundFlags = 0;
        Bytes bytes = Encode();
        ASSERT_EQ(24u + 256u * (count + count / 2 + 1), bytes.size());
        ASSERT_EQ(0, Decode(bytes));
        EXPECT_EQ(Texts(midi), Texts(loadedMidi));
        EXPECT_EQ(Texts(sound), Texts(loadedSound));
        EXPECT_EQ(count, loadedMidi.count);
        std::vector<int> numbers = Numbers(loadedMidi);
        for (int i = 0; i < count; ++i) ASSERT_EQ(i + 1, numbers[i]) << "entry " << i;
        EXPECT_EQ(0, loadedMidi.current);
        EXPECT_EQ(0, loadedSound.current);
        EXPECT_EQ(2u, loadedMidiFlags);
        EXPECT_EQ(0u, loadedSoundFlags);
    }
}

TEST_F(StoreTest, LongestTextsFillTheirRecordsUpToTheNul)
{
    std::string longest = "C:\\" + std::string(252, 'x');
    PlaylistEntry entry;
    entry.number = 1;
    std::memcpy(entry.text, longest.data(), longest.size());
    ASSERT_EQ(0, AppendPlaylistEntry(&sound, &entry));
    Bytes bytes = Encode();
    ASSERT_EQ(24u + 256u, bytes.size());
    EXPECT_EQ(Record(longest), Bytes(bytes.begin() + 24, bytes.begin() + 280));
    EXPECT_EQ(0, bytes[24 + 255]);
    ASSERT_EQ(0, Decode(bytes));
    EXPECT_EQ(std::vector<std::string>{longest}, Texts(loadedSound));
}

TEST_F(StoreTest, OpenAndRecordingBitsAreNeverStoredNorTakenBack)
{
    for (std::uint32_t flags : {0x0u, 0x1u, 0x2u, 0x3u, 0x8u, 0x9u, 0xAu, 0xBu, 0xFu, 0x40u, 0xFFFFFFFFu}) {
        midiFlags = flags;
        soundFlags = flags;
        Bytes bytes = Encode();
        std::uint32_t stored = (bytes[12] << 24) | (bytes[13] << 16) | (bytes[14] << 8) | bytes[15];
        EXPECT_EQ(flags & ~0x9u, stored) << std::hex << "MIDI flags 0x" << flags;
        EXPECT_EQ(Bytes(bytes.begin() + 12, bytes.begin() + 16), Bytes(bytes.begin() + 20, bytes.begin() + 24));
    }
    // A file written elsewhere may carry them; loading clears them and keeps every other bit.
    Bytes foreign = Concat({kFileHeader, SectionHeader(1, 0, 0x4B), SectionHeader(2, 0, 0x9)});
    ASSERT_EQ(0, Decode(foreign));
    EXPECT_EQ(0x42u, loadedMidiFlags);
    EXPECT_EQ(0u, loadedSoundFlags);
}

TEST_F(StoreTest, LoadingReplacesTheListsAndMakesTheFirstEntryCurrent)
{
    PresetLoadedLists();
    Fill(&midi, "Midi", 3);
    Fill(&sound, "Sound", 2);
    ASSERT_EQ(0, Decode(Encode()));
    EXPECT_EQ(Texts(midi), Texts(loadedMidi));
    EXPECT_EQ(Texts(sound), Texts(loadedSound));
    EXPECT_EQ(0, loadedMidi.current);
    EXPECT_EQ(0, loadedSound.current);
    EXPECT_EQ(0u, loadedMidiFlags);
    EXPECT_EQ(0u, loadedSoundFlags);
}

TEST_F(StoreTest, WrongMagicOrShortHeaderChangesNothing)
{
    Fill(&midi, "Midi", 2);
    Fill(&sound, "Sound", 2);
    midiFlags = 2;
    Bytes good = Encode();
    Bytes cases[] = {{}, {0x56}, {0x56, 0x4C}, Bytes(good.begin(), good.begin() + 7), good, good, good};
    cases[4][0] = 'v';
    cases[5][1] = 'M';
    cases[6][0] = 0x4C;
    cases[6][1] = 0x56;
    for (const Bytes& bytes : cases) {
        SCOPED_TRACE(bytes.size());
        ClearPlaylist(&loadedMidi);
        ClearPlaylist(&loadedSound);
        PresetLoadedLists();
        EXPECT_EQ(-1, Decode(bytes));
        EXPECT_EQ((std::vector<std::string>{EntryPath("OldMidi", 1), EntryPath("OldMidi", 2)}), Texts(loadedMidi));
        EXPECT_EQ(std::vector<std::string>{EntryPath("OldSound", 1)}, Texts(loadedSound));
        EXPECT_EQ(1, loadedMidi.current);
        EXPECT_EQ(5, loadedSound.current);
        EXPECT_EQ(0x100u, loadedMidiFlags);
        EXPECT_EQ(0x200u, loadedSoundFlags);
    }
}

TEST_F(StoreTest, FormatAndReservedBytesAreIgnoredOnLoading)
{
    Fill(&midi, "Midi", 1);
    Bytes bytes = Encode();
    bytes[2] = 11;
    bytes[3] = 0xFF;
    bytes[7] = 0x7F;
    ASSERT_EQ(0, Decode(bytes));
    EXPECT_EQ(Texts(midi), Texts(loadedMidi));
}

TEST_F(StoreTest, TruncatedFilesLoadTheWholeRecordsPresent)
{
    Fill(&midi, "Midi", 3);
    Fill(&sound, "Sound", 2);
    midiFlags = 2;
    soundFlags = 2;
    const Bytes whole = Encode();
    const std::vector<std::string> oldMidi{EntryPath("OldMidi", 1), EntryPath("OldMidi", 2)};
    const std::vector<std::string> oldSound{EntryPath("OldSound", 1)};
    const struct {
        std::size_t size;
        std::vector<std::string> midi;
        std::vector<std::string> sound;
    } cases[] = {
        {8, oldMidi, oldSound},                                  // the file header alone
        {13, oldMidi, oldSound},                                 // ends inside the MIDI section header
        {16, {}, oldSound},                                      // MIDI header, no record
        {16 + 256 + 100, {EntryPath("Midi", 1)}, oldSound},      // ends inside the second record
        {16 + 512, {EntryPath("Midi", 1), EntryPath("Midi", 2)}, oldSound},
        {16 + 768, Texts(midi), oldSound},                       // ends right after the MIDI section
        {16 + 768 + 4, Texts(midi), oldSound},                   // ends inside the Sound header
        {24 + 768 + 255, Texts(midi), {}},                       // ends one byte short of a record
        {24 + 768 + 256, Texts(midi), {EntryPath("Sound", 1)}},
        {whole.size(), Texts(midi), Texts(sound)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        ClearPlaylist(&loadedMidi);
        ClearPlaylist(&loadedSound);
        PresetLoadedLists();
        EXPECT_EQ(0, Decode(Bytes(whole.begin(), whole.begin() + c.size)));
        EXPECT_EQ(c.midi, Texts(loadedMidi));
        EXPECT_EQ(c.sound, Texts(loadedSound));
        EXPECT_EQ(c.midi == oldMidi ? 0x100u : 2u, loadedMidiFlags);
        EXPECT_EQ(c.sound == oldSound ? 0x200u : 2u, loadedSoundFlags);
    }
}

TEST_F(StoreTest, SectionWithTheWrongIdIsNotLoadedAndItsRecordsAreNotSkipped)
{
    PresetLoadedLists();
    // A Sound section where the MIDI one belongs: not loaded as MIDI; the 8 bytes after its header
    // are taken as the next section header, which here happens to be a real Sound header.
    Bytes swapped = Concat({kFileHeader, SectionHeader(2, 0, 2), SectionHeader(2, 1, 2), Record("C:\\x.wav")});
    ASSERT_EQ(0, Decode(swapped));
    EXPECT_EQ((std::vector<std::string>{EntryPath("OldMidi", 1), EntryPath("OldMidi", 2)}), Texts(loadedMidi));
    EXPECT_EQ(0x100u, loadedMidiFlags);
    EXPECT_EQ(std::vector<std::string>{"C:\\x.wav"}, Texts(loadedSound));
    EXPECT_EQ(2u, loadedSoundFlags);

    // A foreign id with records: the first record's bytes become the next header and match nothing.
    ClearPlaylist(&loadedMidi);
    ClearPlaylist(&loadedSound);
    PresetLoadedLists();
    Bytes foreign = Concat({kFileHeader, SectionHeader(7, 2, 0), Record("C:\\a.mid"), Record("C:\\b.mid"),
                            SectionHeader(2, 0, 0)});
    ASSERT_EQ(0, Decode(foreign));
    EXPECT_EQ(2, loadedMidi.count);
    EXPECT_EQ(1, loadedSound.count);
    EXPECT_EQ(0x100u, loadedMidiFlags);
    EXPECT_EQ(0x200u, loadedSoundFlags);

    // A good MIDI section followed by a wrong id: MIDI loads, Sound keeps what it held.
    ClearPlaylist(&loadedMidi);
    ClearPlaylist(&loadedSound);
    PresetLoadedLists();
    Bytes badSound = Concat({kFileHeader, SectionHeader(1, 1, 0), Record("C:\\m.mid"), SectionHeader(3, 1, 0),
                             Record("C:\\s.wav")});
    ASSERT_EQ(0, Decode(badSound));
    EXPECT_EQ(std::vector<std::string>{"C:\\m.mid"}, Texts(loadedMidi));
    EXPECT_EQ(std::vector<std::string>{EntryPath("OldSound", 1)}, Texts(loadedSound));
}

TEST_F(StoreTest, RecordWithoutNulIsLeftOutAndNeverReadPast)
{
    Bytes noNul(kStoreRecordSize, 'A');
    Bytes bytes = Concat({kFileHeader, SectionHeader(1, 3, 0), Record("C:\\one.mid"), noNul, Record("C:\\three.mid"),
                          SectionHeader(2, 1, 0), noNul});
    ASSERT_EQ(0, Decode(bytes));
    EXPECT_EQ((std::vector<std::string>{"C:\\one.mid", "C:\\three.mid"}), Texts(loadedMidi));
    EXPECT_EQ((std::vector<int>{1, 2}), Numbers(loadedMidi));
    EXPECT_EQ(0, loadedSound.count);
}

TEST_F(StoreTest, ListLongerThanTheCountFieldIsStoredAsItsFirst65535Entries)
{
    Fill(&midi, "Midi", 65537);
    Fill(&sound, "Sound", 1);
    Bytes bytes = Encode();
    ASSERT_EQ(24u + 256u * (65535u + 1u), bytes.size());
    EXPECT_EQ(SectionHeader(1, 65535, 0), Bytes(bytes.begin() + 8, bytes.begin() + 16));
    ASSERT_EQ(0, Decode(bytes));
    EXPECT_EQ(65535, loadedMidi.count);
    std::vector<std::string> first = Texts(midi);
    first.resize(65535);
    EXPECT_EQ(first, Texts(loadedMidi));
    EXPECT_EQ(Texts(sound), Texts(loadedSound));
}

TEST_F(StoreTest, AFailedWriteFailsTheWholeStore)
{
    Fill(&midi, "Midi", 2);
    Fill(&sound, "Sound", 2);
    struct Sink {
        int writesLeft;
        int writes;
    };
    auto write = [](void* context, const unsigned char*, std::size_t) {
        auto sink = static_cast<Sink*>(context);
        ++sink->writes;
        return sink->writesLeft-- > 0;
    };
    // Header, MIDI header, 2 records, Sound header, 2 records: 7 writes.
    for (int failAt = 0; failAt < 7; ++failAt) {
        Sink sink{failAt, 0};
        EXPECT_EQ(-1, WritePlaylistStore(StoreWriter{&sink, write}, {&midi, 0}, {&sound, 0})) << failAt;
        EXPECT_EQ(failAt + 1, sink.writes) << "stops at the first failed write";
    }
    Sink sink{7, 0};
    EXPECT_EQ(0, WritePlaylistStore(StoreWriter{&sink, write}, {&midi, 0}, {&sound, 0}));
}

TEST(StorePath, BesideTheProgramWithin255Characters)
{
    char out[kEntryTextSize];
    EXPECT_EQ(0, BuildStorePath("C:\\Apps\\Velutra\\velutra.exe", out));
    EXPECT_STREQ("C:\\Apps\\Velutra\\velutra.s", out);
    EXPECT_EQ(0, BuildStorePath("C:\\velutra.exe", out));
    EXPECT_STREQ("C:\\velutra.s", out);

    std::string directory = "C:\\" + std::string(242, 'd');  // 245 characters: the path has 255
    EXPECT_EQ(0, BuildStorePath((directory + "\\v.exe").c_str(), out));
    EXPECT_EQ(directory + "\\velutra.s", out);
    EXPECT_EQ(255u, std::strlen(out));

    EXPECT_EQ(-1, BuildStorePath((directory + "d\\v.exe").c_str(), out)) << "256 characters";
    EXPECT_STREQ("", out);
    char full[kEntryTextSize];  // a module path that fills its buffer may have been cut
    std::memset(full, 'e', sizeof(full));
    std::memcpy(full, "C:\\a\\", 5);
    full[255] = '\0';
    EXPECT_EQ(-1, BuildStorePath(full, out));
    full[254] = '\0';
    EXPECT_EQ(0, BuildStorePath(full, out));
    EXPECT_STREQ("C:\\a\\velutra.s", out);
}

}  // namespace
