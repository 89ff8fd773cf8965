// The record text format shared by every data file the game reads and writes.
//
// A file is a stream of cp932 fields separated by commas and line ends (a carriage return,
// optionally followed by a line feed); a colon ends an unquoted field like a comma, and a byte 0x1A
// ends the file. A reader takes fields one at a time, typed by where they go: a number or a string.
// Writers end every value with a comma and every record with CR LF; on reading, a line end that
// follows such a last comma (blanks aside) belongs to that comma and does not make an empty field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace vorn {

// A field that is missing (end of file) or does not fit its destination.
struct ReadError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class RecordReader {
public:
    // Bytes from the first 0x1A on are ignored.
    explicit RecordReader(std::vector<std::uint8_t> bytes);

    // The next field as a number: decimal (sign, digits, fraction, exponent), "&H"/"&h" followed
    // by hexadecimal digits, or "&" followed by octal digits (both at most 32 bits, unsigned).
    float number();
    // The next field as a string (cp932 bytes); a quoted field may hold commas and colons.
    std::string string();
    // Nothing but blanks and line ends remain.
    bool atEnd() const;
    // Where the next field starts, as an offset into the bytes given (after a record that ended
    // its line: the start of the next line).
    std::size_t position() const { return m_pos; }

private:
    enum class Destination { Number,
        String };
    std::string nextField(Destination);
    void skipBlanks();
    bool atLineEnd() const;
    void consumeLineEnd();
    void consumeSeparator();
    [[noreturn]] void fail(const std::string& what, std::size_t at) const;

    std::vector<std::uint8_t> m_bytes;
    std::size_t m_pos { 0 };
};

class RecordWriter {
public:
    // Every value is followed by a comma; endRecord() writes CR LF.
    void number(float value);
    // The bytes as given, no quotes added.
    void string(const std::string& cp932);
    // The bytes between double quotes.
    void quoted(const std::string& cp932);
    void endRecord();
    const std::string& bytes() const { return m_bytes; }

private:
    std::string m_bytes;
};

// Nearest whole number, halves away from zero. NaN gives 0; values beyond the int range give
// INT_MIN or INT_MAX.
int roundIndex(float value);
// The value of a hexadecimal digit (0-9, A-F, a-f), or -1 for any other character.
int hexDigitValue(char c);
// int(): rounds down. NaN gives 0; values beyond the int range give INT_MIN or INT_MAX.
int intFloor(float value);
// The writer's number text: whole numbers without a point ("12", "-1", both zeros as "0"),
// fractions in the shortest decimal form that reads back to the same float. Throws
// std::invalid_argument for infinities and NaN, which the format cannot hold.
std::string formatNumber(float value);
// A flag value as script token text: whole numbers without a point ("12", "-3", both zeros as
// "0"), fractions in fixed notation with the fewest digits that read back to the same value
// ("0.5", "3.3333333"), never with an exponent. Values that are not finite read as "0".
std::string flagText(float value);

} // namespace vorn
