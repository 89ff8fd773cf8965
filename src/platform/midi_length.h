// The playing time of a standard MIDI file, for the headless back end's music device.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace vorn {

// Milliseconds from the start to the last event of the file, following tempo changes; 0 when
// the data is not a readable standard MIDI file (format 0 or 1, ticks per quarter note).
std::uint64_t midiLengthMs(const std::vector<std::uint8_t>& data);

// The shortest time a music device lets a piece play before it answers "stopped". The game's
// keep-alive restarts a stopped piece at its next poll; an empty or nearly empty file would
// otherwise be closed, opened and played again at every poll.
inline constexpr std::uint64_t ShortestLoopMs = 1000;

// How long a music device plays the piece in `data` before answering "stopped": its length, at
// least ShortestLoopMs. Nothing when the data is not a readable standard MIDI file, which a
// device does not open.
std::optional<std::uint64_t> musicLoopMs(const std::vector<std::uint8_t>& data);

} // namespace vorn
