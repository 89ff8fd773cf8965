#include "platform/headless/timeline.h"

#include "platform/platform.h"

#include <charconv>
#include <sstream>

namespace vorn {

namespace {

    const struct {
        const char* name;
        int code;
    } namedKeys[] = {
        { "up", vk::Up },
        { "down", vk::Down },
        { "left", vk::Left },
        { "right", vk::Right },
        { "space", vk::Space },
        { "enter", vk::Enter },
        { "esc", vk::Esc },
        { "ctrl", vk::Ctrl },
        { "pageup", vk::PageUp },
        { "pagedown", vk::PageDown },
        { "home", vk::Home },
        { "end", vk::End },
        { "tab", vk::Tab },
    };

    const char hexDigits[] = "0123456789abcdef";

} // namespace

int timelineKeyCode(const std::string& name)
{
    for (const auto& entry : namedKeys) {
        if (name == entry.name)
            return entry.code;
    }
    if (name.size() == 3 && name[0] == 'k' && name[1] == 'p' && name[2] >= '0' && name[2] <= '9')
        return vk::Numpad0 + (name[2] - '0');
    if (name.size() == 1 && name[0] >= 'a' && name[0] <= 'z')
        return 'A' + (name[0] - 'a');
    if (name.size() == 1 && name[0] >= '0' && name[0] <= '9')
        return name[0];
    if (name.size() >= 2 && name.size() <= 3 && name[0] == 'f') {
        int n = 0;
        auto [ptr, ec] = std::from_chars(name.data() + 1, name.data() + name.size(), n);
        if (ec == std::errc() && ptr == name.data() + name.size() && n >= 1 && n <= 12)
            return vk::F1 + n - 1;
    }
    if (name.size() == 5 && name.rfind("vk-", 0) == 0) {
        int code = 0;
        auto [ptr, ec] = std::from_chars(name.data() + 3, name.data() + 5, code, 16);
        if (ec == std::errc() && ptr == name.data() + 5 && code > 0)
            return code;
    }
    return 0;
}

std::string timelineKeyName(int code)
{
    for (const auto& entry : namedKeys) {
        if (code == entry.code)
            return entry.name;
    }
    if (code >= vk::Numpad0 && code <= vk::Numpad0 + 9)
        return "kp" + std::string(1, static_cast<char>('0' + code - vk::Numpad0));
    if ((code >= 'A' && code <= 'Z'))
        return std::string(1, static_cast<char>(code - 'A' + 'a'));
    if (code >= '0' && code <= '9')
        return std::string(1, static_cast<char>(code));
    if (code >= vk::F1 && code < vk::F1 + 12)
        return "f" + std::to_string(code - vk::F1 + 1);
    return std::string("vk-") + hexDigits[(code >> 4) & 15] + hexDigits[code & 15];
}

namespace {

