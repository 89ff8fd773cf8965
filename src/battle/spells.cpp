// Casting spells and using items, in battle and on the field: the user, the refusals, the
// spell action menu and the lists, the costs, the use message, the effects on members and
// enemies, the escape and the town warp.
#include "battle/battle.h"
#include "battle/battle_flow.h"

#include "core/context.h"
#include "core/messages.h"
#include "core/sound.h"
#include "data/record.h"
#include "rules/battle_rules.h"
#include "rules/effects.h"
#include "rules/inventory.h"
#include "ui/inventory_menus.h"
#include "ui/windows.h"

#include <algorithm>
#include <vector>

namespace vorn {

namespace {

    bool inBattle(const Context& ctx) { return ctx.windows.inBattle != 0; }

    Character& memberOf(Context& ctx, int m) { return ctx.db.characters[static_cast<std::size_t>(std::clamp(m, 0, capacity::characters - 1))]; }

    std::string notUsableHere(const Context& ctx, const std::string& name)
    {
        return formatMessage(ctx, Message::NotUsableHere, { { "name", name } });
    }

    // How one attempt to use a chosen spell or item ended.
    enum class Use {
        Refused, // a message was shown; the list opens again
        Done, // used; on the field the list opens again, in battle the turn is spent
        Warped, // the town warp: the field menu closes
    };

    // A line printed without a key wait: in battle into the battle window, on the field into a
    // freshly drawn message window.
    void printUseLine(Context& ctx, const std::string& cp932)
    {
        if (inBattle(ctx)) {
            battleLine(ctx, cp932);
            return;
        }
        RedrawMessageWindow(ctx);
        ctx.windows.lineText = cp932;
        PrintLine(ctx);
    }

    void showOutcome(Context& ctx, const EffectOutcome& out)
    {
        for (const std::string* line : { &out.line, &out.more }) {
            if (line->empty())
                continue;
            ShowBattleMessage(ctx, *line);
            if (inBattle(ctx))
                redrawPartyPanel(ctx);
        }
    }

    // The hit sound of the user's weapon, or "ATC" without one.
    std::string hitSound(const Context& ctx, int user)
    {
        const Equipment* weapon = weaponEquipment(ctx, user);
        return weapon && !weapon->attackSound.empty() ? weapon->attackSound : "ATC";
    }

    // The cost of a use, paid once: the spell's cast sound and its MP, or the item's sound and
    // one of its uses.
    void payCost(Context& ctx, const EffectUse& use, int entry)
    {
        Character& user = memberOf(ctx, use.user);
        if (use.spell) {
            const Spell& spell = ctx.db.spells[static_cast<std::size_t>(use.number)];
            int type = std::clamp(roundIndex(user.growthType), 0, capacity::characters - 1);
            playSound(ctx, spell.castSound[static_cast<std::size_t>(type)]);
            user.mp -= spell.mpCost;
        } else {
            if (const Item* item = itemByNumber(ctx, static_cast<float>(use.number)))
                playSound(ctx, item->useSound);
            UseCharge(ctx.db, use.user, entry);
        }
        if (inBattle(ctx))
            ShowMpGauge(ctx, use.user);
    }

    // The use message: the user used the spell or item, on the member or enemy named `target`
    // when it is someone else, with the spell's or item's verb when it has one.
    std::string useLine(const Context& ctx, const EffectUse& use, const std::string* target = nullptr)
    {
        const std::string& user = ctx.db.characters[static_cast<std::size_t>(use.user)].name;
        std::string verb = effectVerb(ctx, use, target != nullptr);
        std::string effect = effectName(ctx, use);
        if (!target)
            return formatMessage(ctx, verb.empty() ? Message::UsedByWithoutVerb : Message::UsedBy,
                { { "user", user }, { "effect", effect }, { "verb", verb } });
        return formatMessage(ctx, verb.empty() ? Message::UsedOnWithoutVerb : Message::UsedOn,
            { { "user", user }, { "target", *target }, { "effect", effect }, { "verb", verb } });
    }

    // The spell or item number of a list entry.
    int numberOfEntry(const Character& c, bool spells, int entry)
    {
        if (spells)
            return entry >= 0 && entry < spellCountOf(c) ? roundIndex(c.spells[static_cast<std::size_t>(entry)]) : -1;
        return entryItem(c, entry);
    }

    // "PA" and "PO": the targets, or nothing when the choice was cancelled.
    std::vector<int> partyTargets(Context& ctx, const std::string& cls, int user)
    {
        std::vector<int> targets;
        if (cls == "PA") {
            for (int m = 0; m <= partyLast(ctx); ++m)
                targets.push_back(m);
            return targets;
        }
        if (partyLast(ctx) == 0) {
            targets.push_back(0);
            return targets;
        }
        printUseLine(ctx, message(ctx, Message::WhomToUse));
        int chosen = inBattle(ctx) ? ChooseMember(ctx, 20, 6) : ChooseMember(ctx, 9, 8);
        if (chosen != 0)
            targets.push_back(chosen - 1);
        (void)user;
        return targets;
    }

