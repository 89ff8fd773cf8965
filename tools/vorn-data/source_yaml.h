// Reading and writing the readable source's YAML: one walk of named fields per record, done
// either by a SourceOut (making YAML from the tables, text converted to UTF-8) or by a SourceIn
// (filling the tables from YAML, text converted to cp932). Missing fields keep their default;
// unknown fields and values of the wrong kind are SourceErrors naming the file and the place.
#pragma once

#include <yaml-cpp/yaml.h>

#include <array>
#include <filesystem>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>

namespace vorn::datatool {

struct SourceError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Loads a YAML file (syntax errors as yamlErrorText describes them); a missing file gives an empty map when `optional`, else a SourceError.
YAML::Node loadYamlFile(const std::filesystem::path&, bool optional = false);
std::string yamlErrorText(const std::filesystem::path&, const YAML::ParserException&);
// Writes `header` (comment lines, each starting with "# ") and the node, block style with flow
// lists of numbers.
void writeYamlFile(const std::filesystem::path&, const std::string& header, const YAML::Node&);

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

    SourceIn(YAML::Node node, std::string where);

    void number(const char* key, float& value);
    void text(const char* key, std::string& cp932);
    void numbers(const char* key, float* values, int count);
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
    // Raises a SourceError for every key no walk asked for.
    void finish() const;
    const std::string& where() const { return m_where; }

    static float toNumber(const YAML::Node&, const std::string& where);
    static std::string toText(const YAML::Node&, const std::string& where);
    // A sequence (a missing node is an empty one); anything else is a SourceError.
    static YAML::Node sequence(const YAML::Node&, const std::string& where);

private:
    std::optional<YAML::Node> take(const char* key);
    int checkedLength(const YAML::Node& list, const char* key, int most) const;
    static void readNumbers(const YAML::Node& list, float* values, int count, const std::string& where);
    std::string place(const char* key, int index) const;

    YAML::Node m_node;
    std::string m_where;
    std::set<std::string> m_asked;
};

} // namespace vorn::datatool
