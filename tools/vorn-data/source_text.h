// Texts of the readable source: the game's cp932 bytes shown as UTF-8, so that every byte comes
// back as it was. Bytes that do not decode, and characters whose UTF-8 form would come back as
// other bytes (cp932 holds some characters twice, e.g. 0xED40 and 0xFA5C), are written as an
// escape: the bytes in hexadecimal between double braces ("{{80}}", "{{ED40}}"). A "{" that
// stands before another "{" in the text itself is escaped the same way ("{{7B}}").
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace vorn::datatool {

std::string sourceText(const std::string& cp932);
// The cp932 bytes of a source text; escapes give their bytes, characters cp932 cannot hold "?".
std::string storedText(const std::string& utf8);
// The escapes in `utf8` whose bytes are not cp932 text, as written ("{{80}}").
std::vector<std::string> undecodableEscapes(const std::string& utf8);

// The byte offset of the first sequence in `bytes` that is not UTF-8.
std::optional<std::size_t> invalidUtf8(const std::string& bytes);

// The first character of a source text that storedText would not keep: a sequence that is not
// UTF-8, or a character cp932 cannot hold (escapes give their bytes and are always kept).
struct TextFault {
    std::size_t offset = 0; // bytes into the UTF-8 text
    std::string what;
};
std::optional<TextFault> unstorableCharacter(const std::string& utf8);

} // namespace vorn::datatool
