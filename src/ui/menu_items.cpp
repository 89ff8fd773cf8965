// The item lists of the menu kinds, built from fixed texts or from the game state.
#include "core/context.h"
#include "core/party.h"
#include "core/messages.h"
#include "rules/effects.h"
#include "ui/text_cells.h"
#include "ui/window_art.h"
#include "ui/windows.h"

#include <algorithm>

namespace vorn {

namespace {

    std::vector<std::string> fixed(const Context& ctx, std::initializer_list<Message> texts)
    {
        std::vector<std::string> items;
        for (Message text : texts)
            items.push_back(message(ctx, text));
        return items;
    }

    const Character* member(const Context& ctx, float index)
    {
        int i = toInt(index);
        if (i < 0 || i >= capacity::characters)
            return nullptr;
        return &ctx.db.characters[static_cast<std::size_t>(i)];
    }

    std::vector<std::string> spellItems(const Context& ctx)
    {
        std::vector<std::string> items;
        const Character* c = member(ctx, ctx.windows.menuMember);
        if (!c)
            return items;
        int count = std::clamp(toInt(c->spellCount), 0, capacity::spellList);
        for (int k = 0; k < count; ++k) {
            int spell = toInt(c->spells[static_cast<std::size_t>(k)]);
            std::string name = spell >= 0 && spell < capacity::spells ? ctx.db.spells[static_cast<std::size_t>(spell)].text[0] : "";
            items.push_back(ctx.windows.paging != Paging::None ? name : "  " + name);
        }
        return items;
    }

    std::vector<std::string> inventoryItems(const Context& ctx)
    {
        std::vector<std::string> items;
        const Character* c = member(ctx, ctx.windows.menuMember);
        if (!c)
            return items;
        int count = std::clamp(toInt(c->itemCount), 0, capacity::inventory);
        for (int k = 0; k < count; ++k) {
            const auto& entry = c->inventory[static_cast<std::size_t>(k)];
            int item = toInt(entry[InventoryItem]);
            std::string name = item >= 0 && item < capacity::items ? ctx.db.items[static_cast<std::size_t>(item)].text[0] : "";
            std::string text = ctx.windows.paging != Paging::None ? name : "  " + name;
            if (entry[InventoryEquipped] >= 2)
                text += message(ctx, Message::EquippedMark);
            if (entry[InventoryUses] == 999)
                text += message(ctx, Message::UnlimitedUses);
            else
                text += " (" + decimalText(entry[InventoryUses]) + ")";
            items.push_back(text);
        }
        return items;
    }

    // "  1:00/12/31  23:59:59": the slot number and its label's date and time; a slot whose file
    // cannot be read says so.
    std::vector<std::string> slotItems(const Context& ctx)
    {
        std::vector<std::string> items;
        for (std::size_t slot = 0; slot < ctx.saves.labels.size(); ++slot) {
            const std::string& label = ctx.saves.labels[slot];
            std::string when = label;
            if (ctx.saves.unreadable[slot]) {
                when = message(ctx, Message::UnreadableSlot);
            } else if (label.size() == 12) {
                when = label.substr(0, 2) + "/" + label.substr(2, 2) + "/" + label.substr(4, 2) + "  "
                    + label.substr(6, 2) + ":" + label.substr(8, 2) + ":" + label.substr(10, 2);
            }
            items.push_back("  " + std::to_string(slot + 1) + ":" + when);
        }
        return items;
    }

    std::vector<std::string> memberNames(const Context& ctx)
    {
        std::vector<std::string> items;
        for (int m = 0; m <= partyLast(ctx.db); ++m)
            items.push_back("  " + ctx.db.characters[static_cast<std::size_t>(m)].name);
        return items;
    }

