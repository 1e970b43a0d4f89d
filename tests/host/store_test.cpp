// The store file's bytes and the playlist model under it: the example files, damaged files and the limits.
#include <gtest/gtest.h>

#include <cstdlib>

#include "model/playlist_store.h"
#include "tests/host/playlist_texts.h"

namespace {

using namespace std::string_literals;
using Bytes = std::vector<unsigned char>;
using Strings = std::vector<std::string>;

Bytes operator+(Bytes a, const Bytes& b) { return a.insert(a.end(), b.begin(), b.end()), a; }
Bytes Rec(const std::string& text) { return Bytes(text.begin(), text.end()) + Bytes(256 - text.size(), 0); }
Bytes Sec(std::uint8_t id, std::uint8_t count, std::uint8_t flags) { return {0, id, 0, count, 0, 0, 0, flags}; }
const Bytes kHeader{'V', 'L', 10, 0, 0, 0, 0, 0};

struct Lists {  // both players' lists and flags, as a save takes them and a load leaves them
    Playlist midi, sound;
    std::uint32_t midiFlags = 0, soundFlags = 0;
    ~Lists() { ClearPlaylist(&midi), ClearPlaylist(&sound); }
    Bytes Encode() { return EncodePlaylistStore({&midi, midiFlags}, {&sound, soundFlags}); }
    int Decode(const Bytes& b)
    {
        return DecodePlaylistStore(b.data(), b.size(), {&midi, &midiFlags}, {&sound, &soundFlags});
    }
};

TEST(Store, TheExampleFilesAndTheLongestListsByteForByteAndAFailedWriteFailsTheStore)
{
    EXPECT_EQ((kHeader + Sec(1, 0, 0) + Sec(2, 0, 0)), Lists{}.Encode());
    Lists out, many, manyBack;
    const Strings texts{"C:\\Music\\First.mid", "C:\\Music\\Second.rmi", "D:\\Third.mid"};
    for (const std::string& t : texts) AppendText(&out.midi, t);
    out.midiFlags = 0x3;  // looping and open at Exit, and recording: only looping is stored
    out.soundFlags = 0x8;
    EXPECT_EQ((kHeader + Sec(1, 3, 2) + Rec(texts[0]) + Rec(texts[1]) + Rec(texts[2]) + Sec(2, 0, 0)), out.Encode());
    auto write = [](void* room, const unsigned char*, std::size_t size) {  // a disk that fills up
        auto left = static_cast<std::size_t*>(room);
        return *left >= size && (*left -= size, true);
    };
    for (std::size_t room : {0, 7, 8, 16, 100, 16 + 512, 24 + 512, 24 + 767, 24 + 768}) {
        std::size_t left = room;
        EXPECT_EQ(room < 24 + 768 ? -1 : 0, WritePlaylistStore({&left, write}, {&out.midi, 0}, {&out.sound, 0}))
            << "room for " << room << " bytes";
    }

    for (int i = 1; i <= 65537; ++i) AppendText(&many.midi, std::to_string(i));
    AppendText(&many.sound, "C:\\" + std::string(252, 'x'));  // 255 characters
    for (int i = 1; i <= 256; ++i) AppendText(&many.sound, std::to_string(i));
    many.midiFlags = 0xFFFFFFFF;
    many.soundFlags = 0x40;
    ASSERT_EQ(0, manyBack.Decode(many.Encode()));
    Strings first = Texts(many.midi);
    first.resize(65535);
    EXPECT_EQ(first, Texts(manyBack.midi)) << "a list is stored as its first 65535 entries";
    EXPECT_EQ(Texts(many.sound), Texts(manyBack.sound));
    EXPECT_EQ(std::pair(0xFFFFFFF6u, 0x40u), std::pair(manyBack.midiFlags, manyBack.soundFlags)) << "open, recording";
}

TEST(Store, DamagedFilesLoadTheirWholeRecordsAndNothingElse)
{
    const Bytes whole = kHeader + Sec(1, 3, 0xB) + Rec("a") + Rec("b") + Rec("c") + Sec(2, 2, 2) + Rec("d") + Rec("e");
    auto cut = [&](std::size_t n) { return Bytes(whole.begin(), whole.begin() + n); };
    const Bytes noNul = kHeader + Sec(1, 3, 0) + Rec("1") + Bytes(256, 'A') + Rec("3") + Sec(2, 1, 0) + Bytes(256, 'A');
    const Strings om{"old1", "old2"}, os{"old3"}, abc{"a", "b", "c"};
    struct Case { const char* name; Bytes bytes; int result; Strings midi; unsigned mf; Strings sound; unsigned sf; };
    const Case cases[] = {
        {"file header cut", cut(7), -1, om, 0x100, os, 0x200},
        {"first magic byte wrong", Bytes{'v', 'L'} + Bytes(whole.begin() + 2, whole.end()), -1, om, 0x100, os, 0x200},
        {"second magic byte wrong", Bytes{'V', 'l'} + Bytes(whole.begin() + 2, whole.end()), -1, om, 0x100, os, 0x200},
        {"file header alone", cut(8), 0, om, 0x100, os, 0x200},
        {"MIDI header, no record", cut(16), 0, {}, 2, os, 0x200},
        {"cut in the second record", cut(16 + 256 + 100), 0, {"a"}, 2, os, 0x200},
        {"one byte short of a Sound record", cut(24 + 768 + 255), 0, abc, 2, {}, 2},
        {"format and reserved bytes", Bytes{'V', 'L', 11, 0xFF, 0, 0, 0, 0x7F} + Bytes(whole.begin() + 8, whole.end()),
         0, abc, 2, {"d", "e"}, 2},
        {"Sound where MIDI belongs", kHeader + Sec(2, 0, 2) + Sec(2, 1, 2) + Rec("x"), 0, om, 0x100, {"x"}, 2},
        {"foreign id with records", kHeader + Sec(7, 2, 0) + Rec("p") + Rec("q") + Sec(2, 0, 0), 0, om, 0x100, os,
         0x200},
        {"wrong Sound id", kHeader + Sec(1, 1, 0) + Rec("m") + Sec(3, 1, 0) + Rec("s"), 0, {"m"}, 0, os, 0x200},
        {"no NUL", noNul, 0, {"1", "3"}, 0, {}, 0}};
    for (const Case& c : cases) {  // a loaded section replaces its list, numbered from 1, with the first entry current
        Lists in;
        for (const char* text : {"old1", "old2"}) AppendText(&in.midi, text);
        AppendText(&in.sound, "old3");
        std::tie(in.midi.current, in.sound.current, in.midiFlags, in.soundFlags) = std::tuple(1, 5, 0x100u, 0x200u);
        EXPECT_EQ(c.result, in.Decode(c.bytes)) << c.name;
        EXPECT_EQ(std::pair(c.midi, c.sound), std::pair(Texts(in.midi), Texts(in.sound))) << c.name;
        EXPECT_EQ(std::pair(c.mf, c.sf), std::pair(in.midiFlags, in.soundFlags)) << c.name << ": flags";
        EXPECT_EQ(std::pair(c.mf == 0x100 ? 1 : 0, c.sf == 0x200 ? 5 : 0), std::pair(in.midi.current, in.sound.current))
            << c.name << ": current entries";
    }
}

int g_liveBlocks = 0, g_noMemory = 0;
void* Allocate(std::size_t size) { return g_noMemory ? nullptr : (++g_liveBlocks, std::calloc(1, size)); }
void Release(void* block)
{
    g_liveBlocks -= block != nullptr;
    std::free(block);
}

TEST(PlaylistModel, NoMemoryAndTextsOrPathsOver255CharactersAreRefused)
{
    const PlaylistAllocator counting{Allocate, Release};
    SetPlaylistAllocator(&counting);
    Playlist list;
    const std::string longest(255, 'b');
    for (const std::string& text : {"first"s, longest}) ASSERT_EQ(0, AppendText(&list, text));
    list.current = 1;
    g_noMemory = 1;
    EXPECT_EQ(-1, AppendText(&list, "third")) << "no memory";
    g_noMemory = 0;
    EXPECT_EQ(-1, AppendText(&list, longest + "b")) << "256 characters are refused, never cut";
    EXPECT_EQ((Strings{"first", longest}), Texts(list));
    EXPECT_EQ(std::pair(2, 1), std::pair(g_liveBlocks, list.current)) << "blocks held, current entry";
    ASSERT_EQ(0, AppendText(&list, "third")) << "the tail still takes entries";
    EXPECT_EQ((Strings{"first", longest, "third"}), Texts(list));
    EXPECT_EQ(nullptr, FindPlaylistNode(&list, -1));
    EXPECT_EQ(0, ClearPlaylist(&list));
    EXPECT_EQ(0, g_liveBlocks + list.count + list.current) << "clearing frees every entry";
    SetPlaylistAllocator(nullptr);

    const std::string dir = "C:\\" + std::string(240, 'd'), n11(11, 'n');  // 243 and 11 characters: 255 fit, 256 not
    const std::pair<std::string, Strings> selections[] = {{"C:\\Music\\One.mid\0\0"s, {"C:\\Music\\One.mid"}},
        {"C:\\Music\0a.mid\0b.rmi\0\0"s, {"C:\\Music\\a.mid", "C:\\Music\\b.rmi"}}, {"C:\\\0a.mid\0\0"s, {"C:\\a.mid"}},
        {"\0\0"s, {}}, {"C:\\" + std::string(253, 'p') + "\0\0"s, {}},
        {dir + '\0' + n11 + '\0' + n11 + "m\0ok.mid\0\0"s, {dir + '\\' + n11, dir + "\\ok.mid"}}};
    for (const auto& [buffer, paths] : selections) EXPECT_EQ(paths, SelectedFilePaths(buffer.c_str())) << buffer;

    // The store beside the program: refused when its path passes 255 characters, or when the module
    // path was not read or fills its 256-byte buffer and so may have been cut short.
    const std::string d245 = "C:\\" + std::string(242, 'd');
    const std::pair<std::string, std::string> stores[] = {{"", ""}, {d245 + "\\v.exe", d245 + "\\velutra.s"},
        {d245 + "d\\v.exe", ""}, {"C:\\" + std::string(252, 'v'), ""}};
    for (const auto& [module, store] : stores) {
        char out[256] = "unchanged";
        EXPECT_EQ(store.empty() ? -1 : 0, BuildStorePath(module.c_str(), out)) << module.size();
        EXPECT_EQ(store, out) << module.size();
    }
}

}  // namespace
