#include "platform/text_renderer.h"

#include "platform/encoding.h"

#include <SDL2/SDL_ttf.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#ifndef VORN_FONT_FOLDER
#include <fontconfig/fontconfig.h>
#endif

namespace vorn {

namespace {

    // Font files for the three faces, found once per process. An empty path means the face
    // could not be found at all.
    using FontFiles = std::array<std::string, 3>;

#ifdef VORN_FONT_FOLDER
    // A build without fontconfig (the web page) brings its fonts in one folder.
    FontFiles findFontFiles()
    {
        const std::string folder = VORN_FONT_FOLDER;
        return { folder + "/ipag.ttf", folder + "/ipam.ttf", folder + "/ipagp.ttf" };
    }
#else
    // The file of the font fontconfig picks for `pattern`; when `family` is given, only a font of
    // exactly that family counts.
    std::string matchFont(FcConfig* config, const char* pattern, const char* family)
    {
        FcPattern* wanted = FcNameParse(reinterpret_cast<const FcChar8*>(pattern));
        if (!wanted)
            return {};
        FcConfigSubstitute(config, wanted, FcMatchPattern);
        FcDefaultSubstitute(wanted);
        FcResult result = FcResultNoMatch;
        FcPattern* match = FcFontMatch(config, wanted, &result);
        std::string path;
        if (match) {
            bool familyMatches = !family;
            FcChar8* name = nullptr;
            for (int i = 0; family && FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
                if (name && std::string(reinterpret_cast<const char*>(name)) == family)
                    familyMatches = true;
            }
            FcChar8* file = nullptr;
            if (familyMatches && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file)
                path = reinterpret_cast<const char*>(file);
            FcPatternDestroy(match);
        }
        FcPatternDestroy(wanted);
        return path;
    }

    FontFiles findFontFiles()
    {
        FontFiles files;
        FcConfig* config = FcInitLoadConfigAndFonts();
        if (!config)
            return files;
        // The wanted family first; when it is missing, any Japanese font of the same kind.
        struct Choice {
            const char* family;
            const char* fallback;
        };
        const Choice choices[3] = {
            { "IPAGothic", "monospace:lang=ja" },
            { "IPAMincho", "serif:lang=ja" },
            { "IPAPGothic", "sans-serif:lang=ja" },
        };
        for (std::size_t i = 0; i < 3; ++i) {
            files[i] = matchFont(config, choices[i].family, choices[i].family);
            if (files[i].empty())
                files[i] = matchFont(config, choices[i].fallback, nullptr);
        }
        FcConfigDestroy(config);
        return files;
    }
#endif

    const FontFiles& fontFiles()
    {
        static const FontFiles files = findFontFiles();
        return files;
    }

    int faceIndex(FontFace face)
    {
        switch (face) {
        case FontFace::Mincho:
            return 1;
        case FontFace::PGothic:
            return 2;
        case FontFace::Gothic:
            break;
        }
        return 0;
    }