    std::vector<std::string> statusPanelLines(const Context& ctx)
    {
        int members = partyLast(ctx.db) + 1;
        int columnTiles = std::max(0, toInt((ctx.windows.panelW - 5) / static_cast<float>(members)));
        std::string names(8, ' ');
        for (int m = 0; m < members; ++m)
            names += fitBytes(ctx.db.characters[static_cast<std::size_t>(m)].name, static_cast<std::size_t>(columnTiles) * 2);
        std::vector<std::string> items { names };
        for (const std::string& label : fixed(ctx, { Message::PanelConditions, Message::PanelHp, Message::PanelMp }))
            items.push_back(label);
        return items;
    }

    std::vector<std::string> formationNames(const Context& ctx)
    {
        std::vector<std::string> items;
        for (float index : ctx.windows.formationOrder) {
            if (const Character* c = member(ctx, index))
                items.push_back(c->name);
        }
        return items;
    }

    std::vector<std::string> shopStockItems(const Context& ctx)
    {
        std::vector<std::string> items;
        for (float number : ctx.windows.shopStock) {
            int item = toInt(number);
            if (item < 0 || item >= capacity::items) {
                items.push_back("");
                continue;
            }
            items.push_back("  " + shopLine(ctx.db.items[static_cast<std::size_t>(item)]));
        }
        return items;
    }

    const std::string& onOff(const Context& ctx, float value) { return message(ctx, value == 1 ? Message::SwitchOn : Message::SwitchOff); }

    std::vector<std::string> settingsItems(const Context& ctx)
    {
        const Settings& s = ctx.settings;
        auto line = [&](Message id, const std::string& setting) { return formatMessage(ctx, id, { { "setting", setting } }); };
        return {
            line(Message::SettingsMusic, onOff(ctx, s.musicOn)),
            line(Message::SettingsSound, onOff(ctx, s.soundOn)),
            line(Message::SettingsWalkers, onOff(ctx, s.walkAnim)),
            line(Message::SettingsSpeed, toFullWidthDigits(FormatRight(s.walkDelay, 1))),
            line(Message::SettingsEncounters,
                message(ctx, s.encounterMode == 1 ? Message::EncountersWhileWalking : Message::EncountersWhileStanding)),
            message(ctx, Message::SettingsKeys),
        };
    }

    // The towns a town warp can reach, by the names of their maps.
    std::vector<std::string> townNames(const Context& ctx)
    {
        std::vector<std::string> items;
        for (int town : warpTowns(ctx.db))
            items.push_back("  " + ctx.db.encounters[static_cast<std::size_t>(town)].name);
        return items;
    }

} // namespace

std::string shopLine(const Item& item) { return fitBytes(item.text[0], 20) + FormatRight(item.price, 8); }

void buildMenuItems(Context& ctx, MenuKind kind)
{
    std::vector<std::string> items;
    const FixedItems& fixedItems = menuKindInfo(kind).items;
    for (int i = 0; i < fixedItems.count; ++i)
        items.push_back(message(ctx, fixedItems.texts[static_cast<std::size_t>(i)]));
    switch (kind) {
    case MenuKind::Spells:
        items = spellItems(ctx);
        break;
    case MenuKind::Members:
        items = memberNames(ctx);
        break;
    case MenuKind::SaveSlots:
        items = slotItems(ctx);
        break;
    case MenuKind::Items:
        items = inventoryItems(ctx);
        break;
    case MenuKind::Gold:
        items = { formatMessage(ctx, Message::GoldLabel, { { "gold", FormatRight(ctx.game.gold, 8) } }) };
        break;
    case MenuKind::PartyStatus:
        items = statusPanelLines(ctx);
        break;
    case MenuKind::Formation:
        items = formationNames(ctx);
        break;
    case MenuKind::ShopStock:
        items = shopStockItems(ctx);
        break;
    case MenuKind::Settings:
        items = settingsItems(ctx);
        break;
    case MenuKind::Towns:
        items = townNames(ctx);
        break;
    default:
        // The kinds of fixed items are built from the kind table above; the shop's names alone
        // and the other data lists are built by the screens that use them.
        break;
    }
    ctx.windows.menuItems = std::move(items);
}

} // namespace vorn
