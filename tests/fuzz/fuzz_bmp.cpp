// libFuzzer target: arbitrary bytes decoded as a BMP file.
//
// A refusal (an error text) is the expected answer to bad bytes; a decoded picture must hold
// exactly width x height pixels within the decoder's size limits. A crash or a sanitizer report
// is a finding.
#include "platform/picture.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    vorn::BmpResult result = vorn::decodeBmp(data, size);
    if (!result.ok())
        return 0;
    const vorn::Picture& p = result.picture;
    if (p.width <= 0 || p.height <= 0 || p.width > 16384 || p.height > 16384
        || p.pixels.size() != static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height))
        std::abort();
    return 0;
}
