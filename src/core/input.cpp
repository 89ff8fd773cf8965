#include "core/input.h"

#include "core/context.h"
#include "core/dialogs.h"
#include "core/messages.h"
#include "core/sound.h"

namespace vorn {

namespace {

    // One row of the key table: the keys tested and the code a held key gives.
    struct KeyRule {
        int key;
        int configured; // index of a configured key tested with it, or -1
        std::string_view code;
    };

    // The code of the keys that ask the quit question instead.
    constexpr std::string_view askToQuit = "?";

    constexpr KeyRule keyTable[] = {
        { vk::Down, static_cast<int>(ConfiguredKey::Down), key::Down },
        { vk::Left, static_cast<int>(ConfiguredKey::Left), key::Left },
        { vk::Right, static_cast<int>(ConfiguredKey::Right), key::Right },
        { vk::Up, static_cast<int>(ConfiguredKey::Up), key::Up },
        { vk::Space, static_cast<int>(ConfiguredKey::Decide), key::Decide },
        { vk::Enter, -1, key::Decide },
        { vk::Esc, -1, askToQuit },
        { vk::Ctrl, static_cast<int>(ConfiguredKey::Cancel), key::Cancel },
        { vk::Numpad0 + 2, -1, key::Down },
        { vk::Numpad0 + 4, -1, key::Left },
        { vk::Numpad0 + 6, -1, key::Right },
        { vk::Numpad0 + 8, -1, key::Up },
        { vk::Numpad0 + 0, -1, key::Decide },
        { vk::Numpad0 + 9, -1, askToQuit },
        { vk::Numpad0 + 1, -1, key::Left },
        { vk::PageUp, -1, key::PageUp },
        { vk::PageDown, -1, key::PageDown },
        { vk::End, -1, key::ListEnd },
        { vk::Home, -1, key::ListStart },
    };

    void askQuitQuestion(Context& ctx)
    {
        BoxAnswer answer = showMessageBox(ctx, message(ctx, Message::QuitCaption), message(ctx, Message::QuitText), BoxButtons::YesNo,
            BoxIcon::Question);
        // Built from a character: assigning a string literal here trips a false GCC 12
        // -Wrestrict warning at -O3.
        if (answer == BoxAnswer::Yes)
            ctx.input.keyCode = std::string(1, key::Quit[0]);
    }

} // namespace

void PollInput(Context& ctx)
{
    musicKeepAlive(ctx);
    ctx.input.keyCode.clear();
    Platform& p = ctx.platform;
    // The close box is answered with the same question as Esc, so the game is left only
    // through its own quit path.
    bool closeRequested = p.takeCloseRequest();
    if (!p.isActive() && !closeRequested)
        return;
    for (const KeyRule& rule : keyTable) {
        bool held = p.keyHeld(rule.key);
        if (!held && rule.configured >= 0) {
            int configured = ctx.input.configuredKeys[static_cast<size_t>(rule.configured)];
            held = configured != 0 && p.keyHeld(configured);
        }
        if (!held)
            continue;
        if (rule.code == askToQuit) {
            askQuitQuestion(ctx);
            return;
        }
        ctx.input.keyCode = std::string(rule.code);
    }
    if (closeRequested)
        askQuitQuestion(ctx);
}

bool anyInputHeld(Context& ctx)
{
    return !ctx.input.keyCode.empty() || ctx.platform.pointerHeld(0) || ctx.platform.pointerHeld(1);
}

int CaptureKey(Context& ctx)
{
    for (;;) {
        for (int k = 0; k < 240; ++k) {
            if (k != 25 && k != vk::Tab && ctx.platform.keyHeld(k))
                return k;
        }
        ctx.platform.frame();
    }
}

} // namespace vorn
