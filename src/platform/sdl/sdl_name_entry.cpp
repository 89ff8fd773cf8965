// The name entry dialog of the SDL back end: a small dialog drawn inside the game window, 50
// pixels right of and below its top-left corner, with a caption, the label, a text box and the
// OK and cancel buttons. Typing goes through SDL's text input, so the desktop's input method can
// compose Japanese; a character cp932 cannot hold is refused as it is typed and the box takes at
// most the dialog's byte limit. Enter or a click on OK accepts, Esc or a click on cancel cancels.
#include "platform/encoding.h"
#include "platform/sdl/sdl_platform.h"

#include <SDL2/SDL.h>

namespace vorn {

namespace {

    // The dialog's frame in game pixels and the controls inside its client area (below the
    // caption bar), in pixels from the client area's top-left corner.
    constexpr int dialogX = 50, dialogY = 50, dialogW = 223, dialogH = 98;
    constexpr int captionH = 20;
    constexpr int clientX = dialogX + 3, clientY = dialogY + captionH;
    struct Box {
        int x, y, w, h;
        bool holds(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
    };
    constexpr Box label { clientX + 8, clientY + 16, 40, 16 };
    constexpr Box textBox { clientX + 48, clientY + 8, 160, 24 };
    constexpr Box okButton { clientX + 80, clientY + 40, 64, 24 };
    constexpr Box cancelButton { clientX + 144, clientY + 40, 64, 24 };

    constexpr Pixel face = 0xC0C0C0, white = 0xFFFFFF, black = 0x000000, shadow = 0x808080;
    constexpr Pixel captionBlue = 0x000080;

    struct NameEntry {
        std::string name; // cp932, within the limit
        std::string composing; // UTF-8 text the input method is still composing
        std::size_t maxBytes = 16;
        bool done = false;
        bool accepted = false;
        Box pressed {}; // the button the pointer went down on
        bool pressing = false;
        SdlPlatform* platform = nullptr;
    };

    // Removes the last character (one or two bytes) of a cp932 text.
    void removeLastCharacter(std::string& cp932)
    {
        std::size_t at = 0, last = 0;
        while (at < cp932.size()) {
            last = at;
            at += isCp932LeadByte(static_cast<unsigned char>(cp932[at])) && at + 1 < cp932.size() ? 2 : 1;
        }
        cp932.resize(last);
    }

    void handlePointer(NameEntry& entry, int x, int y, bool down)
    {
        for (const Box* button : { &okButton, &cancelButton }) {
            if (!button->holds(x, y))
                continue;
            if (down) {
                entry.pressed = *button;
                entry.pressing = true;
            } else if (entry.pressing && entry.pressed.x == button->x) {
                entry.done = true;
                entry.accepted = button == &okButton;
            }
        }
        if (!down)
            entry.pressing = false;
    }

