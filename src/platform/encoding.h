// Conversions between the game's cp932 byte strings and UTF-8.
#pragma once

#include <string>

namespace vorn {

// Converts cp932 bytes to UTF-8. Bytes that do not decode become U+FFFD.
std::string cp932ToUtf8(const std::string& cp932);
// Converts UTF-8 to cp932. Characters cp932 cannot hold become "?".
std::string utf8ToCp932(const std::string& utf8);
// Whether `byte` starts a two-byte cp932 character.
bool isCp932LeadByte(unsigned char byte);

} // namespace vorn
