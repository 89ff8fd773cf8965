// The field menu's loop, the member chooser and the quit confirmation.
#include "screens/field_menu.h"

#include "battle/battle.h"
#include "core/context.h"
#include "core/quit.h"
#include "screens/saved_games.h"
#include "screens/screen_lines.h"
#include "ui/inventory_menus.h"
#include "ui/windows.h"

namespace vorn {

void QuitConfirmation(Context& ctx)
{
    say(ctx, Message::ReallyQuit);
    if (chooseFromMenu(ctx, MenuKind::YesNo) == yes_no::Yes)
        quitGame(ctx);
}

FieldMenuResult FieldMenu(Context& ctx)
{
    ctx.windows.inBattle = 0;
    // The key or button that opened the menu is let go first: the cursor loop would otherwise
    // take its release as the choice of the first entry.
    WaitRelease(ctx);
    for (;;) {
        int command = chooseFromMenu(ctx, MenuKind::FieldMenu);
        switch (command) {
        case 0:
            return FieldMenuResult::Closed;
        case field_menu::Magic:
        case field_menu::Items:
            // A town warp has set the map to enter, placed by the map's own entry values; the
            // arrival event of an earlier map change does not run there. Any other use comes back
            // to the menu.
            if (UseSpellOrItem(ctx, command == field_menu::Magic ? UseSource::Spells : UseSource::Items) == choice::townWarp) {
                ctx.map.entry = EntryArguments {};
                return FieldMenuResult::EnterMap;
            }
            break;
        case field_menu::Status:
            StatusCommand(ctx);
            break;
        case field_menu::Formation:
            FormationCommand(ctx);
            break;
        case field_menu::Save:
            SaveCommand(ctx);
            break;
        case field_menu::Load:
            if (LoadCommand(ctx)) {
                prepareLoadedMapEntry(ctx);
                return FieldMenuResult::EnterMap;
            }
            break;
        case field_menu::Options:
            SettingsScreen(ctx);
            break;
        case field_menu::Quit:
            QuitConfirmation(ctx);
            break;
        default:
            break;
        }
    }
}

} // namespace vorn
