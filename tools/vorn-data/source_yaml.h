// Reading and writing the readable source's YAML: one walk of named fields per record, done
// either by a SourceOut (making YAML from the tables, text converted to UTF-8) or by a SourceIn
// (filling the tables from YAML, text converted to cp932). Missing fields keep their default.
// Reading never stops at a fault: every unknown field, value of the wrong kind and text the game
// cannot store is reported with its file, line and column, and the read goes on, so that one
// build lists all of them.
#pragma once

#include "diagnostics.h"

#include <yaml-cpp/yaml.h>

#include <array>
#include <filesystem>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace vorn::datatool {

// A fault of the source that stops the work (a folder that cannot be made, a file that cannot be
// written).
struct SourceError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Writes `header` (comment lines, each starting with "# ") and the node, block style with flow
// lists of numbers.
void writeYamlFile(const std::filesystem::path&, const std::string& header, const YAML::Node&);

// Reads the files of one source folder, reporting every fault to `report` and noting where each
// node stands in `locator`. Paths name nodes as "items.yaml.items[4].price".
class SourceReader {
public:
    SourceReader(const std::filesystem::path& dir, Report& report, SourceLocator& locator)
        : m_dir(dir)
        , m_report(report)
        , m_locator(locator)
    {
    }

    // Loads `file` (relative to the folder) as a map of named fields. A missing file gives an
    // empty map when `optional`; a file that is not UTF-8 or not YAML is reported and gives
    // nothing, and the read counts as broken (see `broken`).
    std::optional<YAML::Node> load(const std::string& file, bool optional = false);
    // Whether a file could not be read at all: what refers to it cannot be checked.
    bool broken() const { return m_broken; }

    float number(const YAML::Node&, const std::string& path);
    // The cp932 text of a scalar; a text the game cannot store is reported. A `field` text is
    // written as a field of a record (so a quote cannot stand beside a separator); other texts
    // are bytes written as they are (what follows a file's layout).
    std::string text(const YAML::Node&, const std::string& path, bool field = true);
    // A sequence (a missing node is an empty one); anything else is reported and read as empty.
    YAML::Node sequence(const YAML::Node&, const std::string& path);
    // Whether the node is a map of named fields (a missing one counts as an empty map).
    bool fields(const YAML::Node&, const std::string& path);

    void error(const YAML::Node& at, const std::string& path, const std::string& text);
    void warning(const YAML::Node& at, const std::string& path, const std::string& text);
    // A fault of a whole file, or at a position found otherwise.
    void error(const SourcePosition& at, const std::string& path, const std::string& text);
    // Records where the node of `path` stands.
    void note(const std::string& path, const YAML::Node& node);

    Report& report() { return m_report; }
    SourceLocator& locator() { return m_locator; }
    const std::filesystem::path& folder() const { return m_dir; }
    SourcePosition positionOf(const YAML::Node&, const std::string& path) const;

private:
    void add(Severity, const YAML::Node& at, const std::string& path, const std::string& text);
    void checkDuplicateKeys(const YAML::Node&, const std::string& file);

    std::filesystem::path m_dir;
    Report& m_report;
    SourceLocator& m_locator;
    bool m_broken = false;
};

// How a path is shown after the position: the path without its file ("items[4].price").
std::string shownPlace(const std::string& path);

class SourceOut {
public:
    static constexpr bool reading = false;

    SourceOut()
        : m_node(YAML::NodeType::Map)
    {
    }

    void number(const char* key, float value);
    void text(const char* key, const std::string& cp932);
    void numbers(const char* key, const float* values, int count);
    // A list of record numbers with 99 for an empty entry, written whole.
    void recordNumbers(const char* key, const float* values, int count, const char*) { numbers(key, values, count); }
    void texts(const char* key, const std::string* values, int count);
    template <std::size_t N>
    void numberRows(const char* key, const std::array<float, N>* rows, int count)
    {
        YAML::Node list(YAML::NodeType::Sequence);
        for (int i = 0; i < count; ++i)
            list.push_back(numberList(rows[i].data(), static_cast<int>(N)));
        m_node[key] = list;
    }

    const YAML::Node& node() const { return m_node; }
    static YAML::Node numberList(const float* values, int count);
    static YAML::Node numberNode(float value);

private:
    YAML::Node m_node;
};

class SourceIn {
public:
    static constexpr bool reading = true;

    SourceIn(SourceReader&, YAML::Node node, std::string path);

    void number(const char* key, float& value);
    void text(const char* key, std::string& cp932);
    // Bytes written as they are, not as a field.
    void bytes(const char* key, std::string& cp932);
    void numbers(const char* key, float* values, int count);
    // A list of `count` record numbers with 99 for an empty entry (`what` names one: "enemy"):
    // an entry left out would be record 0, so a shorter list is an error.
    void recordNumbers(const char* key, float* values, int count, const char* what);
    void texts(const char* key, std::string* values, int count);
    template <std::size_t N>
    void numberRows(const char* key, std::array<float, N>* rows, int count)
    {
        auto list = take(key);
        if (!list)
            return;
        int n = checkedLength(*list, key, count);
        for (int i = 0; i < n; ++i)
            readNumbers((*list)[static_cast<std::size_t>(i)], rows[i].data(), static_cast<int>(N), place(key, i));
    }

    // Marks a key read by other means, so finish() accepts it.
    void allow(const char* key) { m_asked.insert(key); }
    // Reports every key no walk asked for, with the closest known one.
    void finish();
    const std::string& path() const { return m_path; }
    // The node of a field (undefined when it is missing).
    YAML::Node field(const char* key) const;

private:
    std::optional<YAML::Node> take(const char* key);
    int checkedLength(const YAML::Node& list, const char* key, int most);
    void readNumbers(const YAML::Node& list, float* values, int count, const std::string& path);
    std::string place(const char* key, int index) const;

    SourceReader& m_reader;
    YAML::Node m_node;
    std::string m_path;
    bool m_isMap = false;
    std::set<std::string> m_asked;
};

} // namespace vorn::datatool
