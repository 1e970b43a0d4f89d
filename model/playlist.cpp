// The playlist model: a forward-linked chain of entries, each its own zero-filled block.
#include "model/playlist.h"

#include <cstdlib>
#include <cstring>

struct PlaylistNode {
    PlaylistNode* next;
    PlaylistEntry entry;
};

namespace {

void* AllocateZeroed(std::size_t size)
{
    return std::calloc(1, size);
}

constexpr PlaylistAllocator kDefaultAllocator{AllocateZeroed, std::free};
PlaylistAllocator g_allocator = kDefaultAllocator;

bool IsPathSeparator(char c)
{
    return c == '\\' || c == ':';
}

// The length of a text held in a buffer of kEntryTextSize bytes, or kEntryTextSize when it has no NUL.
std::size_t BoundedLength(const char* text)
{
    std::size_t length = 0;
    while (length < kEntryTextSize && text[length] != '\0') ++length;
    return length;
}

}  // namespace

void SetPlaylistAllocator(const PlaylistAllocator* allocator)
{
    g_allocator = allocator ? *allocator : kDefaultAllocator;
}

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
        g_allocator.release(node);
        node = next;
    }
    *list = Playlist{};
    return 0;
}

PlaylistHandle NewPlaylistNode(const PlaylistEntry* entry)
{
    std::size_t length = BoundedLength(entry->text);
    if (length > kEntryTextMax) return nullptr;
    auto node = static_cast<PlaylistNode*>(g_allocator.allocate(sizeof(PlaylistNode)));
    if (!node) return nullptr;
    node->next = nullptr;
    node->entry.number = entry->number;
    std::memcpy(node->entry.text, entry->text, length + 1);
    return node;
}

int AppendPlaylistEntry(Playlist* list, const PlaylistEntry* entry)
{
    if (!list) return -1;
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
    return list ? list->head : nullptr;
}

PlaylistHandle ReadPlaylistNode(PlaylistHandle node, PlaylistEntry* entry)
{
    if (!node) return nullptr;
    *entry = node->entry;
    return node->next;
}

PlaylistHandle FindPlaylistNode(const Playlist* list, int index)
{
    if (!list || index < 0 || index >= list->count) return nullptr;
    PlaylistNode* node = list->head;
    for (int i = 0; node && i < index; ++i) node = node->next;
    return node;
}

int DirectoryOfPath(const char* path, char* out)
{
    const char* cut = nullptr;
    for (const char* p = path; *p; ++p)
        if (IsPathSeparator(*p)) cut = p;
    std::size_t length = cut ? static_cast<std::size_t>(cut - path) : 0;
    std::memmove(out, path, length);
    out[length] = '\0';
    return 0;
}

int FileNameOfPath(const char* path, char* out)
{
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (IsPathSeparator(*p)) name = p + 1;
    std::memmove(out, name, std::strlen(name) + 1);
    return 0;
}

const char* NextListString(const char* position, char* out)
{
    std::size_t length = std::strlen(position);
    if (length > kEntryTextMax) {
        out[0] = '\0';
    } else {
        std::memcpy(out, position, length + 1);
    }
    return position + length + 1;
}

std::vector<std::string> SelectedFilePaths(const char* buffer)
{
    std::vector<std::string> paths;
    std::size_t firstLength = std::strlen(buffer);
    if (firstLength == 0) return paths;
    const char* name = buffer + firstLength + 1;
    if (*name == '\0') {
        if (firstLength <= kEntryTextMax) paths.emplace_back(buffer, firstLength);
        return paths;
    }
    // A directory at the root of a drive ("C:\") already ends in its separator.
    std::string directory(buffer, firstLength);
    if (directory.back() != '\\') directory += '\\';
    for (; *name; name += std::strlen(name) + 1) {
        std::size_t nameLength = std::strlen(name);
        if (directory.size() + nameLength > kEntryTextMax) continue;
        paths.push_back(directory + name);
    }
    return paths;
}
