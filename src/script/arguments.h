// Reading the arguments of script commands: tokens of the command string, random values, flag
// references, jump targets and label searches.
//
// A token runs from the current position to the next separator (one of , : ; | ! ) ( & \ _);
// blanks inside it are dropped. Flag values substituted into a token are written as decimal text:
// whole numbers without a point ("12", "-3"), fractions in fixed notation with the fewest digits
// that read back to the same value ("0.5", "3.3333333"), never with an exponent.
#pragma once

#include "data/record.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vorn {

struct Context;

// Whether `c` ends a keyword or a token.
bool isScriptSeparator(char c);
// Bytes of the command-string character that starts at byte `at`: 2 for a double-byte cp932
// character (whose second byte may look like a separator: ソ is 0x83 0x5C), else 1. Command
// strings are read a character at a time, so such a character is never cut in two.
std::size_t commandCharSize(const std::string& commands, std::size_t at);
// Whether the command string holds `name` as a token ended by a separator (blanks dropped), as the
// label search finds it. `standsLast`, when given, tells whether the name stands as the string's
// last token, where the search never finds it.
bool holdsLabel(const std::string& commands, std::string_view name, bool* standsLast = nullptr);

// The numeric value of a token: decimal (sign, digits, fraction, exponent) read as far as it is a
// number, "&H"/"&h" followed by hexadecimal digits, anything else 0.
float tokenValue(std::string_view token);
// Hexadecimal digits read as far as they go ("1F" is 31); no digits give 0.
float hexValue(std::string_view digits);

// Reads the next token of the current command string into arg(index) and CurrentToken, and moves
// the position past it and one separator.
void ParseArgument(Context& ctx, int index);
// Replaces a flag reference "@a-b" or "@a-@c-d" by the value of the flag it names, as text.
// Raises the event error when the reference names no flag.
std::string ResolveFlagReference(Context& ctx, const std::string& token);
// CurrentToken as a jump target within the current event: arg(1) becomes the offset to add to
// the line offset ("NEX" 1, a number itself, "*name" the line holding the label).
void ResolveLineTarget(Context& ctx);
// CurrentToken as a target in another event: arg(0) the event delta, arg(1) the line.
void ResolveEventTarget(Context& ctx);

// The first line (from 0 upwards) of `event` whose command string holds the label token `name`
// ended by a separator. Raises the event error when the search runs past line 100.
int findLabelLine(Context& ctx, std::int64_t event, std::string_view name);

// Checked access to flag (a, b); indexes are rounded; outside 0..100 raises the event error.
float& flagAt(Context& ctx, float a, float b);
// Stores a flag value; a value that is not finite (an overflow) raises the event error.
void setFlag(Context& ctx, float a, float b, float value);

// arg(index) as a whole number (rounded).
int argInt(const Context& ctx, int index);

} // namespace vorn
