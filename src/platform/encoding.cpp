#include "platform/encoding.h"

namespace vorn {

std::string appendTyped(const std::string& cp932, const std::string& typed, std::size_t maxBytes)
{
    std::string text = cp932;
    for (std::size_t at = 0; at < typed.size();) {
        std::size_t size = 1;
        while (at + size < typed.size() && (static_cast<unsigned char>(typed[at + size]) & 0xC0) == 0x80)
            ++size;
        std::string character = typed.substr(at, size);
        at += size;
        std::string encoded = utf8ToCp932(character);
        if (encoded == "?" && character != "?")
            continue;
        if (text.size() + encoded.size() > maxBytes)
            break;
        text += encoded;
    }
    return text;
}

bool isCp932LeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

} // namespace vorn
