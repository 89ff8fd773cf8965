// The item lists of the menu kinds, built from fixed texts or from the game state.
#include "core/context.h"
#include "platform/encoding.h"
#include "ui/text_cells.h"
#include "ui/window_art.h"
#include "ui/windows.h"

#include <algorithm>

namespace vorn {

namespace {

    std::vector<std::string> fixed(std::initializer_list<const char*> utf8)
    {
        std::vector<std::string> items;
        for (const char* text : utf8)
            items.push_back(utf8ToCp932(text));
        return items;
    }

    // Index of the party's last member, within the roster.
    int partyLast(const Context& ctx) { return std::clamp(toInt(ctx.db.sizes.lastCharacter), 0, capacity::characters - 1); }

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
            items.push_back(ctx.windows.paged != 0 ? name : "  " + name);
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
            std::string text = ctx.windows.paged != 0 ? name : "  " + name;
            if (entry[InventoryEquipped] >= 2)
                text += utf8ToCp932("≪");
            if (entry[InventoryUses] == 999)
                text += utf8ToCp932(" (無)");
            else
                text += " (" + decimalText(entry[InventoryUses]) + ")";
            items.push_back(text);
        }
        return items;
    }

    // "  1:00/12/31  23:59:59": the slot number and its label's date and time.
    std::vector<std::string> slotItems(const Context& ctx)
    {
        std::vector<std::string> items;
        for (std::size_t slot = 0; slot < ctx.saves.labels.size(); ++slot) {
            const std::string& label = ctx.saves.labels[slot];
            std::string when = label;
            if (label.size() == 12) {
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
        for (int m = 0; m <= partyLast(ctx); ++m)
            items.push_back("  " + ctx.db.characters[static_cast<std::size_t>(m)].name);
        return items;
    }

    std::vector<std::string> statusPanelLines(const Context& ctx)
    {
        int members = partyLast(ctx) + 1;
        int columnTiles = std::max(0, toInt((ctx.windows.panelW - 5) / static_cast<float>(members)));
        std::string names(8, ' ');
        for (int m = 0; m < members; ++m)
            names += fitBytes(ctx.db.characters[static_cast<std::size_t>(m)].name, static_cast<std::size_t>(columnTiles) * 2);
        std::vector<std::string> items { names };
        for (const std::string& label : fixed({ "状態：", "体力：", "魔力：" }))
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
            const Item& it = ctx.db.items[static_cast<std::size_t>(item)];
            items.push_back("  " + fitBytes(it.text[0], 20) + FormatRight(it.price, 8));
        }
        return items;
    }

    std::string onOff(float value) { return utf8ToCp932(value == 1 ? "ＯＮ" : "ＯＦＦ"); }

    std::vector<std::string> settingsItems(const Context& ctx)
    {
        const Settings& s = ctx.settings;
        std::string speed = toFullWidthDigits(FormatRight(s.walkDelay, 1));
        return {
            utf8ToCp932("  ＢＧＭ  ") + onOff(s.musicOn),
            utf8ToCp932("  効果音  ") + onOff(s.soundOn),
            utf8ToCp932("  人移動  ") + onOff(s.walkAnim),
            utf8ToCp932("  速　度  ") + speed,
            utf8ToCp932("  敵遭遇  ") + utf8ToCp932(s.encounterMode == 1 ? "移動時" : "停止時"),
            utf8ToCp932("  キー設定  "),
        };
    }

} // namespace

void buildMenuItems(Context& ctx)
{
    std::vector<std::string> items;
    switch (toInt(ctx.windows.menuKind)) {
    case 1:
        items = fixed({ "  攻  撃", "  魔  法", "  逃げる", "  道  具", "  オート" });
        break;
    case 2:
        items = spellItems(ctx);
        break;
    case 3:
        items = fixed({ "  使  う", "  装  備", "  渡  す", "  捨てる", "  説  明" });
        break;
    case 5:
        items = memberNames(ctx);
        break;
    case 6:
        items = slotItems(ctx);
        break;
    case 7:
        items = inventoryItems(ctx);
        break;
    case 8:
        items = fixed({ "  次へ" });
        break;
    case 9:
        items = fixed({ "  戻る" });
        break;
    case 10:
        items = fixed({ "  は  い", "  いいえ" });
        break;
    case 11:
        items = { utf8ToCp932("所持金  ") + FormatRight(ctx.game.gold, 8) };
        break;
    case 12:
        items = statusPanelLines(ctx);
        break;
    case 13:
        items = formationNames(ctx);
        break;
    case 14:
        items = shopStockItems(ctx);
        break;
    case 15:
        items = fixed({ "  買う", "  売る", "  説明" });
        break;
    case 17:
        items = fixed({ "  意識回復", "  状態回復" });
        break;
    case 20:
        items = settingsItems(ctx);
        break;
    case 21:
        items = fixed({ "  魔      法", "  道      具", "  ステータス", "  隊      列", "  セ  ー  ブ", "  ロ  ー  ド",
            "  設      定", "  終      了" });
        break;
    case 23:
        items = fixed({ "  新  規", "  読  込" });
        break;
    case 24:
        items = fixed({ "  装　着", "  最　強", "  はずす", "  無装備" });
        break;
    default:
        // Kinds listing town names, shop names only and the other data lists are built by the
        // screens that use them.
        break;
    }
    ctx.windows.menuItems = std::move(items);
}

} // namespace vorn
