// The effects of spells and items, the enemies' spells, and the condition counters at the start
// of a turn, as plain rules over the battle records and the one random source.
//
// Each function draws from ctx.random() exactly the values its rule needs, in the rule's order,
// changes the records, and hands back what happened: the line to show (cp932, after nothing
// else) and, for the damage letters, the damage the battle deals as a hit. None of them draws or
// prints; battle/ shows the lines, redraws the panel and deals the hits.
#pragma once

#include "core/context.h"

#include <string>
#include <vector>

namespace vorn {

// What is being used: a spell or an item, by which member. A weapon's extra effect is an item
// use of the weapon.
struct EffectUse {
    bool spell = true;
    int number = 0; // spell or item number
    int user = 0; // the member using it
};

// --- Effect codes -------------------------------------------------------------------------------

// The effect code of a spell (Spell.code) or an item (its text entry 5); "" outside the tables.
std::string effectCodeOf(const Context& ctx, const EffectUse& use);
// Characters 1-2: "PA", "PO", "EA", "EO", "WP", "RA" (or whatever the data holds).
std::string targetClass(const std::string& code);
// The last character: the effect letter ('\0' for an empty code).
char effectLetter(const std::string& code);
// An item's power: characters 4-6 of its code read as a number (0 when they hold none).
float itemPower(const std::string& code);
// Letters that act only in battle (buffs and drains): A D F G E I J X Z.
bool battleOnlyLetter(char letter);
// The name of the spell or item (text entry 0).
std::string effectName(const Context& ctx, const EffectUse& use);
// The verb of the use message (cp932), possibly empty. `towardsOther`: the verb used towards
// someone else (item text entry 6 instead of 4).
std::string effectVerb(const Context& ctx, const EffectUse& use, bool towardsOther);
// Power P of the use: Spell.value, or the item's code power.
float effectPower(const Context& ctx, const EffectUse& use);

// The towns a town warp offers: the first fifteen entries of the town table that were visited,
// in table order (their names are the maps' names).
std::vector<int> warpTowns(const Database& db);

// --- Outcomes -------------------------------------------------------------------------------------

// What one effect did to one target.
struct EffectOutcome {
    std::string line; // the message to show (cp932); empty when nothing is shown
    std::string more; // a second message ("W": the hit points after the magic points)
    bool hit = false; // a damage letter: `damage` is dealt as a hit by the battle
    float damage = 0;
};

// A spell or item on party member `target` (codes "PA", "PO").
EffectOutcome partyEffect(Context& ctx, const EffectUse& use, int target);
// A spell or item on enemy slot `slot` (codes "EA", "EO"). A weapon's extra effect
// (`weaponEffect`) acts only with its condition, debuff and drain letters: a failed roll and
// every other letter give an empty outcome.
EffectOutcome enemyEffect(Context& ctx, const EffectUse& use, int slot, bool weaponEffect);

// An enemy's spell on party member `member`: resistance, success, duration, conditions,
// debuffs, drains or damage.
EffectOutcome enemySpellOnMember(Context& ctx, int caster, int spell, int member);
// An enemy's support spell on enemy slot `slot`: buffs or healing.
EffectOutcome enemySupportEffect(Context& ctx, int caster, int spell, int slot);

// --- Conditions at the start of a turn ------------------------------------------------------------

enum class StepOutcome {
    Continue, // the turn goes on
    Recovered, // a counter ran out: the recovery line, and the turn ends
    Stopped, // the condition takes the turn: its line, and the turn ends
};
struct ConditionStep {
    StepOutcome outcome = StepOutcome::Continue;
    int condition = -1; // the counter that ended the turn
    std::string line; // name + the recovery or stop message
};
// The member's counters in the order sleep, petrification, paralysis, magic seal, confusion,
// darkness, curse.
ConditionStep stepMemberConditions(Context& ctx, int member);
// The enemy's counters in the order sleep, petrification, paralysis, magic seal, confusion,
// poison, darkness, curse; poison costs hit points each time it counts down but never beats.
ConditionStep stepEnemyConditions(Context& ctx, int slot);

// An enemy slot with HP drawn as INT(RND x (LastEnemySlot + 1)) until one has HP; -1 when none
// has (then nothing is drawn).
int randomLivingEnemy(Context& ctx);
// The first enemy slot with HP at or after `from`, or -1.
int nextLivingEnemy(const Context& ctx, int from);

} // namespace vorn