    // The use message and the effects on the members.
    void useOnParty(Context& ctx, const EffectUse& use, const std::string& cls, const std::vector<int>& targets)
    {
        if (cls == "PA" || targets.front() == use.user)
            printUseLine(ctx, useLine(ctx, use));
        else
            printUseLine(ctx, useLine(ctx, use, &memberOf(ctx, targets.front()).name));
        for (int t : targets) {
            ApplyPartyEffect(ctx, use, t);
            if (battleOver(ctx))
                return;
        }
    }

    // The use message and the effect on one enemy, or with "EA" on every enemy in turn: after
    // each one, whatever came of it, the next slot with HP follows.
    void useOnEnemies(Context& ctx, const EffectUse& use, const std::string& cls, int target)
    {
        printUseLine(ctx, useLine(ctx, use, &ctx.battle.enemies[static_cast<std::size_t>(target)].name));
        if (cls != "EA") {
            ApplyEnemyEffect(ctx, use, target, false);
            return;
        }
        ctx.battle.multiTarget = true;
        for (int slot = target; slot >= 0 && !battleOver(ctx); slot = nextLivingEnemy(ctx, slot + 1))
            ApplyEnemyEffect(ctx, use, slot, false);
        ctx.battle.multiTarget = false;
    }

    // The escape spell or item: in a random battle the party gets away at once.
    Use escape(Context& ctx, const EffectUse& use, int entry)
    {
        std::string name = effectName(ctx, use);
        if (!inBattle(ctx)) {
            ShowBattleMessage(ctx, notUsableHere(ctx, name));
            return Use::Refused;
        }
        if (ctx.game.battleKind != 0) {
            ShowBattleMessage(ctx, formatMessage(ctx, Message::NotUsable, { { "name", name } }));
            return Use::Refused;
        }
        payCost(ctx, use, entry);
        battleLine(ctx, useLine(ctx, use));
        playSound(ctx, "esc");
        ShowBattleMessage(ctx, formatMessage(ctx, Message::MemberFled, { { "member", memberOf(ctx, use.user).name } }));
        ctx.battle.result = BattleResult::Fled;
        return Use::Done;
    }

    // Steps 6 to 12 for the chosen list entry.
    Use useEntry(Context& ctx, bool spells, int user, int entry)
    {
        Character& c = memberOf(ctx, user);
        int number = numberOfEntry(c, spells, entry);
        if (number < 0 || (spells && number >= capacity::spells) || (!spells && number >= capacity::items))
            return Use::Refused;
        EffectUse use { spells, number, user };
        std::string name = effectName(ctx, use);
        if (spells && ctx.db.spells[static_cast<std::size_t>(number)].mpCost > c.mp) {
            ShowBattleMessage(ctx, message(ctx, Message::NotEnoughMp));
            return Use::Refused;
        }
        if (!spells) {
            const Equipment* eq = equipmentOfItem(ctx.db, static_cast<float>(number));
            if (ctx.db.items[static_cast<std::size_t>(number)].equipment != 0 && (!eq || eq->usable == 0)) {
                ShowBattleMessage(ctx, formatMessage(ctx, Message::ItemNotUsable, { { "item", name } }));
                return Use::Refused;
            }
        }

        std::string code = effectCodeOf(ctx, use);
        std::string cls = targetClass(code);
        if (cls == "WP") {
            if (ctx.map.file.noWarp == 1)
                ShowBattleMessage(ctx, notUsableHere(ctx, name));
            else if (inBattle(ctx))
                ShowBattleMessage(ctx, formatMessage(ctx, Message::NotUsableInBattle, { { "name", name } }));
            else
                return TownWarp(ctx, use, entry) == choice::townWarp ? Use::Warped : Use::Refused;
            return Use::Refused;
        }
        if (cls == "RA")
            return escape(ctx, use, entry);
        if (cls == "PA" || cls == "PO") {
            if (!inBattle(ctx) && battleOnlyLetter(effectLetter(code))) {
                ShowBattleMessage(ctx, notUsableHere(ctx, name));
                return Use::Refused;
            }
            std::vector<int> targets = partyTargets(ctx, cls, user);
            if (targets.empty())
                return Use::Refused;
            payCost(ctx, use, entry);
            useOnParty(ctx, use, cls, targets);
            return Use::Done;
        }
        if (!inBattle(ctx)) {
            ShowBattleMessage(ctx, notUsableHere(ctx, name));
            return Use::Refused;
        }
        int target = -1;
        if (cls == "EA") {
            target = nextLivingEnemy(ctx, 0);
        } else if (cls == "EO") {
            target = ctx.battle.lastEnemySlot > 0 ? chooseEnemyTarget(ctx) : 0;
            if (target < 0)
                return Use::Refused;
        } else {
            ShowBattleMessage(ctx, formatMessage(ctx, Message::NotUsable, { { "name", name } }));
            return Use::Refused;
        }
        if (target < 0)
            return Use::Refused;
        payCost(ctx, use, entry);
        useOnEnemies(ctx, use, cls, target);
        return Use::Done;
    }

