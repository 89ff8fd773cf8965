#include "script/arguments.h"

#include "core/context.h"
#include "core/dialogs.h"
#include "data/record.h"
#include "platform/encoding.h"
#include "script/script_access.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace vorn {

bool isScriptSeparator(char c)
{
    switch (c) {
    case ',':
    case ':':
    case ';':
    case '|':
    case '!':
    case ')':
    case '(':
    case '&':
    case '\\':
    case '_':
        return true;
    default:
        return false;
    }
}

std::size_t commandCharSize(const std::string& commands, std::size_t at)
{
    return at + 1 < commands.size() && isCp932LeadByte(static_cast<unsigned char>(commands[at])) ? 2 : 1;
}

namespace {

    bool isDigit(char c) { return c >= '0' && c <= '9'; }

    // The digits after a one-character prefix ("?6" gives "6").
    std::string_view afterFirst(std::string_view text, std::size_t count)
    {
        return text.size() > count ? text.substr(count) : std::string_view {};
    }

    // INT(r x n) with r uniform in [0, 1), as decimal text.
    std::string randomText(Context& ctx, std::string_view countText)
    {
        double n = tokenValue(countText);
        return flagText(static_cast<float>(std::floor(ctx.random() * n)));
    }

} // namespace

float hexValue(std::string_view digits)
{
    std::uint32_t value = 0;
    std::size_t used = 0;
    for (char c : digits) {
        int d = hexDigitValue(c);
        if (d < 0 || used == 8)
            break;
        value = value * 16 + static_cast<std::uint32_t>(d);
        ++used;
    }
    return static_cast<float>(value);
}

float tokenValue(std::string_view token)
{
    if (token.size() >= 2 && token[0] == '&' && (token[1] == 'H' || token[1] == 'h'))
        return hexValue(token.substr(2));
    // The longest prefix that reads as a decimal number.
    std::size_t i = 0;
    if (i < token.size() && (token[i] == '+' || token[i] == '-'))
        ++i;
    std::size_t digitsStart = i;
    while (i < token.size() && isDigit(token[i]))
        ++i;
    bool anyDigit = i > digitsStart;
    if (i < token.size() && token[i] == '.') {
        ++i;
        std::size_t fractionStart = i;
        while (i < token.size() && isDigit(token[i]))
            ++i;
        anyDigit = anyDigit || i > fractionStart;
    }
    if (!anyDigit)
        return 0;
    if (i < token.size() && (token[i] == 'e' || token[i] == 'E')) {
        std::size_t e = i + 1;
        if (e < token.size() && (token[e] == '+' || token[e] == '-'))
            ++e;
        if (e < token.size() && isDigit(token[e])) {
            while (e < token.size() && isDigit(token[e]))
                ++e;
            i = e;
        }
    }
    std::string number(token.substr(0, i));
    return static_cast<float>(std::strtod(number.c_str(), nullptr));
}

int argInt(const Context& ctx, int index) { return roundIndex(ctx.script.args[static_cast<std::size_t>(index)]); }

