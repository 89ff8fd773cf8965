// The status screen: a page of the member's figures, then a page of spells, items and gold.
#include "core/context.h"
#include "data/record.h"
#include "core/messages.h"
#include "core/party.h"
#include "rules/inventory.h"
#include "screens/field_menu.h"
#include "ui/print_line.h"
#include "ui/text_cells.h"
#include "ui/inventory_menus.h"
#include "ui/windows.h"

#include <algorithm>

namespace vorn {

namespace {

    constexpr float lowHpColour = 5, normalColour = 15;

    const Character& memberAt(const Context& ctx, int member)
    {
        return *memberRecord(ctx.db, std::clamp(member, 0, capacity::characters - 1));
    }

    // cp932: "fainted" at no hit points, else the letters of the conditions held, or "good".
    std::string conditionText(const Context& ctx, const Character& ch)
    {
        using enum Message;
        if (ch.hp == 0)
            return message(ctx, ConditionFainted);
        static constexpr Message letters[] = { ConditionSleep, ConditionMadness, ConditionCurse, ConditionPoison,
            ConditionParalysis, ConditionStone, ConditionSeal, ConditionDark };
        std::string text;
        for (size_t c = 0; c < std::size(letters) && c < ch.conditions.size(); ++c) {
            if (ch.conditions[c] > 0)
                text += message(ctx, letters[c]);
        }
        return text.empty() ? message(ctx, ConditionGood) : text;
    }

    std::string attributeName(const Context& ctx, const Character& ch)
    {
        int row = roundIndex(ch.attribute);
        return row >= 0 && row < capacity::attributes ? ctx.db.attributes[static_cast<size_t>(row)].name : "";
    }

    // A line of a figure and its maximum or bonus, each right-aligned in four characters.
    std::string figurePair(const Context& ctx, Message line, float value, std::string_view otherName, float other)
    {
        return formatMessage(ctx, line, { { "value", FormatRight(value, 4) }, { otherName, FormatRight(other, 4) } });
    }

    // A window of one line at tile (x, y), width parameter 11.
    void oneLineWindow(Context& ctx, float x, float y, Message text)
    {
        WindowState& w = ctx.windows;
        w.winX = x;
        w.winY = y;
        w.winW = 11;
        w.winH = 3;
        DrawWindow(ctx);
        printText(ctx, message(ctx, text), PrintStyle::Menu);
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
        return chooseFromMenu(ctx, MenuKind::Next) != 0;
    }

    // Page 2; returns true when the player chose "back".
    bool listsPage(Context& ctx, int member)
    {
        WindowState& w = ctx.windows;
        const Character& ch = memberAt(ctx, member);
        w.menuMember = static_cast<float>(member);
        w.paging = Paging::Stops; // the lists show names alone
        int spells = std::clamp(roundIndex(ch.spellCount), 0, capacity::spellList);
        int items = std::clamp(roundIndex(ch.itemCount), 0, capacity::inventory);
        if (spells > 0)
            openMenu(ctx, MenuKind::Spells);
        else
            oneLineWindow(ctx, 4, 4, Message::NoSpells);
        if (items > 0)
            openMenu(ctx, MenuKind::Items);
        else
            oneLineWindow(ctx, 16, 4, Message::NoItems);
        ShowGold(ctx);
        w.paging = Paging::None;
        return chooseFromMenu(ctx, MenuKind::Back) != 0;
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
    using enum Message;
    return {
        formatMessage(ctx, StatusName, { { "name", ch.name } }),
        formatMessage(ctx, StatusAttribute, { { "attribute", attributeName(ctx, ch) } }),
        formatMessage(ctx, StatusCondition, { { "conditions", conditionText(ctx, ch) } }),
        "",
        formatMessage(ctx, StatusLevel, { { "level", FormatRight(ch.level, 2) } }),
        figurePair(ctx, StatusHp, ch.hp, "max", ch.maxHp),
        figurePair(ctx, StatusMp, ch.mp, "max", ch.maxMp),
        formatMessage(ctx, StatusExp, { { "exp", FormatRight(ch.exp, 6) }, { "next", FormatRight(ch.nextExp, 6) } }),
        "",
        figurePair(ctx, StatusAttack, ch.attack, "bonus", bonus(Bonus::Attack)),
        figurePair(ctx, StatusDefense, ch.defense, "bonus", bonus(Bonus::Defense)),
        figurePair(ctx, StatusSpeed, ch.speed, "bonus", bonus(Bonus::Speed)),
        figurePair(ctx, StatusMagicDefense, ch.magicDefense, "bonus", bonus(Bonus::MagicDefense)),
        formatMessage(ctx, StatusHitRate, { { "rate", FormatRight(shownHitRate(ctx, member), 4) } }),
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
        bool several = partyLast(ctx.db) > 0;
        if (several && ChooseMember(ctx, 5, 2) == 0)
            return;
        ShowStatus(ctx);
        if (!several)
            return;
    }
}

} // namespace vorn
