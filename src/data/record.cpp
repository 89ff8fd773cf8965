#include "data/record.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <limits>
#include <optional>
#include <string_view>
#include <system_error>

namespace vorn {

namespace {

    constexpr std::uint8_t kBlank = 0x20;
    constexpr std::uint8_t kCarriageReturn = 0x0D;
    constexpr std::uint8_t kLineFeed = 0x0A;
    constexpr std::uint8_t kEndOfFile = 0x1A;
    constexpr std::uint8_t kQuote = 0x22;
    constexpr std::uint8_t kComma = 0x2C;
    constexpr std::uint8_t kColon = 0x3A;

    bool isDigit(char c) { return c >= '0' && c <= '9'; }

    // "&H1F", "&h1f" or "&17": an unsigned integer of at most 32 bits.
    std::optional<float> parseBasedInteger(std::string_view text)
    {
        int base = 8;
        text.remove_prefix(1);
        if (!text.empty() && (text[0] == 'H' || text[0] == 'h')) {
            base = 16;
            text.remove_prefix(1);
        }
        if (text.empty())
            return std::nullopt;
        std::uint64_t value = 0;
        for (char c : text) {
            int digit = hexDigitValue(c);
            if (digit < 0 || digit >= base)
                return std::nullopt;
            value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
            if (value > 0xFFFFFFFFu)
                return std::nullopt;
        }
        return static_cast<float>(value);
    }

    // Whether `text` is [+-] digits [. digits] | [+-] . digits, with an optional exponent
    // [eE] [+-] digits.
    bool isDecimalNumber(std::string_view text)
    {
        std::size_t i = 0;
        auto digitsFrom = [&]() {
            std::size_t start = i;
            while (i < text.size() && isDigit(text[i]))
                ++i;
            return i - start;
        };
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        std::size_t mantissaDigits = digitsFrom();
        if (i < text.size() && text[i] == '.') {
            ++i;
            mantissaDigits += digitsFrom();
        }
        if (!mantissaDigits)
            return false;
        if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
            ++i;
            if (i < text.size() && (text[i] == '+' || text[i] == '-'))
                ++i;
            if (!digitsFrom())
                return false;
        }
        return i == text.size();
    }

    std::optional<float> parseDecimal(std::string_view text)
    {
        if (!isDecimalNumber(text))
            return std::nullopt;
        if (text[0] == '+')
            text.remove_prefix(1);
        float value = 0;
        auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error == std::errc::result_out_of_range) {
            // Out of a float's range: a number too small to tell from 0 reads as 0 (or the
            // nearest tiny float), as the float conversion gives it; one too large stays an error.
            double wide = 0;
            auto [wideEnd, wideError] = std::from_chars(text.data(), text.data() + text.size(), wide);
            if (wideError != std::errc() || wideEnd != text.data() + text.size()
                || std::fabs(wide) > std::numeric_limits<float>::max())
                return std::nullopt;
            return static_cast<float>(wide);
        }
        if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
            return std::nullopt;
        return value;
    }

    std::optional<float> parseNumber(std::string_view text)
    {
        if (text.empty() || text.find(' ') != std::string_view::npos)
            return std::nullopt;
        if (text[0] == '&')
            return parseBasedInteger(text);
        return parseDecimal(text);
    }

    int saturate(double whole)
    {
        if (std::isnan(whole))
            return 0;
        if (whole >= static_cast<double>(INT_MAX))
            return INT_MAX;
        if (whole <= static_cast<double>(INT_MIN))
            return INT_MIN;
        return static_cast<int>(whole);
    }

} // namespace

RecordReader::RecordReader(std::vector<std::uint8_t> bytes)
    : m_bytes(std::move(bytes))
{
    auto end = std::find(m_bytes.begin(), m_bytes.end(), kEndOfFile);
    m_bytes.erase(end, m_bytes.end());
}

float RecordReader::number()
{
    std::size_t start = m_pos;
    std::string text = nextField(Destination::Number);
    auto value = parseNumber(text);
    if (!value)
        fail("not a number: \"" + text + "\"", start);
    return *value;
}

std::string RecordReader::string() { return nextField(Destination::String); }

