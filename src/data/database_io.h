// The two ways of walking a database file's layout: reading its records into the tables, or
// writing the tables out as records. Each layout is written once (database_layout.h) as a template
// over one of these, so the loader and the writer cannot disagree about a file.
#pragma once

#include "data/errors.h"
#include "data/record.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vorn::dbio {

// A field the loader reads past without keeping; a writer writes `value` in its place.
struct SkipNumber {
    float value = 0;
};
struct SkipString {
    std::string value;
};
inline SkipNumber skip(float value = 0) { return { value }; }
inline SkipString skip(const std::string& value) { return { value }; }

// A table size as a whole number within [least, most]; anything else (a fraction is rounded
// first) cannot be held by the tables and is a file error.
inline int checkedCount(float value, int least, int most, const char* name)
{
    if (!std::isfinite(value))
        throw FileError(std::string(name) + " is not a finite number");
    int count = roundIndex(value);
    if (count < least || count > most) {
        throw FileError(std::string(name) + " = " + std::to_string(count) + " is outside " + std::to_string(least)
            + " to " + std::to_string(most));
    }
    return count;
}

// The bytes of a file from `position` on (for what follows a file's layout).
inline std::string bytesFrom(const std::vector<std::uint8_t>& bytes, std::size_t position)
{
    return std::string(bytes.begin() + static_cast<std::ptrdiff_t>(std::min(position, bytes.size())), bytes.end());
}

class RecordInput {
public:
    static constexpr bool reading = true;

    explicit RecordInput(std::vector<std::uint8_t> bytes)
        : m_reader(std::move(bytes))
    {
    }

    // Fills the fields in order from the next fields of the file; throws ReadError.
    template <class... Fields>
    void record(Fields&&... fields) { (field(std::forward<Fields>(fields)), ...); }

    // Rounds a table size just read and checks it against what the tables can hold.
    void count(float& value, int least, int most, const char* name)
    {
        value = static_cast<float>(checkedCount(value, least, most, name));
    }

    std::size_t position() const { return m_reader.position(); }

private:
    void field(float& value) { value = m_reader.number(); }
    void field(std::string& value) { value = m_reader.string(); }
    void field(const SkipNumber&) { m_reader.number(); }
    void field(const SkipString&) { m_reader.string(); }

    RecordReader m_reader;
};

class RecordOutput {
public:
    static constexpr bool reading = false;

    // Writes the fields as one record on a line of its own.
    template <class... Fields>
    void record(const Fields&... fields)
    {
        (field(fields), ...);
        m_writer.endRecord();
    }

    // Checks a table size before the layout loops over it.
    void count(float value, int least, int most, const char* name) { checkedCount(value, least, most, name); }

    const std::string& bytes() const { return m_writer.bytes(); }

private:
    void field(float value);
    void field(const std::string& value);
    void field(const SkipNumber& skipped) { field(skipped.value); }
    void field(const SkipString& skipped) { field(skipped.value); }

    RecordWriter m_writer;
};

} // namespace vorn::dbio
