// Reading and writing the playlist store file beside the program.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "model/playlist_store.h"
#include "settings/settings.h"

namespace {

constexpr char kTemporarySuffix[] = ".tmp";
constexpr std::size_t kFileBufferSize = 64 * 1024;

// Gathers the many small parts of the store into few WriteFile calls.
struct FileWriter {
    HANDLE file;
    std::vector<unsigned char> buffer;
};

bool FlushFileWriter(FileWriter* writer)
{
    if (writer->buffer.empty()) return true;
    DWORD written = 0;
    DWORD size = static_cast<DWORD>(writer->buffer.size());
    BOOL ok = WriteFile(writer->file, writer->buffer.data(), size, &written, nullptr);
    writer->buffer.clear();
    return ok && written == size;
}

bool WriteToFile(void* context, const unsigned char* data, std::size_t size)
{
    auto writer = static_cast<FileWriter*>(context);
    if (writer->buffer.size() + size > kFileBufferSize && !FlushFileWriter(writer)) return false;
    std::size_t end = writer->buffer.size();
    writer->buffer.resize(end + size);
    std::memcpy(writer->buffer.data() + end, data, size);
    return true;
}

struct FileReader {
    HANDLE file;
    std::vector<unsigned char> buffer;
    std::size_t position;
};

std::size_t ReadFromFile(void* context, unsigned char* data, std::size_t size)
{
    auto reader = static_cast<FileReader*>(context);
    std::size_t copied = 0;
    while (copied < size) {
        if (reader->position == reader->buffer.size()) {
            reader->buffer.resize(kFileBufferSize);
            DWORD got = 0;
            if (!ReadFile(reader->file, reader->buffer.data(), static_cast<DWORD>(kFileBufferSize), &got, nullptr))
                got = 0;
            reader->buffer.resize(got);
            reader->position = 0;
            if (got == 0) break;
        }
        std::size_t available = reader->buffer.size() - reader->position;
        std::size_t taken = size - copied < available ? size - copied : available;
        std::memcpy(data + copied, reader->buffer.data() + reader->position, taken);
        reader->position += taken;
        copied += taken;
    }
    return copied;
}

// The whole store into the temporary file; false when any write, the flush or the close failed.
bool WriteTemporaryStore(const char* temporary, const MediaDevice* midi, const MediaDevice* sound)
{
    HANDLE file = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    FileWriter writer{file, {}};
    writer.buffer.reserve(kFileBufferSize);
    bool written = WritePlaylistStore(StoreWriter{&writer, WriteToFile},
                                      {&midi->playlist, midi->flags}, {&sound->playlist, sound->flags}) == 0 &&
                   FlushFileWriter(&writer) && FlushFileBuffers(file);
    bool closed = CloseHandle(file) != 0;
    return written && closed;
}

}  // namespace

int LoadPlaylistStore(const char* modulePath, MediaDevice* midi, MediaDevice* sound)
{
    char path[kEntryTextSize];
    if (BuildStorePath(modulePath, path) != 0) return -1;
    HANDLE file = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    FileReader reader{file, {}, 0};
    std::uint32_t midiFlags = midi->flags;
    std::uint32_t soundFlags = sound->flags;
    int result = ReadPlaylistStore(StoreReader{&reader, ReadFromFile}, {&midi->playlist, &midiFlags},
                                   {&sound->playlist, &soundFlags});
    midi->flags = midiFlags;
    sound->flags = soundFlags;
    CloseHandle(file);
    return result;
}

// The new store goes to a file beside the old one, which is replaced only once every byte is
// written: a full disk or a failed write leaves the previous store as it was.
int SavePlaylistStore(const char* modulePath, const MediaDevice* midi, const MediaDevice* sound)
{
    char path[kEntryTextSize];
    if (BuildStorePath(modulePath, path) != 0) return -1;
    std::string temporary = std::string(path) + kTemporarySuffix;
    if (!WriteTemporaryStore(temporary.c_str(), midi, sound) ||
        !MoveFileExA(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(temporary.c_str());
        return -1;
    }
    return 0;
}
