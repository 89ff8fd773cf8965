#include "data/database_io.h"

#include <stdexcept>

namespace vorn::dbio {

namespace {

    bool contains(const std::string& text, char c) { return text.find(c) != std::string::npos; }

} // namespace

void RecordOutput::field(float value)
{
    try {
        m_writer.number(value);
    } catch (const std::invalid_argument& error) {
        throw FileError(error.what());
    }
}

// Strings go out as their bytes when they read back that way; a string the reader would cut or
// trim (a comma, colon or line end inside, blanks at either end, a leading quote) is quoted. A
// quoted string cannot hold a quote, and no string can hold the end-of-file byte 0x1A.
void RecordOutput::field(const std::string& value)
{
    if (contains(value, '\x1A'))
        throw FileError("a string holds the end-of-file byte 0x1A");
    bool needsQuotes = contains(value, ',') || contains(value, ':') || contains(value, '\r') || contains(value, '\n')
        || (!value.empty() && (value.front() == ' ' || value.back() == ' ' || value.front() == '"'));
    if (!needsQuotes) {
        m_writer.string(value);
        return;
    }
    if (contains(value, '"'))
        throw FileError("a string that must be quoted holds a double quote: " + value);
    m_writer.quoted(value);
}

} // namespace vorn::dbio
