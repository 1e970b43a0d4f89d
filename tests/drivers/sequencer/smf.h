// Reading a Standard MIDI File far enough to know its true length. Portable, for the test sequencer.
#pragma once

#include <cstddef>
#include <cstdint>

struct SmfInfo {
    int format = 0;          // 0, 1 or 2
    int trackCount = 0;      // MTrk chunks read
    std::uint32_t lengthMs = 0;
};

// Reads a file held in memory: a bare MThd file or one wrapped in a RIFF "RMID" form. Every
// track's events are walked with their tempo changes; the length is the time at which the last
// track ends. Returns false for anything that is not a well-formed MIDI file.
bool ReadSmf(const unsigned char* data, std::size_t size, SmfInfo* info);
