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

namespace {

    enum FieldCommand { Magic = 1,
        Items,
        Status,
        Formation,
        Save,
        Load,
        Options,
        Quit };

} // namespace

void QuitConfirmation(Context& ctx)
{
    say(ctx, Message::ReallyQuit);
    if (chooseFromMenu(ctx, MenuKind::YesNo, { 8, 6, 6, 4 }) == 1)
        quitGame(ctx);
}

FieldMenuResult FieldMenu(Context& ctx)
{
    ctx.windows.inBattle = 0;
    // The key or button that opened the menu is let go first: the cursor loop would otherwise
    // take its release as the choice of the first entry.
    WaitRelease(ctx);
    for (;;) {
        int command = chooseFromMenu(ctx, MenuKind::FieldMenu, { 1, 1, 8, 10 });
        switch (command) {
        case 0:
            return FieldMenuResult::Closed;
        case Magic:
        case Items:
            // A town warp has set the map to enter, placed by the map's own entry values; the
            // arrival event of an earlier map change does not run there. Any other use comes back
            // to the menu.
            if (UseSpellOrItem(ctx, command == Magic ? UseSource::Spells : UseSource::Items) == choice::townWarp) {
                ctx.map.entry = EntryArguments {};
                return FieldMenuResult::EnterMap;
            }
            break;
        case Status:
            StatusCommand(ctx);
            break;
        case Formation:
            FormationCommand(ctx);
            break;
        case Save:
            SaveCommand(ctx);
            break;
        case Load:
            if (LoadCommand(ctx)) {
                prepareLoadedMapEntry(ctx);
                return FieldMenuResult::EnterMap;
            }
            break;
        case Options:
            SettingsScreen(ctx);
            break;
        case Quit:
            QuitConfirmation(ctx);
            break;
        default:
            break;
        }
    }
}

} // namespace vorn
