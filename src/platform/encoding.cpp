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

std::string escapeControls(const std::string& utf8)
{
    static constexpr char hex[] = "0123456789abcdef";
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        unsigned char next = i + 1 < utf8.size() ? static_cast<unsigned char>(utf8[i + 1]) : 0;
        if (c < 0x20 || c == 0x7F) {
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else if (c == 0xC2 && next >= 0x80 && next <= 0x9F) {
            out += "\\u00";
            out += hex[next >> 4];
            out += hex[next & 15];
            ++i;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

} // namespace vorn
