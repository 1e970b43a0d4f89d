// The wave format a recording is made in, worked out from a row of the recording format table.
#pragma once

#include <cstdint>

// The fields of the PCM format block that a recording sets, in the widths the format block has.
struct RecordingWaveFormat {
    std::uint16_t formatTag;       // PCM
    std::uint16_t channels;
    std::uint32_t samplesPerSec;
    std::uint32_t avgBytesPerSec;  // whole bytes per sample x channels x rate
    std::uint16_t blockAlign;      // whole bytes per sample x channels
    std::uint16_t bitsPerSample;
};

constexpr std::uint16_t kWaveFormatPcm = 1;

// The format of row `wavefmt`; a value that names no row (only the registry can hold one) gives the
// default row.
RecordingWaveFormat RecordingWaveFormatOf(std::uint32_t wavefmt);
