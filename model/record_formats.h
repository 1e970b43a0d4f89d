// The wave recording formats offered by the Properties dialog; `Wavefmt` is a row number.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

struct RecordFormat {
    std::uint32_t samplesPerSec;
    std::uint32_t bitsPerSample;
    std::uint32_t channels;
};

// Rows 0 to 15 are four rates by two sample sizes by two channel counts, in the order rate,
// bits, channels; 48 kHz exists only as 16-bit stereo. The row numbers are stored in the
// registry, so the order must not change.
inline constexpr std::array<RecordFormat, 17> RecordFormatTable{{
    {8000, 8, 1},   {8000, 8, 2},   {8000, 16, 1},  {8000, 16, 2},
    {11025, 8, 1},  {11025, 8, 2},  {11025, 16, 1}, {11025, 16, 2},
    {22050, 8, 1},  {22050, 8, 2},  {22050, 16, 1}, {22050, 16, 2},
    {44100, 8, 1},  {44100, 8, 2},  {44100, 16, 1}, {44100, 16, 2},
    {48000, 16, 2},
}};

// Enough for the longest combo-box text ("44 KHz, 16-Bit, Stereo") with room to spare.
constexpr std::size_t kRecordFormatTextSize = 40;

// True when `Wavefmt` names a row of the table.
bool IsRecordFormatRow(std::uint32_t wavefmt);

// Writes the combo-box text of one row ("22 KHz, 16-Bit, Mono": whole kilohertz, the remainder
// dropped). Returns false, leaving an empty text, when it does not fit in `size` bytes.
bool FormatRecordFormatText(const RecordFormat& format, char* text, std::size_t size);
