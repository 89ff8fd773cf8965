// The dialogs of the SDL back end, drawn inside the game window in the dialog font (the
// proportional Gothic face at 9 points), so they are scaled with the game like everything else.
//
// The name entry dialog sits 50 pixels right of and below the window's top-left corner, with a
// caption, the label, a text box and the OK and cancel buttons. Typing goes through SDL's text
// input, so the desktop's input method can compose Japanese; a character cp932 cannot hold is
// refused as it is typed and the box takes at most the dialog's byte limit. Enter or a click on OK
// accepts, Esc or a click on cancel cancels.
//
// A message box is centred in the window: its caption, an icon, the text wrapped to the box, and
// an OK button or Yes and No buttons. Enter or Space presses the button with the focus (first the
// left one), the arrow keys and Tab move the focus, Esc answers OK or No; a click presses a button.
#include "platform/encoding.h"
#include "platform/sdl/sdl_platform.h"

#include <SDL2/SDL.h>
#include <algorithm>
#include <vector>

namespace vorn {

namespace {

    // The dialog's frame in game pixels and the controls inside its client area (below the
    // caption bar), in pixels from the client area's top-left corner.
    constexpr int dialogX = 50, dialogY = 50, dialogW = 223, dialogH = 98;
    constexpr int captionH = 20;
    constexpr float dialogPoints = 9; // the size of every dialog's text
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

    // A push button with its caption centred; `focused` adds the dotted focus mark inside it.
    void drawButton(Picture& p, TextRenderer& text, const Box& b, const std::string& caption, bool pressed,
        bool focused = false)
    {
        drawBox(p, b.x, b.y, b.x + b.w - 1, b.y + b.h - 1, face, true);
        drawEdge(p, b, pressed);
        drawBox(p, b.x - 1, b.y - 1, b.x + b.w, b.y + b.h, black, false);
        const int width = text.width(caption);
        text.draw(p, b.x + (b.w - width) / 2, b.y + (b.h - text.cellSize()) / 2, caption, black);
        if (focused) {
            for (int x = b.x + 4; x < b.x + b.w - 4; x += 2) {
                p.at(x, b.y + 4) = black;
                p.at(x, b.y + b.h - 5) = black;
            }
            for (int y = b.y + 4; y < b.y + b.h - 4; y += 2) {
                p.at(b.x + 4, y) = black;
                p.at(b.x + b.w - 5, y) = black;
            }
        }
    }

    // The raised frame of a dialog with its caption bar.
    void drawFrame(Picture& p, TextRenderer& text, const Box& frame, const std::string& caption)
    {
        drawBox(p, frame.x, frame.y, frame.x + frame.w - 1, frame.y + frame.h - 1, face, true);
        drawEdge(p, frame, false);
        drawBox(p, frame.x + 3, frame.y + 3, frame.x + frame.w - 4, frame.y + captionH - 2, captionBlue, true);
        text.draw(p, frame.x + 6, frame.y + 3 + (captionH - 4 - text.cellSize()) / 2, caption, white);
    }