float& flagAt(Context& ctx, float a, float b)
{
    int row = roundIndex(a);
    int column = roundIndex(b);
    if (row < 0 || row > 100 || column < 0 || column > 100)
        fatalEventError(ctx, "flag (" + flagText(a) + ", " + flagText(b) + ") is outside the flag table");
    return ctx.db.flags[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

void setFlag(Context& ctx, float a, float b, float value)
{
    float& flag = flagAt(ctx, a, b);
    if (!std::isfinite(value))
        fatalEventError(ctx, "flag value overflow");
    flag = value;
}

std::string ResolveFlagReference(Context& ctx, const std::string& token)
{
    // @a-b or @a-@c-d
    std::size_t dash = token.find('-', 1);
    if (token.size() < 2 || dash == std::string::npos)
        fatalEventError(ctx, "flag reference without '-': " + token);
    float a = tokenValue(std::string_view(token).substr(1, dash - 1));
    std::string_view rest = std::string_view(token).substr(dash + 1);
    float column;
    if (!rest.empty() && rest[0] == '@') {
        std::size_t dash2 = rest.find('-', 1);
        if (dash2 == std::string_view::npos)
            fatalEventError(ctx, "flag reference without '-': " + token);
        column = flagAt(ctx, tokenValue(rest.substr(1, dash2 - 1)), tokenValue(rest.substr(dash2 + 1)));
    } else {
        column = tokenValue(rest);
    }
    return flagText(flagAt(ctx, a, column));
}

void ParseArgument(Context& ctx, int index)
{
    ScriptState& s = ctx.script;
    const std::string& commands = currentCommands(ctx);
    std::string token;
    while (s.position >= 1 && static_cast<std::size_t>(s.position) <= commands.size()) {
        std::size_t at = static_cast<std::size_t>(s.position - 1);
        std::size_t size = commandCharSize(commands, at);
        char c = commands[at];
        if (size == 1 && isScriptSeparator(c))
            break;
        if (size == 2 || c != ' ')
            token.append(commands, at, size);
        s.position += static_cast<std::int64_t>(size);
    }
    if (!token.empty() && token[0] == '?')
        token = randomText(ctx, afterFirst(token, 1));
    if (!token.empty() && token[0] == '@')
        token = ResolveFlagReference(ctx, token);
    if (token.size() >= 2 && token[1] == '?')
        token = token.substr(0, 1) + randomText(ctx, afterFirst(token, 2));
    if (token.size() >= 2 && token[1] == '@')
        token = token.substr(0, 1) + ResolveFlagReference(ctx, token.substr(1));
    ++s.position;
    s.args[static_cast<std::size_t>(index)] = tokenValue(token);
    s.currentToken = std::move(token);
}

bool holdsLabel(const std::string& commands, std::string_view name, bool* standsLast)
{
    if (standsLast)
        *standsLast = false;
    std::string token;
    for (std::size_t at = 0; at < commands.size();) {
        std::size_t size = commandCharSize(commands, at);
        char c = commands[at];
        if (size == 1 && isScriptSeparator(c)) {
            if (token == name)
                return true;
            token.clear();
        } else if (size == 2 || c != ' ') {
            token.append(commands, at, size);
        }
        at += size;
    }
    // A token that the string's end closes is no label: the search never finds it.
    if (standsLast && token == name)
        *standsLast = true;
    return false;
}

int findLabelLine(Context& ctx, std::int64_t event, std::string_view name)
{
    if (event < 0 || event >= scriptLimits::events)
        fatalEventError(ctx, "event " + std::to_string(event) + " is outside the event table");
    const auto& lines = ctx.script.eventLines[static_cast<std::size_t>(event)];
    for (int line = 0; line < scriptLimits::lines; ++line) {
        if (holdsLabel(lines[static_cast<std::size_t>(line)].commands, name))
            return line;
    }
    fatalEventError(ctx, "label " + std::string(name) + " not found in event " + std::to_string(event));
}

void ResolveLineTarget(Context& ctx)
{
    ScriptState& s = ctx.script;
    if (s.currentToken == "NEX") {
        s.args[1] = 1;
        return;
    }
    if (s.currentToken.empty() || s.currentToken[0] != '*')
        return;
    int line = findLabelLine(ctx, s.event, std::string_view(s.currentToken).substr(1));
    s.args[1] = static_cast<float>(line - s.lineOffset - s.entryLine);
}

void ResolveEventTarget(Context& ctx)
{
    ScriptState& s = ctx.script;
    if (s.currentToken == "NEX") {
        s.args[0] = 1;
        s.args[1] = 0;
        return;
    }
    if (s.currentToken.empty() || s.currentToken[0] != '*') {
        s.args[1] = 0;
        return;
    }
    std::string_view name = std::string_view(s.currentToken).substr(1);
    for (int event = 0; event < scriptLimits::events; ++event) {
        for (int line = 0; line < scriptLimits::lines; ++line) {
            if (holdsLabel(s.eventLines[static_cast<std::size_t>(event)][static_cast<std::size_t>(line)].commands, name)) {
                s.args[0] = static_cast<float>(event - s.event);
                s.args[1] = static_cast<float>(line);
                return;
            }
        }
    }
    fatalEventError(ctx, "label " + std::string(name) + " not found in any event");
}

} // namespace vorn
