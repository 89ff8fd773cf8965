#include "source_yaml.h"

#include "data/record.h"
#include "data/saves.h"
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

    std::vector<std::string> linesOf(const std::string& text)
    {
        std::vector<std::string> lines;
        std::istringstream in(text);
        std::string line;
        while (std::getline(in, line)) {
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

    // Where the unquoted text holding the colon at `colon` starts: after the "name: " or "- " it
    // stands behind, or npos when the text there is quoted or the colon ends a field name.
    std::size_t unquotedTextHolding(const std::string& line, std::size_t colon)
    {
        if (colon >= line.size() || line[colon] != ':')
            return std::string::npos;
        if (colon + 1 < line.size() && line[colon + 1] != ' ')
            return std::string::npos;
        std::size_t start = line.rfind(": ", colon == 0 ? 0 : colon - 1);
        if (start == std::string::npos || start >= colon)
            return std::string::npos;
        start += 2;
        while (start < colon && line[start] == ' ')
            ++start;
        if (start >= colon || line[start] == '"' || line[start] == '\'')
            return std::string::npos;
        return start;
    }

    struct SyntaxFault {
        int line;
        int column;
        std::string hint;
    };

    // A YAML syntax error as an author can act on it: the line at fault (the parser often
    // notices a fault only on the line after it, or at the end of the file for an unclosed
    // bracket) and what is likely wrong.
    SyntaxFault syntaxFault(const std::vector<std::string>& lines, const YAML::ParserException& error)
    {
        SyntaxFault fault { error.mark.line, error.mark.column, error.msg };
        const std::string& msg = error.msg;
        auto lineAt = [&](int l) -> const std::string& {
            static const std::string none;
            return l >= 0 && static_cast<std::size_t>(l) < lines.size() ? lines[static_cast<std::size_t>(l)] : none;
        };
        // "message: 村長: ようこそ": the second ": " starts a field in YAML.
        if (msg == YAML::ErrorMsg::MAP_VALUE || msg == YAML::ErrorMsg::END_OF_MAP_FLOW) {
            const std::string& line = lineAt(fault.line);
            std::size_t start = fault.column >= 0 ? unquotedTextHolding(line, static_cast<std::size_t>(fault.column))
                                                  : std::string::npos;
            if (start != std::string::npos) {
                std::size_t end = line.find_first_of(msg == YAML::ErrorMsg::END_OF_MAP_FLOW ? ",}" : "#", fault.column);
                std::string text = line.substr(start, end == std::string::npos ? std::string::npos : end - start);
                while (!text.empty() && text.back() == ' ')
                    text.pop_back();
                fault.column = static_cast<int>(start);
                fault.hint = "this text holds \": \", which YAML reads as the start of another field: put the "
                             "text in double quotes, \""
                    + text + "\"";
                return fault;
            }
        }
        if (msg == YAML::ErrorMsg::MAP_VALUE || msg == YAML::ErrorMsg::MAP_KEY) {
            // Noticed at the next "name:" after a line that is not one.
            for (int l = fault.line - 1; l >= 0; --l) {
                if (!blankOrComment(lineAt(l))) {
                    fault.line = l;
                    break;
                }
            }
            fault.column = static_cast<int>(lineAt(fault.line).find_first_not_of(' '));
            fault.hint = "a field is written \"name: value\" (a colon and a blank), and the fields of one record "
                         "line up under each other";
        } else if (msg == YAML::ErrorMsg::END_OF_MAP || msg == YAML::ErrorMsg::END_OF_SEQ
            || msg == YAML::ErrorMsg::BLOCK_ENTRY) {
            fault.hint = "this line is indented differently from the lines before it";
        } else if (msg == YAML::ErrorMsg::END_OF_MAP_FLOW || msg == YAML::ErrorMsg::END_OF_SEQ_FLOW
            || msg == YAML::ErrorMsg::EOF_IN_SCALAR) {
            int opening = unclosedOpening(lines);
            if (opening >= 0) {
                fault.line = opening;
                fault.column = -1;
            }
            fault.hint = msg == YAML::ErrorMsg::EOF_IN_SCALAR ? "a quote opened here is never closed"
                                                              : "a bracket opened here is never closed";
        } else if (msg.rfind(YAML::ErrorMsg::INVALID_ESCAPE, 0) == 0) {
            fault.hint = msg + " (in double quotes a backslash starts an escape; write \\\\ for one backslash)";
        } else if (msg == YAML::ErrorMsg::TAB_IN_INDENTATION) {
            fault.hint = "indent with blanks, not tabs";
        }
        if (fault.column < 0 && fault.line >= 0)
            fault.column = static_cast<int>(lineAt(fault.line).find_first_not_of(' '));
        if (fault.column < 0)
            fault.column = 0;
        return fault;
    }

    std::string typeName(const YAML::Node& node)
    {
        if (node.IsSequence())
            return "a list";
        if (node.IsMap())
            return "named fields";
        return "\"" + node.Scalar() + "\"";
    }

} // namespace

std::string shownPlace(const std::string& path)
{
    std::size_t at = path.find(".yaml");
    if (at == std::string::npos)
        return path;
    std::string rest = path.substr(at + 5);
    return !rest.empty() && rest[0] == '.' ? rest.substr(1) : rest;
}

SourcePosition SourceReader::positionOf(const YAML::Node& node, const std::string& path) const
{
    SourcePosition at;
    std::size_t yaml = path.find(".yaml");
    at.file = yaml == std::string::npos ? path : path.substr(0, yaml + 5);
    if (node.IsDefined() && node.Mark().line >= 0) {
        at.line = node.Mark().line;
        at.column = node.Mark().column;
    } else {
        at = m_locator.findPath(path);
    }
    return at;
}

void SourceReader::add(Severity severity, const YAML::Node& node, const std::string& path, const std::string& text)
{
    m_report.add(severity, positionOf(node, path), shownPlace(path), text);
}

void SourceReader::error(const YAML::Node& at, const std::string& path, const std::string& text)
{
    add(Severity::Error, at, path, text);
}

void SourceReader::warning(const YAML::Node& at, const std::string& path, const std::string& text)
{
    add(Severity::Warning, at, path, text);
}

void SourceReader::error(const SourcePosition& at, const std::string& path, const std::string& text)
{
    m_report.add(Severity::Error, at, shownPlace(path), text);
}

void SourceReader::note(const std::string& path, const YAML::Node& node)
{
    if (node.IsDefined() && node.Mark().line >= 0)
        m_locator.note(path, node.Mark().line, node.Mark().column);
}

void SourceReader::checkDuplicateKeys(const YAML::Node& node, const std::string& file)
{
    if (node.IsMap()) {
        std::set<std::string> seen;
        for (const auto& entry : node) {
            if (entry.first.IsScalar() && !seen.insert(entry.first.Scalar()).second) {
                m_report.add(Severity::Error, positionOf(entry.first, file), "",
                    "the field \"" + entry.first.Scalar() + "\" is given twice in one record; the second is never read");
            }
            checkDuplicateKeys(entry.second, file);
        }
    } else if (node.IsSequence()) {
        for (const auto& entry : node)
            checkDuplicateKeys(entry, file);
    }
}

std::optional<YAML::Node> SourceReader::load(const std::string& file, bool optional)
{
    std::filesystem::path path = m_dir / file;
    std::error_code ec;
    SourcePosition whole { file, -1, -1 };
    if (!std::filesystem::exists(path, ec)) {
        if (optional)
            return YAML::Node(YAML::NodeType::Map);
        m_report.add(Severity::Error, whole, "", "file not found");
        m_broken = true;
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
        m_report.add(Severity::Error, whole, "", "the file cannot be read");
        m_broken = true;
        return std::nullopt;
    }
    std::vector<std::string> lines = linesOf(text);
    if (auto bad = invalidUtf8(text)) {
        int line = static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(*bad), '\n'));
        std::size_t lineStart = text.rfind('\n', *bad == 0 ? 0 : *bad - 1);
        int column = static_cast<int>(lineStart == std::string::npos || lineStart >= *bad ? *bad : *bad - lineStart - 1);
        m_report.add(Severity::Error, { file, line, column }, "",
            "the file is not UTF-8 text (saved as Shift-JIS?): save it as UTF-8, or its Japanese texts "
            "cannot be read");
        m_broken = true;
        return std::nullopt;
    }
    try {
        YAML::Node node = YAML::Load(text);
        if (node.IsNull())
            return YAML::Node(YAML::NodeType::Map);
        if (!node.IsMap()) {
            m_report.add(Severity::Error, { file, 0, 0 }, "", "the file must hold named fields (\"name: value\")");
            m_broken = true;
            return std::nullopt;
        }
        checkDuplicateKeys(node, file);
        return node;
    } catch (const YAML::ParserException& error) {
        SyntaxFault fault = syntaxFault(lines, error);
        m_report.add(Severity::Error, { file, fault.line, fault.column }, "", fault.hint);
    } catch (const YAML::Exception& error) {
        m_report.add(Severity::Error, { file, error.mark.line, std::max(error.mark.column, 0) }, "", error.msg);
    }
    m_broken = true;
    return std::nullopt;
}

