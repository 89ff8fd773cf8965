// The cp932 tables of the web player, measured from this build's converter (the C library's).
#pragma once

#include "platform/cp932_tables.h"

#include <iosfwd>
#include <vector>

namespace vorn {

struct MeasuredCp932 {
    std::vector<std::uint16_t> singles;
    std::vector<std::uint16_t> pairs;
    std::vector<Cp932Code> codes;

    Cp932Tables tables() const { return { singles, pairs, codes }; }
};

// Asks cp932ToUtf8 for every byte and byte pair, and utf8ToCp932 for every code point. Throws
// std::runtime_error when the converter gives what the tables cannot hold (a byte pair that
// decodes to more than one character, a character beyond U+FFFF, a character other than the
// dropped ones written as nothing).
MeasuredCp932 measureCp932();

// Writes the tables as a C++ source file that defines measuredCp932Tables.
void writeCp932Source(std::ostream& out, const MeasuredCp932& measured);

} // namespace vorn
