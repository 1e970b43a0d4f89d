// Small Standard MIDI Files made by the tests themselves.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

using Bytes = std::vector<unsigned char>;

// Appends a variable-length quantity.
void PutVlq(Bytes* out, std::uint32_t value);
// A tempo change (microseconds per quarter note) as a track event with its delta time.
Bytes TempoEvent(std::uint32_t delta, std::uint32_t tempo);
// The end-of-track event with its delta time.
Bytes EndOfTrack(std::uint32_t delta);
// An MTrk chunk around a track body.
Bytes TrackChunk(const Bytes& body);
// A whole file: MThd with format, division and the given track chunks.
Bytes SmfFile(int format, unsigned division, std::initializer_list<Bytes> tracks);
// A one-track file that lasts exactly lengthMs milliseconds: one note held to its end.
Bytes MidiOfLength(std::uint32_t lengthMs);
