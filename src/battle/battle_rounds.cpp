// The round loop (who acts next), the member's turn with its command menu and the automatic
// action, the enemy-target cursor and the battle's message lines.
#include "battle/battle.h"
#include "battle/battle_flow.h"

#include "core/context.h"
#include "platform/copy_mode_scope.h"
#include "core/quit.h"
#include "core/input.h"
#include "core/messages.h"
#include "data/record.h"
#include "rules/battle_rules.h"
#include "rules/inventory.h"
#include "ui/window_art.h"
#include "ui/windows.h"

#include <algorithm>

namespace vorn {

namespace {

    constexpr int targetFrameWidth = 3; // pixels

    int lastSlot(const Context& ctx) { return std::clamp(roundIndex(ctx.battle.lastEnemySlot), 0, battleSlots - 1); }

    Character& memberAt(Context& ctx, int member)
    {
        return ctx.db.characters[static_cast<std::size_t>(std::clamp(member, 0, capacity::characters - 1))];
    }

    int membersWithHp(const Context& ctx)
    {
        int count = 0;
        for (int m = 0; m <= partyLast(ctx); ++m)
            count += ctx.db.characters[static_cast<std::size_t>(m)].hp > 0 ? 1 : 0;
        return count;
    }

    int firstEnemyWithHp(const Context& ctx)
    {
        for (int s = 0; s <= lastSlot(ctx); ++s) {
            if (ctx.battle.enemies[static_cast<std::size_t>(s)].hp > 0)
                return s;
        }
        return -1;
    }

    // Random battles: before every action each enemy may run from a party that outclasses it.
    void enemyFlightCheck(Context& ctx)
    {
        if (ctx.game.battleKind != 0)
            return;
        float mean = partyMeanDefense(ctx);
        for (int s = 0; s <= lastSlot(ctx) && !battleOver(ctx); ++s) {
            if (ctx.battle.enemies[static_cast<std::size_t>(s)].hp > 0 && enemyRunsAway(ctx, s, mean))
                EnemyFlees(ctx, s);
        }
    }

    // The fastest actor of one side that has not acted and has HP: the greatest speed wins, an
    // earlier one keeps ties. Actors of speed 0 or less still take their turn (the search has no
    // floor), so every actor acts once per round. -1 when the side has nobody left to act.
    template <typename Speed, typename Ready>
    int fastest(int last, Speed speed, Ready ready, float& best)
    {
        int chosen = -1;
        for (int i = 0; i <= last; ++i) {
            if (!ready(i))
                continue;
            float s = speed(i);
            if (chosen < 0 || s > best) {
                chosen = i;
                best = s;
            }
        }
        return chosen;
    }

    // Steps 3 to 4 of an action: the fastest enemy and member. False when nobody is left to act
    // in this round.
    bool findFastest(Context& ctx, float& enemySpeedOut, float& memberSpeedOut)
    {
        BattleState& b = ctx.battle;
        int enemy = fastest(
            lastSlot(ctx), [&](int s) { return enemySpeed(ctx, s); },
            [&](int s) {
                const BattleEnemy& e = b.enemies[static_cast<std::size_t>(s)];
                return e.acted == 0 && e.hp > 0;
            },
            enemySpeedOut);
        int member = fastest(
            partyLast(ctx), [&](int m) { return memberSpeed(ctx, m); },
            [&](int m) { return b.members[static_cast<std::size_t>(m)].acted == 0 && memberAt(ctx, m).hp > 0; },
            memberSpeedOut);
        b.nextEnemy = static_cast<float>(enemy);
        b.nextMember = static_cast<float>(member);
        return enemy >= 0 || member >= 0;
    }

    // Step 5: the break counter of a scripted battle that lets its script go on.
    bool breakCounterRunsOut(Context& ctx)
    {
        BattleState& b = ctx.battle;
        if (ctx.game.battleKind < 2 || b.breakFlag != 1)
            return false;
        if (b.breakCount <= 0) {
            b.result = BattleResult::Suspended;
            return true;
        }
        b.breakCount -= 1;
        return false;
    }

