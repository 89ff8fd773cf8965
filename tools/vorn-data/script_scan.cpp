#include "script_scan.h"

#include "script/arguments.h"

#include <algorithm>

namespace vorn::datatool {

namespace {

    class Scanner {
    public:
        explicit Scanner(const std::string& text)
            : m_text(text)
        {
        }

        bool atEnd() const { return m_pos >= m_text.size(); }
        std::size_t position() const { return m_pos; }

        // Three characters (a double-byte character counts as one) and an optional separator.
        std::string keyword()
        {
            std::string k;
            for (int i = 0; i < 3 && m_pos < m_text.size(); ++i) {
                std::size_t size = commandCharSize(m_text, m_pos);
                k.append(m_text, m_pos, size);
                m_pos += size;
            }
            if (atSeparator())
                ++m_pos;
            return k;
        }

        // ParseArgument's token: blanks dropped, up to a separator, then past it.
        std::string token()
        {
            std::string t;
            while (m_pos < m_text.size() && !atSeparator()) {
                std::size_t size = commandCharSize(m_text, m_pos);
                if (size == 2 || m_text[m_pos] != ' ')
                    t.append(m_text, m_pos, size);
                m_pos += size;
            }
            ++m_pos;
            return t;
        }

    private:
        bool atSeparator() const
        {
            return m_pos < m_text.size() && commandCharSize(m_text, m_pos) == 1 && isScriptSeparator(m_text[m_pos]);
        }

        const std::string& m_text;
        std::size_t m_pos = 0;
    };

    // Whether a token's value is known without running the script: not a random value ("?6") or
    // a flag's value ("@1-2"), also behind a sign or other first character.
    bool knownValue(const std::string& token)
    {
        for (std::size_t i = 0; i < token.size() && i < 2; ++i) {
            if (token[i] == '?' || token[i] == '@')
                return false;
        }
        return true;
    }

} // namespace

bool isKnownKeyword(const std::string& keyword) { return findCommand(keyword) != nullptr; }

std::vector<ScannedCommand> scanCommands(const std::string& commands)
{
    std::vector<ScannedCommand> result;
    Scanner s(commands);
    while (!s.atEnd()) {
        ScannedCommand command;
        command.offset = s.position();
        command.keyword = s.keyword();
        if (command.keyword.find_first_not_of(' ') == std::string::npos)
            continue; // blanks read as a keyword fall through harmlessly
        const ScriptCommand* row = findCommand(command.keyword);
        command.known = row != nullptr;
        if (!command.known) {
            result.push_back(std::move(command));
            break;
        }
        bool followable = readShapedArguments(row->shape, [&](ArgUse use) {
            ArgToken token;
            token.pastEnd = s.atEnd();
            std::size_t offset = std::min(s.position(), commands.size());
            token.text = s.token();
            if (knownValue(token.text))
                token.value = tokenValue(token.text);
            // "S" opens a list of enemies; it names no enemy itself.
            command.args.push_back(
                { token.text, use == ArgUse::Enemy && token.text == "S" ? ArgUse::Word : use, token.pastEnd, offset });
            return token;
        });
        result.push_back(std::move(command));
        if (row->after == LineFlow::Leaves || !followable)
            break;
    }
    return result;
}

std::vector<std::pair<std::string, std::size_t>> labelTokens(const std::string& commands)
{
    std::vector<std::pair<std::string, std::size_t>> found;
    Scanner s(commands);
    while (!s.atEnd()) {
        std::size_t offset = s.position();
        std::string token = s.token();
        // A token that the end of the string, not a separator, ends is never found.
        if (s.position() <= commands.size() && !token.empty())
            found.emplace_back(token, offset);
    }
    return found;
}

} // namespace vorn::datatool
