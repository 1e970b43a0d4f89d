// The playlist store file "velutra.s": its byte layout, written and read over any byte sink and source.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/player_device.h"

// Layout, all numbers big-endian: an 8-byte file header ("VL", format 10, 0, 4 reserved zero
// bytes), then the MIDI section and the Sound section, each an 8-byte header (id, entry count,
// flags) followed by one 256-byte NUL-padded record per entry. The layout must not change:
// every store already saved on a user's machine is read with it.
constexpr std::size_t kStoreHeaderSize = 8;
constexpr std::size_t kStoreSectionHeaderSize = 8;
constexpr std::size_t kStoreRecordSize = kEntryTextSize;
constexpr unsigned char kStoreFormat = 10;
constexpr std::uint16_t kStoreMidiSection = 1;
constexpr std::uint16_t kStoreSoundSection = 2;
constexpr std::size_t kStoreMaxEntries = 65535;  // the count field has 16 bits
// A device's open and recording bits describe this run only; they are never stored or taken back.
constexpr std::uint32_t kStoreTransientFlags = MDF_OPEN | MDF_NEWRECORDING;

// One player's list and flags as they go out to the file.
struct StoredList {
    const Playlist* list;
    std::uint32_t flags;
};

// One player's list and flags as the file fills them in.
struct StoreSection {
    Playlist* list;
    std::uint32_t* flags;
};

// Byte sinks and sources, so the codec runs over a file as well as over memory.
struct StoreWriter {
    void* context;
    bool (*write)(void* context, const unsigned char* data, std::size_t size);  // false: failed
};
struct StoreReader {
    void* context;
    std::size_t (*read)(void* context, unsigned char* data, std::size_t size);  // < size only at the end
};

// Writes the whole store. 0, or -1 as soon as a write fails. A list longer than 65535 entries is
// stored as its first 65535, so the count always matches the records that follow.
int WritePlaylistStore(const StoreWriter& out, StoredList midi, StoredList sound);

// Reads a store into the two sections. -1 (nothing changed) without a whole file header carrying
// "VL"; otherwise 0. A section whose id is not the expected one is not loaded and its records are
// not skipped: the next 8 bytes are taken as the next section header. A loaded section replaces
// the list (current 0, entries numbered 1..n) and the flags (open and recording bits cleared).
// Where the data ends inside a section, the whole records present are loaded and nothing more;
// a record without a NUL in its 256 bytes is left out.
int ReadPlaylistStore(const StoreReader& in, StoreSection midi, StoreSection sound);

std::vector<unsigned char> EncodePlaylistStore(StoredList midi, StoredList sound);
int DecodePlaylistStore(const unsigned char* data, std::size_t size, StoreSection midi, StoreSection sound);

// The store's path beside the program: the module path's directory and "\velutra.s", into out
// (kEntryTextSize bytes). -1 (out empty) when it would pass 255 characters, when the module path
// fills its 256-byte buffer and so may have been cut short by the system, or when it is empty
// because it could not be read.
int BuildStorePath(const char* modulePath, char* out);
