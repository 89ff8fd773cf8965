// The status screen: a page of the member's figures, then a page of spells, items and gold.
#include "core/context.h"
#include "data/record.h"
#include "platform/encoding.h"
#include "rules/inventory.h"
#include "screens/field_menu.h"
#include "screens/screen_kit.h"
#include "screens/screen_texts.h"
#include "ui/print_line.h"
#include "ui/text_cells.h"
#include "ui/inventory_menus.h"
#include "ui/windows.h"

#include <algorithm>

namespace vorn {

namespace {

    constexpr int spellsKind = 2, itemsKind = 7, nextKind = 8, backKind = 9;
    constexpr float lowHpColour = 5, normalColour = 15;

    const Character& memberAt(const Context& ctx, int member)
    {
        return *memberRecord(ctx.db, std::clamp(member, 0, capacity::characters - 1));
    }

    std::string conditionText(const Character& ch)
    {
        if (ch.hp == 0)
            return "絶";
        static constexpr const char* letters[] = { "眠", "狂", "呪", "毒", "痺", "石", "封", "闇" };
        std::string text;
        for (size_t c = 0; c < std::size(letters); ++c) {
            if (ch.conditions[c] > 0)
                text += letters[c];
        }
        return text.empty() ? "良" : text;
    }

    std::string attributeName(const Context& ctx, const Character& ch)
    {
        int row = roundIndex(ch.attribute);
        return row >= 0 && row < capacity::attributes ? ctx.db.attributes[static_cast<size_t>(row)].name : "";
    }

    std::string figurePair(const char* label, float value, const char* between, float other)
    {
        return utf8ToCp932(label) + FormatRight(value, 4) + utf8ToCp932(between) + FormatRight(other, 4);
    }

    // A window of one line at tile (x, y), width parameter 11.
    void oneLineWindow(Context& ctx, float x, float y, const char* utf8)
    {
        WindowState& w = ctx.windows;
        w.winX = x;
        w.winY = y;
        w.winW = 11;
        w.winH = 3;
        DrawWindow(ctx);
        printText(ctx, utf8ToCp932(utf8), PrintStyle::Menu);
    }

    // Page 1; returns false when the player cancelled.
    bool figuresPage(Context& ctx, int member)
    {
        WindowState& w = ctx.windows;
        const Character& ch = memberAt(ctx, member);
        w.winX = 9;
        w.winY = 4;
        w.winW = 14;
        w.winH = 16;
        DrawWindow(ctx);
        if (lowHitPoints(ch.hp, ch.maxHp))
            w.textColor = lowHpColour;
        for (const std::string& line : statusLines(ctx, member))
            printText(ctx, line, PrintStyle::Menu);
        w.textColor = normalColour;
        return menuChoice(ctx, nextKind, 10, 20, 5, 3, 1) != 0;
    }

    // Page 2; returns true when the player chose "back".
    bool listsPage(Context& ctx, int member)
    {
        WindowState& w = ctx.windows;
        const Character& ch = memberAt(ctx, member);
        w.menuMember = static_cast<float>(member);
        w.paged = 1;
        int spells = std::clamp(roundIndex(ch.spellCount), 0, capacity::spellList);
        int items = std::clamp(roundIndex(ch.itemCount), 0, capacity::inventory);
        if (spells > 0)
            showMenu(ctx, spellsKind, 4, 4, 11, static_cast<float>(spells + 2));
        else
            oneLineWindow(ctx, 4, 4, screen_text::noSpells);
        if (items > 0)
            showMenu(ctx, itemsKind, 16, 4, 11, static_cast<float>(items + 2));
        else
            oneLineWindow(ctx, 16, 4, screen_text::noItems);
        ShowGold(ctx);
        w.paged = 0;
        return menuChoice(ctx, backKind, 10, 20, 5, 3, 1) != 0;
    }

} // namespace

bool lowHitPoints(float hp, float maxHp) { return hp < maxHp / 4; }

float shownHitRate(const Context& ctx, int member)
{
    const Character& ch = memberAt(ctx, member);
    const Item* weapon = ch.equipment[0] == 0 ? nullptr : itemRecord(ctx.db, ch.equipment[0] - 1);
    return weapon ? (ch.hitRate + weapon->hitRate) / 2 : ch.hitRate;
}

std::vector<std::string> statusLines(const Context& ctx, int member)
{
    const Character& ch = memberAt(ctx, member);
    auto bonus = [&](Bonus which) { return equippedBonus(ctx.db, ch, which); };
    return {
        utf8ToCp932("名前：『") + ch.name + utf8ToCp932("』"),
        utf8ToCp932("属性：") + attributeName(ctx, ch),
        utf8ToCp932("状態：" + conditionText(ch)),
        "",
        utf8ToCp932("レベル：    ") + FormatRight(ch.level, 2),
        figurePair("体　　　力：　", ch.hp, "／　", ch.maxHp),
        figurePair("魔　　　力：　", ch.mp, "／　", ch.maxMp),
        utf8ToCp932("経　験　値：") + FormatRight(ch.exp, 6) + utf8ToCp932("／") + FormatRight(ch.nextExp, 6),
        "",
        figurePair("攻　撃　力：　", ch.attack, "＋　", bonus(Bonus::Attack)),
        figurePair("防　御　力：　", ch.defense, "＋　", bonus(Bonus::Defense)),
        figurePair("速　　　さ：　", ch.speed, "＋　", bonus(Bonus::Speed)),
        figurePair("魔法防御力：　", ch.magicDefense, "＋　", bonus(Bonus::MagicDefense)),
        utf8ToCp932("攻撃命中率：　") + FormatRight(shownHitRate(ctx, member), 4) + utf8ToCp932("％"),
    };
}

void ShowStatus(Context& ctx)
{
    int member = std::clamp(roundIndex(ctx.windows.menuMember), 0, capacity::characters - 1);
    while (figuresPage(ctx, member)) {
        if (listsPage(ctx, member))
            return;
    }
}

void StatusCommand(Context& ctx)
{
    for (;;) {
        ctx.windows.menuMember = 0;
        bool several = partyLastIndex(ctx.db) > 0;
        if (several && ChooseMember(ctx, 5, 2) == 0)
            return;
        ShowStatus(ctx);
        if (!several)
            return;
    }
}

} // namespace vorn
