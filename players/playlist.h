// The playlist model: an ordered list of numbered entries with a current position.
// Portable: no Windows headers, so the host build tests it.
#pragma once

#include <cstddef>

constexpr std::size_t kEntryTextSize = 256;  // 255 characters and the NUL

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

int InitPlaylist(Playlist* list);
int ClearPlaylist(Playlist* list);
PlaylistHandle NewPlaylistNode(const PlaylistEntry* entry);
int AppendPlaylistEntry(Playlist* list, const PlaylistEntry* entry);
PlaylistHandle FirstPlaylistNode(const Playlist* list);
PlaylistHandle ReadPlaylistNode(PlaylistHandle node, PlaylistEntry* entry);
PlaylistHandle FindPlaylistNode(const Playlist* list, int index);

int DirectoryOfPath(const char* path, char* out);
int FileNameOfPath(const char* path, char* out);
const char* NextListString(const char* position, char* out);
