// The position read-outs of the three players: what the Track line shows ("03:27 Track 05"),
// and the key that tells whether it needs writing again.
#pragma once

#include <cstddef>
#include <cstdint>

// The key of a read-out: the number, the minutes and the seconds, one byte each from the lowest.
std::uint32_t DisplayKey(int number, int minutes, int seconds);

// "03:27 Track 05"; the word is the caller's (a resource string). Returns the text's length.
int FormatReadout(char* out, std::size_t size, int minutes, int seconds, const char* word, int number);

// "mm:ss word nn" for a key, each number with at least two digits. Returns the text's length.
int FormatReadoutOfKey(std::uint32_t key, const char* word, char* out, std::size_t size);

// CD. 1 is the key of the template's "00:00 Track 01".
constexpr std::uint32_t kInitialCdDisplayKey = 1;

// What the CD read-out shows: the number after the word, minutes, seconds, and the current index.
struct CdReadout {
    int number;
    int minutes;
    int seconds;
    int current;
};
// listed: the device is open with at least one track listed; then the position (when it was
// read) says where the disc is, and the current index follows it.
CdReadout CdReadoutOf(bool listed, bool gotPosition, std::uint32_t position, int current);

// MIDI. The key packs, one byte each from the lowest, the entry number, the minutes, the seconds
// and 0, as an MCI TMSF value does. 1 is the key of the template's "00:00 Music 01".
constexpr std::uint32_t kInitialMidiDisplayKey = 1;

// The key for a position in milliseconds (when it is known) and a 0-based current entry.
// The number shown is the entry's 1-based number modulo 256; an unknown position shows 00:00.
std::uint32_t MidiDisplayKey(bool positionKnown, std::uint32_t positionMs, int current);

// Sound. 1 is the key of the template's "00:00 Sound 01". The key holds no word: a change between
// "Sound" and "Record" is always followed by a forced refresh.
constexpr std::uint32_t kInitialSoundDisplayKey = 1;

// The key packs the number shown, the minutes and the seconds, one byte each from the lowest.
// While a recording is made or reviewed the number is 01 whatever entry is current, and the
// position is that of the recording. An unknown position shows 00:00.
std::uint32_t SoundDisplayKey(bool recording, bool positionKnown, std::uint32_t positionMs, int current);
