// Fonts cut down to the characters a web page needs, so the page fetches less.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace vorn::datatool {

// Every character cp932 can write, but for the user-defined area (private-use code points that
// no font draws).
std::set<char32_t> cp932Characters();

// Whether `c` is an ideograph: the bulk of a Japanese font, and the part a game uses little of.
bool isIdeograph(char32_t c);

// The TrueType font `font` cut to the glyphs of `characters`. Outlines, metrics and hinting stay
// as they are, so every glyph kept is drawn exactly as by the whole font; the layout features
// (vertical forms and the like), which the player never uses, go. Nothing when `font` is not a
// font that can be cut.
std::optional<std::string> cutFont(const std::vector<std::uint8_t>& font, const std::set<char32_t>& characters);

} // namespace vorn::datatool
