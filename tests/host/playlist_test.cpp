// The playlist model: appending, walking, finding, clearing, memory shortage, and the path helpers.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "model/playlist.h"

namespace {

// Blocks handed out and not yet released, and how many more allocations may succeed (-1: all).
int g_liveBlocks = 0;
int g_allocationsLeft = -1;

void* CountingAllocate(std::size_t size)
{
    if (g_allocationsLeft == 0) return nullptr;
    if (g_allocationsLeft > 0) --g_allocationsLeft;
    void* block = std::calloc(1, size);
    if (block) ++g_liveBlocks;
    return block;
}

void CountingRelease(void* block)
{
    if (block) --g_liveBlocks;
    std::free(block);
}

PlaylistEntry MakeEntry(int number, const std::string& text)
{
    PlaylistEntry entry;
    entry.number = number;
    std::memcpy(entry.text, text.data(), text.size());
    return entry;
}

std::string TextAt(const Playlist& list, int index)
{
    PlaylistEntry entry;
    PlaylistHandle node = FindPlaylistNode(&list, index);
    if (!node) return "<none>";
    ReadPlaylistNode(node, &entry);
    return entry.text;
}

class PlaylistTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_liveBlocks = 0;
        g_allocationsLeft = -1;
        const PlaylistAllocator counting{CountingAllocate, CountingRelease};
        SetPlaylistAllocator(&counting);
        InitPlaylist(&list);
    }
    void TearDown() override
    {
        ClearPlaylist(&list);
        EXPECT_EQ(0, g_liveBlocks) << "blocks left after clearing";
        SetPlaylistAllocator(nullptr);
    }
    void Append(const std::string& text)
    {
        PlaylistEntry entry = MakeEntry(list.count + 1, text);
        ASSERT_EQ(0, AppendPlaylistEntry(&list, &entry)) << text;
    }
    Playlist list;
};

TEST_F(PlaylistTest, EmptyListHasNoEntryAnywhere)
{
    EXPECT_EQ(0, list.count);
    EXPECT_EQ(0, list.current);
    EXPECT_EQ(nullptr, list.head);
    EXPECT_EQ(nullptr, list.tail);
    EXPECT_EQ(nullptr, FirstPlaylistNode(&list));
    EXPECT_EQ(nullptr, FindPlaylistNode(&list, 0));
    EXPECT_EQ(nullptr, FindPlaylistNode(&list, -1));
    EXPECT_EQ(nullptr, FindPlaylistNode(nullptr, 0));
    EXPECT_EQ(nullptr, FirstPlaylistNode(nullptr));
    PlaylistEntry entry = MakeEntry(7, "untouched");
    EXPECT_EQ(nullptr, ReadPlaylistNode(nullptr, &entry));
    EXPECT_EQ(7, entry.number);
    EXPECT_STREQ("untouched", entry.text);
}

TEST_F(PlaylistTest, FirstAppendIsHeadAndTail)
{
    Append("C:\\Music\\One.mid");
    EXPECT_EQ(1, list.count);
    EXPECT_NE(nullptr, list.head);
    EXPECT_EQ(list.head, list.tail);
    EXPECT_EQ(list.head, FirstPlaylistNode(&list));
    PlaylistEntry out;
    EXPECT_EQ(nullptr, ReadPlaylistNode(list.head, &out)) << "no entry after the only one";
    EXPECT_EQ(1, out.number);
    EXPECT_STREQ("C:\\Music\\One.mid", out.text);
}

TEST_F(PlaylistTest, EntriesKeepTheirOrderAndAreFoundByIndex)
{
    const char* texts[] = {"a.mid", "b.mid", "c.mid", "d.mid"};
    for (const char* t : texts) Append(t);
    EXPECT_EQ(4, list.count);

    int walked = 0;
    PlaylistEntry out;
    for (PlaylistHandle node = FirstPlaylistNode(&list); node; ++walked) {
        PlaylistHandle here = node;
        node = ReadPlaylistNode(node, &out);
        EXPECT_STREQ(texts[walked], out.text);
        EXPECT_EQ(walked + 1, out.number);
        EXPECT_EQ(here, FindPlaylistNode(&list, walked));
        if (!node) {
            EXPECT_EQ(list.tail, here) << "the last entry walked is the tail";
        }
    }
    EXPECT_EQ(4, walked);
    EXPECT_EQ(nullptr, FindPlaylistNode(&list, 4)) << "index == count";
    EXPECT_EQ(nullptr, FindPlaylistNode(&list, -1));
    EXPECT_EQ(nullptr, FindPlaylistNode(&list, 1000));
}

