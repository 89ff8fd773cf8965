#include "platform/po_file.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <set>
#include <utility>

namespace vorn {

PoError::PoError(std::size_t line, const std::string& what)
    : std::runtime_error("line " + std::to_string(line) + ": " + what)
    , line_(line)
{
}

namespace {

    bool validUtf8(std::string_view s)
    {
        std::size_t i = 0;
        while (i < s.size()) {
            auto c = static_cast<unsigned char>(s[i]);
            std::size_t length = c < 0x80 ? 1 : (c >> 5) == 6 ? 2
                : (c >> 4) == 14                              ? 3
                : (c >> 3) == 30                              ? 4
                                                              : 0;
            if (length == 0 || (length == 2 && c < 0xC2) || i + length > s.size())
                return false;
            for (std::size_t k = 1; k < length; ++k) {
                if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                    return false;
            }
            i += length;
        }
        return true;
    }

    std::string_view trim(std::string_view s)
    {
        while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
            s.remove_prefix(1);
        while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
            s.remove_suffix(1);
        return s;
    }

    int digitValue(char c, int base)
    {
        int v = c >= '0' && c <= '9' ? c - '0'
            : c >= 'a' && c <= 'f'   ? c - 'a' + 10
            : c >= 'A' && c <= 'F'   ? c - 'A' + 10
                                     : 99;
        return v < base ? v : -1;
    }

    // The text of the quoted string that makes up `rest`, escapes undone.
    std::string unquote(std::string_view rest, std::size_t line)
    {
        rest = trim(rest);
        if (rest.empty() || rest.front() != '"')
            throw PoError(line, "a quoted string was expected");
        std::string out;
        std::size_t i = 1;
        for (;;) {
            if (i >= rest.size())
                throw PoError(line, "the string has no closing quote");
            char c = rest[i++];
            if (c == '"')
                break;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (i >= rest.size())
                throw PoError(line, "the string has no closing quote");
            char e = rest[i++];
            switch (e) {
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case 'r':
                out += '\r';
                break;
            case 'a':
                out += '\a';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'v':
                out += '\v';
                break;
            case '"':
            case '\\':
            case '\'':
            case '?':
                out += e;
                break;
            case 'x':
            case '0':
            case '1':
            case '2':
            case '3':
            case '4':
            case '5':
            case '6':
            case '7': {
                int base = e == 'x' ? 16 : 8;
                int value = e == 'x' ? 0 : e - '0';
                int digits = e == 'x' ? 0 : 1;
                while (i < rest.size() && digits < (base == 8 ? 3 : 2) && digitValue(rest[i], base) >= 0) {
                    value = value * base + digitValue(rest[i++], base);
                    ++digits;
                }
                if (digits == 0 || value > 0xFF)
                    throw PoError(line, "a bad numeric escape in a string");
                out += static_cast<char>(value);
                break;
            }
            default:
                throw PoError(line, std::string("an unknown escape \\") + e + " in a string");
            }
        }
        if (!trim(rest.substr(i)).empty())
            throw PoError(line, "text after the closing quote");
        return out;
    }

    // The charset named by a header's Content-Type line, if any.
    std::optional<std::string> headerCharset(const std::string& header)
    {
        std::size_t at = 0;
        while (at < header.size()) {
            std::size_t end = header.find('\n', at);
            std::string_view line(header.data() + at, (end == std::string::npos ? header.size() : end) - at);
            at = end == std::string::npos ? header.size() : end + 1;
            std::string lower(line);
            std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
            if (!lower.starts_with("content-type:"))
                continue;
            std::size_t charset = lower.find("charset=");
            if (charset == std::string::npos)
                return std::nullopt;
            std::string_view value = trim(std::string_view(lower).substr(charset + 8));
            return std::string(value.substr(0, value.find_first_of(" ;")));
        }
        return std::nullopt;
    }

    enum class Field { None,
        Context,
        Id,
        Plural,
        Translation,
        OtherForm };

    class Reader {
    public:
        std::vector<PoEntry> entries;

        void line(std::string_view text, std::size_t number)
        {
            lineNumber = number;
            std::string_view t = trim(text);
            if (t.empty()) {
                finish();
                return;
            }
            if (t.front() == '#') {
                comment(t);
                return;
            }
            if (t.front() == '"') {
                if (field == Field::None)
                    throw PoError(number, "a string that follows no keyword");
                append(unquote(t, number));
                return;
            }
            std::size_t space = t.find_first_of(" \t\"");
            std::string_view keyword = t.substr(0, space);
            std::string_view rest = space == std::string_view::npos ? std::string_view() : t.substr(space);
            if (keyword == "msgctxt" || keyword == "msgid") {
                if (haveTranslation || (keyword == "msgctxt" && (haveContext || haveId))
                    || (keyword == "msgid" && haveId))
                    finish();
                if (keyword == "msgctxt") {
                    haveContext = true;
                    startLine = startLine ? startLine : number;
                    field = Field::Context;
                } else {
                    haveId = true;
                    startLine = startLine ? startLine : number;
                    field = Field::Id;
                }
            } else if (keyword == "msgid_plural") {
                if (!haveId || haveTranslation)
                    throw PoError(number, "msgid_plural without its msgid");
                field = Field::Plural;
            } else if (keyword == "msgstr" || keyword.starts_with("msgstr[")) {
                if (!haveId)
                    throw PoError(number, "msgstr without its msgid");
                bool first = keyword == "msgstr" || keyword == "msgstr[0]";
                if (!first && !(keyword.size() > 8 && keyword.back() == ']'))
                    throw PoError(number, "an unknown keyword " + std::string(keyword));
                haveTranslation = true;
                field = first ? Field::Translation : Field::OtherForm;
            } else {
                throw PoError(number, "an unknown keyword " + std::string(keyword.substr(0, 20)));
            }
            append(unquote(rest, number));
        }

