// The playlist model: a forward-linked chain of entries, each its own block.
#include "players/playlist.h"

#include <cstdlib>
#include <cstring>

struct PlaylistNode {
    PlaylistNode* next;
    PlaylistEntry entry;
};

int InitPlaylist(Playlist* list)
{
    *list = Playlist{};
    return 0;
}

int ClearPlaylist(Playlist* list)
{
    if (!list) return -1;
    for (PlaylistNode* node = list->head; node;) {
        PlaylistNode* next = node->next;
        std::free(node);
        node = next;
    }
    *list = Playlist{};
    return 0;
}

PlaylistHandle NewPlaylistNode(const PlaylistEntry* entry)
{
    auto node = static_cast<PlaylistNode*>(std::calloc(1, sizeof(PlaylistNode)));
    if (!node) return nullptr;
    node->entry.number = entry->number;
    std::memcpy(node->entry.text, entry->text, kEntryTextSize - 1);
    return node;
}

int AppendPlaylistEntry(Playlist* list, const PlaylistEntry* entry)
{
    PlaylistNode* node = NewPlaylistNode(entry);
    if (!node) return -1;
    if (list->tail)
        list->tail->next = node;
    else
        list->head = node;
    list->tail = node;
    ++list->count;
    return 0;
}

PlaylistHandle FirstPlaylistNode(const Playlist* list)
{
    return list->head;
}

PlaylistHandle ReadPlaylistNode(PlaylistHandle node, PlaylistEntry* entry)
{
    if (!node) return nullptr;
    *entry = node->entry;
    return node->next;
}

PlaylistHandle FindPlaylistNode(const Playlist* list, int index)
{
    if (!list || index < 0) return nullptr;
    PlaylistNode* node = list->head;
    for (int i = 0; node && i < index; ++i) node = node->next;
    return node;
}

int DirectoryOfPath(const char* path, char* out)
{
    const char* cut = nullptr;
    for (const char* p = path; *p; ++p)
        if (*p == '\\' || *p == ':') cut = p;
    std::size_t length = cut ? static_cast<std::size_t>(cut - path) : 0;
    std::memcpy(out, path, length);
    out[length] = '\0';
    return 0;
}

int FileNameOfPath(const char* path, char* out)
{
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '\\' || *p == ':') name = p + 1;
    std::strcpy(out, name);
    return 0;
}

const char* NextListString(const char* position, char* out)
{
    std::size_t length = std::strlen(position);
    std::memcpy(out, position, length + 1);
    return position + length + 1;
}
