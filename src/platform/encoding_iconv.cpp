// The desktop players' cp932 conversion, through the C library's iconv.
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

std::string cp932ToUtf8(const std::string& cp932)
{
    return convert("UTF-8", "CP932", cp932, "\xEF\xBF\xBD");
}

std::string utf8ToCp932(const std::string& utf8)
{
    return convert("CP932", "UTF-8", utf8, "?");
}

} // namespace vorn
