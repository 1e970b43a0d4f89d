// A wave file read byte by byte: its RIFF header, its format block and its PCM samples, and a
// measure of the tone it holds. No Windows headers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace audio {

struct WaveFile {
    bool ok = false;
    std::string error;
    std::uint32_t riffSize = 0;
    std::uint16_t formatTag = 0;
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSec = 0;
    std::uint32_t avgBytesPerSec = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
    std::uint32_t dataSize = 0;
    std::size_t dataOffset = 0;  // 44 for a plain header
    std::vector<unsigned char> data;
};

WaveFile ReadWaveFile(const std::vector<unsigned char>& bytes);

// The length, RMS level (full scale 1) and frequency (from zero crossings) of the first channel,
// measured over the middle of the sound: the first and last tenth are left out.
struct ToneMeasure {
    double seconds = 0;
    double rms = 0;
    double frequency = 0;
};
ToneMeasure MeasureTone(const WaveFile& wave);

}  // namespace audio