    // Step 6: the slower side waits; a tie goes to the party.
    void act(Context& ctx)
    {
        BattleState& b = ctx.battle;
        int enemy = roundIndex(b.nextEnemy);
        int member = roundIndex(b.nextMember);
        bool enemyActs = member < 0 || (enemy >= 0 && memberSpeed(ctx, member) < enemySpeed(ctx, enemy));
        if (enemyActs)
            EnemyTurn(ctx, enemy);
        else
            MemberTurn(ctx, member);
    }

} // namespace

bool battleOver(const Context& ctx) { return ctx.battle.result != BattleResult::None; }

void startRound(Context& ctx)
{
    BattleState& b = ctx.battle;
    for (int s = 0; s < battleSlots; ++s) {
        BattleEnemy& e = b.enemies[static_cast<std::size_t>(s)];
        e.acted = e.hp > 0 && s <= lastSlot(ctx) ? 0 : 1;
    }
    for (int m = 0; m < capacity::characters; ++m)
        b.members[static_cast<std::size_t>(m)].acted = memberAt(ctx, m).hp > 0 && m <= partyLast(ctx) ? 0 : 1;
    b.actionsLeft = static_cast<float>(membersWithHp(ctx)) + b.enemiesLeft + 1;
}

void runRounds(Context& ctx, bool resumed)
{
    BattleState& b = ctx.battle;
    if (!resumed)
        startRound(ctx);
    while (!battleOver(ctx)) {
        if (!resumed) {
            enemyFlightCheck(ctx);
            if (battleOver(ctx))
                return;
            b.actionsLeft -= 1;
            float enemyBest = 0, memberBest = 0;
            if (b.actionsLeft < 0 || !findFastest(ctx, enemyBest, memberBest)) {
                startRound(ctx);
                continue;
            }
        }
        resumed = false;
        if (breakCounterRunsOut(ctx))
            return;
        act(ctx);
    }
}

bool StartBattle(Context& ctx)
{
    BattleState& b = ctx.battle;
    bool resumed = ctx.game.battleKind == 3;
    if (resumed) {
        b.result = BattleResult::None;
        ctx.transcript.write("battle", "resumed");
    } else if (!setUpBattle(ctx)) {
        ctx.transcript.write("battle", "no enemy fits");
        return false;
    }
    runRounds(ctx, resumed);
    finishBattle(ctx);
    return true;
}

void finishBattle(Context& ctx)
{
    switch (ctx.battle.result) {
    case BattleResult::Victory:
        ctx.transcript.write("battle", "victory");
        WinBattle(ctx);
        break;
    case BattleResult::Fled:
        ctx.transcript.write("battle", "fled");
        EndBattle(ctx);
        break;
    case BattleResult::EnemiesFled:
        ctx.transcript.write("battle", "enemies fled");
        EndBattle(ctx);
        break;
    case BattleResult::Defeat:
        ctx.transcript.write("battle", "defeat");
        if (ctx.game.battleKind == 0)
            GameOver(ctx);
        EndBattle(ctx);
        break;
    case BattleResult::Suspended:
        ctx.transcript.write("battle", "suspended");
        break;
    case BattleResult::None:
        break;
    }
}

void ShowBattleMessage(Context& ctx, const std::string& cp932)
{
    if (ctx.windows.inBattle == 0)
        RedrawMessageWindow(ctx);
    battleLine(ctx, cp932);
    if (ctx.battle.autoBattle != 1)
        WaitPage(ctx);
}

void battleLine(Context& ctx, const std::string& cp932)
{
    ctx.windows.lineText = cp932;
    PrintLine(ctx);
}

namespace {

