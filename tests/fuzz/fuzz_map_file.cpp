// libFuzzer target: arbitrary bytes read as a map file and, when they read, written back.
//
// The first byte picks the correction sums and the data version. A map that reads as stored must
// write again unless a value cannot be written (FileError), and what is written must read back
// equal. A FileError is the expected answer to bad bytes; a crash, a sanitizer report or another
// exception is a finding.
#include "data/map_files.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vorn;
    if (size == 0 || size > 1 << 20)
        return 0;
    Corrections corrections;
    corrections.colCorrection = static_cast<float>(data[0] & 3);
    corrections.rowCorrection = static_cast<float>(data[0] >> 2 & 3);
    float version = data[0] & 0x80 ? 231 : 232;
    std::vector<std::uint8_t> bytes(data + 1, data + size);
    try {
        MapFile played = readMapFile(bytes, corrections, version);
        for (int r = 0; r < static_cast<int>(played.height); ++r)
            for (int c = 0; c < static_cast<int>(played.width); ++c)
                if (tileAt(played, c, r) < 0 || tileAt(played, c, r) > 255)
                    std::abort();
    } catch (const FileError&) {
        return 0;
    }
    MapFile stored = readStoredMapFile(bytes, corrections);
    std::string written;
    try {
        written = writeMapFile(stored, corrections, 232);
    } catch (const FileError&) {
        return 0;
    }
    MapFile again = readStoredMapFile(std::vector<std::uint8_t>(written.begin(), written.end()), corrections);
    if (!(again == stored))
        std::abort();
    return 0;
}
