// libFuzzer target: arbitrary bytes read as a map change file and, when they read, written back.
//
// The first byte picks the correction sums. What reads must write again unless a value cannot be
// written (FileError), and what is written must read back equal with the same bytes after it. A
// FileError is the expected answer to bad bytes; a crash, a sanitizer report or another exception
// is a finding.
#include "data/change_files.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vorn;
    if (size == 0 || size > 1 << 20)
        return 0;
    Corrections corrections;
    corrections.colCorrection = static_cast<float>(data[0] & 3);
    corrections.rowCorrection = static_cast<float>(data[0] >> 2 & 3);
    corrections.eventCorrection = static_cast<float>(data[0] >> 4 & 3);
    corrections.entryEventCorrection = static_cast<float>(data[0] >> 6);
    std::vector<std::uint8_t> bytes(data + 1, data + size);
    std::vector<ChangeBlock> blocks;
    std::string after;
    std::string written;
    try {
        blocks = readChangeFile(bytes, corrections, &after);
        written = writeChangeFile(blocks, corrections, after);
    } catch (const FileError&) {
        return 0;
    }
    std::string afterAgain;
    if (readChangeFile(std::vector<std::uint8_t>(written.begin(), written.end()), corrections, &afterAgain) != blocks
        || afterAgain != after)
        std::abort();
    return 0;
}
