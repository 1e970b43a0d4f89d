// The tests' one playlist helper: a list's texts in order ("#n:" marks an entry numbered out of turn).
#pragma once

#include <cstring>

#include "model/playlist.h"

inline std::vector<std::string> Texts(const Playlist& list)
{
    std::vector<std::string> texts;
    PlaylistEntry e;
    for (PlaylistHandle node = FirstPlaylistNode(&list); node;) {
        node = ReadPlaylistNode(node, &e);
        texts.push_back(e.number == int(texts.size()) + 1 ? e.text : "#" + std::to_string(e.number) + ":" + e.text);
    }
    return texts;
}

inline int AppendText(Playlist* list, const std::string& text)  // a text of at most 256 characters
{
    PlaylistEntry entry{list->count + 1, {}};
    return std::memcpy(entry.text, text.data(), text.size()), AppendPlaylistEntry(list, &entry);
}
