// The wave format a recording is made in.
#include "model/wave_format.h"

#include "model/config.h"
#include "model/record_formats.h"

RecordingWaveFormat RecordingWaveFormatOf(std::uint32_t wavefmt)
{
    const RecordFormat& row = RecordFormatTable[IsRecordFormatRow(wavefmt) ? wavefmt : kDefaultWavefmt];
    // Of the bits and the channels only the low 16 bits count.
    auto bits = static_cast<std::uint16_t>(row.bitsPerSample);
    auto channels = static_cast<std::uint16_t>(row.channels);
    auto blockAlign = static_cast<std::uint16_t>(bits / 8 * channels);
    RecordingWaveFormat format{};
    format.formatTag = kWaveFormatPcm;
    format.channels = channels;
    format.samplesPerSec = row.samplesPerSec;
    format.avgBytesPerSec = blockAlign * row.samplesPerSec;
    format.blockAlign = blockAlign;
    format.bitsPerSample = bits;
    return format;
}
