// Prints how long the store codec takes for two lists of 65535 entries (not a test).
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "model/playlist_store.h"

namespace {

void FillLongList(Playlist* list, const char* kind)
{
    for (int i = 1; i <= static_cast<int>(kStoreMaxEntries); ++i) {
        PlaylistEntry entry;
        entry.number = i;
        std::string text = std::string("C:\\Documents\\") + kind + "\\Collection\\Item number " + std::to_string(i) + ".mid";
        std::memcpy(entry.text, text.data(), text.size());
        AppendPlaylistEntry(list, &entry);
    }
}

// Writes into memory touched beforehand, so the timing is the codec's and not the page faults'.
struct PreparedSink {
    std::vector<unsigned char> bytes;
    std::size_t used;
};

bool WriteToPrepared(void* context, const unsigned char* data, std::size_t size)
{
    auto sink = static_cast<PreparedSink*>(context);
    if (sink->used + size > sink->bytes.size()) return false;
    std::memcpy(sink->bytes.data() + sink->used, data, size);
    sink->used += size;
    return true;
}

double MillisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main()
{
    Playlist midi, sound, loadedMidi, loadedSound;
    FillLongList(&midi, "Midi");
    FillLongList(&sound, "Sound");
    std::uint32_t midiFlags = 2, soundFlags = 0;

    constexpr int kRounds = 5;
    double encodeBest = 1e9, decodeBest = 1e9;
    PreparedSink file{std::vector<unsigned char>(24 + 2 * kStoreMaxEntries * kStoreRecordSize, 0), 0};
    for (int round = 0; round < kRounds; ++round) {
        file.used = 0;
        auto start = std::chrono::steady_clock::now();
        if (WritePlaylistStore(StoreWriter{&file, WriteToPrepared}, {&midi, midiFlags}, {&sound, soundFlags}) != 0)
            return 1;
        double encode = MillisecondsSince(start);
        start = std::chrono::steady_clock::now();
        DecodePlaylistStore(file.bytes.data(), file.used, {&loadedMidi, &midiFlags}, {&loadedSound, &soundFlags});
        double decode = MillisecondsSince(start);
        if (loadedMidi.count != midi.count || loadedSound.count != sound.count) return 1;
        encodeBest = encode < encodeBest ? encode : encodeBest;
        decodeBest = decode < decodeBest ? decode : decodeBest;
    }
    std::printf("store codec, 2 x %zu entries, %zu bytes, best of %d: encode %.1f ms, decode %.1f ms\n",
                kStoreMaxEntries, file.used, kRounds, encodeBest, decodeBest);
    ClearPlaylist(&midi);
    ClearPlaylist(&sound);
    ClearPlaylist(&loadedMidi);
    ClearPlaylist(&loadedSound);
    return 0;
}
