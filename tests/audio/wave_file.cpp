// Reading a wave file and measuring its tone.
#include "tests/audio/wave_file.h"

#include <cmath>
#include <cstring>

namespace audio {

namespace {

std::uint32_t Le32(const unsigned char* p)
{
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint16_t Le16(const unsigned char* p)
{
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

WaveFile Fail(const std::string& why)
{
    WaveFile wave;
    wave.error = why;
    return wave;
}

}  // namespace

WaveFile ReadWaveFile(const std::vector<unsigned char>& bytes)
{
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 || std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        return Fail("no RIFF WAVE header");
    WaveFile wave;
    wave.riffSize = Le32(bytes.data() + 4);
    bool haveFormat = false;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const unsigned char* chunk = bytes.data() + at;
        std::uint32_t size = Le32(chunk + 4);
        std::size_t body = at + 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (size < 16 || body + 16 > bytes.size()) return Fail("short format chunk");
            wave.formatTag = Le16(bytes.data() + body);
            wave.channels = Le16(bytes.data() + body + 2);
            wave.samplesPerSec = Le32(bytes.data() + body + 4);
            wave.avgBytesPerSec = Le32(bytes.data() + body + 8);
            wave.blockAlign = Le16(bytes.data() + body + 12);
            wave.bitsPerSample = Le16(bytes.data() + body + 14);
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat) return Fail("data before format");
            if (body + size > bytes.size()) return Fail("data chunk runs past the end of the file");
            wave.dataSize = size;
            wave.dataOffset = body;
            wave.data.assign(bytes.begin() + static_cast<std::ptrdiff_t>(body),
                             bytes.begin() + static_cast<std::ptrdiff_t>(body + size));
            wave.ok = true;
            return wave;
        }
        at = body + size + (size & 1);
    }
    return Fail("no data chunk");
}

ToneMeasure MeasureTone(const WaveFile& wave)
{
    ToneMeasure measure;
    if (!wave.ok || wave.blockAlign == 0 || wave.samplesPerSec == 0) return measure;
    std::size_t frames = wave.data.size() / wave.blockAlign;
    measure.seconds = static_cast<double>(frames) / wave.samplesPerSec;
    std::vector<double> samples(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        const unsigned char* p = wave.data.data() + i * wave.blockAlign;
        samples[i] = wave.bitsPerSample == 8 ? (p[0] - 128) / 128.0 : static_cast<std::int16_t>(Le16(p)) / 32768.0;
    }
    std::size_t from = frames / 10, to = frames - frames / 10;
    if (to <= from + 1) return measure;
    double sum = 0;
    int crossings = 0;
    for (std::size_t i = from; i < to; ++i) {
        sum += samples[i] * samples[i];
        if (i > from && (samples[i - 1] < 0) != (samples[i] < 0)) ++crossings;
    }
    measure.rms = std::sqrt(sum / static_cast<double>(to - from));
    measure.frequency = crossings / 2.0 / (static_cast<double>(to - from) / wave.samplesPerSec);
    return measure;
}

}  // namespace audio
