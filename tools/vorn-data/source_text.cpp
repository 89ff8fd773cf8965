#include "source_text.h"

#include "data/record.h"
#include "platform/encoding.h"

#include <algorithm>
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

std::optional<std::size_t> invalidUtf8(const std::string& bytes)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2
            : (lead >> 4) == 0xE                                  ? 3
            : (lead >> 3) == 0x1E                                 ? 4
                                                                  : 0;
        if (length == 0 || i + length > bytes.size() || (length == 2 && lead < 0xC2) || (length == 4 && lead > 0xF4))
            return i;
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80)
                return i;
        }
        auto second = static_cast<unsigned char>(bytes[i + 1 < bytes.size() ? i + 1 : i]);
        // Overlong forms, surrogates and values above U+10FFFF.
        if ((length == 3 && lead == 0xE0 && second < 0xA0) || (length == 3 && lead == 0xED && second >= 0xA0)
            || (length == 4 && lead == 0xF0 && second < 0x90) || (length == 4 && lead == 0xF4 && second >= 0x90))
            return i;
        i += length;
    }
    return std::nullopt;
}

std::optional<TextFault> unstorableCharacter(const std::string& utf8)
{
    if (auto at = invalidUtf8(utf8)) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned char>(utf8[*at]));
        return TextFault { *at, std::string("the byte 0x") + hex + " is not UTF-8 text" };
    }
    // Most texts convert whole; only a text whose conversion holds more question marks than the
    // text itself is looked at character by character.
    std::string stored = storedText(utf8);
    auto marks = [](const std::string& s) { return std::count(s.begin(), s.end(), '?'); };
    if (marks(stored) <= marks(utf8))
        return std::nullopt;
    std::string bytes;
    for (std::size_t i = 0; i < utf8.size();) {
        if (std::size_t length = parseEscape(utf8, i, bytes)) {
            i += length;
            continue;
        }
        std::size_t length = 1;
        while (i + length < utf8.size() && (static_cast<unsigned char>(utf8[i + length]) & 0xC0) == 0x80)
            ++length;
        std::string character = utf8.substr(i, length);
        if (length > 1 && utf8ToCp932(character) == "?")
            return TextFault { i, "the character \"" + character + "\" cannot be stored: the game's texts are cp932, which does not hold it" };
        i += length;
    }
    return std::nullopt;
}

} // namespace vorn::datatool