    // The Unicode code point of one cp932 character, or 0 when it has none worth drawing.
    unsigned codePoint(unsigned code, bool fullWidth)
    {
        std::string bytes;
        if (fullWidth)
            bytes = { static_cast<char>(code >> 8), static_cast<char>(code & 0xFF) };
        else
            bytes = { static_cast<char>(code) };
        std::string utf8 = cp932ToUtf8(bytes);
        const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
        std::size_t n = utf8.size();
        unsigned result = 0;
        if (n == 1 && s[0] < 0x80)
            result = s[0];
        else if (n == 2 && (s[0] & 0xE0) == 0xC0)
            result = ((s[0] & 0x1Fu) << 6) | (s[1] & 0x3Fu);
        else if (n == 3 && (s[0] & 0xF0) == 0xE0)
            result = ((s[0] & 0x0Fu) << 12) | ((s[1] & 0x3Fu) << 6) | (s[2] & 0x3Fu);
        else if (n == 4 && (s[0] & 0xF8) == 0xF0)
            result = ((s[0] & 0x07u) << 18) | ((s[1] & 0x3Fu) << 12) | ((s[2] & 0x3Fu) << 6) | (s[3] & 0x3Fu);
        if (result < 0x20 || result == 0x7F || result == 0xFFFD)
            return 0;
        return result;
    }

} // namespace

void prepareFontFiles() { fontFiles(); }

const std::string& fontFile(FontFace face) { return fontFiles()[static_cast<std::size_t>(faceIndex(face))]; }

TextRenderer::TextRenderer()
{
    if (TTF_Init() == 0)
        m_ttfStarted = true;
}

TextRenderer::~TextRenderer()
{
    for (auto& entry : m_fonts) {
        if (entry.second)
            TTF_CloseFont(entry.second);
    }
    if (m_ttfStarted)
        TTF_Quit();
}

void TextRenderer::setFont(FontFace face, float points)
{
    m_face = face;
    if (!(points >= 1.0f))
        points = 1.0f;
    points = std::min(points, 200.0f);
    m_cell = std::max(2, static_cast<int>(std::lround(points * 4.0f / 3.0f)));
}

bool TextRenderer::available() const
{
    if (!m_ttfStarted)
        return false;
    const FontFiles& files = fontFiles();
    return std::any_of(files.begin(), files.end(), [](const std::string& path) { return !path.empty(); });
}

TTF_Font* TextRenderer::font(FontFace face, int pixels)
{
    int index = faceIndex(face);
    auto key = std::make_pair(index, pixels);
    auto found = m_fonts.find(key);
    if (found != m_fonts.end())
        return found->second;
    TTF_Font* opened = nullptr;
    if (m_ttfStarted) {
        const FontFiles& files = fontFiles();
        // A face that is missing borrows the file of another.
        for (int candidate : { index, 0, 1, 2 }) {
            const std::string& fuller = m_fullerFiles[static_cast<std::size_t>(candidate)];
            const std::string& path = fuller.empty() ? files[static_cast<std::size_t>(candidate)] : fuller;
            if (path.empty())
                continue;
            // SDL_ttf counts points at 72 dots per inch, so the size is the em in pixels.
            opened = TTF_OpenFont(path.c_str(), pixels);
            if (opened)
                break;
        }
        if (opened)
            TTF_SetFontHinting(opened, TTF_HINTING_MONO);
    }
    m_fonts.emplace(key, opened);
    return opened;
}

bool TextRenderer::useFullerFont(FontFace face)
{
    auto index = static_cast<std::size_t>(faceIndex(face));
    if (!m_fullerFont || m_askedFuller[index])
        return false;
    m_askedFuller[index] = true;
    std::string file = m_fullerFont(face);
    if (file.empty())
        return false;
    m_fullerFiles[index] = file;
    // The face's sizes open again from the fuller file; the glyphs drawn so far stay, as the
    // fuller font draws them alike.
    for (auto it = m_fonts.begin(); it != m_fonts.end();) {
        if (it->first.first == static_cast<int>(index)) {
            if (it->second)
                TTF_CloseFont(it->second);
            it = m_fonts.erase(it);
        } else {
            ++it;
        }
    }
    return true;
}

TextRenderer::Glyph TextRenderer::renderGlyph(unsigned code, bool fullWidth)
{
    Glyph glyph;
    glyph.width = fullWidth ? m_cell : m_cell / 2;
    glyph.height = m_cell;
    TTF_Font* ttf = font(m_face, m_cell);
    unsigned point = codePoint(code, fullWidth);
    // Half-width characters of the proportional face take their own width (an "O" is wider
    // than an "l"), so none is cut off at the edge of a half cell.
    int advance = 0;
    if (ttf && m_face == FontFace::PGothic && !fullWidth && point != 0
        && TTF_GlyphMetrics32(ttf, point, nullptr, nullptr, nullptr, nullptr, &advance) == 0 && advance > 0)
        glyph.width = std::min(advance, m_cell);
    if (!ttf || point == 0 || point == 0x20 || point == 0x3000)
        return glyph;
    if (!TTF_GlyphIsProvided32(ttf, point)) {
        if (!useFullerFont(m_face))
            return glyph;
        ttf = font(m_face, m_cell);
        if (!ttf || !TTF_GlyphIsProvided32(ttf, point))
            return glyph;
    }
    SDL_Surface* surface = TTF_RenderGlyph32_Solid(ttf, point, SDL_Color { 255, 255, 255, 255 });
    if (!surface)
        return glyph;
    glyph.mask.assign(static_cast<std::size_t>(glyph.width) * glyph.height, 0);
    // The rendered surface has the baseline at the font's ascent. Glyphs of the Japanese faces
    // reach from 7/8 of the em above the baseline to 1/8 below it, so the baseline goes 7/8
    // down the cell. Narrow glyphs of the proportional face are centred in their cell.
    int baseline = (m_cell * 7 + 4) / 8;
    int offsetY = baseline - TTF_FontAscent(ttf);
    int offsetX = surface->w < glyph.width ? (glyph.width - surface->w) / 2 : 0;
    bool locked = SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) == 0;
    if (surface->format->BytesPerPixel == 1) {
        const auto* rows = static_cast<const std::uint8_t*>(surface->pixels);
        for (int sy = 0; sy < surface->h; ++sy) {
            int y = sy + offsetY;
            if (y < 0 || y >= glyph.height)
                continue;
            for (int sx = 0; sx < surface->w; ++sx) {
                int x = sx + offsetX;
                if (x < 0 || x >= glyph.width)
                    continue;
                // Solid rendering uses palette index 0 for the background.
                if (rows[static_cast<std::size_t>(sy) * surface->pitch + sx] != 0)
                    glyph.mask[static_cast<std::size_t>(y) * glyph.width + x] = 1;
            }
        }
    }
    if (locked)
        SDL_UnlockSurface(surface);
    SDL_FreeSurface(surface);
    return glyph;
}

