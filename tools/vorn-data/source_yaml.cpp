#include "source_yaml.h"

#include "data/record.h"
#include "platform/encoding.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace vorn::datatool {

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
    } catch (const YAML::Exception& error) {
        throw SourceError(path.string() + ": line " + std::to_string(error.mark.line + 1) + ": " + error.msg);
    }
}

void writeYamlFile(const std::filesystem::path& path, const std::string& header, const YAML::Node& node)
{
    YAML::Emitter out;
    out.SetIndent(2);
    out << node;
    std::ofstream file(path, std::ios::binary);
    file << header << out.c_str() << "\n";
    if (!file)
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

void SourceOut::text(const char* key, const std::string& cp932) { m_node[key] = cp932ToUtf8(cp932); }

void SourceOut::numbers(const char* key, const float* values, int count) { m_node[key] = numberList(values, count); }

void SourceOut::texts(const char* key, const std::string* values, int count)
{
    YAML::Node list(YAML::NodeType::Sequence);
    for (int i = 0; i < count; ++i)
        list.push_back(cp932ToUtf8(values[i]));
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
    return utf8ToCp932(node.Scalar());
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
