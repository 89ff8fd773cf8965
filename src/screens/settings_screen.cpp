// The settings screen: music, sound effects, moving people, walking speed, when enemies are met,
// and the six configured keys.
#include "core/context.h"
#include "core/input.h"
#include "core/sound.h"
#include "screens/field_menu.h"
#include "screens/screen_lines.h"
#include "ui/text_cells.h"
#include "ui/windows.h"

namespace vorn {

namespace {

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
    for (int s = 0; s <= 5; ++s)
        PrintLine(ctx, "  " + toFullWidthDigits(std::to_string(s)));
    int choice = chooseAt(ctx, 16, 8, 5, 6);
    if (choice != 0)
        ctx.settings.walkDelay = static_cast<float>(choice - 1);
}

Message keyPrompt(ConfiguredKey key)
{
    return static_cast<Message>(static_cast<int>(Message::KeyPromptUp) + static_cast<int>(key));
}

void ConfigureKeys(Context& ctx)
{
    RedrawMessageWindow(ctx);
    WaitRelease(ctx);
    for (size_t k = 0; k < ctx.input.configuredKeys.size(); ++k) {
        PrintLine(ctx, message(ctx, keyPrompt(static_cast<ConfiguredKey>(k))));
        WaitRelease(ctx);
        ctx.input.configuredKeys[k] = CaptureKey(ctx);
    }
    // The last key is let go before the settings menu's cursor runs, which would take its
    // release as a choice (the new cancel key would close the menu).
    WaitRelease(ctx);
}

void SettingsScreen(Context& ctx)
{
    Settings& s = ctx.settings;
    for (;;) {
        switch (chooseFromMenu(ctx, MenuKind::Settings)) {
        case 0:
            return;
        case settings_menu::Music:
            // The name is cleared with the music; the field starts its map music again once the
            // switch is on.
            stopMusic(ctx);
            flip(s.musicOn);
            if (!ctx.sound.musicName.empty())
                playMusic(ctx);
            break;
        case settings_menu::Sound:
            closeSoundChannel(ctx);
            flip(s.soundOn);
            break;
        case settings_menu::People:
            flip(s.walkAnim);
            break;
        case settings_menu::Speed:
            ChooseSpeed(ctx);
            break;
        case settings_menu::Encounters:
            flip(s.encounterMode);
            break;
        case settings_menu::Keys:
            ConfigureKeys(ctx);
            break;
        default:
            break;
        }
    }
}

} // namespace vorn
