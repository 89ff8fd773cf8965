// Floating-point std::from_chars and std::to_chars for the web build, whose C++ library has
// only the integer ones. The web build includes this header ahead of every source, which then
// finds the overloads below in std; the desktop build has its library's own and tests these
// against them.
//
// Reading uses strtof and strtod, which take the same decimal forms in the C locale the page
// runs in. As std::from_chars does, a number outside the type's range gives result_out_of_range
// and leaves `value` as it was, and text that is no number gives invalid_argument.
//
// Writing gives the shortest text that reads back as the same float, as std::to_chars does:
// the fewest significant digits that round-trip (the correctly rounded ones of that count), then
// written in fixed notation, or in scientific notation when that is shorter (a tie goes to fixed).
// A whole number in fixed notation has all its digits, the float's exact value.
#pragma once

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <system_error>

namespace vorn::web {

template <typename Float>
std::from_chars_result fromChars(const char* first, const char* last, Float& value)
{
    std::string text(first, last);
    char* end = nullptr;
    errno = 0;
    Float parsed;
    if constexpr (sizeof(Float) == sizeof(float))
        parsed = std::strtof(text.c_str(), &end);
    else
        parsed = std::strtod(text.c_str(), &end);
    if (end == text.c_str())
        return { first, std::errc::invalid_argument };
    const char* ptr = first + (end - text.c_str());
    if (errno == ERANGE && (std::isinf(parsed) || parsed == 0))
        return { ptr, std::errc::result_out_of_range };
    value = parsed;
    return { ptr, std::errc() };
}

// The shortest text of a finite float in fixed notation (`fixedOnly`) or the shorter of fixed
// and scientific.
inline std::string shortestFloat(float value, bool fixedOnly)
{
    std::string sign = std::signbit(value) ? "-" : "";
    value = std::fabs(value);
    if (value == 0)
        return sign + "0";
    // The fewest significant digits that read back as the same float, and the decimal exponent.
    char scientific[32];
    for (int precision = 0; precision < 9; ++precision) {
        std::snprintf(scientific, sizeof scientific, "%.*e", precision, static_cast<double>(value));
        if (std::strtof(scientific, nullptr) == value)
            break;
    }
    const char* mark = std::strchr(scientific, 'e');
    int exponent = std::atoi(mark + 1);
    std::string digits;
    for (const char* c = scientific; c < mark; ++c) {
        if (*c != '.')
            digits += *c;
    }
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    const int count = static_cast<int>(digits.size());

    std::string fixed;
    if (exponent >= count - 1) {
        // A whole number is written with all its digits, as exactly as the float holds it.
        char whole[64];
        std::snprintf(whole, sizeof whole, "%.0f", static_cast<double>(value));
        fixed = whole;
    } else if (exponent >= 0) {
        fixed = digits.substr(0, static_cast<std::size_t>(exponent + 1)) + "." + digits.substr(static_cast<std::size_t>(exponent + 1));
    } else {
        fixed = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }
    if (fixedOnly)
        return sign + fixed;
    char exponentText[16];
    std::snprintf(exponentText, sizeof exponentText, "e%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    std::string other = digits.substr(0, 1) + (count > 1 ? "." + digits.substr(1) : "") + exponentText;
    return sign + (other.size() < fixed.size() ? other : fixed);
}

inline std::to_chars_result toChars(char* first, char* last, float value, bool fixedOnly)
{
    std::string text = std::isnan(value) ? (std::signbit(value) ? "-nan" : "nan")
        : std::isinf(value)              ? (value < 0 ? "-inf" : "inf")
                                         : shortestFloat(value, fixedOnly);
    if (static_cast<std::size_t>(last - first) < text.size())
        return { last, std::errc::value_too_large };
    std::memcpy(first, text.data(), text.size());
    return { first + text.size(), std::errc() };
}

} // namespace vorn::web

#ifdef __EMSCRIPTEN__
namespace std {

inline from_chars_result from_chars(const char* first, const char* last, float& value)
{
    return vorn::web::fromChars(first, last, value);
}

inline from_chars_result from_chars(const char* first, const char* last, double& value)
{
    return vorn::web::fromChars(first, last, value);
}

inline to_chars_result to_chars(char* first, char* last, float value)
{
    return vorn::web::toChars(first, last, value, false);
}

inline to_chars_result to_chars(char* first, char* last, float value, chars_format format)
{
    return vorn::web::toChars(first, last, value, format == chars_format::fixed);
}

} // namespace std
#endif
