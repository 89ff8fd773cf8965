#include "ui/text_cells.h"

#include "platform/encoding.h"

#include <cmath>
#include <cstdio>

namespace vorn {

namespace {

    // Length in bytes of the character starting at `i`.
    std::size_t charLength(const std::string& text, std::size_t i)
    {
        if (isCp932LeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size())
            return 2;
        return 1;
    }

    constexpr int maxSubstitutions = 64;

    // "＃" and "＄" in cp932.
    constexpr unsigned char markerLead = 0x81;
    constexpr unsigned char nameMark = 0x94;
    constexpr unsigned char indentMark = 0x90;

    bool isDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

std::vector<std::string> splitCells(const std::string& cp932)
{
    std::vector<std::string> cells;
    std::size_t i = 0;
    while (i < cp932.size()) {
        std::size_t len = charLength(cp932, i);
        if (len == 2) {
            cells.push_back(cp932.substr(i, 2));
            i += 2;
            continue;
        }
        // A half-width character shares its cell with a following half-width one.
        if (i + 1 < cp932.size() && charLength(cp932, i + 1) == 1) {
            cells.push_back(cp932.substr(i, 2));
            i += 2;
        } else {
            cells.push_back(cp932.substr(i, 1));
            i += 1;
        }
    }
    return cells;
}

std::string substituteNames(const std::string& cp932, const std::function<std::string(int)>& nameOf)
{
    std::string text = cp932;
    for (int round = 0; round < maxSubstitutions; ++round) {
        bool replaced = false;
        for (std::size_t i = 0; i < text.size(); i += charLength(text, i)) {
            auto lead = static_cast<unsigned char>(text[i]);
            if (lead != markerLead || i + 3 >= text.size())
                continue;
            auto mark = static_cast<unsigned char>(text[i + 1]);
            if ((mark != nameMark && mark != indentMark) || !isDigit(text[i + 2]) || !isDigit(text[i + 3]))
                continue;
            int number = (text[i + 2] - '0') * 10 + (text[i + 3] - '0');
            std::string name = nameOf(number);
            std::string replacement = mark == nameMark ? name : std::string(name.size(), ' ');
            text.replace(i, 4, replacement);
            replaced = true;
            break;
        }
        if (!replaced)
            break;
    }
    return text;
}

std::string decimalText(float n)
{
    if (std::isnan(n))
        return " NaN";
    char buffer[64];
    double value = n;
    if (std::isinf(n)) {
        std::snprintf(buffer, sizeof buffer, "%s", n < 0 ? "-Inf" : "Inf");
    } else if (value == std::floor(value) && std::fabs(value) < 1e15) {
        std::snprintf(buffer, sizeof buffer, "%.0f", value);
    } else {
        std::snprintf(buffer, sizeof buffer, "%.7g", value);
    }
    std::string text = buffer;
    if (text == "-0")
        text = "0";
    // Fractions are written without the zero before the point (".5", "-.25").
    if (text.rfind("0.", 0) == 0)
        text.erase(0, 1);
    else if (text.rfind("-0.", 0) == 0)
        text.erase(1, 1);
    return n >= 0 || text[0] != '-' ? " " + text : text;
}

std::string FormatRight(float n, int width)
{
    std::string text = decimalText(n);
    if (!text.empty() && text[0] == ' ')
        text.erase(0, 1);
    if (width > 0 && text.size() < static_cast<std::size_t>(width))
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}

std::string toFullWidthDigits(const std::string& cp932)
{
    std::string out;
    for (std::size_t i = 0; i < cp932.size();) {
        std::size_t len = charLength(cp932, i);
        char c = cp932[i];
        if (len == 1 && isDigit(c)) {
            out += static_cast<char>(0x82);
            out += static_cast<char>(0x4F + (c - '0'));
        } else if (len == 1 && c == ' ') {
            out += static_cast<char>(0x81);
            out += static_cast<char>(0x40);
        } else {
            out.append(cp932, i, len);
        }
        i += len;
    }
    return out;
}

std::string cutBytes(const std::string& cp932, std::size_t bytes)
{
    std::size_t i = 0;
    while (i < cp932.size()) {
        std::size_t len = charLength(cp932, i);
        if (i + len > bytes)
            break;
        i += len;
    }
    return cp932.substr(0, i);
}

std::string fitBytes(const std::string& cp932, std::size_t bytes)
{
    std::string text = cutBytes(cp932, bytes);
    text.append(bytes - text.size(), ' ');
    return text;
}

} // namespace vorn