    // The spell action menu: cast (1) or describe (2); 0 cancelled.
    int spellActionMenu(Context& ctx)
    {
        ctx.windows.listTexts = { message(ctx, Message::SpellCast), message(ctx, Message::SpellDescribe) };
        return inBattle(ctx) ? ShowList(ctx, 22, 13, 6, 2) : ShowList(ctx, 10, 3, 6, 2);
    }

    // Steps 4 to 13 for a user who passed the checks.
    int useAs(Context& ctx, bool spells, int user)
    {
        MenuKind listKind = spells ? MenuKind::Spells : MenuKind::Items;
        for (;;) {
            if (spells) {
                int action = spellActionMenu(ctx);
                if (action == 0)
                    return 0;
                if (action == 2) {
                    int entry = ChooseFromList(ctx, listKind, user);
                    if (entry != 0)
                        ShowDescription(ctx, true, numberOfEntry(memberOf(ctx, user), true, entry - 1));
                    continue;
                }
            } else {
                int action = ItemActionMenu(ctx, user);
                if (action != 1)
                    return action;
            }
            for (;;) {
                const Character& c = memberOf(ctx, user);
                if ((spells ? spellCountOf(c) : itemCountOf(c)) == 0) {
                    ShowBattleMessage(ctx, message(ctx, spells ? Message::NoSpellsLearnt : Message::CarriesNothing));
                    break;
                }
                int entry = ChooseFromList(ctx, listKind, user);
                if (entry == 0)
                    break;
                Use result = useEntry(ctx, spells, user, entry - 1);
                if (result == Use::Warped)
                    return choice::townWarp;
                if (result == Use::Done && inBattle(ctx))
                    return 1;
            }
        }
    }

} // namespace

int UseSpellOrItem(Context& ctx, UseSource source, int chosenUser)
{
    bool spells = source == UseSource::Spells;
    for (;;) {
        int user = chosenUser;
        if (inBattle(ctx)) {
            user = std::clamp(roundIndex(ctx.battle.actingMember), 0, capacity::characters - 1);
        } else if (user < 0) {
            user = 0;
            if (partyLast(ctx) > 0) {
                int chosen = ChooseMember(ctx, 5, 2);
                if (chosen == 0)
                    return 0;
                user = chosen - 1;
            }
        }
        const Character& c = memberOf(ctx, user);
        if (MemberRefusal refusal = memberRefusal(c, spells); refusal != MemberRefusal::None) {
            ShowBattleMessage(ctx, refusalText(ctx, refusal, c.name));
            if (inBattle(ctx) || chosenUser >= 0 || partyLast(ctx) == 0)
                return 0;
            continue;
        }
        int result = useAs(ctx, spells, user);
        ctx.windows.choice = static_cast<float>(result);
        return result;
    }
}

void castOnMember(Context& ctx, int member, int entry, int target)
{
    const Character& c = memberOf(ctx, member);
    int number = numberOfEntry(c, true, entry);
    if (number < 0 || number >= capacity::spells)
        return;
    EffectUse use { true, number, member };
    payCost(ctx, use, entry);
    useOnParty(ctx, use, "PO", { target });
}

void ApplyPartyEffect(Context& ctx, const EffectUse& use, int member)
{
    showOutcome(ctx, partyEffect(ctx, use, member));
}

void ApplyEnemyEffect(Context& ctx, const EffectUse& use, int slot, bool weaponEffect)
{
    if (!weaponEffect) {
        const Item* item = use.spell ? nullptr : itemByNumber(ctx, static_cast<float>(use.number));
        std::string graphic = use.spell ? ctx.db.spells[static_cast<std::size_t>(std::clamp(use.number, 0, capacity::spells - 1))].graphic
                                        : (item ? item->graphic : "");
        playFrames(ctx, graphic, slot);
    }
    EffectOutcome out = enemyEffect(ctx, use, slot, weaponEffect);
    if (out.hit)
        hitEnemy(ctx, slot, out.damage, hitSound(ctx, use.user));
    else
        showOutcome(ctx, out);
}

int TownWarp(Context& ctx, const EffectUse& use, int entry)
{
    std::vector<int> visited = warpTowns(ctx.db);
    if (visited.empty()) {
        ShowBattleMessage(ctx, message(ctx, Message::NoTownVisited));
        return 0;
    }
    int count = static_cast<int>(visited.size());
    int chosen = chooseFromMenu(ctx, MenuKind::Towns);
    if (chosen < 1 || chosen > count)
        return 0;
    payCost(ctx, use, entry);
    printUseLine(ctx, useLine(ctx, use));
    ctx.game.map = ctx.db.towns[static_cast<std::size_t>(visited[static_cast<std::size_t>(chosen - 1)])].returnMap;
    ctx.game.useMapEntry = 1;
    return choice::townWarp;
}

} // namespace vorn