    void handleNameEvent(const SDL_Event& event, void* context)
    {
        auto& entry = *static_cast<NameEntry*>(context);
        switch (event.type) {
        case SDL_TEXTINPUT:
            entry.name = appendTyped(entry.name, event.text.text, entry.maxBytes);
            entry.composing.clear();
            break;
        case SDL_TEXTEDITING:
            entry.composing = event.edit.text;
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (event.button.button == SDL_BUTTON_LEFT) {
                int x = 0, y = 0;
                entry.platform->gamePointer(x, y);
                handlePointer(entry, x, y, event.type == SDL_MOUSEBUTTONDOWN);
            }
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

    // A raised (or, while pressed, sunken) edge around a box.
    void drawEdge(Picture& p, const Box& b, bool sunken)
    {
        Pixel light = sunken ? shadow : white, dark = sunken ? white : shadow;
        drawBox(p, b.x, b.y, b.x + b.w - 1, b.y, light, true);
        drawBox(p, b.x, b.y, b.x, b.y + b.h - 1, light, true);
        drawBox(p, b.x, b.y + b.h - 1, b.x + b.w - 1, b.y + b.h - 1, dark, true);
        drawBox(p, b.x + b.w - 1, b.y, b.x + b.w - 1, b.y + b.h - 1, dark, true);
    }

    void drawButton(Picture& p, TextRenderer& text, const Box& b, const std::string& caption, bool pressed)
    {
        drawBox(p, b.x, b.y, b.x + b.w - 1, b.y + b.h - 1, face, true);
        drawEdge(p, b, pressed);
        drawBox(p, b.x - 1, b.y - 1, b.x + b.w, b.y + b.h, black, false);
        int width = static_cast<int>(caption.size()) * text.cellSize() / 2;
        text.draw(p, b.x + (b.w - width) / 2, b.y + (b.h - text.cellSize()) / 2, caption, black);
    }

    void drawDialog(Picture& p, TextRenderer& text, const NameDialog& dialog, const NameEntry& entry, bool caretShown)
    {
        const Box frame { dialogX, dialogY, dialogW, dialogH };
        drawBox(p, frame.x, frame.y, frame.x + frame.w - 1, frame.y + frame.h - 1, face, true);
        drawEdge(p, frame, false);
        drawBox(p, frame.x + 3, frame.y + 3, frame.x + frame.w - 4, frame.y + captionH - 2, captionBlue, true);
        text.draw(p, frame.x + 6, frame.y + 4, dialog.caption, white);

        drawBox(p, label.x, label.y, label.x + label.w - 1, label.y + label.h - 1, face, true);
        text.draw(p, label.x, label.y + (label.h - text.cellSize()) / 2, dialog.label, black);

        drawBox(p, textBox.x, textBox.y, textBox.x + textBox.w - 1, textBox.y + textBox.h - 1, white, true);
        drawEdge(p, textBox, true);
        std::string shown = entry.name + utf8ToCp932(entry.composing);
        int textY = textBox.y + (textBox.h - text.cellSize()) / 2;
        text.draw(p, textBox.x + 4, textY, shown, black);
        if (caretShown) {
            int caretX = textBox.x + 4 + static_cast<int>(shown.size()) * text.cellSize() / 2;
            drawBox(p, caretX, textY, caretX, textY + text.cellSize() - 1, black, true);
        }

        bool pressing = entry.pressing;
        drawButton(p, text, okButton, dialog.ok, pressing && entry.pressed.x == okButton.x);
        drawButton(p, text, cancelButton, dialog.cancel, pressing && entry.pressed.x == cancelButton.x);
    }

} // namespace

void SdlPlatform::gamePointer(int& x, int& y) { pointerPosition(x, y); }

std::optional<std::string> SdlPlatform::askName(const NameDialog& dialog)
{
    NameEntry entry;
    entry.maxBytes = dialog.maxBytes;
    entry.platform = this;
    entry.name = appendTyped("", cp932ToUtf8(dialog.name), dialog.maxBytes);

    TextRenderer text;
    text.setFont(FontFace::PGothic, 9);

    discardKeyEvents();
    SDL_Rect inputArea { textBox.x, textBox.y, textBox.w, textBox.h };
    SDL_SetTextInputRect(&inputArea);
    SDL_StartTextInput();
    Picture shown;
    std::uint64_t started = SDL_GetTicks64();
    while (!entry.done) {
        pumpEvents(handleNameEvent, &entry);
        if (m_closeRequested)
            break; // the close request stays pending for the game
        shown = m_screen;
        shown.mode = CopyMode::Copy;
        bool caretShown = (SDL_GetTicks64() - started) / 500 % 2 == 0;
        drawDialog(shown, text, dialog, entry, caretShown);
        present(shown);
        SDL_Delay(15);
    }
    SDL_StopTextInput();
    discardKeyEvents();
    m_repaint = true;
    if (!entry.accepted)
        return std::nullopt;
    return entry.name;
}

} // namespace vorn