    // The screen under a menu, put back when the menu closes.
    struct ScreenUnder {
        Picture saved;
        int x, y, w, h;
        ScreenUnder(Context& ctx, MenuRect menu)
            : saved(ctx.platform.screen())
            , x(toPixels(menu.x))
            , y(toPixels(menu.y))
            , w(toPixels(menu.w + 1))
            , h(toPixels(menu.h))
        {
        }
        void restore(Context& ctx) const
        {
            Picture& screen = ctx.platform.screen();
            CopyModeScope copy(screen, CopyMode::Copy);
            copyRect(screen, x, y, w, h, saved, x, y);
        }
    };

    // The battle command menu; its choice (0 cancelled).
    int chooseCommand(Context& ctx)
    {
        ScreenUnder under(ctx, menuPlace(ctx, MenuKind::BattleCommand));
        int choice = chooseFromMenu(ctx, MenuKind::BattleCommand);
        under.restore(ctx);
        return choice;
    }

    // Attack by the command menu: the target (unless the weapon attacks every enemy), then the
    // attack. False when the target choice was cancelled.
    bool commandAttack(Context& ctx, int member)
    {
        int target = 0;
        if (weaponEffectCode(ctx, member).rfind("EA", 0) == 0)
            target = firstEnemyWithHp(ctx);
        else if (lastSlot(ctx) > 0)
            target = chooseEnemyTarget(ctx);
        if (target < 0)
            return false;
        AttackEnemy(ctx, member, target);
        return true;
    }

