// The name entry dialog of the SDL back end: a small box drawn over the game screen with the
// prompt and the name being typed. Typing goes through SDL's text input, so an input method can
// compose Japanese; Enter accepts, Esc cancels.
#include "platform/encoding.h"
#include "platform/sdl/sdl_platform.h"

#include <SDL2/SDL.h>

namespace vorn {

namespace {

    // Longest name in cp932 bytes: what fits on the box's line.
    constexpr std::size_t MaxNameBytes = 40;

    struct NameEntry {
        std::string name; // UTF-8
        std::string composing; // UTF-8 text the input method is still composing
        bool done = false;
        bool accepted = false;
    };

    void removeLastCharacter(std::string& utf8)
    {
        while (!utf8.empty()) {
            unsigned char last = static_cast<unsigned char>(utf8.back());
            utf8.pop_back();
            if ((last & 0xC0) != 0x80)
                break;
        }
    }

    void handleNameEvent(const SDL_Event& event, void* context)
    {
        auto& entry = *static_cast<NameEntry*>(context);
        switch (event.type) {
        case SDL_TEXTINPUT: {
            std::string longer = entry.name + event.text.text;
            if (utf8ToCp932(longer).size() <= MaxNameBytes)
                entry.name = longer;
            entry.composing.clear();
            break;
        }
        case SDL_TEXTEDITING:
            entry.composing = event.edit.text;
            break;
        case SDL_KEYDOWN:
            // Keys belong to the input method while it composes; held keys repeating from
            // before the dialog opened do not answer it.
            if (!entry.composing.empty() || event.key.repeat)
                break;
            switch (event.key.keysym.scancode) {
            case SDL_SCANCODE_RETURN:
            case SDL_SCANCODE_KP_ENTER:
                entry.done = true;
                entry.accepted = true;
                break;
            case SDL_SCANCODE_ESCAPE:
                entry.done = true;
                break;
            case SDL_SCANCODE_BACKSPACE:
                removeLastCharacter(entry.name);
                break;
            default:
                break;
            }
            break;
        default:
            break;
        }
    }

} // namespace

std::optional<std::string> SdlPlatform::askName(const std::string& prompt, const std::string& initial)
{
    NameEntry entry;
    entry.name = cp932ToUtf8(initial);
    while (utf8ToCp932(entry.name).size() > MaxNameBytes)
        removeLastCharacter(entry.name);

    TextRenderer text;
    text.setFont(FontFace::Gothic, 12);
    const Pixel ink = paletteColour(15);
    const int left = 64, top = 160, right = 447, bottom = 231;

    discardKeyEvents();
    SDL_Rect inputArea { left, top, right - left + 1, bottom - top + 1 };
    SDL_SetTextInputRect(&inputArea);
    SDL_StartTextInput();
    Picture shown;
    while (!entry.done) {
        pumpEvents(handleNameEvent, &entry);
        if (m_closeRequested)
            break; // the close request stays pending for the game
        shown = m_screen;
        shown.mode = CopyMode::Copy;
        drawBox(shown, left, top, right, bottom, paletteColour(1), true);
        drawBox(shown, left, top, right, bottom, ink, false);
        text.draw(shown, left + 16, top + 12, prompt, ink);
        std::string line = utf8ToCp932(entry.name + entry.composing) + "_";
        text.draw(shown, left + 16, top + 40, line, ink);
        present(shown);
        SDL_Delay(15);
    }
    SDL_StopTextInput();
    discardKeyEvents();
    m_repaint = true;
    if (!entry.accepted)
        return std::nullopt;
    return utf8ToCp932(entry.name);
}

} // namespace vorn
