#include "platform/media_command.h"

#include "platform/game_files.h"

#include <cctype>
#include <vector>

namespace vorn {

namespace {

    std::string upper(std::string text)
    {
        for (char& c : text)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return text;
    }

    // Splits a command into words; a double-quoted word keeps its blanks.
    std::vector<std::string> words(const std::string& command)
    {
        std::vector<std::string> result;
        size_t i = 0;
        while (i < command.size()) {
            while (i < command.size() && command[i] == ' ')
                ++i;
            if (i >= command.size())
                break;
            std::string word;
            if (command[i] == '"') {
                size_t end = command.find('"', i + 1);
                if (end == std::string::npos)
                    end = command.size();
                word = command.substr(i + 1, end - i - 1);
                i = end + 1;
            } else {
                size_t end = command.find(' ', i);
                if (end == std::string::npos)
                    end = command.size();
                word = command.substr(i, end - i);
                i = end;
            }
            result.push_back(word);
        }
        return result;
    }

} // namespace

MediaCommand parseMediaCommand(const std::string& command)
{
    MediaCommand result;
    auto list = words(command);
    if (list.empty())
        return result;
    std::string verb = upper(list[0]);
    if (verb == "OPEN") {
        result.verb = MediaCommand::Verb::Open;
        if (list.size() >= 2)
            result.path = list[1];
        for (size_t i = 2; i + 1 < list.size(); ++i) {
            if (upper(list[i]) == "ALIAS")
                result.alias = upper(list[i + 1]);
        }
        return result;
    }
    if (verb == "PLAY")
        result.verb = MediaCommand::Verb::Play;
    else if (verb == "CLOSE")
        result.verb = MediaCommand::Verb::Close;
    else if (verb == "STATUS")
        result.verb = MediaCommand::Verb::Status;
    else
        return result;
    if (list.size() >= 2)
        result.alias = upper(list[1]);
    for (size_t i = 2; i < list.size(); ++i) {
        std::string word = upper(list[i]);
        if (word == "WAIT")
            result.wait = true;
        else if (word != "NOTIFY" && result.item.empty())
            result.item = list[i];
    }
    return result;
}

std::optional<std::filesystem::path> resolveMediaPath(
    const std::filesystem::path& startDirectory, const std::string& cp932Path)
{
    std::string start = startDirectory.string();
    std::string rest = cp932Path;
    if (start.empty() || rest.compare(0, start.size(), start) != 0)
        return std::nullopt;
    rest = rest.substr(start.size());
    // The rest begins with the separator after the start directory.
    if (rest.empty() || (rest[0] != '\\' && rest[0] != '/'))
        return std::nullopt;
    rest.erase(0, 1);
    return resolveGamePath(startDirectory, rest);
}

} // namespace vorn