    void drawDialog(Picture& p, TextRenderer& text, const NameDialog& dialog, const NameEntry& entry, bool caretShown)
    {
        drawFrame(p, text, Box { dialogX, dialogY, dialogW, dialogH }, dialog.caption);

        drawBox(p, label.x, label.y, label.x + label.w - 1, label.y + label.h - 1, face, true);
        text.draw(p, label.x, label.y + (label.h - text.cellSize()) / 2, dialog.label, black);

        drawBox(p, textBox.x, textBox.y, textBox.x + textBox.w - 1, textBox.y + textBox.h - 1, white, true);
        drawEdge(p, textBox, true);
        std::string shown = entry.name + utf8ToCp932(entry.composing);
        int textY = textBox.y + (textBox.h - text.cellSize()) / 2;
        text.draw(p, textBox.x + 4, textY, shown, black);
        if (caretShown) {
            int caretX = textBox.x + 4 + text.width(shown);
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
    text.setFont(FontFace::PGothic, dialogPoints);

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

namespace {

    // A message box: where it stands and what has been pressed.
    struct MessageBox {
        Box frame {};
        std::vector<Box> buttons;
        std::vector<std::string> labels; // cp932
        std::vector<std::string> lines; // the text, wrapped
        int focus = 0; // the button Enter presses
        int escape = 0; // the button Esc presses
        int pressing = -1; // the button the pointer went down on
        int chosen = -1;
        SdlPlatform* platform = nullptr;
    };

    constexpr int boxTextWidth = 384, boxButtonW = 64, boxButtonH = 24, boxIcon = 24, boxMargin = 12;

    // Breaks the text at its line ends and wherever a line would grow wider than `limit`: after
    // the last 、 or 。 of the line when it has one, else before the character that does not fit.
    std::vector<std::string> wrapText(TextRenderer& text, const std::string& cp932, int limit)
    {
        std::vector<std::string> lines(1);
        std::size_t lastBreak = std::string::npos; // in lines.back(), just after a 、 or 。
        const std::string comma = utf8ToCp932("、"), stop = utf8ToCp932("。");
        for (std::size_t i = 0; i < cp932.size();) {
            std::size_t size = isCp932LeadByte(static_cast<unsigned char>(cp932[i])) && i + 1 < cp932.size() ? 2 : 1;
            std::string character = cp932.substr(i, size);
            i += size;
            if (character == "\r")
                continue;
            if (character == "\n") {
                lines.emplace_back();
                lastBreak = std::string::npos;
                continue;
            }
            std::string& line = lines.back();
            if (!line.empty() && text.width(line + character) > limit) {
                std::string rest;
                if (lastBreak != std::string::npos && lastBreak < line.size()) {
                    rest = line.substr(lastBreak);
                    line.resize(lastBreak);
                }
                lines.push_back(rest);
                lastBreak = std::string::npos;
            }
            lines.back() += character;
            if (character == comma || character == stop)
                lastBreak = lines.back().size();
        }
        return lines;
    }

    MessageBox layOutMessageBox(TextRenderer& text, const std::string& caption, const std::string& message,
        BoxButtons buttons, BoxIcon icon, int screenW, int screenH)
    {
        MessageBox box;
        if (buttons == BoxButtons::YesNo) {
            box.labels = { utf8ToCp932("はい"), utf8ToCp932("いいえ") };
            box.escape = 1;
        } else {
            box.labels = { "OK" };
        }
        box.lines = wrapText(text, message, boxTextWidth);
        int textW = 0;
        for (const std::string& line : box.lines)
            textW = std::max(textW, text.width(line));
        const int lineH = text.cellSize() + 4;
        const int iconW = icon == BoxIcon::None ? 0 : boxIcon + boxMargin;
        const int count = static_cast<int>(box.labels.size());
        const int buttonsW = count * boxButtonW + (count - 1) * 8;
        int w = std::max({ 2 * boxMargin + iconW + textW, 2 * boxMargin + buttonsW, text.width(caption) + 40, 160 });
        int textH = std::max(static_cast<int>(box.lines.size()) * lineH, iconW ? boxIcon : 0);
        int h = captionH + boxMargin + textH + boxMargin + boxButtonH + boxMargin;
        w = std::min(w, screenW);
        h = std::min(h, screenH);
        box.frame = { (screenW - w) / 2, (screenH - h) / 2, w, h };
        int x = box.frame.x + (w - buttonsW) / 2, y = box.frame.y + h - boxMargin - boxButtonH;
        for (int b = 0; b < count; ++b)
            box.buttons.push_back({ x + b * (boxButtonW + 8), y, boxButtonW, boxButtonH });
        return box;
    }

    // The icon: a round mark with a sign in it, coloured by its kind.
    void drawIcon(Picture& p, TextRenderer& text, int left, int top, BoxIcon icon)
    {
        Pixel fill = 0x0000C0, ink = white;
        const char* sign = "i";
        switch (icon) {
        case BoxIcon::None:
            return;
        case BoxIcon::Stop:
            fill = 0xC00000;
            sign = "x";
            break;
        case BoxIcon::Exclamation:
            fill = 0xF0C000;
            ink = black;
            sign = "!";
            break;
        case BoxIcon::Question:
            sign = "?";
            break;
        case BoxIcon::Information:
            break;
        }
        const int r = boxIcon / 2;
        for (int y = 0; y < boxIcon; ++y) {
            for (int x = 0; x < boxIcon; ++x) {
                int dx = 2 * x + 1 - boxIcon, dy = 2 * y + 1 - boxIcon;
                if (dx * dx + dy * dy <= 4 * r * r && left + x < p.width && top + y < p.height)
                    p.at(left + x, top + y) = fill;
            }
        }
        // The sign is drawn larger than the text, then the dialog font is set again.
        text.setFont(FontFace::PGothic, 13.5f);
        text.draw(p, left + (boxIcon - text.width(sign)) / 2, top + (boxIcon - text.cellSize()) / 2, sign, ink);
        text.setFont(FontFace::PGothic, dialogPoints);
    }

    void drawMessageBox(Picture& p, TextRenderer& text, const MessageBox& box, const std::string& caption, BoxIcon icon)
    {
        drawFrame(p, text, box.frame, caption);
        int left = box.frame.x + boxMargin, top = box.frame.y + captionH + boxMargin;
        if (icon != BoxIcon::None) {
            drawIcon(p, text, left, top, icon);
            left += boxIcon + boxMargin;
        }
        const int lineH = text.cellSize() + 4;
        for (std::size_t l = 0; l < box.lines.size(); ++l)
            text.draw(p, left, top + 2 + static_cast<int>(l) * lineH, box.lines[l], black);
        for (std::size_t b = 0; b < box.buttons.size(); ++b) {
            const int index = static_cast<int>(b);
            drawButton(p, text, box.buttons[b], box.labels[b], box.pressing == index, box.focus == index);
        }
    }

    void handleBoxEvent(const SDL_Event& event, void* context)
    {
        auto& box = *static_cast<MessageBox*>(context);
        const int count = static_cast<int>(box.buttons.size());
        switch (event.type) {
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            if (event.button.button != SDL_BUTTON_LEFT)
                break;
            int x = 0, y = 0;
            box.platform->gamePointer(x, y);
            int under = -1;
            for (int b = 0; b < count; ++b) {
                if (box.buttons[static_cast<std::size_t>(b)].holds(x, y))
                    under = b;
            }
            if (event.type == SDL_MOUSEBUTTONDOWN) {
                box.pressing = under;
                if (under >= 0)
                    box.focus = under;
            } else {
                if (under >= 0 && under == box.pressing)
                    box.chosen = under;
                box.pressing = -1;
            }
            break;
        }
        case SDL_KEYDOWN:
            // Keys held from before the box opened repeat without a press of their own.
            if (event.key.repeat)
                break;
            switch (event.key.keysym.scancode) {
            case SDL_SCANCODE_RETURN:
            case SDL_SCANCODE_KP_ENTER:
            case SDL_SCANCODE_SPACE:
                box.chosen = box.focus;
                break;
            case SDL_SCANCODE_ESCAPE:
                box.chosen = box.escape;
                break;
            case SDL_SCANCODE_LEFT:
            case SDL_SCANCODE_UP:
                box.focus = (box.focus + count - 1) % count;
                break;
            case SDL_SCANCODE_RIGHT:
            case SDL_SCANCODE_DOWN:
            case SDL_SCANCODE_TAB:
                box.focus = (box.focus + 1) % count;
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

BoxAnswer SdlPlatform::messageBox(const std::string& caption, const std::string& text, BoxButtons buttons, BoxIcon icon)
{
    TextRenderer font;
    font.setFont(FontFace::PGothic, dialogPoints);
    MessageBox box = layOutMessageBox(font, caption, text, buttons, icon, m_screen.width, m_screen.height);
    box.platform = this;

    // Keys pressed for the game before the box opened (the Esc that asked the quit question) do
    // not answer it.
    discardKeyEvents();
    Picture shown;
    while (box.chosen < 0) {
        pumpEvents(handleBoxEvent, &box);
        if (m_closeRequested) {
            // The close box answers as Esc does.
            m_closeRequested = false;
            box.chosen = box.escape;
            break;
        }
        shown = m_screen;
        shown.mode = CopyMode::Copy;
        drawMessageBox(shown, font, box, caption, icon);
        present(shown);
        SDL_Delay(15);
    }
    // Keys released while the box was open never reached the game: forget them all.
    discardKeyEvents();
    m_repaint = true;
    if (buttons == BoxButtons::Ok)
        return BoxAnswer::Ok;
    return box.chosen == 0 ? BoxAnswer::Yes : BoxAnswer::No;
}

} // namespace vorn
