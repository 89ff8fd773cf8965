#include "platform/media_command.h"

#include "platform/encoding.h"
#include "platform/game_files.h"

#include <cctype>
#include <optional>
#include <string_view>

namespace vorn {

namespace {

    // Commands are parsed at every poll of the music's status, so the words are looked at where
    // they stand, without copies.
    std::string upper(std::string_view text)
    {
        std::string result(text);
        for (char& c : result)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return result;
    }

    // Whether `word` is `upperWord` without regard to letter case.
    bool sameWord(std::string_view word, std::string_view upperWord)
    {
        if (word.size() != upperWord.size())
            return false;
        for (std::size_t i = 0; i < word.size(); ++i) {
            if (std::toupper(static_cast<unsigned char>(word[i])) != static_cast<unsigned char>(upperWord[i]))
                return false;
        }
        return true;
    }

    // The next word of a command from `at` on, moving `at` past it; a double-quoted word keeps
    // its blanks. Nothing when no word is left.
    std::optional<std::string_view> nextWord(std::string_view command, std::size_t& at)
    {
        while (at < command.size() && command[at] == ' ')
            ++at;
        if (at >= command.size())
            return std::nullopt;
        std::string_view word;
        if (command[at] == '"') {
            std::size_t end = command.find('"', at + 1);
            if (end == std::string_view::npos)
                end = command.size();
            word = command.substr(at + 1, end - at - 1);
            at = end + 1;
        } else {
            std::size_t end = command.find(' ', at);
            if (end == std::string_view::npos)
                end = command.size();
            word = command.substr(at, end - at);
            at = end;
        }
        return word;
    }

} // namespace

MediaCommand parseMediaCommand(const std::string& command)
{
    MediaCommand result;
    std::size_t at = 0;
    std::optional<std::string_view> verb = nextWord(command, at);
    if (!verb)
        return result;
    if (sameWord(*verb, "OPEN")) {
        result.verb = MediaCommand::Verb::Open;
        if (std::optional<std::string_view> path = nextWord(command, at))
            result.path = std::string(*path);
        // "alias NAME" anywhere after the path; the last one counts.
        std::optional<std::string_view> word = nextWord(command, at);
        while (word) {
            std::optional<std::string_view> following = nextWord(command, at);
            if (following && sameWord(*word, "ALIAS"))
                result.alias = upper(*following);
            word = following;
        }
        return result;
    }
    if (sameWord(*verb, "PLAY"))
        result.verb = MediaCommand::Verb::Play;
    else if (sameWord(*verb, "CLOSE"))
        result.verb = MediaCommand::Verb::Close;
    else if (sameWord(*verb, "STATUS"))
        result.verb = MediaCommand::Verb::Status;
    else
        return result;
    if (std::optional<std::string_view> alias = nextWord(command, at))
        result.alias = upper(*alias);
    while (std::optional<std::string_view> word = nextWord(command, at)) {
        if (sameWord(*word, "WAIT"))
            result.wait = true;
        else if (!sameWord(*word, "NOTIFY") && result.item.empty())
            result.item = std::string(*word);
    }
    return result;
}

namespace {

    // The game path after the start directory and its separator; nothing when the media path does
    // not begin with them.
    std::optional<std::string> afterStartDirectory(const std::filesystem::path& startDirectory, const std::string& cp932Path)
    {
        std::string start = startDirectory.string();
        if (start.empty() || cp932Path.compare(0, start.size(), start) != 0)
            return std::nullopt;
        std::string rest = cp932Path.substr(start.size());
        if (rest.empty() || (rest[0] != '\\' && rest[0] != '/'))
            return std::nullopt;
        return rest.substr(1);
    }

} // namespace

std::string shownMediaPath(const std::filesystem::path& startDirectory, const std::string& cp932Path)
{
    std::optional<std::string> rest = afterStartDirectory(startDirectory, cp932Path);
    return cp932ToUtf8(shownGamePath(rest ? *rest : cp932Path));
}

std::optional<std::filesystem::path> resolveMediaPath(
    const std::filesystem::path& startDirectory, const std::string& cp932Path)
{
    std::optional<std::string> rest = afterStartDirectory(startDirectory, cp932Path);
    if (!rest)
        return std::nullopt;
    return resolveGamePath(startDirectory, *rest);
}

} // namespace vorn
