// The field loop's passes: one pass per 60 Hz frame of input and movement, step ends, requests,
// wandering characters, the view, field poison and the random battle test; and the new game's
// starting place. A pass returns what happened; the main loop decides what runs next.
#include "core/context.h"
#include "core/messages.h"
#include "core/party.h"
#include "data/record.h"
#include "field/field_ops.h"
#include "platform/copy_mode_scope.h"
#include "platform/screen_size.h"
#include "rules/battle_rules.h"
#include "core/sound.h"
#include "ui/inventory_menus.h"

#include <algorithm>

namespace vorn {

namespace {

    bool anyoneStanding(const Context& ctx)
    {
        for (int i = 0; i <= partyLast(ctx.db); ++i) {
            if (ctx.db.characters[static_cast<size_t>(i)].hp > 0)
                return true;
        }
        return false;
    }

    // Every poisoned member with hit points loses one, in party order. A member brought to 0 is
    // shown fainting; true as soon as nobody is left standing (the game over follows, and the
    // later members are not hurt).
    bool applyFieldPoison(Context& ctx)
    {
        for (int i = 0; i <= partyLast(ctx.db); ++i) {
            Character& member = ctx.db.characters[static_cast<size_t>(i)];
            if (member.conditions[condition::poison] == 0 || member.hp <= 0)
                continue;
            member.hp -= 1;
            if (member.hp > 0)
                continue;
            member.hp = 0;
            ShowMessage(ctx, formatMessage(ctx, Message::MemberFainted, { { "member", member.name } }));
            if (!anyoneStanding(ctx))
                return true;
        }
        return false;
    }

    bool poisonFlashApplies(const Context& ctx)
    {
        if (ctx.field.pendingKey.empty())
            return false;
        for (int i = 0; i <= partyLast(ctx.db); ++i) {
            const Character& member = ctx.db.characters[static_cast<size_t>(i)];
            if (member.hp > 0 && member.conditions[condition::poison] > 0)
                return true;
        }
        return false;
    }

    void drawPoisonFlash(Context& ctx)
    {
        Picture& screen = ctx.platform.screen();
        CopyModeScope orOnto(screen, CopyMode::Or);
        drawBox(screen, 0, 0, screenWidth - 1, screenHeight - 1, paletteColour(4), true);
    }

    FieldLook currentLook(Context& ctx)
    {
        const FieldState& f = ctx.field;
        const Surfaces& pictures = ctx.surfaces;
        return { f.screenX, f.screenY, f.scrollX, f.scrollY, f.facing, f.animFrame, f.playerPicture,
            pictures.wholeMap.changes, pictures.tileSheet.changes, pictures.charSheet.changes,
            ctx.platform.screen().changes };
    }

    // The view and the player onto the screen, unless the screen still shows exactly that: an
    // idle pass then draws nothing, and the window has nothing new to present.
    void composeField(Context& ctx)
    {
        FieldLook look = currentLook(ctx);
        if (look == ctx.field.shownLook && !ctx.field.composeEveryPass)
            return;
        refreshField(ctx);
        look.screen = ctx.platform.screen().changes;
        ctx.field.shownLook = look;
    }

    // The rest of a pass after the event request: the wanderers, the view, poison, the pause and
    // the random battle test. `stepCompleted`: a step ended on its new cell in this pass.
    FieldPass passAfterEvent(Context& ctx, bool stepCompleted)
    {
        FieldState& f = ctx.field;
        f.npcTick = f.npcTick == 0 ? 1 : 0;
        if (f.npcTick == 1)
            moveWanderers(ctx);
        composeField(ctx);
        // Poison costs one hit point per step walked: holding a key against a wall or the map
        // border walks none and costs nothing.
        if (stepCompleted && applyFieldPoison(ctx))
            return { FieldOutcome::PartyDefeated };
        if (poisonFlashApplies(ctx))
            drawPoisonFlash(ctx);
        walkDelayPause(ctx);
        if (f.stepFrames == 0 && testEncounter(ctx)) {
            f.walkRoute.clear(); // a battle ends a walk to a clicked cell
            return { FieldOutcome::Encounter };
        }
        nextFrame(ctx);
        return { FieldOutcome::PassEnded };
    }

