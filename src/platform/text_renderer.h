// Crisp text output into pictures, shared by every back end (the headless one has no window).
//
// Text is cp932. Each character gets its own cell: a full-width (two-byte) character is one
// cell wide, a half-width (one-byte) character half a cell, and a cell is points * 4 / 3 pixels
// (12 points give the 16-pixel grid the game is laid out on). Only the proportional face gives
// each half-width character its own width, at most a cell. Glyphs are rendered without
// anti-aliasing, like the bitmap fonts of the era, so every drawn pixel has exactly the colour
// asked for. The Japanese faces are found through fontconfig: IPAGothic serves the Gothic face,
// IPAMincho the Mincho face and IPAPGothic the proportional Gothic face.
#pragma once

#include "platform/picture.h"
#include "platform/platform.h"
#include "platform/text_drawer.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

struct _TTF_Font;

namespace vorn {

// Finds the font files of the three faces (fontconfig reads its caches, which takes a while);
// any thread may call it ahead of the first text, which then finds them ready.
void prepareFontFiles();
// The font file of a face; empty when none was found.
const std::string& fontFile(FontFace face);

class TextRenderer : public TextDrawer {
public:
    TextRenderer();
    ~TextRenderer() override;
    TextRenderer(const TextRenderer&) = delete;
    TextRenderer& operator=(const TextRenderer&) = delete;

    void setFont(FontFace face, float points) override;
    void draw(Picture& target, int x, int y, const std::string& cp932, Pixel colour) override;
    // False when no font file could be found; then draw() does nothing.
    bool available() const;

    // The cell size in pixels of the current font (a full-width character's width and the line
    // height).
    int cellSize() const { return m_cell; }
    // How wide `cp932` is drawn in the current font, in pixels.
    int width(const std::string& cp932);

    // Asked, once per face, when the face's font has no glyph for a character: the file of a
    // fuller font of the face, which then serves the face, or empty when there is none. The web
    // page's fonts are cut to the characters a game uses and fetch the whole face this way.
    using FullerFont = std::function<std::string(FontFace)>;
    void setFullerFont(FullerFont source) { m_fullerFont = std::move(source); }

private:
    // A rendered character: a cell-sized mask, one byte per pixel, nonzero where the glyph is.
    struct Glyph {
        int width = 0;
        int height = 0;
        std::vector<std::uint8_t> mask;
    };

    _TTF_Font* font(FontFace face, int pixels);
    bool useFullerFont(FontFace face);
    const Glyph& glyph(unsigned code, bool fullWidth);
    Glyph renderGlyph(unsigned code, bool fullWidth);

    bool m_ttfStarted = false;
    FontFace m_face = FontFace::Gothic;
    int m_cell = 16;
    std::map<std::pair<int, int>, _TTF_Font*> m_fonts; // (face, pixel size)
    std::map<std::tuple<int, int, unsigned>, Glyph> m_glyphs; // (face, pixel size, cp932 code)
    FullerFont m_fullerFont;
    std::array<bool, 3> m_askedFuller {}; // by face
    std::array<std::string, 3> m_fullerFiles; // by face; empty while the face has its own file
};

} // namespace vorn
