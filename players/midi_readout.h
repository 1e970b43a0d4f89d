// The MIDI panel's position read-out: its display key and its text. Portable.
#pragma once

#include <cstddef>
#include <cstdint>

// The key packs, one byte each from the lowest, the entry number, the minutes, the seconds and 0,
// as an MCI TMSF value does. 1 is the key of the template's "00:00 Music 01".
constexpr std::uint32_t kInitialMidiDisplayKey = 1;

// The key for a position in milliseconds (when it is known) and a 0-based current entry.
// The number shown is the entry's 1-based number modulo 256; an unknown position shows 00:00.
std::uint32_t MidiDisplayKey(bool positionKnown, std::uint32_t positionMs, int current);

// "mm:ss word nn" for a key, each number with at least two digits. Returns the text's length.
int FormatMidiReadout(std::uint32_t key, const char* word, char* out, std::size_t size);
