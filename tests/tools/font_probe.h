// A font file opened from memory with SDL_ttf as the text renderer opens its fonts (16-pixel
// em, monochrome hinting), to see which characters it holds and how it draws them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct _TTF_Font;

namespace vorn::test {

class FontProbe {
public:
    explicit FontProbe(std::string bytes, int pixels = 16);
    ~FontProbe();
    FontProbe(const FontProbe&) = delete;
    FontProbe& operator=(const FontProbe&) = delete;

    bool opened() const { return m_font != nullptr; }
    bool has(char32_t c) const;
    // The glyph as drawn: its width, height and one byte per pixel, then its advance.
    std::vector<int> drawn(char32_t c) const;

private:
    std::string m_bytes;
    bool m_started = false;
    _TTF_Font* m_font = nullptr;
};

} // namespace vorn::test