    bool parseInt(const std::string& word, int& value)
    {
        auto [ptr, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
        return ec == std::errc() && ptr == word.data() + word.size();
    }

    // Milliseconds with up to three decimals, as microseconds.
    bool parseMicroseconds(const std::string& word, std::int64_t& us)
    {
        size_t dot = word.find('.');
        std::string whole = word.substr(0, dot);
        std::string fraction = dot == std::string::npos ? "" : word.substr(dot + 1);
        int ms = 0;
        if (!parseInt(whole, ms) || ms < 0 || fraction.size() > 3 || (dot != std::string::npos && fraction.empty()))
            return false;
        int part = 0;
        if (!fraction.empty()) {
            if (!parseInt(fraction, part) || part < 0)
                return false;
            for (size_t i = fraction.size(); i < 3; ++i)
                part *= 10;
        }
        us = static_cast<std::int64_t>(ms) * 1000 + part;
        return true;
    }

    std::string trim(const std::string& text)
    {
        size_t begin = text.find_first_not_of(" \t\r");
        if (begin == std::string::npos)
            return "";
        size_t end = text.find_last_not_of(" \t\r");
        return text.substr(begin, end - begin + 1);
    }

    // Parses one non-empty line; returns an error text or empty.
    std::string parseLine(const std::string& line, TimelineCommand& cmd)
    {
        std::string verb = line.substr(0, line.find(' '));
        std::string rest = trim(line.size() > verb.size() ? line.substr(verb.size()) : "");
        std::istringstream words(rest);
        std::vector<std::string> args;
        for (std::string w; words >> w;)
            args.push_back(w);
        using K = TimelineCommand::Kind;
        auto needKey = [&](const std::string& name) -> std::string {
            cmd.key = timelineKeyCode(name);
            return cmd.key ? "" : "unknown key \"" + name + "\"";
        };
        auto needMs = [&](const std::string& word, int& out) -> std::string {
            return parseInt(word, out) && out >= 0 ? "" : "bad milliseconds \"" + word + "\"";
        };
        if (verb == "wait") {
            cmd.kind = K::Wait;
            if (args.size() != 1)
                return "wait takes MS";
            return parseMicroseconds(args[0], cmd.us) ? "" : "bad milliseconds \"" + args[0] + "\"";
        }
        if (verb == "seed" || verb == "text-speed") {
            cmd.kind = verb == "seed" ? K::Seed : K::TextSpeed;
            std::int64_t most = verb == "seed" ? 4294967295 : 10;
            auto [ptr, ec] = args.size() == 1 ? std::from_chars(args[0].data(), args[0].data() + args[0].size(), cmd.value)
                                              : std::from_chars_result { nullptr, std::errc::invalid_argument };
            if (ec != std::errc() || ptr != args[0].data() + args[0].size() || cmd.value < 0 || cmd.value > most)
                return verb + " takes a whole number from 0 to " + std::to_string(most);
            return "";
        }
        if (verb == "press") {
            cmd.kind = K::Press;
            cmd.ms = 60;
            if (args.empty() || args.size() > 2)
                return "press takes KEY [MS]";
            if (args.size() == 2) {
                if (auto e = needMs(args[1], cmd.ms); !e.empty())
                    return e;
            }
            return needKey(args[0]);
        }
        if (verb == "hold" || verb == "release") {
            cmd.kind = verb == "hold" ? K::Hold : K::Release;
            if (args.size() != 1)
                return verb + " takes KEY";
            if (args[0] == "mouse-left" || args[0] == "mouse-right") {
                cmd.pointerButton = true;
                cmd.button = args[0] == "mouse-right" ? 1 : 0;
                return "";
            }
            return needKey(args[0]);
        }
        if (verb == "click" || verb == "move") {
            cmd.kind = verb == "click" ? K::Click : K::Move;
            size_t most = verb == "click" ? 3 : 2;
            if (args.size() < 2 || args.size() > most || !parseInt(args[0], cmd.x) || !parseInt(args[1], cmd.y))
                return verb + " takes X Y" + (verb == "click" ? " [left|right]" : "");
            if (args.size() == 3) {
                if (args[2] != "left" && args[2] != "right")
                    return "click button must be left or right";
                cmd.button = args[2] == "right" ? 1 : 0;
            }
            return "";
        }
        if (verb == "answer") {
            cmd.kind = K::Answer;
            if (args.size() != 1 || (args[0] != "yes" && args[0] != "no" && args[0] != "ok"))
                return "answer takes yes, no or ok";
            cmd.text = args[0];
            return "";
        }
        if (verb == "name") {
            cmd.kind = K::Name;
            if (rest.empty())
                return "name takes TEXT";
            // Quotes keep blanks at the ends of the text: name "  x".
            if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"')
                rest = rest.substr(1, rest.size() - 2);
            cmd.text = rest;
            return "";
        }
        if (verb == "name-cancel") {
            cmd.kind = K::NameCancel;
            return args.empty() ? "" : "name-cancel takes nothing";
        }
        if (verb == "expect") {
            cmd.kind = K::Expect;
            cmd.ms = 60000;
            // A trailing whole number is the limit; the text is everything before it.
            std::string text = rest;
            size_t space = text.find_last_of(' ');
            int limit = 0;
            if (space != std::string::npos && parseInt(text.substr(space + 1), limit) && limit >= 0) {
                cmd.ms = limit;
                text = trim(text.substr(0, space));
            }
            if (text.empty())
                return "expect takes TEXT [MS]";
            cmd.text = text;
            return "";
        }
        if (verb == "shot" || verb == "dump") {
            cmd.kind = verb == "shot" ? K::Shot : K::Dump;
            if (args.size() != 1)
                return verb + " takes NAME";
            cmd.text = args[0];
            return "";
        }
        if (verb == "copy") {
            cmd.kind = K::Copy;
            if (args.size() != 2)
                return "copy takes FROM TO";
            cmd.text = args[0];
            cmd.target = args[1];
            return "";
        }
        return "unknown command \"" + verb + "\"";
    }

} // namespace

std::optional<std::vector<TimelineCommand>> parseTimeline(const std::string& text, std::string& error)
{
    std::vector<TimelineCommand> commands;
    std::istringstream lines(text);
    int number = 0;
    for (std::string line; std::getline(lines, line);) {
        ++number;
        // A "#" starts a comment, except inside the text of expect and name, where it may be
        // game text; there only a "#" after a blank starts one.
        std::string body = trim(line);
        bool textCommand = body.rfind("expect ", 0) == 0 || body.rfind("name ", 0) == 0;
        size_t hash = textCommand ? body.find(" #") : body.find('#');
        if (hash != std::string::npos)
            body = trim(body.substr(0, hash));
        if (body.empty())
            continue;
        TimelineCommand cmd;
        cmd.line = number;
        std::string problem = parseLine(body, cmd);
        if (!problem.empty()) {
            error = "line " + std::to_string(number) + ": " + problem;
            return std::nullopt;
        }
        commands.push_back(cmd);
    }
    return commands;
}

} // namespace vorn
