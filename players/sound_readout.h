// The Sound panel's position read-out: its display key. Portable.
#pragma once

#include <cstdint>

// 1 is the key of the template's "00:00 Sound 01". The key holds no word: a change between
// "Sound" and "Record" is always followed by a forced refresh.
constexpr std::uint32_t kInitialSoundDisplayKey = 1;

// The key packs the number shown, the minutes and the seconds, one byte each from the lowest.
// While a recording is made or reviewed the number is 01 whatever entry is current, and the
// position is that of the recording. An unknown position shows 00:00.
std::uint32_t SoundDisplayKey(bool recording, bool positionKnown, std::uint32_t positionMs, int current);
