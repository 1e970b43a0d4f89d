// The combo-box texts of the recording formats.
#include "model/record_formats.h"

#include <cstdio>

bool IsRecordFormatRow(std::uint32_t wavefmt)
{
    return wavefmt < RecordFormatTable.size();
}

bool FormatRecordFormatText(const RecordFormat& format, char* text, std::size_t size)
{
    if (size == 0) return false;
    int written = std::snprintf(text, size, "%d KHz, %d-Bit, %s", static_cast<int>(format.samplesPerSec / 1000),
                                static_cast<int>(format.bitsPerSample), format.channels > 1 ? "Stereo" : "Mono");
    if (written < 0 || static_cast<std::size_t>(written) >= size) {
        text[0] = '\0';
        return false;
    }
    return true;
}
