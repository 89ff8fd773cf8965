// The settings screen: music, sound effects, moving people, walking speed, when enemies are met,
// and the six configured keys.
#include "core/context.h"
#include "core/input.h"
#include "core/sound.h"
#include "platform/encoding.h"
#include "screens/field_menu.h"
#include "screens/screen_kit.h"
#include "screens/screen_texts.h"
#include "ui/text_cells.h"
#include "ui/windows.h"

namespace vorn {

namespace {

    constexpr int settingsKind = 20;

    enum SettingsItem { Music = 1,
        Sound,
        People,
        Speed,
        Encounters,
        Keys };

    void flip(float& value) { value = -value; }

} // namespace

void ChooseSpeed(Context& ctx)
{
    WindowState& w = ctx.windows;
    w.winX = 16;
    w.winY = 8;
    w.winW = 5;
    w.winH = 8;
    DrawWindow(ctx);
    for (int s = 0; s <= 5; ++s) {
        w.lineText = "  " + toFullWidthDigits(std::to_string(s));
        PrintLine(ctx);
    }
    w.cursorX = 16;
    w.cursorY = 8;
    w.itemCount = 6;
    w.paged = 0;
    ChooseItem(ctx);
    if (w.choice != 0)
        ctx.settings.walkDelay = w.choice - 1;
}

void ConfigureKeys(Context& ctx)
{
    RedrawMessageWindow(ctx);
    WaitRelease(ctx);
    for (size_t k = 0; k < screen_text::keyPrompts.size(); ++k) {
        printUtf8(ctx, screen_text::keyPrompts[k]);
        WaitRelease(ctx);
        ctx.input.configuredKeys[k] = CaptureKey(ctx);
    }
}

void SettingsScreen(Context& ctx)
{
    Settings& s = ctx.settings;
    for (;;) {
        switch (menuChoice(ctx, settingsKind, 8, 1, 10, 8, 6)) {
        case 0:
            return;
        case Music:
            // The name is cleared with the music; the field starts its map music again once the
            // switch is on.
            stopMusic(ctx);
            flip(s.musicOn);
            if (!ctx.sound.musicName.empty())
                playMusic(ctx);
            break;
        case Sound:
            closeSoundChannel(ctx);
            flip(s.soundOn);
            break;
        case People:
            flip(s.walkAnim);
            break;
        case Speed:
            ChooseSpeed(ctx);
            break;
        case Encounters:
            flip(s.encounterMode);
            break;
        case Keys:
            ConfigureKeys(ctx);
            break;
        default:
            break;
        }
    }
}

} // namespace vorn
