// Party commands: companions joining and leaving, renaming, hit points, conditions, statistics,
// experience and spells of the members an event names by identity, and the branch on the
// party's leader.
#include "core/context.h"
#include "core/dialogs.h"
#include "core/messages.h"
#include "core/party.h"
#include "data/record.h"
#include "rules/battle_rules.h"
#include "rules/inventory.h"
#include "rules/party_changes.h"
#include "script/arguments.h"
#include "script/commands.h"
#include "script/command_steps.h"
#include "ui/windows.h"

namespace vorn::command {

namespace {

    constexpr float noPlayerPicture = 99;

    Character& rosterEntry(Context& ctx, int index) { return ctx.db.characters[static_cast<std::size_t>(index)]; }

    // The player is drawn with the picture of the party's leader, unless a script hid the player.
    void leaderPictureToPlayer(Context& ctx)
    {
        if (ctx.field.playerPicture != noPlayerPicture)
            ctx.field.playerPicture = rosterEntry(ctx, 0).growthType;
    }

    // Reads a value token for HMP, PRS and EXU; returns the token so that a leading sign can be
    // told apart from an absolute value.
    std::string readValue(Context& ctx, int index)
    {
        ParseArgument(ctx, index);
        return ctx.script.currentToken;
    }

    // A spell number read from the script, checked against the spell table.
    float readSpell(Context& ctx, int index)
    {
        ParseArgument(ctx, index);
        int spell = argInt(ctx, index);
        if (spell < 0 || spell >= capacity::spells)
            fatalEventError(ctx, "spell " + ctx.script.currentToken + " is outside the spell table");
        return static_cast<float>(spell);
    }

    // The one roster entry an identity names for MGT, MLT and STT, or nullptr.
    Character* namedCharacter(Context& ctx, float identity)
    {
        int found = findCharacter(ctx.db, identity);
        return found >= 0 ? &rosterEntry(ctx, found) : nullptr;
    }

