#include "core/input.h"

#include "core/context.h"
#include "core/dialogs.h"
#include "platform/encoding.h"
#include "core/sound.h"

namespace vorn {

namespace {

    // One row of the key table: the keys tested and the code a held key gives. A code of "?"
    // stands for the quit question.
    struct KeyRule {
        int key;
        int configured; // index of a configured key tested with it, or -1
        const char* code;
    };

    constexpr KeyRule keyTable[] = {
        { vk::Down, static_cast<int>(ConfiguredKey::Down), "2" },
        { vk::Left, static_cast<int>(ConfiguredKey::Left), "4" },
        { vk::Right, static_cast<int>(ConfiguredKey::Right), "6" },
        { vk::Up, static_cast<int>(ConfiguredKey::Up), "8" },
        { vk::Space, static_cast<int>(ConfiguredKey::Decide), "1" },
        { vk::Enter, -1, "1" },
        { vk::Esc, -1, "?" },
        { vk::Ctrl, static_cast<int>(ConfiguredKey::Cancel), "4" },
        { vk::Numpad0 + 2, -1, "2" },
        { vk::Numpad0 + 4, -1, "4" },
        { vk::Numpad0 + 6, -1, "6" },
        { vk::Numpad0 + 8, -1, "8" },
        { vk::Numpad0 + 0, -1, "1" },
        { vk::Numpad0 + 9, -1, "?" },
        { vk::Numpad0 + 1, -1, "4" },
        { vk::PageUp, -1, "7" },
        { vk::PageDown, -1, "3" },
        { vk::End, -1, "5" },
        { vk::Home, -1, "0" },
    };

    void askQuitQuestion(Context& ctx)
    {
        BoxAnswer answer = showMessageBox(ctx, quitQuestionCaption(), quitQuestionText(), BoxButtons::YesNo,
            BoxIcon::Question);
        // Built from a character: assigning a string literal here trips a false GCC 12
        // -Wrestrict warning at -O3.
        if (answer == BoxAnswer::Yes)
            ctx.input.keyCode = std::string(1, '9');
    }

} // namespace

std::string quitQuestionCaption() { return utf8ToCp932("確認"); }
std::string quitQuestionText() { return utf8ToCp932("終了します、よろしいですか？"); }

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
        if (rule.code[0] == '?') {
            askQuitQuestion(ctx);
            return;
        }
        ctx.input.keyCode = std::string(rule.code);
    }
    if (closeRequested)
        askQuitQuestion(ctx);
}

int CaptureKey(Context& ctx)
{
    for (;;) {
        for (int k = 0; k < 240; ++k) {
            if (k != 25 && ctx.platform.keyHeld(k))
                return k;
        }
        ctx.platform.frame();
    }
}

} // namespace vorn
