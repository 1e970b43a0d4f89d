// libFuzzer target for the store loader: any bytes load without a fault, never put an over-long
// text into a list, and whatever loads saves and loads back the same.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "settings/playlist_store.h"

namespace {

void Require(bool condition)
{
    if (!condition) __builtin_trap();
}

// The texts of a list whose entries each hold a NUL, are numbered 1..n and end at the tail.
std::vector<std::string> CheckedTexts(const Playlist& list)
{
    std::vector<std::string> texts;
    PlaylistEntry entry;
    PlaylistHandle last = nullptr;
    for (PlaylistHandle node = FirstPlaylistNode(&list); node; texts.emplace_back(entry.text)) {
        node = ReadPlaylistNode(last = node, &entry);
        Require(std::memchr(entry.text, '\0', sizeof entry.text) && entry.number == int(texts.size()) + 1);
    }
    Require(std::size_t(list.count) == texts.size() && list.tail == last && texts.size() <= kStoreMaxEntries);
    return texts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Playlist midi, sound, midiAgain, soundAgain;
    std::uint32_t midiFlags = 0x100, soundFlags = 0x200, midiFlagsAgain = 0, soundFlagsAgain = 0;
    int result = DecodePlaylistStore(data, size, {&midi, &midiFlags}, {&sound, &soundFlags});
    std::vector<std::string> midiTexts = CheckedTexts(midi), soundTexts = CheckedTexts(sound);
    if (result != 0) Require(midiTexts.empty() && soundTexts.empty() && midiFlags == 0x100 && soundFlags == 0x200);
    if (midiFlags != 0x100) Require((midiFlags & kStoreTransientFlags) == 0 && midi.current == 0);
    if (soundFlags != 0x200) Require((soundFlags & kStoreTransientFlags) == 0 && sound.current == 0);

    std::vector<unsigned char> saved = EncodePlaylistStore({&midi, midiFlags}, {&sound, soundFlags});
    Require(saved.size() == 24 + 256 * (midiTexts.size() + soundTexts.size()));
    Require(!DecodePlaylistStore(saved.data(), saved.size(), {&midiAgain, &midiFlagsAgain}, {&soundAgain, &soundFlagsAgain}));
    Require(CheckedTexts(midiAgain) == midiTexts && CheckedTexts(soundAgain) == soundTexts);
    Require(midiFlagsAgain == midiFlags && soundFlagsAgain == soundFlags);
    for (Playlist* list : {&midi, &sound, &midiAgain, &soundAgain}) ClearPlaylist(list);
    return 0;
}
