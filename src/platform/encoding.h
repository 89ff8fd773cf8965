// Conversions between the game's cp932 byte strings and UTF-8.
#pragma once

#include <cstddef>
#include <string>

namespace vorn {

// Converts cp932 bytes to UTF-8. Bytes that do not decode become U+FFFD.
std::string cp932ToUtf8(const std::string& cp932);
// Converts UTF-8 to cp932. Characters cp932 cannot hold become "?".
std::string utf8ToCp932(const std::string& utf8);
// The cp932 text `cp932` with the UTF-8 text `typed` appended a character at a time, as a text
// box of `maxBytes` bytes takes typing: a character cp932 cannot hold is refused, and typing
// stops at the first character that would not fit.
std::string appendTyped(const std::string& cp932, const std::string& typed, std::size_t maxBytes);
// UTF-8 text made safe to print on a terminal: control characters (C0, DEL and the C1 range),
// which could move the cursor, clear the screen or retitle the window, are shown as \xNN escapes
// (\u00NN for C1), line ends included, so that a message stays on one line.
std::string escapeControls(const std::string& utf8);
// Whether `byte` starts a two-byte cp932 character.
bool isCp932LeadByte(unsigned char byte);

} // namespace vorn
