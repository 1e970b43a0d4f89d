// Encoding and decoding of the playlist store file; the file itself is opened in playlist_store_win.cpp.
#include "model/playlist_store.h"

#include <cstring>

namespace {

constexpr unsigned char kMagic[2] = {'V', 'L'};
constexpr char kStoreFileName[] = "\\velutra.s";

// The length of a text in a buffer of `size` bytes, or `size` when the buffer holds no NUL.
// Reads no byte past the NUL.
std::size_t BoundedLength(const void* text, std::size_t size)
{
    auto bytes = static_cast<const unsigned char*>(text);
    std::size_t length = 0;
    while (length < size && bytes[length] != 0) ++length;
    return length;
}

void PutBigEndian16(unsigned char* out, std::uint16_t value)
{
    out[0] = static_cast<unsigned char>(value >> 8);
    out[1] = static_cast<unsigned char>(value);
}

void PutBigEndian32(unsigned char* out, std::uint32_t value)
{
    PutBigEndian16(out, static_cast<std::uint16_t>(value >> 16));
    PutBigEndian16(out + 2, static_cast<std::uint16_t>(value));
}

std::uint16_t GetBigEndian16(const unsigned char* in)
{
    return static_cast<std::uint16_t>((in[0] << 8) | in[1]);
}

std::uint32_t GetBigEndian32(const unsigned char* in)
{
    return (static_cast<std::uint32_t>(GetBigEndian16(in)) << 16) | GetBigEndian16(in + 2);
}

// The entries a section will hold: reachable from the head, at most 65535.
std::uint16_t StoredEntryCount(const Playlist* list)
{
    PlaylistEntry entry;
    std::size_t count = 0;
    for (PlaylistHandle node = FirstPlaylistNode(list); node && count < kStoreMaxEntries; ++count)
        node = ReadPlaylistNode(node, &entry);
    return static_cast<std::uint16_t>(count);
}

bool WriteSection(const StoreWriter& out, std::uint16_t id, StoredList stored)
{
    std::uint16_t count = StoredEntryCount(stored.list);
    unsigned char header[kStoreSectionHeaderSize];
    PutBigEndian16(header, id);
    PutBigEndian16(header + 2, count);
    PutBigEndian32(header + 4, stored.flags & ~kStoreTransientFlags);
    if (!out.write(out.context, header, sizeof(header))) return false;

    PlaylistEntry entry;
    PlaylistHandle node = FirstPlaylistNode(stored.list);
    for (std::uint16_t i = 0; i < count; ++i) {
        node = ReadPlaylistNode(node, &entry);
        unsigned char record[kStoreRecordSize] = {};
        std::memcpy(record, entry.text, BoundedLength(entry.text, kEntryTextMax));
        if (!out.write(out.context, record, sizeof(record))) return false;
    }
    return true;
}

bool ReadExactly(const StoreReader& in, unsigned char* data, std::size_t size)
{
    return in.read(in.context, data, size) == size;
}

// False when the data ended inside the section.
bool ReadSectionRecords(const StoreReader& in, std::uint16_t count, Playlist* list)
{
    for (std::uint16_t i = 0; i < count; ++i) {
        unsigned char record[kStoreRecordSize];
        if (!ReadExactly(in, record, sizeof(record))) return false;
        std::size_t length = BoundedLength(record, sizeof(record));
        if (length > kEntryTextMax) continue;
        PlaylistEntry entry;
        std::memcpy(entry.text, record, length);
        entry.number = list->count + 1;
        AppendPlaylistEntry(list, &entry);
    }
    return true;
}

struct MemoryReader {
    const unsigned char* data;
    std::size_t size;
    std::size_t position;
};

std::size_t ReadMemory(void* context, unsigned char* data, std::size_t size)
{
    auto reader = static_cast<MemoryReader*>(context);
    std::size_t available = reader->size - reader->position;
    std::size_t taken = size < available ? size : available;
    if (taken == 0) return 0;
    std::memcpy(data, reader->data + reader->position, taken);
    reader->position += taken;
    return taken;
}

bool AppendToVector(void* context, const unsigned char* data, std::size_t size)
{
    auto bytes = static_cast<std::vector<unsigned char>*>(context);
    std::size_t end = bytes->size();
    bytes->resize(end + size);
    std::memcpy(bytes->data() + end, data, size);
    return true;
}

}  // namespace

int WritePlaylistStore(const StoreWriter& out, StoredList midi, StoredList sound)
{
    unsigned char header[kStoreHeaderSize] = {kMagic[0], kMagic[1], kStoreFormat, 0, 0, 0, 0, 0};
    if (!out.write(out.context, header, sizeof(header))) return -1;
    if (!WriteSection(out, kStoreMidiSection, midi)) return -1;
    if (!WriteSection(out, kStoreSoundSection, sound)) return -1;
    return 0;
}

int ReadPlaylistStore(const StoreReader& in, StoreSection midi, StoreSection sound)
{
    unsigned char header[kStoreHeaderSize];
    if (!ReadExactly(in, header, sizeof(header))) return -1;
    if (header[0] != kMagic[0] || header[1] != kMagic[1]) return -1;

    const struct {
        std::uint16_t id;
        StoreSection section;
    } expected[] = {{kStoreMidiSection, midi}, {kStoreSoundSection, sound}};
    for (const auto& e : expected) {
        unsigned char sectionHeader[kStoreSectionHeaderSize];
        if (!ReadExactly(in, sectionHeader, sizeof(sectionHeader))) break;
        if (GetBigEndian16(sectionHeader) != e.id) continue;
        *e.section.flags = GetBigEndian32(sectionHeader + 4) & ~kStoreTransientFlags;
        ClearPlaylist(e.section.list);
        if (!ReadSectionRecords(in, GetBigEndian16(sectionHeader + 2), e.section.list)) break;
    }
    return 0;
}

std::vector<unsigned char> EncodePlaylistStore(StoredList midi, StoredList sound)
{
    std::vector<unsigned char> bytes;
    WritePlaylistStore(StoreWriter{&bytes, AppendToVector}, midi, sound);
    return bytes;
}

int DecodePlaylistStore(const unsigned char* data, std::size_t size, StoreSection midi, StoreSection sound)
{
    MemoryReader reader{data, size, 0};
    return ReadPlaylistStore(StoreReader{&reader, ReadMemory}, midi, sound);
}

int BuildStorePath(const char* modulePath, char* out)
{
    out[0] = '\0';
    std::size_t length = BoundedLength(modulePath, kEntryTextSize);
    if (length == 0 || length >= kEntryTextMax) return -1;
    char directory[kEntryTextSize];
    DirectoryOfPath(modulePath, directory);
    std::size_t directoryLength = std::strlen(directory);
    if (directoryLength + std::strlen(kStoreFileName) > kEntryTextMax) return -1;
    std::memcpy(out, directory, directoryLength);
    std::memcpy(out + directoryLength, kStoreFileName, sizeof(kStoreFileName));
    return 0;
}
