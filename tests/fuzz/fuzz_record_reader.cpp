// libFuzzer target: arbitrary bytes read as records, one field at a time.
//
// The first byte chooses, bit by bit, whether each of the first fields is read as a number or as
// a string (past eight fields the choice repeats). A ReadError is the expected answer to bad
// bytes; a crash, a sanitizer report, a reader that goes back or past its bytes is a finding.
#include "data/record.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0 || size > 65536)
        return 0;
    std::uint8_t pattern = data[0];
    std::vector<std::uint8_t> bytes(data + 1, data + size);
    vorn::RecordReader reader(bytes);
    std::size_t last = 0;
    try {
        for (int field = 0; !reader.atEnd(); ++field) {
            if (pattern >> (field % 8) & 1)
                reader.string();
            else
                reader.number();
            if (reader.position() < last || reader.position() > bytes.size())
                std::abort();
            last = reader.position();
        }
    } catch (const vorn::ReadError&) {
    }
    return 0;
}
