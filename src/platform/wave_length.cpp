#include "platform/wave_length.h"

#include <algorithm>
#include <optional>

namespace vorn {

namespace {

    std::uint32_t le16(const std::vector<std::uint8_t>& d, std::size_t at)
    {
        return static_cast<std::uint32_t>(d[at] | (d[at + 1] << 8));
    }

    std::uint32_t le32(const std::vector<std::uint8_t>& d, std::size_t at)
    {
        return le16(d, at) | (le16(d, at + 2) << 16);
    }

    bool tagAt(const std::vector<std::uint8_t>& d, std::size_t at, const char* tag)
    {
        return std::equal(tag, tag + 4, d.begin() + static_cast<std::ptrdiff_t>(at));
    }

    constexpr std::uint32_t formatMsAdpcm = 2, formatImaAdpcm = 0x11;

} // namespace

std::uint64_t waveLengthUs(const std::vector<std::uint8_t>& data)
{
    if (data.size() < 12 || !tagAt(data, 0, "RIFF") || !tagAt(data, 8, "WAVE"))
        return 0;
    std::uint32_t format = 0, sampleRate = 0, blockAlign = 0, framesPerBlock = 0;
    bool haveFormat = false;
    std::optional<std::uint32_t> factFrames;
    std::optional<std::uint64_t> dataBytes;
    std::size_t at = 12;
    while (at + 8 <= data.size()) {
        std::uint64_t size = le32(data, at + 4);
        std::size_t body = at + 8;
        std::uint64_t present = std::min<std::uint64_t>(size, data.size() - body);
        if (tagAt(data, at, "fmt ") && present >= 16) {
            format = le16(data, body);
            sampleRate = le32(data, body + 4);
            blockAlign = le16(data, body + 12);
            // ADPCM formats follow the extension size with the frames per block.
            if (present >= 20)
                framesPerBlock = le16(data, body + 18);
            haveFormat = true;
        } else if (tagAt(data, at, "fact") && present >= 4) {
            factFrames = le32(data, body);
        } else if (tagAt(data, at, "data") && !dataBytes) {
            dataBytes = present;
        }
        // Chunks are padded to an even size.
        at = body + static_cast<std::size_t>(std::min<std::uint64_t>(size + (size & 1), data.size() - body));
    }
    if (!haveFormat || !dataBytes || sampleRate == 0 || blockAlign == 0)
        return 0;
    std::uint64_t blocks = *dataBytes / blockAlign;
    std::uint64_t frames = blocks;
    if (format == formatMsAdpcm || format == formatImaAdpcm)
        frames = factFrames ? std::min<std::uint64_t>(*factFrames, blocks * framesPerBlock) : blocks * framesPerBlock;
    return frames * 1000000 / sampleRate;
}

} // namespace vorn
