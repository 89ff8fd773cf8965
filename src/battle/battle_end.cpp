// Leaving the fight: beaten and fleeing enemies, the victory with its rewards and level-ups,
// the dropped items, fainting members, the end of every battle and the game over.
#include "battle/battle.h"

#include "core/context.h"
#include "core/messages.h"
#include "core/sound.h"
#include "data/record.h"
#include "field/field_ops.h"
#include "rules/battle_rules.h"
#include "rules/inventory.h"
#include "ui/text_cells.h"
#include "ui/windows.h"

#include <algorithm>

namespace vorn {

namespace {

    Character& memberAt(Context& ctx, int member)
    {
        return ctx.db.characters[static_cast<std::size_t>(std::clamp(member, 0, capacity::characters - 1))];
    }

    BattleEnemy& slotAt(Context& ctx, int slot)
    {
        return ctx.battle.enemies[static_cast<std::size_t>(std::clamp(slot, 0, battleSlots - 1))];
    }

    // A slot leaves the fight: no HP, one enemy fewer, and its action (if still to come) is
    // taken off the round.
    void slotLeaves(Context& ctx, BattleEnemy& e)
    {
        BattleState& b = ctx.battle;
        e.hp = 0;
        b.enemiesLeft -= 1;
        if (e.acted == 0) {
            b.actionsLeft -= 1;
            e.acted = 1;
        }
    }

    // The drop of a beaten enemy: RND x 100 + 1 <= dropRate, then the first, second or third
    // entry by a second roll.
    void rollDrop(Context& ctx, int slot)
    {
        BattleState& b = ctx.battle;
        const Enemy& e = enemyRecord(ctx, slot);
        if (!(ctx.random() * 100 + 1 <= e.dropRate))
            return;
        float r = ctx.random() * 100 + 1;
        float chosen = 0;
        if (r < 80 && e.drops[0] != 0)
            chosen = e.drops[0];
        else if (r < 95 && e.drops[1] != 0)
            chosen = e.drops[1];
        else if (e.drops[2] != 0)
            chosen = e.drops[2];
        if (chosen == 0 || b.lootCount >= lootSlots || !itemByNumber(ctx, chosen - 1))
            return;
        b.loot[static_cast<std::size_t>(b.lootCount++)] = LootEntry { chosen - 1, slotAt(ctx, slot).enemyNumber };
    }

    bool anyMemberStanding(const Context& ctx)
    {
        for (int m = 0; m <= partyLast(ctx); ++m) {
            if (ctx.db.characters[static_cast<std::size_t>(m)].hp > 0)
                return true;
        }
        return false;
    }

    const std::string& itemName(const Context& ctx, float item)
    {
        static const std::string none;
        const Item* it = itemByNumber(ctx, item);
        return it ? it->text[0] : none;
    }

    // The reason a member cannot take an item, or "" when it can.
    std::string refusal(const Context& ctx, int member)
    {
        const Character& c = ctx.db.characters[static_cast<std::size_t>(member)];
        MemberRefusal why = MemberRefusal::None;
        if (c.hp <= 0)
            why = MemberRefusal::Fainted;
        else if (c.conditions[condition::confusion] != 0)
            why = MemberRefusal::Confused;
        else if (c.conditions[condition::curse] != 0)
            why = MemberRefusal::Cursed;
        else if (c.conditions[condition::paralysis] != 0)
            why = MemberRefusal::Paralysed;
        else if (c.conditions[condition::petrification] != 0)
            why = MemberRefusal::Petrified;
        else if (c.conditions[condition::sleep] != 0)
            why = MemberRefusal::Asleep;
        if (why != MemberRefusal::None)
            return refusalText(ctx, why, c.name);
        int slots = std::clamp(roundIndex(ctx.db.sizes.inventorySlots), 0, capacity::inventory);
        if (c.itemCount >= static_cast<float>(slots))
            return message(ctx, Message::InventoryFull);
        return {};
    }

    void say(Context& ctx, const std::string& cp932)
    {
        battleLine(ctx, cp932);
        WaitPage(ctx);
    }

    // The member menu of the loot: the chosen member, or -1 when cancelled.
    int chooseTaker(Context& ctx)
    {
        battleLine(ctx, message(ctx, Message::WhoTakesLoot));
        Picture under = ctx.platform.screen();
        int choice = chooseFromMenu(ctx, MenuKind::Members, { 1, 2 });
        restorePixels(ctx.platform.screen(), under);
        return choice - 1;
    }

