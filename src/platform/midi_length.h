// The playing time of a standard MIDI file, for the headless back end's music device.
#pragma once

#include <cstdint>
#include <vector>

namespace vorn {

// Milliseconds from the start to the last event of the file, following tempo changes; 0 when
// the data is not a readable standard MIDI file (format 0 or 1, ticks per quarter note).
std::uint64_t midiLengthMs(const std::vector<std::uint8_t>& data);

} // namespace vorn