const TextRenderer::Glyph& TextRenderer::glyph(unsigned code, bool fullWidth)
{
    auto key = std::make_tuple(faceIndex(m_face), m_cell, code | (fullWidth ? 0x10000u : 0u));
    auto found = m_glyphs.find(key);
    if (found != m_glyphs.end())
        return found->second;
    return m_glyphs.emplace(key, renderGlyph(code, fullWidth)).first->second;
}

int TextRenderer::width(const std::string& cp932)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(cp932.data());
    int total = 0;
    for (std::size_t i = 0; i < cp932.size();) {
        bool fullWidth = isCp932LeadByte(bytes[i]) && i + 1 < cp932.size();
        unsigned code = fullWidth ? (static_cast<unsigned>(bytes[i]) << 8) | bytes[i + 1] : bytes[i];
        i += fullWidth ? 2 : 1;
        total += glyph(code, fullWidth).width;
    }
    return total;
}

void TextRenderer::draw(Picture& target, int x, int y, const std::string& cp932, Pixel colour)
{
    if (!available() || target.empty())
        return;
    target.changed();
    const auto* bytes = reinterpret_cast<const unsigned char*>(cp932.data());
    std::size_t size = cp932.size();
    long penX = x;
    for (std::size_t i = 0; i < size;) {
        bool fullWidth = isCp932LeadByte(bytes[i]) && i + 1 < size;
        unsigned code = fullWidth ? (static_cast<unsigned>(bytes[i]) << 8) | bytes[i + 1] : bytes[i];
        i += fullWidth ? 2 : 1;
        const Glyph& shape = glyph(code, fullWidth);
        if (!shape.mask.empty()) {
            for (int gy = 0; gy < shape.height; ++gy) {
                long py = static_cast<long>(y) + gy;
                if (py < 0 || py >= target.height)
                    continue;
                for (int gx = 0; gx < shape.width; ++gx) {
                    long px = penX + gx;
                    if (px < 0 || px >= target.width)
                        continue;
                    if (shape.mask[static_cast<std::size_t>(gy) * shape.width + gx])
                        target.at(static_cast<int>(px), static_cast<int>(py)) = colour;
                }
            }
        }
        penX += shape.width;
        if (penX >= target.width)
            break;
    }
}

} // namespace vorn
