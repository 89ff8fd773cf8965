// cp932 text as the window routines see it: cells (a full-width character, or two half-width
// ones), name substitutions, numbers in the game's decimal form, and byte-exact padding.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vorn {

// Splits text into the cells the printer steps through: one full-width character, or up to
// two half-width characters (a half-width character standing before a full-width one, or at
// the end, has a cell of its own so no character is ever split).
std::vector<std::string> splitCells(const std::string& cp932);

// Replaces, until none is left, "＃nn" by the name of character nn and "＄nn" by as many
// blanks as that name has bytes (nn: two digits). Names are looked up with `nameOf`. Names that
// bring in further markers are substituted too, up to a fixed number of substitutions.
std::string substituteNames(const std::string& cp932, const std::function<std::string(int)>& nameOf);

// The decimal text of a number as the game writes it: a leading blank for numbers >= 0,
// "-" for negative ones; whole numbers without a fraction.
std::string decimalText(float n);
// The decimal text of n right-aligned in `width` characters: for n >= 0 the leading blank is
// dropped first; a text as long as or longer than `width` is returned as it is.
std::string FormatRight(float n, int width);
// Half-width digits and blanks turned into full-width ones ("0" -> "０", " " -> "　").
std::string toFullWidthDigits(const std::string& cp932);

// At most `bytes` bytes of the text, never splitting a two-byte character.
std::string cutBytes(const std::string& cp932, std::size_t bytes);
// The text cut to `bytes` bytes (as cutBytes) and padded with blanks to exactly `bytes`.
std::string fitBytes(const std::string& cp932, std::size_t bytes);

} // namespace vorn