    // The pass from the event request on: a touched event leaves the pass for the main loop,
    // which runs it and comes back through fieldPassAfterEvent.
    FieldPass passFromRequests(Context& ctx, bool stepCompleted)
    {
        FieldState& f = ctx.field;
        if (fieldRequest::isEvent(f.request)) {
            int n = roundIndex(fieldRequest::eventOf(f.request));
            f.request = fieldRequest::None;
            if (n >= 0 && n < maxScriptEvents) {
                f.eventCellX = ctx.map.event[static_cast<size_t>(n)].x;
                f.eventCellY = ctx.map.event[static_cast<size_t>(n)].y;
            }
            if (poisonFlashApplies(ctx))
                drawPoisonFlash(ctx);
            return { FieldOutcome::EventTouched, n };
        }
        return passAfterEvent(ctx, stepCompleted);
    }

} // namespace

void restartMapMusic(Context& ctx)
{
    SoundState& sound = ctx.sound;
    if (ctx.settings.musicOn == 1 && (!sound.musicOpen || sound.musicName != ctx.map.file.bgm)) {
        if (sound.musicOpen)
            closeMusic(ctx);
        sound.musicName = ctx.map.file.bgm;
        playMusic(ctx);
    }
}

FieldPass fieldLoopEntry(Context& ctx)
{
    restartMapMusic(ctx);
    markPlayerCell(ctx);
    return passFromRequests(ctx, false);
}

FieldPass fieldPass(Context& ctx)
{
    FieldState& f = ctx.field;
    if (f.stepFrames == 0)
        f.pendingKey.clear();
    pollAndMove(ctx);
    bool stepCompleted = false;
    if (f.stepFrames > 0) {
        f.stepFrames -= 1;
        if (f.stepFrames <= 0) {
            f.stepFrames = 0;
            stepCompleted = true;
            if (completeStep(ctx))
                return { FieldOutcome::MapEntered };
        }
    }
    if (f.request == fieldRequest::FieldMenu)
        return { FieldOutcome::MenuRequested };
    if (f.request == fieldRequest::Quit)
        return { FieldOutcome::QuitRequested };
    return passFromRequests(ctx, stepCompleted);
}

// A pass that touched an event walked no step.
FieldPass fieldPassAfterEvent(Context& ctx) { return passAfterEvent(ctx, false); }

bool testEncounter(Context& ctx)
{
    FieldState& f = ctx.field;
    if (f.encountersOff)
        return false;
    int mapNumber = roundIndex(ctx.game.map);
    if (mapNumber < 0 || mapNumber >= static_cast<int>(ctx.db.encounters.size()))
        return false;
    const auto& enemies = ctx.db.encounters[static_cast<size_t>(mapNumber)].enemies;
    if (std::all_of(enemies.begin(), enemies.end(), [](float e) { return e == 99; }))
        return false;
    if (ctx.settings.encounterMode == 1 && f.pendingKey.empty())
        return false;
    f.stepCount += 1;
    bool battle = f.stepCount > ctx.map.file.encounterSteps;
    if (!battle) {
        int r = static_cast<int>(ctx.random() * 100) + 1;
        battle = static_cast<float>(r) <= ctx.map.file.encounterRate;
    }
    if (battle)
        f.stepCount = 0;
    return battle;
}

void setUpNewGame(Context& ctx)
{
    const IniSettings& ini = ctx.db.ini;
    GameState& g = ctx.game;
    g.map = ini.startMap;
    g.startX = ini.startX;
    g.startY = ini.startY;
    g.useMapEntry = ini.startX == 0 ? 1 : 0;
    g.gold = ini.startGold;
    ctx.db.sizes.lastCharacter = ini.partyLast;
    ctx.field.facing = ini.startFacing;
    ctx.field.playerPicture = ini.startPicture;
    ctx.field.stepFrames = 0;
    ctx.field.pendingKey.clear();
    ctx.map.entry = EntryArguments {};
    ctx.map.enteringFromLoad = false;
}

void walkDelayPause(Context& ctx)
{
    int delay = std::clamp(roundIndex(ctx.settings.walkDelay), 0, 5);
    if (delay > 0)
        waitFor(ctx, static_cast<std::uint64_t>(delay) * 10);
}

} // namespace vorn
