#include "source_yaml.h"

#include "data/record.h"
#include "platform/file_writing.h"
#include "source_text.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

namespace vorn::datatool {

namespace {

    std::vector<std::string> linesOf(const std::filesystem::path& path)
    {
        std::ifstream file(path, std::ios::binary);
        std::vector<std::string> lines;
        std::string line;
        while (std::getline(file, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            lines.push_back(line);
        }
        return lines;
    }

    bool blankOrComment(const std::string& line)
    {
        std::size_t first = line.find_first_not_of(' ');
        return first == std::string::npos || line[first] == '#';
    }

    // The line (0 based) of the bracket or quote still open at the end of `lines`, or -1.
    int unclosedOpening(const std::vector<std::string>& lines)
    {
        std::vector<int> open;
        for (std::size_t l = 0; l < lines.size(); ++l) {
            const std::string& line = lines[l];
            char quote = 0;
            for (std::size_t i = 0; i < line.size(); ++i) {
                char c = line[i];
                if (quote) {
                    if (c == quote) {
                        quote = 0;
                        open.pop_back();
                    }
                } else if ((c == '"' || c == '\'') && (i == 0 || std::strchr(" [{,:", line[i - 1]))) {
                    quote = c;
                    open.push_back(static_cast<int>(l));
                } else if (c == '#' && (i == 0 || line[i - 1] == ' ')) {
                    break;
                } else if (c == '[' || c == '{') {
                    open.push_back(static_cast<int>(l));
                } else if ((c == ']' || c == '}') && !open.empty()) {
                    open.pop_back();
                }
            }
            if (quote)
                return open.back();
        }
        return open.empty() ? -1 : open.back();
    }

} // namespace

// A YAML syntax error as an author can act on it: the line at fault (the parser often notices a
// fault only on the line after it, or at the end of the file for an unclosed bracket), what the
// line holds and what is likely wrong.
std::string yamlErrorText(const std::filesystem::path& path, const YAML::ParserException& error)
{
    std::vector<std::string> lines = linesOf(path);
    int line = error.mark.line;
    std::string hint = error.msg;
    const std::string& msg = error.msg;
    if (msg == YAML::ErrorMsg::MAP_VALUE || msg == YAML::ErrorMsg::MAP_KEY) {
        // Noticed at the next "name:" after a line that is not one.
        for (int l = line - 1; l >= 0; --l) {
            if (!blankOrComment(lines[static_cast<std::size_t>(l)])) {
                line = l;
                break;
            }
        }
        hint = "a field is written \"name: value\" (a colon and a blank), and the fields of one record "
               "line up under each other";
    } else if (msg == YAML::ErrorMsg::END_OF_MAP || msg == YAML::ErrorMsg::END_OF_SEQ
        || msg == YAML::ErrorMsg::BLOCK_ENTRY) {
        hint = "this line is indented differently from the lines before it";
    } else if (msg == YAML::ErrorMsg::END_OF_MAP_FLOW || msg == YAML::ErrorMsg::END_OF_SEQ_FLOW
        || msg == YAML::ErrorMsg::EOF_IN_SCALAR) {
        int opening = unclosedOpening(lines);
        if (opening >= 0)
            line = opening;
        hint = msg == YAML::ErrorMsg::EOF_IN_SCALAR ? "a quote opened here is never closed"
                                                    : "a bracket opened here is never closed";
    } else if (msg.rfind(YAML::ErrorMsg::INVALID_ESCAPE, 0) == 0) {
        hint = msg + " (in double quotes a backslash starts an escape; write \\\\ for one backslash)";
    } else if (msg == YAML::ErrorMsg::TAB_IN_INDENTATION) {
        hint = "indent with blanks, not tabs";
    }
    std::string text = path.string() + ": line " + std::to_string(line + 1) + ": " + hint;
    if (line >= 0 && static_cast<std::size_t>(line) < lines.size())
        text += "\n    " + std::to_string(line + 1) + " | " + lines[static_cast<std::size_t>(line)];
    return text;
}

YAML::Node loadYamlFile(const std::filesystem::path& path, bool optional)
{
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        if (optional)
            return YAML::Node(YAML::NodeType::Map);
        throw SourceError(path.string() + ": file not found");
    }
    try {
        YAML::Node node = YAML::LoadFile(path.string());
        if (node.IsNull())
            return YAML::Node(YAML::NodeType::Map);
        if (!node.IsMap())
            throw SourceError(path.string() + ": the file must hold named fields");
        return node;
    } catch (const YAML::ParserException& error) {
        throw SourceError(yamlErrorText(path, error));
    } catch (const YAML::Exception& error) {
        throw SourceError(path.string() + ": line " + std::to_string(error.mark.line + 1) + ": " + error.msg);
    }
}

void writeYamlFile(const std::filesystem::path& path, const std::string& header, const YAML::Node& node)
{
    YAML::Emitter out;
    out.SetIndent(2);
    out << node;
    if (!writeWholeFileAtomically(path, header + out.c_str() + "\n"))
        throw SourceError(path.string() + ": cannot be written");
}

YAML::Node SourceOut::numberNode(float value) { return YAML::Node(formatNumber(value)); }

YAML::Node SourceOut::numberList(const float* values, int count)
{
    YAML::Node list(YAML::NodeType::Sequence);
    for (int i = 0; i < count; ++i)
        list.push_back(numberNode(values[i]));
    list.SetStyle(YAML::EmitterStyle::Flow);
    return list;
}

void SourceOut::number(const char* key, float value) { m_node[key] = numberNode(value); }

void SourceOut::text(const char* key, const std::string& cp932) { m_node[key] = sourceText(cp932); }

void SourceOut::numbers(const char* key, const float* values, int count) { m_node[key] = numberList(values, count); }

void SourceOut::texts(const char* key, const std::string* values, int count)
{
    YAML::Node list(YAML::NodeType::Sequence);
    for (int i = 0; i < count; ++i)
        list.push_back(sourceText(values[i]));
    list.SetStyle(YAML::EmitterStyle::Flow);
    m_node[key] = list;
}

SourceIn::SourceIn(YAML::Node node, std::string where)
    : m_node(std::move(node))
    , m_where(std::move(where))
{
    if (m_node && !m_node.IsNull() && !m_node.IsMap())
        throw SourceError(m_where + ": expected named fields");
}

std::optional<YAML::Node> SourceIn::take(const char* key)
{
    m_asked.insert(key);
    if (!m_node || !m_node.IsMap())
        return std::nullopt;
    const YAML::Node& map = m_node;
    YAML::Node value = map[key];
    if (!value.IsDefined() || value.IsNull())
        return std::nullopt;
    return value;
}

std::string SourceIn::place(const char* key, int index) const
{
    return m_where + "." + key + "[" + std::to_string(index) + "]";
}

float SourceIn::toNumber(const YAML::Node& node, const std::string& where)
{
    if (!node.IsScalar())
        throw SourceError(where + ": expected a number");
    const std::string& text = node.Scalar();
    errno = 0;
    char* end = nullptr;
    float value = std::strtof(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size() || errno == ERANGE || !std::isfinite(value))
        throw SourceError(where + ": expected a number, found \"" + text + "\"");
    return value;
}

std::string SourceIn::toText(const YAML::Node& node, const std::string& where)
{
    if (!node.IsDefined() || node.IsNull())
        return {};
    if (!node.IsScalar())
        throw SourceError(where + ": expected a text");
    return storedText(node.Scalar());
}

YAML::Node SourceIn::sequence(const YAML::Node& node, const std::string& where)
{
    if (!node.IsDefined() || node.IsNull())
        return YAML::Node(YAML::NodeType::Sequence);
    if (!node.IsSequence())
        throw SourceError(where + ": expected a list");
    return node;
}

int SourceIn::checkedLength(const YAML::Node& list, const char* key, int most) const
{
    std::string where = m_where + "." + key;
    if (!list.IsSequence())
        throw SourceError(where + ": expected a list");
    if (static_cast<int>(list.size()) > most)
        throw SourceError(where + ": " + std::to_string(list.size()) + " values, at most " + std::to_string(most));
    return static_cast<int>(list.size());
}

void SourceIn::readNumbers(const YAML::Node& list, float* values, int count, const std::string& where)
{
    if (!list.IsSequence())
        throw SourceError(where + ": expected a list");
    if (static_cast<int>(list.size()) > count)
        throw SourceError(where + ": " + std::to_string(list.size()) + " values, at most " + std::to_string(count));
    for (std::size_t i = 0; i < list.size(); ++i)
        values[i] = toNumber(list[i], where + "[" + std::to_string(i) + "]");
}

void SourceIn::number(const char* key, float& value)
{
    if (auto node = take(key))
        value = toNumber(*node, m_where + "." + key);
}

void SourceIn::text(const char* key, std::string& cp932)
{
    if (auto node = take(key))
        cp932 = toText(*node, m_where + "." + key);
}

void SourceIn::numbers(const char* key, float* values, int count)
{
    if (auto node = take(key))
        readNumbers(*node, values, count, m_where + "." + key);
}

void SourceIn::texts(const char* key, std::string* values, int count)
{
    auto list = take(key);
    if (!list)
        return;
    int n = checkedLength(*list, key, count);
    for (int i = 0; i < n; ++i)
        values[i] = toText((*list)[static_cast<std::size_t>(i)], place(key, i));
}

void SourceIn::finish() const
{
    if (!m_node || !m_node.IsMap())
        return;
    for (const auto& entry : m_node) {
        std::string key = entry.first.Scalar();
        if (!m_asked.count(key))
            throw SourceError(m_where + ": unknown field \"" + key + "\"");
    }
}

} // namespace vorn::datatool
