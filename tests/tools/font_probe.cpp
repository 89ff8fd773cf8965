#include "font_probe.h"

#include <SDL2/SDL_ttf.h>

namespace vorn::test {

FontProbe::FontProbe(std::string bytes, int pixels)
    : m_bytes(std::move(bytes))
{
    if (TTF_Init() != 0)
        return;
    m_started = true;
    SDL_RWops* source = SDL_RWFromConstMem(m_bytes.data(), static_cast<int>(m_bytes.size()));
    m_font = source ? TTF_OpenFontRW(source, 1, pixels) : nullptr;
    if (m_font)
        TTF_SetFontHinting(m_font, TTF_HINTING_MONO);
}

FontProbe::~FontProbe()
{
    if (m_font)
        TTF_CloseFont(m_font);
    if (m_started)
        TTF_Quit();
}

bool FontProbe::has(char32_t c) const { return m_font && TTF_GlyphIsProvided32(m_font, c); }

std::vector<int> FontProbe::drawn(char32_t c) const
{
    std::vector<int> shape;
    SDL_Surface* surface = m_font ? TTF_RenderGlyph32_Solid(m_font, c, SDL_Color { 255, 255, 255, 255 }) : nullptr;
    if (!surface)
        return shape;
    shape = { surface->w, surface->h };
    const auto* rows = static_cast<const std::uint8_t*>(surface->pixels);
    for (int y = 0; y < surface->h; ++y) {
        for (int x = 0; x < surface->w; ++x)
            shape.push_back(rows[static_cast<std::size_t>(y) * surface->pitch + x] != 0);
    }
    SDL_FreeSurface(surface);
    int advance = 0;
    TTF_GlyphMetrics32(m_font, c, nullptr, nullptr, nullptr, nullptr, &advance);
    shape.push_back(advance);
    return shape;
}

} // namespace vorn::test
