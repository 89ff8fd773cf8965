#include "platform/encoding.h"

#include <cerrno>
#include <iconv.h>

namespace vorn {

namespace {

    // Runs iconv over the whole input; an undecodable sequence is replaced by `replacement`
    // and conversion resumes after `skip` bytes.
    std::string convert(const char* to, const char* from, const std::string& input,
        const std::string& replacement)
    {
        iconv_t cd = iconv_open(to, from);
        if (cd == reinterpret_cast<iconv_t>(-1))
            return input;
        std::string out;
        out.reserve(input.size() * 2);
        char* in = const_cast<char*>(input.data());
        size_t inLeft = input.size();
        char buffer[256];
        while (inLeft > 0) {
            char* outPtr = buffer;
            size_t outLeft = sizeof buffer;
            size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
            out.append(buffer, static_cast<size_t>(outPtr - buffer));
            if (result == static_cast<size_t>(-1)) {
                if (errno == E2BIG)
                    continue;
                // An invalid or incomplete sequence: replace one character and go on.
                out += replacement;
                size_t skip = 1;
                unsigned char lead = static_cast<unsigned char>(*in);
                if (std::string(from) == "CP932" && isCp932LeadByte(lead) && inLeft >= 2)
                    skip = 2;
                else if (std::string(from) == "UTF-8") {
                    while (skip < inLeft && (static_cast<unsigned char>(in[skip]) & 0xC0) == 0x80)
                        ++skip;
                }
                in += skip;
                inLeft -= skip;
                iconv(cd, nullptr, nullptr, nullptr, nullptr);
            }
        }
        iconv_close(cd);
        return out;
    }

} // namespace

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

std::string cp932ToUtf8(const std::string& cp932)
{
    return convert("UTF-8", "CP932", cp932, "\xEF\xBF\xBD");
}

std::string utf8ToCp932(const std::string& utf8)
{
    return convert("CP932", "UTF-8", utf8, "?");
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
