// libFuzzer target for the store loader: any bytes load without a fault or an over-long text (the
// sanitizers watch each text read up to its NUL), a failed load changes nothing, and what loads saves
// and loads back the same.
#include "model/playlist_store.h"
#include "tests/host/playlist_texts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Playlist midi, sound, midiAgain, soundAgain;
    std::uint32_t midiFlags = 0, soundFlags = 0x8, midiFlagsAgain = 0, soundFlagsAgain = 0;
    const int result = DecodePlaylistStore(data, size, {&midi, &midiFlags}, {&sound, &soundFlags});
    const std::vector<std::string> midiTexts = Texts(midi), soundTexts = Texts(sound);
    const std::vector<unsigned char> saved = EncodePlaylistStore({&midi, midiFlags}, {&sound, soundFlags});
    const bool loadsBack = !DecodePlaylistStore(saved.data(), saved.size(), {&midiAgain, &midiFlagsAgain},
                                                {&soundAgain, &soundFlagsAgain});
    const bool same = loadsBack && Texts(midiAgain) == midiTexts && Texts(soundAgain) == soundTexts &&
                      midiFlagsAgain == midiFlags && soundFlagsAgain == (soundFlags & ~kStoreTransientFlags) &&
                      midiTexts.size() == std::size_t(midi.count);
    if (!same || (result && (midi.count || sound.count || soundFlags != 0x8)) || (midiFlags & kStoreTransientFlags))
        __builtin_trap();
    for (Playlist* list : {&midi, &sound, &midiAgain, &soundAgain}) ClearPlaylist(list);
    return 0;
}
