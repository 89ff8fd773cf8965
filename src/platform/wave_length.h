// The playing time of a WAVE file, for the headless back end's sound device.
#pragma once

#include <cstdint>
#include <vector>

namespace vorn {

// Microseconds of sound in a RIFF WAVE file: its sample frames over its sample rate. PCM, float,
// A-law and mu-law data count whole blocks of the data chunk; ADPCM data counts the "fact"
// chunk's frames, or whole blocks of its frames per block. 0 when the data is not a readable WAVE
// file. A data chunk longer than the file counts only the bytes present.
std::uint64_t waveLengthUs(const std::vector<std::uint8_t>& data);

} // namespace vorn