float SourceReader::number(const YAML::Node& node, const std::string& path)
{
    note(path, node);
    if (!node.IsScalar()) {
        error(node, path, "expected a number, found " + typeName(node));
        return 0;
    }
    const std::string& text = node.Scalar();
    errno = 0;
    char* end = nullptr;
    float value = std::strtof(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size() || errno == ERANGE || !std::isfinite(value)) {
        error(node, path, "expected a number, found \"" + text + "\"");
        return 0;
    }
    return value;
}

std::string SourceReader::text(const YAML::Node& node, const std::string& path, bool field)
{
    note(path, node);
    if (!node.IsDefined() || node.IsNull())
        return {};
    if (!node.IsScalar()) {
        error(node, path, "expected a text, found " + typeName(node));
        return {};
    }
    const std::string& utf8 = node.Scalar();
    // Where the text's characters stand when the file holds them as they are (one line, no
    // escapes): then a fault inside the text is placed at its own column.
    SourcePosition at = positionOf(node, path);
    int content = -1;
    if (at.line >= 0) {
        const std::string& line = m_locator.lineText(at.file, at.line);
        std::size_t start = static_cast<std::size_t>(at.column);
        if (start < line.size() && (line[start] == '"' || line[start] == '\''))
            ++start;
        if (line.compare(start, utf8.size(), utf8) == 0)
            content = static_cast<int>(start);
        m_locator.note(path + "#content", at.line, content);
    }
    if (auto fault = unstorableCharacter(utf8)) {
        if (content >= 0)
            at.column = content + static_cast<int>(fault->offset);
        m_report.add(Severity::Error, at, shownPlace(path), fault->what);
        return storedText(utf8);
    }
    std::string stored = storedText(utf8);
    if (field && !writableFieldText(stored)) {
        error(node, path,
            "a text that holds a comma, colon or line end, or begins or ends with a blank, is stored between "
            "double quotes and then cannot hold a double quote (and no text can hold the byte 0x1A)");
    }
    return stored;
}