bool RecordReader::atEnd() const
{
    for (std::size_t i = m_pos; i < m_bytes.size(); ++i) {
        std::uint8_t byte = m_bytes[i];
        bool lineFeedOfLineEnd = byte == kLineFeed && i > 0 && m_bytes[i - 1] == kCarriageReturn;
        if (byte != kBlank && byte != kCarriageReturn && !lineFeedOfLineEnd)
            return false;
    }
    return true;
}

std::string RecordReader::nextField(Destination destination)
{
    skipBlanks();
    if (m_pos >= m_bytes.size())
        fail("end of file", m_pos);

    std::string text;
    if (m_bytes[m_pos] == kQuote) {
        if (destination == Destination::Number)
            fail("quoted text where a number is due", m_pos);
        std::size_t open = m_pos;
        auto close = std::find(m_bytes.begin() + static_cast<std::ptrdiff_t>(open) + 1, m_bytes.end(), kQuote);
        if (close == m_bytes.end())
            fail("quoted text without its closing quote", open);
        text.assign(m_bytes.begin() + static_cast<std::ptrdiff_t>(open) + 1, close);
        m_pos = static_cast<std::size_t>(close - m_bytes.begin()) + 1;
        skipBlanks();
        if (m_pos < m_bytes.size() && m_bytes[m_pos] != kComma && m_bytes[m_pos] != kColon && !atLineEnd())
            fail("text after a closing quote", m_pos);
    } else {
        std::size_t start = m_pos;
        while (m_pos < m_bytes.size() && m_bytes[m_pos] != kComma && m_bytes[m_pos] != kColon && !atLineEnd())
            ++m_pos;
        std::size_t end = m_pos;
        while (end > start && m_bytes[end - 1] == kBlank)
            --end;
        text.assign(
            m_bytes.begin() + static_cast<std::ptrdiff_t>(start), m_bytes.begin() + static_cast<std::ptrdiff_t>(end));
    }
    consumeSeparator();
    return text;
}

void RecordReader::skipBlanks()
{
    while (m_pos < m_bytes.size() && m_bytes[m_pos] == kBlank)
        ++m_pos;
}

bool RecordReader::atLineEnd() const { return m_pos < m_bytes.size() && m_bytes[m_pos] == kCarriageReturn; }

void RecordReader::consumeLineEnd()
{
    ++m_pos;
    if (m_pos < m_bytes.size() && m_bytes[m_pos] == kLineFeed)
        ++m_pos;
}

// Takes the separator that ended a field (nothing at the end of the file). A comma or colon
// followed by nothing but blanks up to a line end takes that line end with it, so the next field
// is the first of the next line.
void RecordReader::consumeSeparator()
{
    if (m_pos >= m_bytes.size())
        return;
    if (atLineEnd()) {
        consumeLineEnd();
        return;
    }
    ++m_pos;
    std::size_t afterComma = m_pos;
    skipBlanks();
    if (atLineEnd())
        consumeLineEnd();
    else if (m_pos < m_bytes.size())
        m_pos = afterComma;
}

void RecordReader::fail(const std::string& what, std::size_t at) const
{
    auto end = m_bytes.begin() + static_cast<std::ptrdiff_t>(std::min(at, m_bytes.size()));
    auto line = std::count(m_bytes.begin(), end, kCarriageReturn) + 1;
    throw ReadError("line " + std::to_string(line) + ": " + what);
}

void RecordWriter::number(float value)
{
    m_bytes += formatNumber(value);
    m_bytes += ',';
}

void RecordWriter::string(const std::string& cp932)
{
    m_bytes += cp932;
    m_bytes += ',';
}

void RecordWriter::quoted(const std::string& cp932)
{
    m_bytes += '"';
    m_bytes += cp932;
    m_bytes += "\",";
}

void RecordWriter::endRecord() { m_bytes += "\r\n"; }

int roundIndex(float value) { return saturate(std::round(static_cast<double>(value))); }

int intFloor(float value) { return saturate(std::floor(static_cast<double>(value))); }

std::string formatNumber(float value)
{
    if (!std::isfinite(value))
        throw std::invalid_argument("a number that is not finite cannot be written");
    if (value == 0)
        return "0";
    char buffer[64];
    bool whole = std::trunc(value) == value;
    auto result = whole ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed)
                        : std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::string flagText(float value)
{
    if (!std::isfinite(value))
        return "0"; // flags are kept finite; a value from elsewhere reads as 0
    if (value == 0)
        return "0";
    char buffer[128];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return std::string(buffer, result.ptr);
}

} // namespace vorn