    // The level-ups a member has earned outside battle, each with its line, the spell learnt and a
    // page prompt.
    void fieldLevelUps(Context& ctx, int member)
    {
        Character& c = rosterEntry(ctx, member);
        while (levelUpDue(ctx, member)) {
            say(ctx, formatMessage(ctx, Message::LevelUp, { { "member", c.name } }));
            int learnt = applyLevelUp(ctx, member);
            if (learnt >= 0 && learnt < capacity::spells)
                say(ctx, formatMessage(ctx, Message::SpellLearnt, { { "member", c.name }, { "spell", ctx.db.spells[static_cast<std::size_t>(learnt)].text[0] } }));
            WaitPage(ctx);
        }
    }

} // namespace

// GET identity: the character joins as the new last member.
Flow get(Context& ctx)
{
    ParseArgument(ctx, 0);
    int found = findCharacter(ctx.db, ctx.script.args[0]);
    if (found < 0)
        fatalEventError(ctx, "GET of character " + ctx.script.currentToken + ", who is not in the roster");
    // A character already in the party stays where it is.
    if (!joinParty(ctx.db, found))
        return Flow::FallThrough;
    say(ctx, formatMessage(ctx, Message::JoinedParty, { { "member", rosterEntry(ctx, partyLast(ctx.db)).name } }));
    WaitPage(ctx);
    return Flow::FallThrough;
}

// AWY identity, target: the member leaves, unless nobody else could go on (then the target).
Flow awy(Context& ctx)
{
    ParseArgument(ctx, 0);
    float identity = ctx.script.args[0];
    ParseArgument(ctx, 1);
    std::string target = ctx.script.currentToken;
    int member = findMember(ctx.db, identity);
    if (member < 0)
        return Flow::FallThrough;
    if (!othersCanGoOn(ctx.db, member))
        return jumpToTarget(ctx, target);
    std::string name = rosterEntry(ctx, member).name;
    leaveParty(ctx.db, member);
    if (member == 0)
        leaderPictureToPlayer(ctx);
    say(ctx, formatMessage(ctx, Message::LeftParty, { { "member", name } }));
    WaitPage(ctx);
    return Flow::FallThrough;
}

// NCG n: the name entry dialog for party member n.
Flow ncg(Context& ctx)
{
    ParseArgument(ctx, 0);
    int member = argInt(ctx, 0);
    if (member < 0 || member > partyLast(ctx.db))
        fatalEventError(ctx, "NCG of member " + ctx.script.currentToken + ", who is not in the party");
    for (;;) {
        NameDialog dialog { message(ctx, Message::NameCaption), message(ctx, Message::NameLabel), message(ctx, Message::NameOk),
            message(ctx, Message::NameCancel), rosterEntry(ctx, member).name, nameBytes };
        std::optional<std::string> typed = showNameDialog(ctx, dialog);
        if (!typed)
            return Flow::FallThrough;
        NameRefusal refusal = NameRefusal::Empty;
        if (std::optional<std::string> name = enteredName(*typed, &refusal)) {
            renameMember(ctx.db, member, *name);
            return Flow::FallThrough;
        }
        Message why = refusal == NameRefusal::Character ? Message::NameRefusedText : Message::NameErrorText;
        showMessageBox(ctx, message(ctx, Message::NameErrorCaption), message(ctx, why), BoxButtons::Ok, BoxIcon::Question);
    }
}

// HMP identity, hp, mp: relative or absolute, without limits.
Flow hmp(Context& ctx)
{
    ParseArgument(ctx, 0);
    float identity = ctx.script.args[0];
    std::string hp = readValue(ctx, 1);
    std::string mp = readValue(ctx, 2);
    const auto& a = ctx.script.args;
    for (int m : selectMembers(ctx.db, identity)) {
        Character& c = rosterEntry(ctx, m);
        c.hp = changedBy(c.hp, hp, a[1]);
        c.mp = changedBy(c.mp, mp, a[2]);
    }
    return Flow::FallThrough;
}

// STR identity, condition, on: the condition lasts until cured (on = 1) or is cleared.
Flow str(Context& ctx)
{
    for (int i = 0; i < 3; ++i)
        ParseArgument(ctx, i);
    int counter = argInt(ctx, 1);
    if (counter < 0 || counter >= capacity::conditions)
        fatalEventError(ctx, "STR of condition " + flagText(ctx.script.args[1]));
    float value = argInt(ctx, 2) == 1 ? 999.0f : 0.0f;
    for (int m : selectMembers(ctx.db, ctx.script.args[0]))
        rosterEntry(ctx, m).conditions[static_cast<std::size_t>(counter)] = value;
    return Flow::FallThrough;
}

// ALR identity: every condition cleared, hit and magic points full.
Flow alr(Context& ctx)
{
    ParseArgument(ctx, 0);
    for (int m : selectMembers(ctx.db, ctx.script.args[0])) {
        Character& c = rosterEntry(ctx, m);
        clearConditions(c);
        c.hp = c.maxHp;
        c.mp = c.maxMp;
    }
    return Flow::FallThrough;
}

// PRS identity, attack, defense, speed, magic defense, hit rate: each relative or absolute.
Flow prs(Context& ctx)
{
    ParseArgument(ctx, 0);
    float identity = ctx.script.args[0];
    std::array<std::string, 5> tokens;
    for (int i = 0; i < 5; ++i)
        tokens[static_cast<std::size_t>(i)] = readValue(ctx, i + 1);
    const auto& a = ctx.script.args;
    for (int m : selectMembers(ctx.db, identity)) {
        Character& c = rosterEntry(ctx, m);
        float* fields[] = { &c.attack, &c.defense, &c.speed, &c.magicDefense, &c.hitRate };
        for (std::size_t i = 0; i < 5; ++i)
            *fields[i] = changedBy(*fields[i], tokens[i], a[i + 1]);
    }
    return Flow::FallThrough;
}

// EXU identity, exp: experience relative or absolute, then the level-ups it brings.
Flow exu(Context& ctx)
{
    ParseArgument(ctx, 0);
    float identity = ctx.script.args[0];
    std::string exp = readValue(ctx, 1);
    float value = ctx.script.args[1];
    for (int m : selectMembers(ctx.db, identity)) {
        Character& c = rosterEntry(ctx, m);
        c.exp = changedBy(c.exp, exp, value);
        fieldLevelUps(ctx, m);
    }
    return Flow::FallThrough;
}

// MGT identity, spell: the character learns the spell when its list has room.
Flow mgt(Context& ctx)
{
    ParseArgument(ctx, 0);
    float identity = ctx.script.args[0];
    float spell = readSpell(ctx, 1);
    Character* c = namedCharacter(ctx, identity);
    if (c && learnSpell(ctx.db, *c, spell)) {
        const std::string& spellName = ctx.db.spells[static_cast<std::size_t>(spell)].text[0];
        say(ctx, formatMessage(ctx, Message::SpellLearnt, { { "member", c->name }, { "spell", spellName } }));
    }
    return Flow::FallThrough;
}

// MLT identity, spell: the character forgets the spell.
Flow mlt(Context& ctx)
{
    ParseArgument(ctx, 0);
    float identity = ctx.script.args[0];
    float spell = readSpell(ctx, 1);
    if (Character* c = namedCharacter(ctx, identity))
        forgetSpell(*c, spell);
    return Flow::FallThrough;
}

// STT kind, identity, a, b: flag (a, b) = a figure of the character.
Flow stt(Context& ctx)
{
    for (int i = 0; i < 4; ++i)
        ParseArgument(ctx, i);
    const auto& a = ctx.script.args;
    std::optional<float> figure;
    if (const Character* c = namedCharacter(ctx, a[1])) {
        figure = memberStatistic(ctx.db, *c, argInt(ctx, 0));
        if (!figure)
            fatalEventError(ctx, "STT of figure " + flagText(a[0]));
    }
    if (figure)
        setFlag(ctx, a[2], a[3], *figure);
    return Flow::FallThrough;
}

// SRT identity, target: falls through when the leader has the identity, else the target.
Flow srt(Context& ctx)
{
    ParseArgument(ctx, 0);
    float identity = ctx.script.args[0];
    ParseArgument(ctx, 1);
    if (roundIndex(rosterEntry(ctx, 0).growthType) == roundIndex(identity))
        return Flow::FallThrough;
    return jumpToTarget(ctx, ctx.script.currentToken);
}

} // namespace vorn::command
