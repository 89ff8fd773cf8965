#include "platform/cp932_tables.h"

#include "platform/encoding.h"

#include <algorithm>

namespace vorn {

namespace {

    constexpr char32_t Replacement = 0xFFFD;

    unsigned byteAt(const std::string& text, std::size_t at) { return static_cast<unsigned char>(text[at]); }

    bool isContinuation(unsigned byte) { return (byte & 0xC0) == 0x80; }

    const Cp932Code* findCode(const Cp932Tables& tables, char32_t c)
    {
        auto found = std::lower_bound(tables.codes.begin(), tables.codes.end(), c,
            [](const Cp932Code& code, char32_t wanted) { return code.codePoint < wanted; });
        if (found == tables.codes.end() || found->codePoint != c)
            return nullptr;
        return &*found;
    }

} // namespace

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

Utf8Character readUtf8(const std::string& text, std::size_t at)
{
    unsigned lead = byteAt(text, at);
    if (lead < 0x80)
        return { 1, lead };
    std::size_t size = 0;
    char32_t least = 0;
    char32_t c = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        size = 2, least = 0x80, c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        size = 3, least = 0x800, c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        size = 4, least = 0x10000, c = lead & 0x07;
    } else {
        return {};
    }
    if (at + size > text.size())
        return {};
    for (std::size_t i = 1; i < size; ++i) {
        unsigned next = byteAt(text, at + i);
        if (!isContinuation(next))
            return {};
        c = (c << 6) | (next & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return {};
    return { size, c };
}

bool isCp932DroppedCharacter(char32_t c) { return c >= 0xE0000 && c <= 0xE007F; }

std::size_t cp932PairIndex(unsigned lead, unsigned trail)
{
    // Lead bytes 0x81 to 0x9F come first, then 0xE0 to 0xFC.
    std::size_t row = lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 31;
    return row * 192 + (trail - Cp932FirstTrail);
}

std::string decodeCp932(const Cp932Tables& tables, const std::string& cp932)
{
    std::string out;
    out.reserve(cp932.size() * 3 / 2);
    for (std::size_t at = 0; at < cp932.size();) {
        unsigned byte = byteAt(cp932, at);
        if (!isCp932LeadByte(byte)) {
            std::uint16_t c = tables.singles[byte];
            appendUtf8(out, c == NoCodePoint ? Replacement : c);
            ++at;
        } else if (at + 1 < cp932.size()) {
            // A lead byte always takes the byte after it, even when the two mean nothing.
            unsigned trail = byteAt(cp932, at + 1);
            std::uint16_t c = trail >= Cp932FirstTrail ? tables.pairs[cp932PairIndex(byte, trail)] : NoCodePoint;
            appendUtf8(out, c == NoCodePoint ? Replacement : c);
            at += 2;
        } else {
            appendUtf8(out, Replacement);
            ++at;
        }
    }
    return out;
}

std::string encodeCp932(const Cp932Tables& tables, const std::string& utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        Utf8Character character = readUtf8(utf8, at);
        if (character.size && isCp932DroppedCharacter(character.codePoint)) {
            at += character.size;
            continue;
        }
        const Cp932Code* code = character.size ? findCode(tables, character.codePoint) : nullptr;
        if (code) {
            if (code->bytes >= 0x100)
                out += static_cast<char>(code->bytes >> 8);
            out += static_cast<char>(code->bytes & 0xFF);
            at += character.size;
            continue;
        }
        // What cannot be written is one "?" for its first byte and every continuation byte after it.
        out += '?';
        ++at;
        while (at < utf8.size() && isContinuation(byteAt(utf8, at)))
            ++at;
    }
    return out;
}

} // namespace vorn