TEST_F(PlaylistTest, CurrentIsNotKeptInRange)
{
    list.current = 5;
    Append("a.mid");
    Append("b.mid");
    EXPECT_EQ(5, list.current) << "appending leaves current alone";
    EXPECT_EQ(nullptr, FindPlaylistNode(&list, list.current));
    list.current = -1;
    EXPECT_EQ(nullptr, FindPlaylistNode(&list, list.current));
    list.current = 1;
    EXPECT_EQ("b.mid", TextAt(list, list.current));
}

TEST_F(PlaylistTest, EntriesAreCopiedInAndOut)
{
    PlaylistEntry in = MakeEntry(3, "C:\\Sounds\\Bell.wav");
    ASSERT_EQ(0, AppendPlaylistEntry(&list, &in));
    std::strcpy(in.text, "changed by the caller");
    in.number = 99;

    PlaylistEntry out;
    ReadPlaylistNode(list.head, &out);
    EXPECT_STREQ("C:\\Sounds\\Bell.wav", out.text);
    EXPECT_EQ(3, out.number);
    std::strcpy(out.text, "changed again");
    EXPECT_EQ("C:\\Sounds\\Bell.wav", TextAt(list, 0));
}

TEST_F(PlaylistTest, OnlyTheTextUpToItsNulIsCopied)
{
    PlaylistEntry in = MakeEntry(1, "short");
    std::memset(in.text + 6, 'x', sizeof(in.text) - 6);  // bytes after the NUL are not the entry's
    ASSERT_EQ(0, AppendPlaylistEntry(&list, &in));
    PlaylistEntry out;
    std::memset(out.text, 'y', sizeof(out.text));
    ReadPlaylistNode(list.head, &out);
    EXPECT_STREQ("short", out.text);
    for (std::size_t i = 5; i < sizeof(out.text); ++i) ASSERT_EQ(0, out.text[i]) << "byte " << i;
}

TEST_F(PlaylistTest, ClearFreesEveryEntryAndResetsCurrent)
{
    for (int i = 0; i < 10; ++i) Append("entry " + std::to_string(i));
    EXPECT_EQ(10, g_liveBlocks);
    list.current = 7;
    EXPECT_EQ(0, ClearPlaylist(&list));
    EXPECT_EQ(0, g_liveBlocks);
    EXPECT_EQ(0, list.count);
    EXPECT_EQ(0, list.current);
    EXPECT_EQ(nullptr, list.head);
    EXPECT_EQ(nullptr, list.tail);
    EXPECT_EQ(-1, ClearPlaylist(nullptr));
    Append("after clearing");
    EXPECT_EQ(1, list.count);
    EXPECT_EQ("after clearing", TextAt(list, 0));
}

TEST_F(PlaylistTest, MemoryShortageLeavesTheListAsItWas)
{
    Append("first");
    Append("second");
    PlaylistHandle head = list.head, tail = list.tail;
    list.current = 1;

    g_allocationsLeft = 0;
    PlaylistEntry entry = MakeEntry(3, "third");
    EXPECT_EQ(nullptr, NewPlaylistNode(&entry));
    EXPECT_EQ(-1, AppendPlaylistEntry(&list, &entry));
    EXPECT_EQ(2, list.count);
    EXPECT_EQ(1, list.current);
    EXPECT_EQ(head, list.head);
    EXPECT_EQ(tail, list.tail);
    PlaylistEntry out;
    EXPECT_EQ(nullptr, ReadPlaylistNode(list.tail, &out)) << "nothing hangs off the tail";
    EXPECT_EQ("second", TextAt(list, 1));

    g_allocationsLeft = -1;
    EXPECT_EQ(0, AppendPlaylistEntry(&list, &entry));
    EXPECT_EQ("third", TextAt(list, 2));
    EXPECT_EQ(-1, AppendPlaylistEntry(nullptr, &entry));
}

TEST_F(PlaylistTest, TextOfMoreThan255CharactersIsRefusedNotCut)
{
    PlaylistEntry full;
    full.number = 1;
    std::memset(full.text, 'a', sizeof(full.text));  // 256 characters and no NUL
    EXPECT_EQ(nullptr, NewPlaylistNode(&full));
    EXPECT_EQ(-1, AppendPlaylistEntry(&list, &full));
    EXPECT_EQ(0, list.count);
    EXPECT_EQ(0, g_liveBlocks) << "nothing allocated for a refused text";

    std::string longest(255, 'b');
    Append(longest);
    EXPECT_EQ(longest, TextAt(list, 0));
}

