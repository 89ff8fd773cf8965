// cp932 conversion by lookup tables, for a build whose C library cannot convert cp932 (the web
// player's). The tables are measured from the desktop player's converter and written out as a
// source file (vorn-cp932-tables), so both players turn every byte string into the same text,
// the undecodable bytes included.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace vorn {

// One character cp932 can write: its code point and its bytes (a single byte below 0x100,
// otherwise lead * 256 + trail).
struct Cp932Code {
    std::uint16_t codePoint;
    std::uint16_t bytes;
};

// The code point of a byte or byte pair that decodes to nothing.
inline constexpr std::uint16_t NoCodePoint = 0xFFFF;
// Pairs are kept for every lead byte and every trail byte from 0x40 to 0xFF.
inline constexpr unsigned Cp932FirstTrail = 0x40;
inline constexpr std::size_t Cp932PairCount = 60 * 192;

struct Cp932Tables {
    std::span<const std::uint16_t> singles; // 256 entries: the code point of each byte alone
    std::span<const std::uint16_t> pairs; // Cp932PairCount entries, at cp932PairIndex
    std::span<const Cp932Code> codes; // every character cp932 can write, by rising code point
};

// The size of the well-formed UTF-8 character at `at` and its code point; size 0 when the
// bytes there are not one (overlong forms, surrogates and cut-off sequences included).
struct Utf8Character {
    std::size_t size = 0;
    char32_t codePoint = 0;
};
Utf8Character readUtf8(const std::string& text, std::size_t at);
// Appends the code point `c` (at most U+10FFFF) as UTF-8.
void appendUtf8(std::string& out, char32_t c);

// Whether `c` is a tag character (U+E0000 to U+E007F), which the desktop's converter writes as
// nothing at all.
bool isCp932DroppedCharacter(char32_t c);

// Where the pair (lead, trail) is kept in Cp932Tables::pairs; `lead` must be a lead byte and
// `trail` at least Cp932FirstTrail.
std::size_t cp932PairIndex(unsigned lead, unsigned trail);

// cp932 bytes to UTF-8; bytes that do not decode become U+FFFD, a bad pair as one character.
std::string decodeCp932(const Cp932Tables& tables, const std::string& cp932);
// UTF-8 to cp932; characters cp932 cannot hold, and malformed UTF-8, become "?".
std::string encodeCp932(const Cp932Tables& tables, const std::string& utf8);

// The tables vorn-cp932-tables wrote, in the builds that link them (the web player's).
extern const Cp932Tables measuredCp932Tables;

} // namespace vorn
