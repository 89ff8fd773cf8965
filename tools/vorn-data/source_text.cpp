#include "source_text.h"

#include "data/record.h"
#include "platform/encoding.h"

#include <cstdio>

namespace vorn::datatool {

namespace {

    const std::string kReplacement = "\xEF\xBF\xBD";

    std::string escape(const std::string& bytes)
    {
        std::string out = "{{";
        for (char c : bytes) {
            char hex[3];
            std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned char>(c));
            out += hex;
        }
        return out + "}}";
    }

    // Parses an escape starting at `at` (the backslash); returns its length, or 0 when the text
    // there is not an escape.
    std::size_t parseEscape(const std::string& text, std::size_t at, std::string& bytes)
    {
        if (text.compare(at, 2, "{{") != 0)
            return 0;
        std::size_t close = text.find("}}", at + 2);
        if (close == std::string::npos)
            return 0;
        std::size_t digits = close - at - 2;
        if (digits == 0 || digits % 2)
            return 0;
        bytes.clear();
        for (std::size_t i = at + 2; i < close; i += 2) {
            int high = hexDigitValue(text[i]), low = hexDigitValue(text[i + 1]);
            if (high < 0 || low < 0)
                return 0;
            bytes += static_cast<char>(high * 16 + low);
        }
        return close + 2 - at;
    }

    // Whether the bytes are one character that decodes and comes back as the same bytes.
    bool keepsItsBytes(const std::string& character, std::string& utf8)
    {
        utf8 = cp932ToUtf8(character);
        return utf8.find(kReplacement) == std::string::npos && utf8ToCp932(utf8) == character;
    }

} // namespace

std::string sourceText(const std::string& cp932)
{
    std::string out;
    out.reserve(cp932.size());
    std::size_t i = 0;
    while (i < cp932.size()) {
        auto byte = static_cast<unsigned char>(cp932[i]);
        if (byte < 0x80) {
            if (byte == '{' && i + 1 < cp932.size() && cp932[i + 1] == '{')
                out += escape("{");
            else
                out += static_cast<char>(byte);
            ++i;
            continue;
        }
        std::size_t length = isCp932LeadByte(byte) && i + 1 < cp932.size() ? 2 : 1;
        std::string character = cp932.substr(i, length);
        std::string utf8;
        out += keepsItsBytes(character, utf8) ? utf8 : escape(character);
        i += length;
    }
    return out;
}

std::string storedText(const std::string& utf8)
{
    std::string out, run, bytes;
    std::size_t i = 0;
    while (i < utf8.size()) {
        if (std::size_t length = parseEscape(utf8, i, bytes)) {
            out += utf8ToCp932(run);
            run.clear();
            out += bytes;
            i += length;
        } else {
            run += utf8[i++];
        }
    }
    return out + utf8ToCp932(run);
}

std::vector<std::string> undecodableEscapes(const std::string& utf8)
{
    std::vector<std::string> found;
    std::string bytes, ignored;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        std::size_t length = parseEscape(utf8, i, bytes);
        if (!length)
            continue;
        // An escape of a whole character that decodes is a duplicate, not a fault.
        std::string shown = cp932ToUtf8(bytes);
        bool decodes = shown.find(kReplacement) == std::string::npos
            && (bytes.size() == 1 || (bytes.size() == 2 && isCp932LeadByte(static_cast<unsigned char>(bytes[0]))));
        if (!decodes)
            found.push_back(utf8.substr(i, length));
        i += length - 1;
    }
    return found;
}

} // namespace vorn::datatool