    bool sealed(const Character& c) { return c.conditions[condition::seal] != 0; }

} // namespace

void MemberTurn(Context& ctx, int member)
{
    BattleState& b = ctx.battle;
    b.members[static_cast<std::size_t>(member)].acted = 1;
    b.counterattack = b.attackAll = b.multiTarget = b.confusedTarget = false;
    b.actingMember = static_cast<float>(member);
    if (!memberConditionStep(ctx, member) || battleOver(ctx))
        return;
    PollInput(ctx);
    if (ctx.input.keyCode == "4" || ctx.platform.pointerHeld(1)) {
        b.autoBattle = 0;
        WaitRelease(ctx);
    }
    Character& c = memberAt(ctx, member);
    bool confused = c.conditions[condition::confusion] != 0;
    if (!confused)
        battleLine(ctx, formatMessage(ctx, Message::WhatWillYouDo, { { "member", c.name } }));
    if (!confused && b.autoBattle == 1) {
        automaticAction(ctx, member);
        return;
    }
    if (confused) {
        memberConfusedAction(ctx, member);
        return;
    }
    for (;;) {
        switch (chooseCommand(ctx)) {
        case battle_command::Attack:
            if (commandAttack(ctx, member))
                return;
            break;
        case battle_command::Magic:
            if (sealed(c)) {
                ShowBattleMessage(ctx, refusalText(ctx, MemberRefusal::Sealed, c.name));
                break;
            }
            if (UseSpellOrItem(ctx, UseSource::Spells) != 0)
                return;
            break;
        case battle_command::Flee:
            TryFlee(ctx, member);
            return;
        case battle_command::Items:
            if (UseSpellOrItem(ctx, UseSource::Items) != 0)
                return;
            break;
        case battle_command::Auto:
            b.autoBattle = 1;
            automaticAction(ctx, member);
            return;
        default:
            break;
        }
    }
}

void automaticAction(Context& ctx, int member)
{
    int target = std::max(0, firstEnemyWithHp(ctx));
    int weakest = -1;
    for (int m = 0; m <= partyLast(ctx); ++m) {
        const Character& c = memberAt(ctx, m);
        if (c.hp > 0 && (weakest < 0 || c.hp < memberAt(ctx, weakest).hp))
            weakest = m;
    }
    const Character& self = memberAt(ctx, member);
    int spell = -1;
    if (weakest >= 0) {
        const Character& w = memberAt(ctx, weakest);
        bool low = w.maxHp > 0 && w.hp * 100 / w.maxHp <= 40;
        if (low && self.spellCount > 0 && !sealed(self)) {
            int count = std::clamp(roundIndex(self.spellCount), 0, capacity::spellList);
            for (int k = 0; k < count; ++k) {
                int number = roundIndex(self.spells[static_cast<std::size_t>(k)]);
                if (number < 0 || number >= capacity::spells)
                    continue;
                const Spell& s = ctx.db.spells[static_cast<std::size_t>(number)];
                if (s.code.rfind("PO-", 0) == 0 && s.mpCost <= self.mp)
                    spell = k;
            }
        }
    }
    if (spell >= 0)
        castOnMember(ctx, member, spell, weakest);
    else
        AttackEnemy(ctx, member, target);
}

int chooseEnemyTarget(Context& ctx)
{
    // An exclusive-or frame around the enemy's place, a few pixels thick, so that the enemy and
    // a window left open over the row stay readable; right or down moves to the next enemy with
    // HP, up to the one before, decide chooses, left (cancel) goes back. The pointer chooses by a
    // click on an enemy and cancels with the second button.
    BattleState& b = ctx.battle;
    auto frame = [&](int slot) {
        const BattleEnemy& e = b.enemies[static_cast<std::size_t>(slot)];
        int x1 = roundIndex(e.x) + 2;
        int x2 = roundIndex(e.x) + std::clamp(roundIndex(e.size), 1, battleSlots) * enemyUnitWidth - 3;
        drawXorFrame(ctx, x1, enemyTop, x2, enemyTop + enemyPictureHeight - 1, targetFrameWidth);
    };
    auto step = [&](int from, int direction) {
        int count = lastSlot(ctx) + 1;
        for (int k = 1; k <= count; ++k) {
            int s = ((from + direction * k) % count + count) % count;
            if (b.enemies[static_cast<std::size_t>(s)].hp > 0)
                return s;
        }
        return from;
    };
    auto slotUnderPointer = [&]() {
        int px = ctx.platform.pointerX(), py = ctx.platform.pointerY();
        if (py < enemyTop || py >= enemyTop + enemyPictureHeight)
            return -1;
        for (int s = 0; s <= lastSlot(ctx); ++s) {
            const BattleEnemy& e = b.enemies[static_cast<std::size_t>(s)];
            if (e.hp > 0 && px >= e.x && px < e.x + e.size * enemyUnitWidth)
                return s;
        }
        return -1;
    };
    int current = std::max(0, firstEnemyWithHp(ctx));
    frame(current);
    std::string latched;
    bool clicked = false;
    // The cursor follows the pointer only when it moves: a pointer resting over an enemy does not
    // pull the cursor back from where the keys put it.
    int pointerX = ctx.platform.pointerX(), pointerY = ctx.platform.pointerY();
    for (;;) {
        pollOrQuit(ctx);
        const std::string& key = ctx.input.keyCode;
        int hovered = slotUnderPointer();
        bool pointerMoved = ctx.platform.pointerX() != pointerX || ctx.platform.pointerY() != pointerY;
        pointerX = ctx.platform.pointerX();
        pointerY = ctx.platform.pointerY();
        if (pointerMoved && hovered >= 0 && hovered != current) {
            frame(current);
            current = hovered;
            frame(current);
        }
        if (ctx.platform.pointerHeld(0) && hovered >= 0)
            clicked = true;
        else if (clicked && !ctx.platform.pointerHeld(0)) {
            frame(current);
            return current;
        }
        if (ctx.platform.pointerHeld(1)) {
            WaitRelease(ctx);
            frame(current);
            return -1;
        }
        if (latched.empty() && !key.empty()) {
            latched = key;
            int next = key == "6" || key == "2" ? step(current, 1) : key == "8" ? step(current, -1)
                                                                                : current;
            if (next != current) {
                frame(current);
                current = next;
                frame(current);
            }
        } else if (key.empty() && !latched.empty()) {
            if (latched == "1") {
                frame(current);
                return current;
            }
            if (latched == "4") {
                frame(current);
                return -1;
            }
            latched.clear();
        }
        nextFrame(ctx);
    }
}

} // namespace vorn
