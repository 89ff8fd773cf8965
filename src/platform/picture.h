// Pictures: software bitmaps with 32-bit pixels, and the copies that compose the screen.
//
// Every picture of the game (the screen, the frame sheet, work surfaces, tile and character
// sheets, enemies) is a Picture. A picture has a copy mode that decides how later copies onto
// it combine with what is there: plain copy, AND, exclusive-or or OR, like the raster
// operations of the era's graphics interfaces. All copies clip to both pictures' bounds.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vorn {

// Pixels are 0x00RRGGBB; the top byte is always 0.
using Pixel = std::uint32_t;

// How a copy onto a picture combines source and destination; the numbers are the codes game
// data and scripts use.
enum class CopyMode : int { Copy = 13,
    And = 9,
    Xor = 7,
    Or = 15 };

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Pixel> pixels; // row-major, width * height
    CopyMode mode = CopyMode::Copy;
    // Counts the drawing operations that changed the picture (copies and boxes onto it, text,
    // replacing its contents). Whoever shows a picture compares the count with the one it showed
    // last, so an untouched picture costs nothing to keep on view.
    std::uint64_t changes = 0;

    Picture() = default;
    Picture(int w, int h, Pixel fill = 0);
    Picture(const Picture&) = default;
    Picture(Picture&&) noexcept = default;
    ~Picture() = default;
    // Replacing a picture's contents is a change of that picture: it keeps counting on from its
    // own count, whatever the count of the picture it takes its contents from.
    Picture& operator=(const Picture& other);
    Picture& operator=(Picture&& other) noexcept;
    // Every write to the pixels that bypasses the drawing operations below calls this.
    void changed() { ++changes; }

    Pixel at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    Pixel& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    bool empty() const { return width == 0 || height == 0; }
};

// Makes `picture` a new picture of the given size filled with black (sizes below 0 count as 0).
void createPicture(Picture& picture, int width, int height);
// Releases the pixels; the picture becomes 0 x 0.
void freePicture(Picture& picture);
// Puts back the pixels of a saved copy of the picture (the same size), keeping its copy mode.
void restorePixels(Picture& picture, const Picture& saved);

// The copy mode for a mode code of game data (13, 9, 7, 15); an unknown code gives Copy.
CopyMode copyModeFromCode(int code);

// Copies a width x height rectangle from (sx, sy) of `source` to (dx, dy) of `target`,
// combined by the target's copy mode. Parts outside either picture are left out.
void copyRect(Picture& target, int dx, int dy, int width, int height, const Picture& source, int sx, int sy);

// Copies the rectangle (sx, sy, sw, sh) of `source` into (dx, dy, dw, dh) of `target`,
// scaling by nearest neighbour and combining by the target's copy mode.
void scaledCopy(Picture& target, int dx, int dy, int dw, int dh, const Picture& source, int sx, int sy, int sw,
    int sh);

// Draws the rectangle with corners (x1, y1) and (x2, y2), both included, as an outline or
// filled, combined by the target's copy mode (exclusive-or twice leaves the picture as it was).
void drawBox(Picture& target, int x1, int y1, int x2, int y2, Pixel colour, bool filled);

// The 16-colour palette of text and boxes: 0 black, 1 blue, 2 green, 3 cyan, 4 red, 5 the
// warning colour of low values (a light red, clear on the dark blue of window fills), 6 brown,
// 7 light grey, 8 dark grey, 9 to 14 the bright colours, 15 white. Out-of-range numbers are
// taken modulo 16.
Pixel paletteColour(int number);

// --- Files ---------------------------------------------------------------------------------

// Result of decoding a BMP file. On failure `picture` is empty and `error` says why.
struct BmpResult {
    Picture picture;
    std::string error;
    bool ok() const { return error.empty(); }
};

// Decodes a BMP file held in memory: 1, 2, 4, 8, 16, 24 and 32 bits per pixel, bottom-up and
// top-down, RLE4 and RLE8, bit fields, OS/2 and version 4/5 headers. Every size, count and
// offset is checked against the data; malformed files are rejected, never read out of bounds.
// Pictures above 16384 pixels on a side or 32M pixels are refused. Palette indexes past the
// palette and pixels an RLE bitmap skips come out black.
BmpResult decodeBmp(const std::uint8_t* data, std::size_t size);
BmpResult decodeBmp(const std::vector<std::uint8_t>& bytes);
// Reads and decodes a BMP file from disk.
BmpResult loadBmpFile(const std::string& path);
// A picture of a game folder (a cp932 game path such as "GRP\\KAO1_0.bmp"), read with
// readGameFile and decoded; nothing when it is missing, unreadable or not a picture, with the
// reason in `why` when given.
std::optional<Picture> loadGamePicture(
    const std::filesystem::path& root, const std::string& cp932Path, std::string* why = nullptr);

// Writes a picture as a 24-bit BMP (used by the tools and tests that build game folders).
bool saveBmpFile(const Picture& picture, const std::string& path);

// Writes a picture as an RGB PNG file; returns false when the file cannot be written.
bool savePng(const Picture& picture, const std::string& path);
// The pixels of row y (`width` of them) of a picture written row by row; asked for y = 0, 1, ...
using PngRowSource = std::function<const Pixel*(int y)>;
// Writes a width x height RGB PNG whose rows come from `row`, so that a picture larger than
// memory can be drawn and written a band at a time.
bool savePngRows(const std::string& path, int width, int height, const PngRowSource& row);
// Reads an RGB or RGBA PNG file (alpha is dropped); returns false when it cannot be read.
bool loadPng(const std::string& path, Picture& picture);

} // namespace vorn