TEST(PathHelpers, DirectoryOfPath)
{
    char out[kEntryTextSize];
    const struct {
        const char* path;
        const char* directory;
    } cases[] = {
        {"C:\\Apps\\Player.exe", "C:\\Apps"},
        {"C:\\Player.exe", "C:"},
        {"C:Player.exe", "C"},
        {"Player.exe", ""},
        {"", ""},
        {"C:\\Music\\", "C:\\Music"},
        {"\\\\server\\share\\a.mid", "\\\\server\\share"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(0, DirectoryOfPath(c.path, out));
        EXPECT_STREQ(c.directory, out) << "directory of \"" << c.path << "\"";
    }
}

TEST(PathHelpers, FileNameOfPath)
{
    char out[kEntryTextSize];
    const struct {
        const char* path;
        const char* name;
    } cases[] = {
        {"C:\\Music\\Song.mid", "Song.mid"},
        {"Track 01", "Track 01"},
        {"C:Song.mid", "Song.mid"},
        {"C:\\Music\\", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(0, FileNameOfPath(c.path, out));
        EXPECT_STREQ(c.name, out) << "file name of \"" << c.path << "\"";
    }
}

TEST(PathHelpers, NextListStringWalksNulTerminatedStrings)
{
    const char list[] = "C:\\Music\0one.mid\0two.mid\0";
    char out[kEntryTextSize];
    const char* p = NextListString(list, out);
    EXPECT_STREQ("C:\\Music", out);
    p = NextListString(p, out);
    EXPECT_STREQ("one.mid", out);
    p = NextListString(p, out);
    EXPECT_STREQ("two.mid", out);
    p = NextListString(p, out);
    EXPECT_STREQ("", out);
    EXPECT_EQ(list + sizeof(list), p);

    std::string tooLong(256, 'z');
    std::string buffer = tooLong + '\0' + "next" + '\0';
    std::memset(out, 'q', sizeof(out));
    p = NextListString(buffer.c_str(), out);
    EXPECT_STREQ("", out) << "a string of 256 characters is not copied";
    EXPECT_EQ(buffer.c_str() + 257, p);
    NextListString(p, out);
    EXPECT_STREQ("next", out);
}

TEST(PathHelpers, SelectedFilePathsFromTheOpenDialog)
{
    using Paths = std::vector<std::string>;
    EXPECT_EQ(Paths{"C:\\Music\\One.mid"}, SelectedFilePaths("C:\\Music\\One.mid\0"));
    EXPECT_EQ((Paths{"C:\\Music\\a.mid", "C:\\Music\\b.rmi", "C:\\Music\\c.mid"}),
              SelectedFilePaths("C:\\Music\0a.mid\0b.rmi\0c.mid\0"));
    EXPECT_EQ((Paths{"C:\\a.mid", "C:\\b.mid"}), SelectedFilePaths("C:\\\0a.mid\0b.mid\0"))
        << "a drive's root already ends in its separator";
    EXPECT_EQ(Paths{}, SelectedFilePaths("\0"));

    std::string directory = "C:\\" + std::string(240, 'd');  // 243 characters
    std::string buffer = directory + '\0' + std::string(11, 'n') + '\0' + std::string(12, 'm') + '\0' +
                         "ok.mid" + '\0' + '\0';
    Paths paths = SelectedFilePaths(buffer.c_str());
    ASSERT_EQ(2u, paths.size()) << "244 + 12 characters do not fit and are left out";
    EXPECT_EQ(directory + '\\' + std::string(11, 'n'), paths[0]);
    EXPECT_EQ(255u, paths[0].size());
    EXPECT_EQ(directory + "\\ok.mid", paths[1]);

    std::string longPath = "C:\\" + std::string(253, 'p');  // 256 characters
    EXPECT_EQ(Paths{}, SelectedFilePaths((longPath + '\0' + '\0').c_str()));
    std::string longDirectory = longPath + '\0' + "a.mid" + '\0' + '\0';
    EXPECT_EQ(Paths{}, SelectedFilePaths(longDirectory.c_str()));
}

}  // namespace