        void end()
        {
            finish();
        }

    private:
        PoEntry entry;
        Field field = Field::None;
        bool haveContext = false;
        bool haveId = false;
        bool haveTranslation = false;
        std::size_t startLine = 0;
        std::size_t lineNumber = 0;
        std::set<std::pair<std::string, std::string>> keys;

        void append(const std::string& text)
        {
            if (!validUtf8(text))
                throw PoError(lineNumber, "the text is not UTF-8");
            switch (field) {
            case Field::Context:
                entry.context += text;
                break;
            case Field::Id:
                entry.id += text;
                break;
            case Field::Translation:
                entry.translation += text;
                break;
            default:
                break;
            }
        }

        void comment(std::string_view t)
        {
            if (haveTranslation)
                finish();
            std::string_view body = t.size() > 2 ? trim(t.substr(2)) : std::string_view();
            char mark = t.size() > 1 ? t[1] : ' ';
            if (mark == '~') // an obsolete entry: no longer in the game
                return;
            if (haveId || haveContext)
                throw PoError(lineNumber, "a comment inside an entry");
            if (mark == '.')
                entry.comments.emplace_back(body);
            else if (mark == ':')
                entry.references.emplace_back(body);
            else if (mark == ',') {
                while (!body.empty()) {
                    std::size_t comma = body.find(',');
                    if (trim(body.substr(0, comma)) == "fuzzy")
                        entry.fuzzy = true;
                    body = comma == std::string_view::npos ? std::string_view() : body.substr(comma + 1);
                }
            }
        }

        void finish()
        {
            if (haveContext || haveId) {
                if (!haveId)
                    throw PoError(startLine, "msgctxt without its msgid");
                if (!haveTranslation)
                    throw PoError(startLine, "an entry without msgstr");
                if (!keys.emplace(entry.context, entry.id).second)
                    throw PoError(startLine, "the entry is given twice (the same msgctxt and msgid)");
                if (entry.id.empty() && !haveContext) {
                    auto charset = headerCharset(entry.translation);
                    if (charset && *charset != "utf-8" && *charset != "utf8" && *charset != "charset")
                        throw PoError(startLine, "the catalogue is in " + *charset + ", not UTF-8");
                }
                entries.push_back(std::move(entry));
            }
            entry = PoEntry();
            field = Field::None;
            haveContext = haveId = haveTranslation = false;
            startLine = 0;
        }
    };

    void writeQuoted(std::string& out, const char* keyword, const std::string& text)
    {
        auto escaped = [](std::string_view s) {
            std::string e;
            for (char c : s) {
                switch (c) {
                case '\\':
                    e += "\\\\";
                    break;
                case '"':
                    e += "\\\"";
                    break;
                case '\n':
                    e += "\\n";
                    break;
                case '\t':
                    e += "\\t";
                    break;
                case '\r':
                    e += "\\r";
                    break;
                default:
                    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
                        const char* digits = "01234567";
                        auto b = static_cast<unsigned char>(c);
                        e += '\\';
                        e += digits[b >> 6];
                        e += digits[(b >> 3) & 7];
                        e += digits[b & 7];
                    } else {
                        e += c;
                    }
                }
            }
            return e;
        };
        out += keyword;
        std::size_t lineEnd = text.find('\n');
        if (lineEnd == std::string::npos || lineEnd + 1 == text.size()) {
            out += " \"" + escaped(text) + "\"\n";
            return;
        }
        out += " \"\"\n";
        std::string_view rest = text;
        while (!rest.empty()) {
            std::size_t cut = rest.find('\n');
            cut = cut == std::string_view::npos ? rest.size() : cut + 1;
            out += "\"" + escaped(rest.substr(0, cut)) + "\"\n";
            rest.remove_prefix(cut);
        }
    }

} // namespace

std::vector<PoEntry> readPoText(std::string_view text)
{
    Reader reader;
    std::size_t number = 0;
    // A byte order mark some editors put first is not part of the text.
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    while (!text.empty()) {
        ++number;
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        reader.line(line, number);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    reader.end();
    return std::move(reader.entries);
}

std::string writePoText(const std::vector<PoEntry>& entries)
{
    std::string out;
    for (const PoEntry& entry : entries) {
        if (!out.empty())
            out += '\n';
        for (const std::string& comment : entry.comments)
            out += "#. " + comment + "\n";
        for (const std::string& reference : entry.references)
            out += "#: " + reference + "\n";
        if (entry.fuzzy)
            out += "#, fuzzy\n";
        if (!entry.context.empty())
            writeQuoted(out, "msgctxt", entry.context);
        writeQuoted(out, "msgid", entry.id);
        writeQuoted(out, "msgstr", entry.translation);
    }
    return out;
}

} // namespace vorn
