#include "measure.h"

#include "platform/encoding.h"

#include <ostream>
#include <stdexcept>

namespace vorn {

namespace {

    // The one code point `utf8` holds, or NoCodePoint when it is the replacement character.
    std::uint16_t onlyCodePoint(const std::string& utf8, unsigned bytes)
    {
        Utf8Character character = utf8.empty() ? Utf8Character {} : readUtf8(utf8, 0);
        if (character.size == 0 || character.size != utf8.size() || character.codePoint > 0xFFFF)
            throw std::runtime_error("cp932 " + std::to_string(bytes) + " decodes to more than one character");
        if (character.codePoint == 0xFFFD)
            return NoCodePoint;
        return static_cast<std::uint16_t>(character.codePoint);
    }

    void writeArray(std::ostream& out, const char* declaration, const std::vector<std::uint16_t>& values)
    {
        out << "    const std::uint16_t " << declaration << "[] = {";
        for (std::size_t i = 0; i < values.size(); ++i)
            out << (i % 16 ? " " : "\n        ") << values[i] << ",";
        out << "\n    };\n";
    }

} // namespace

MeasuredCp932 measureCp932()
{
    MeasuredCp932 measured;
    measured.singles.assign(256, NoCodePoint);
    measured.pairs.assign(Cp932PairCount, NoCodePoint);
    for (unsigned byte = 0; byte < 256; ++byte) {
        if (isCp932LeadByte(static_cast<unsigned char>(byte)))
            continue;
        measured.singles[byte] = onlyCodePoint(cp932ToUtf8(std::string(1, static_cast<char>(byte))), byte);
    }
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!isCp932LeadByte(static_cast<unsigned char>(lead)))
            continue;
        for (unsigned trail = Cp932FirstTrail; trail < 256; ++trail) {
            std::string pair { static_cast<char>(lead), static_cast<char>(trail) };
            measured.pairs[cp932PairIndex(lead, trail)] = onlyCodePoint(cp932ToUtf8(pair), lead << 8 | trail);
        }
    }
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        std::string utf8;
        appendUtf8(utf8, c);
        std::string bytes = utf8ToCp932(utf8);
        if ((bytes == "?" && c != '?') || (bytes.empty() && isCp932DroppedCharacter(c)))
            continue;
        if (c > 0xFFFF || bytes.empty() || bytes.size() > 2)
            throw std::runtime_error("U+" + std::to_string(c) + " encodes to what the tables cannot hold");
        auto first = static_cast<unsigned char>(bytes[0]);
        unsigned code = bytes.size() == 1 ? first : first << 8 | static_cast<unsigned char>(bytes[1]);
        measured.codes.push_back({ static_cast<std::uint16_t>(c), static_cast<std::uint16_t>(code) });
    }
    return measured;
}

void writeCp932Source(std::ostream& out, const MeasuredCp932& measured)
{
    out << "// The cp932 tables, written by vorn-cp932-tables from the desktop player's converter.\n"
           "#include \"platform/cp932_tables.h\"\n\n"
           "namespace vorn {\n\n"
           "namespace {\n\n";
    writeArray(out, "singles", measured.singles);
    writeArray(out, "pairs", measured.pairs);
    out << "    const Cp932Code codes[] = {";
    for (std::size_t i = 0; i < measured.codes.size(); ++i)
        out << (i % 8 ? " " : "\n        ") << "{ " << measured.codes[i].codePoint << ", " << measured.codes[i].bytes
            << " },";
    out << "\n    };\n\n"
           "} // namespace\n\n"
           "const Cp932Tables measuredCp932Tables { singles, pairs, codes };\n\n"
           "} // namespace vorn\n";
}

} // namespace vorn
