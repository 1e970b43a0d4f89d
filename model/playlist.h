// The playlist model: an ordered list of numbered entries with a current position.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

constexpr std::size_t kEntryTextSize = 256;  // 255 characters and the NUL
constexpr std::size_t kEntryTextMax = kEntryTextSize - 1;

struct PlaylistNode;
using PlaylistHandle = PlaylistNode*;  // 0 (nullptr) means none

// An entry as callers pass it in and get it out; the list keeps its own copy.
struct PlaylistEntry {
    int number = 0;
    char text[kEntryTextSize] = {};
};

struct Playlist {
    int count = 0;
    int current = 0;  // not kept in range: -1 or >= count means no entry is current
    PlaylistHandle head = nullptr;
    PlaylistHandle tail = nullptr;
};

// Where entry blocks come from. The default is calloc/free; another allocator may be put in (one that
// runs out of memory, or counts what is freed). Blocks must come back zero-filled.
struct PlaylistAllocator {
    void* (*allocate)(std::size_t size);
    void (*release)(void* block);
};
// nullptr restores the default.
void SetPlaylistAllocator(const PlaylistAllocator* allocator);

int InitPlaylist(Playlist* list);
int ClearPlaylist(Playlist* list);
// 0 when memory is short, and when the entry's text has no NUL within its 256 bytes:
// a text longer than 255 characters is refused, never cut.
PlaylistHandle NewPlaylistNode(const PlaylistEntry* entry);
// 0, or -1 (list unchanged) when NewPlaylistNode gives none or the list is null.
int AppendPlaylistEntry(Playlist* list, const PlaylistEntry* entry);
PlaylistHandle FirstPlaylistNode(const Playlist* list);
PlaylistHandle ReadPlaylistNode(PlaylistHandle node, PlaylistEntry* entry);
PlaylistHandle FindPlaylistNode(const Playlist* list, int index);

// Both write at most as many characters as the path holds, so an out as large as the path is enough.
int DirectoryOfPath(const char* path, char* out);
int FileNameOfPath(const char* path, char* out);

// Copies the string at position, with its NUL, into out (kEntryTextSize bytes) and returns the
// position after that NUL. A string of more than 255 characters is not copied: out becomes empty.
const char* NextListString(const char* position, char* out);

// The full paths named by an Open dialog's buffer: one full path, or a directory followed by
// names, each string NUL-terminated and the list ended by an empty string. A path that would
// pass 255 characters is left out, never cut.
std::vector<std::string> SelectedFilePaths(const char* buffer);
