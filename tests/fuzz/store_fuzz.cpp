// libFuzzer target for the store loader: any bytes load without a fault, never put an over-long
// text into a list, and whatever loads saves and loads back the same.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "model/playlist_store.h"

namespace {

void Require(bool condition)
{
    if (!condition) __builtin_trap();
}

std::vector<std::string> CheckedTexts(const Playlist& list)
{
    std::vector<std::string> texts;
    PlaylistEntry entry;
    PlaylistHandle last = nullptr;
    for (PlaylistHandle node = FirstPlaylistNode(&list); node;) {
        last = node;
        node = ReadPlaylistNode(node, &entry);
        Require(std::memchr(entry.text, '\0', sizeof(entry.text)) != nullptr);
        Require(entry.number == static_cast<int>(texts.size()) + 1);
        texts.emplace_back(entry.text);
    }
    Require(static_cast<std::size_t>(list.count) == texts.size());
    Require(list.tail == last);
    Require(texts.size() <= kStoreMaxEntries);
    return texts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Playlist midi, sound;
    std::uint32_t midiFlags = 0x100, soundFlags = 0x200;
    int result = DecodePlaylistStore(data, size, {&midi, &midiFlags}, {&sound, &soundFlags});
    std::vector<std::string> midiTexts = CheckedTexts(midi);
    std::vector<std::string> soundTexts = CheckedTexts(sound);
    if (result != 0) Require(midiTexts.empty() && soundTexts.empty() && midiFlags == 0x100 && soundFlags == 0x200);
    if (midiFlags != 0x100) Require((midiFlags & kStoreTransientFlags) == 0 && midi.current == 0);
    if (soundFlags != 0x200) Require((soundFlags & kStoreTransientFlags) == 0 && sound.current == 0);

    std::vector<unsigned char> saved = EncodePlaylistStore({&midi, midiFlags}, {&sound, soundFlags});
    Require(saved.size() == 24 + 256 * (midiTexts.size() + soundTexts.size()));
    Playlist midiAgain, soundAgain;
    std::uint32_t midiFlagsAgain = 0, soundFlagsAgain = 0;
    Require(DecodePlaylistStore(saved.data(), saved.size(), {&midiAgain, &midiFlagsAgain},
                                {&soundAgain, &soundFlagsAgain}) == 0);
    Require(CheckedTexts(midiAgain) == midiTexts && CheckedTexts(soundAgain) == soundTexts);
    Require(midiFlagsAgain == (midiFlags & ~kStoreTransientFlags) && soundFlagsAgain == (soundFlags & ~kStoreTransientFlags));

    ClearPlaylist(&midi);
    ClearPlaylist(&sound);
    ClearPlaylist(&midiAgain);
    ClearPlaylist(&soundAgain);
    return 0;
}
