// Prints how long SavePlaylistStore and LoadPlaylistStore take for two lists of 65535 entries,
// through a real file (not a test): velutra_store_bench_win [folder]
#include <cstdio>
#include <cstring>
#include <string>

#include "app/app.h"
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

double Milliseconds(LARGE_INTEGER start, LARGE_INTEGER end)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv)
{
    char folder[MAX_PATH] = {};
    if (argc > 1)
        lstrcpynA(folder, argv[1], MAX_PATH);
    else
        GetTempPathA(MAX_PATH, folder);
    std::string module = std::string(folder) + "\\velutra.exe";
    lstrcpynA(g_app.modulePath, module.c_str(), sizeof(g_app.modulePath));

    InitPlaylist(&g_app.MidiDevice.playlist);
    InitPlaylist(&g_app.SoundDevice.playlist);
    FillLongList(&g_app.MidiDevice.playlist, "Midi");
    FillLongList(&g_app.SoundDevice.playlist, "Sound");

    constexpr int kRounds = 5;
    double saveBest = 1e9, loadBest = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        LARGE_INTEGER t0, t1, t2;
        QueryPerformanceCounter(&t0);
        if (SavePlaylistStore() != 0) {
            std::printf("save failed in %s\n", folder);
            return 1;
        }
        QueryPerformanceCounter(&t1);
        ClearPlaylist(&g_app.MidiDevice.playlist);
        ClearPlaylist(&g_app.SoundDevice.playlist);
        if (LoadPlaylistStore() != 0 || g_app.MidiDevice.playlist.count != 65535 ||
            g_app.SoundDevice.playlist.count != 65535) {
            std::printf("load failed\n");
            return 1;
        }
        QueryPerformanceCounter(&t2);
        double save = Milliseconds(t0, t1), load = Milliseconds(t1, t2);
        saveBest = save < saveBest ? save : saveBest;
        loadBest = load < loadBest ? load : loadBest;
    }
    char path[kEntryTextSize];
    BuildStorePath(g_app.modulePath, path);
    DeleteFileA(path);
    std::printf("store file, 2 x 65535 entries (%zu bytes), best of %d: save %.1f ms, load %.1f ms\n",
                static_cast<std::size_t>(24 + 2 * 65535 * 256), kRounds, saveBest, loadBest);
    ClearPlaylist(&g_app.MidiDevice.playlist);
    ClearPlaylist(&g_app.SoundDevice.playlist);
    return 0;
}