    void giveOne(Context& ctx, const LootEntry& entry)
    {
        int enemyNumber = std::clamp(roundIndex(entry.enemyNumber), 0, capacity::enemies - 1);
        const std::string& item = itemName(ctx, entry.item);
        say(ctx, formatMessage(ctx, Message::EnemyCarried, { { "enemy", ctx.db.enemies[static_cast<std::size_t>(enemyNumber)].name }, { "item", item } }));
        for (;;) {
            int taker = partyLast(ctx) == 0 ? 0 : chooseTaker(ctx);
            if (taker < 0) {
                say(ctx, formatMessage(ctx, Message::LootLeft, { { "member", memberAt(ctx, 0).name }, { "item", item } }));
                return;
            }
            std::string refused = refusal(ctx, taker);
            if (refused.empty()) {
                Character& c = memberAt(ctx, taker);
                int k = std::clamp(roundIndex(c.itemCount), 0, capacity::inventory - 1);
                const Item* it = itemByNumber(ctx, entry.item);
                c.inventory[static_cast<std::size_t>(k)] = { entry.item, 0, it ? it->uses : 0 };
                c.itemCount = static_cast<float>(k + 1);
                say(ctx, formatMessage(ctx, Message::Obtained, { { "member", c.name }, { "item", item } }));
                return;
            }
            say(ctx, refused);
            if (partyLast(ctx) == 0) {
                say(ctx, formatMessage(ctx, Message::LootLeft, { { "member", memberAt(ctx, 0).name }, { "item", item } }));
                return;
            }
        }
    }

} // namespace

void DefeatEnemy(Context& ctx, int slot)
{
    BattleState& b = ctx.battle;
    BattleEnemy& e = slotAt(ctx, slot);
    eraseEnemy(ctx, slot);
    ShowBattleMessage(ctx, formatMessage(ctx, Message::EnemyBeaten, { { "enemy", e.name } }));
    rollDrop(ctx, slot);
    b.expTotal += e.exp;
    b.goldTotal += e.gold;
    slotLeaves(ctx, e);
    if (b.enemiesLeft < 0)
        b.result = BattleResult::Victory;
}

void EnemyFlees(Context& ctx, int slot)
{
    BattleState& b = ctx.battle;
    BattleEnemy& e = slotAt(ctx, slot);
    playSound(ctx, "esc");
    eraseEnemy(ctx, slot);
    ShowBattleMessage(ctx, formatMessage(ctx, Message::EnemyFled, { { "enemy", e.name } }));
    slotLeaves(ctx, e);
    if (b.enemiesLeft < 0)
        b.result = b.expTotal == 0 ? BattleResult::EnemiesFled : BattleResult::Victory;
}

void MemberFaints(Context& ctx, int member)
{
    BattleState& b = ctx.battle;
    Character& c = memberAt(ctx, member);
    battleLine(ctx, formatMessage(ctx, Message::MemberFainted, { { "member", c.name } }));
    c.conditions.fill(0);
    redrawPartyPanel(ctx);
    WaitPage(ctx);
    if (!anyMemberStanding(ctx)) {
        b.result = BattleResult::Defeat;
        return;
    }
    BattleStats& stats = b.members[static_cast<std::size_t>(std::clamp(member, 0, capacity::characters - 1))];
    if (stats.acted == 0) {
        b.actionsLeft -= 1;
        stats.acted = 1;
    }
}

void WinBattle(Context& ctx)
{
    BattleState& b = ctx.battle;
    if (b.expTotal == 0) {
        EndBattle(ctx);
        return;
    }
    closeMusic(ctx);
    playSound(ctx, "win");
    battleLine(ctx, formatMessage(ctx, Message::BattleWon, { { "member", memberAt(ctx, roundIndex(b.actingMember)).name } }));
    battleLine(ctx, formatMessage(ctx, Message::ExpWon, { { "exp", FormatRight(b.expTotal, 6) } }));
    battleLine(ctx, formatMessage(ctx, Message::GoldWon, { { "gold", FormatRight(b.goldTotal, 6) } }));
    ctx.game.gold += b.goldTotal;
    for (int m = 0; m <= partyLast(ctx); ++m) {
        Character& c = memberAt(ctx, m);
        if (c.nextExp != 0 && c.hp > 0)
            c.exp += b.expTotal;
    }
    WaitPage(ctx);
    for (int m = 0; m <= partyLast(ctx); ++m)
        LevelUpCheck(ctx, m);
    GiveLoot(ctx);
    EndBattle(ctx);
}

void LevelUpCheck(Context& ctx, int member)
{
    Character& c = memberAt(ctx, member);
    while (levelUpDue(ctx, member)) {
        battleLine(ctx, formatMessage(ctx, Message::LevelUp, { { "member", c.name } }));
        int learnt = applyLevelUp(ctx, member);
        if (learnt >= 0 && learnt < capacity::spells)
            battleLine(ctx, formatMessage(ctx, Message::SpellLearnt, { { "member", c.name }, { "spell", ctx.db.spells[static_cast<std::size_t>(learnt)].text[0] } }));
        ShowHpGauge(ctx, member);
        ShowMpGauge(ctx, member);
        WaitPage(ctx);
    }
}

void GiveLoot(Context& ctx)
{
    BattleState& b = ctx.battle;
    while (b.lootCount > 0) {
        LootEntry entry = b.loot[static_cast<std::size_t>(--b.lootCount)];
        giveOne(ctx, entry);
    }
}

void EndBattle(Context& ctx)
{
    BattleState& b = ctx.battle;
    for (int m = 0; m < capacity::characters; ++m) {
        for (float& counter : memberAt(ctx, m).conditions) {
            if (counter != 999)
                counter = 0;
        }
    }
    stopMusic(ctx);
    ctx.sound.musicName = b.rememberedMusic;
    ctx.windows.inBattle = 0;
    b.counterattack = b.attackAll = b.multiTarget = b.confusedTarget = false;
    refreshField(ctx);
    nextFrame(ctx);
}

void GameOver(Context& ctx)
{
    WindowState& w = ctx.windows;
    stopMusic(ctx);
    closeSoundChannel(ctx);
    ctx.input.keyCode.clear();
    ctx.transcript.write("state", "game over");
    for (int k = 0; k < 3; ++k)
        PrintBlankLine(ctx);
    float size = w.fontSize;
    w.fontSize = 22;
    applyWindowFont(ctx);
    battleLine(ctx, message(ctx, Message::GameOver));
    w.fontSize = size;
    applyWindowFont(ctx);
    PrintBlankLine(ctx);
    WaitPage(ctx);
    ctx.windows.inBattle = 0;
    throw GameOverRestart {};
}

} // namespace vorn