YAML::Node SourceReader::sequence(const YAML::Node& node, const std::string& path)
{
    note(path, node);
    if (!node.IsDefined() || node.IsNull())
        return YAML::Node(YAML::NodeType::Sequence);
    if (!node.IsSequence()) {
        error(node, path, "expected a list, found " + typeName(node));
        return YAML::Node(YAML::NodeType::Sequence);
    }
    return node;
}

bool SourceReader::fields(const YAML::Node& node, const std::string& path)
{
    note(path, node);
    if (!node.IsDefined() || node.IsNull() || node.IsMap())
        return true;
    error(node, path, "expected named fields (\"name: value\"), found " + typeName(node));
    return false;
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

SourceIn::SourceIn(SourceReader& reader, YAML::Node node, std::string path)
    : m_reader(reader)
    , m_node(std::move(node))
    , m_path(std::move(path))
{
    m_isMap = m_reader.fields(m_node, m_path) && m_node.IsDefined() && m_node.IsMap();
}

YAML::Node SourceIn::field(const char* key) const
{
    if (!m_isMap)
        return YAML::Node();
    const YAML::Node& map = m_node;
    return map[key];
}

std::optional<YAML::Node> SourceIn::take(const char* key)
{
    m_asked.insert(key);
    YAML::Node value = field(key);
    if (!value.IsDefined() || value.IsNull())
        return std::nullopt;
    m_reader.note(m_path + "." + key, value);
    return value;
}

std::string SourceIn::place(const char* key, int index) const
{
    return m_path + "." + key + "[" + std::to_string(index) + "]";
}

int SourceIn::checkedLength(const YAML::Node& list, const char* key, int most)
{
    std::string path = m_path + "." + key;
    YAML::Node checked = m_reader.sequence(list, path);
    if (static_cast<int>(checked.size()) > most) {
        m_reader.error(list, path, std::to_string(checked.size()) + " values, at most " + std::to_string(most));
        return most;
    }
    return static_cast<int>(checked.size());
}

void SourceIn::readNumbers(const YAML::Node& listNode, float* values, int count, const std::string& path)
{
    YAML::Node list = m_reader.sequence(listNode, path);
    if (static_cast<int>(list.size()) > count)
        m_reader.error(listNode, path, std::to_string(list.size()) + " values, at most " + std::to_string(count));
    for (std::size_t i = 0; i < list.size() && static_cast<int>(i) < count; ++i)
        values[i] = m_reader.number(list[i], path + "[" + std::to_string(i) + "]");
}

void SourceIn::number(const char* key, float& value)
{
    if (auto node = take(key))
        value = m_reader.number(*node, m_path + "." + key);
}

void SourceIn::text(const char* key, std::string& cp932)
{
    if (auto node = take(key))
        cp932 = m_reader.text(*node, m_path + "." + key);
}

void SourceIn::bytes(const char* key, std::string& cp932)
{
    if (auto node = take(key))
        cp932 = m_reader.text(*node, m_path + "." + key, false);
}

void SourceIn::numbers(const char* key, float* values, int count)
{
    if (auto node = take(key))
        readNumbers(*node, values, count, m_path + "." + key);
}

void SourceIn::recordNumbers(const char* key, float* values, int count, const char* what)
{
    auto node = take(key);
    if (!node)
        return;
    readNumbers(*node, values, count, m_path + "." + key);
    if (!node->IsSequence() || static_cast<int>(node->size()) >= count)
        return;
    m_reader.error(*node, m_path + "." + key,
        std::to_string(node->size()) + " values written, " + std::to_string(count)
            + " needed: write 99 for an empty entry (one left out would be " + what + " 0)");
    // The build fails here; the entries left out count as empty, so that the checks of the data
    // do not report them again as record 0.
    for (int i = static_cast<int>(node->size()); i < count; ++i)
        values[i] = 99;
}

void SourceIn::texts(const char* key, std::string* values, int count)
{
    auto list = take(key);
    if (!list)
        return;
    int n = checkedLength(*list, key, count);
    for (int i = 0; i < n; ++i)
        values[i] = m_reader.text((*list)[static_cast<std::size_t>(i)], place(key, i));
}

void SourceIn::finish()
{
    if (!m_isMap)
        return;
    std::vector<std::string> known(m_asked.begin(), m_asked.end());
    for (const auto& entry : m_node) {
        std::string key = entry.first.Scalar();
        if (!m_asked.count(key))
            m_reader.error(entry.first, m_path, "unknown field \"" + key + "\"" + didYouMean(key, known));
    }
}

} // namespace vorn::datatool
