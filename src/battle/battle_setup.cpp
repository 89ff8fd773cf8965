// The start of a battle: the music, the members' battle copies, the enemy group, the background
// and the enemies' entrance.
#include "battle/battle.h"
#include "battle/battle_flow.h"
#include "battle/battle_pictures.h"
#include "ui/screen_pictures.h"

#include "core/context.h"
#include "core/messages.h"
#include "core/sound.h"
#include "data/record.h"
#include "platform/screen_size.h"
#include "rules/battle_rules.h"
#include "ui/windows.h"

#include <algorithm>

namespace vorn {

namespace {

    bool validEnemy(const Context& ctx, float number)
    {
        int n = roundIndex(number);
        return number != 99 && n >= 0 && n < capacity::enemies && n < roundIndex(ctx.db.sizes.enemyCount);
    }

    float roomLeft(const Context& ctx, float totalSize)
    {
        return std::min(ctx.map.file.maxEnemySize, static_cast<float>(battleSlots)) - totalSize;
    }

    // Whether some enemy of the map's table still fits; without one the random draw of the group
    // would go on for ever.
    bool anyEncounterFits(const Context& ctx, const Encounter& table, float totalSize)
    {
        return std::any_of(table.enemies.begin(), table.enemies.end(), [&](float number) {
            return validEnemy(ctx, number)
                && ctx.db.enemies[static_cast<std::size_t>(roundIndex(number))].size <= roomLeft(ctx, totalSize);
        });
    }

    // The next random enemy of the map's table that fits the room left, drawn with the slot
    // table; entries of 99 (and numbers outside the enemy table) and enemies too big are drawn
    // again.
    int drawEncounterEnemy(Context& ctx, const Encounter& table, float totalSize)
    {
        for (;;) {
            float number = table.enemies[static_cast<std::size_t>(slotTablePick(ctx))];
            if (!validEnemy(ctx, number))
                continue;
            if (totalSize + ctx.db.enemies[static_cast<std::size_t>(roundIndex(number))].size
                > std::min(ctx.map.file.maxEnemySize, static_cast<float>(battleSlots)))
                continue;
            return roundIndex(number);
        }
    }

    void fillSlot(Context& ctx, int slot, int number)
    {
        const Enemy& e = ctx.db.enemies[static_cast<std::size_t>(number)];
        BattleEnemy& b = ctx.battle.enemies[static_cast<std::size_t>(slot)];
        b = BattleEnemy {};
        b.name = e.name;
        b.enemyNumber = static_cast<float>(number);
        b.hp = e.hp;
        b.maxHp = e.hp;
        b.mp = e.mp;
        b.attack = e.attack;
        b.defense = e.defense;
        b.speed = e.speed;
        b.magicDefense = e.magicDefense;
        b.hitRate = e.hitRate;
        b.exp = e.exp;
        b.gold = e.gold;
        b.specialRate = e.specialRate;
        b.actions = e.actions;
        b.x = e.pictureA;
        b.yOffset = e.pictureB;
        b.size = e.size;
        b.conditions = e.conditions;
    }

    int scriptedEnemy(const Context& ctx, int slot)
    {
        const BattleState& b = ctx.battle;
        float number = b.scriptedList ? b.scriptedEnemies[static_cast<std::size_t>(slot)] : b.scriptedEnemy;
        return std::clamp(roundIndex(number), 0, capacity::enemies - 1);
    }

} // namespace

bool ChooseEnemyGroup(Context& ctx)
{
    BattleState& b = ctx.battle;
    bool random = ctx.game.battleKind == 0;
    int mapNumber = std::clamp(roundIndex(ctx.game.map), 0, capacity::maps - 1);
    const Encounter& table = ctx.db.encounters[static_cast<std::size_t>(mapNumber)];
    int last = std::clamp(roundIndex(b.lastEnemySlot), 0, battleSlots - 1);
    b.totalSize = 0;
    for (int s = 0;; ++s) {
        int number;
        if (random) {
            // When nothing of the table fits the room left, the group closes with the slots
            // filled so far.
            if (!anyEncounterFits(ctx, table, b.totalSize)) {
                if (s == 0)
                    return false;
                b.lastEnemySlot = static_cast<float>(s - 1);
                return true;
            }
            number = drawEncounterEnemy(ctx, table, b.totalSize);
        } else {
            number = scriptedEnemy(ctx, s);
        }
        b.totalSize += ctx.db.enemies[static_cast<std::size_t>(number)].size;
        fillSlot(ctx, s, number);
        if (b.totalSize == 6 || s >= last) {
            b.lastEnemySlot = static_cast<float>(s);
            return true;
        }
    }
}

namespace {

    void startBattleMusic(Context& ctx)
    {
        ctx.battle.rememberedMusic = ctx.sound.musicName;
        stopMusic(ctx);
        playSound(ctx, "btl");
        ctx.sound.musicName = ctx.battle.battleMusic;
        playMusic(ctx);
    }

    void loadPictures(Context& ctx)
    {
        BattleState& b = ctx.battle;
        int mapNumber = std::clamp(roundIndex(ctx.game.map), 0, capacity::towns - 1);
        auto background = findGrpPicture(ctx, ctx.db.towns[static_cast<std::size_t>(mapNumber)].battleBack);
        b.background = background ? std::move(*background) : Picture(screenWidth, screenHeight);
        for (int s = 0; s < battleSlots; ++s) {
            b.enemyPictures[static_cast<std::size_t>(s)] = Picture {};
            b.enemyMasks[static_cast<std::size_t>(s)] = Picture {};
            if (s > roundIndex(b.lastEnemySlot))
                continue;
            const std::string& graphic = enemyRecord(ctx, s).graphic;
            if (auto mask = findGrpPicture(ctx, graphic + "m"))
                b.enemyMasks[static_cast<std::size_t>(s)] = std::move(*mask);
            if (auto picture = findGrpPicture(ctx, graphic))
                b.enemyPictures[static_cast<std::size_t>(s)] = std::move(*picture);
        }
    }

    void openBattleMessageWindow(Context& ctx)
    {
        WindowState& w = ctx.windows;
        w.winX = 0;
        w.winY = 18;
        w.winW = 31;
        w.winH = 6;
        DrawWindow(ctx);
    }

    std::string startLine(const Context& ctx)
    {
        std::string line = ctx.game.battleKind == 0 ? "start random" : "start scripted";
        for (int s = 0; s <= roundIndex(ctx.battle.lastEnemySlot); ++s)
            line += " " + std::to_string(roundIndex(ctx.battle.enemies[static_cast<std::size_t>(s)].enemyNumber));
        return line;
    }

} // namespace

bool setUpBattle(Context& ctx)
{
    BattleState& b = ctx.battle;
    ctx.field.stepCount = 0;
    if (ctx.game.battleKind == 0)
        b.lastEnemySlot = static_cast<float>(randomLastEnemySlot(ctx));
    for (int m = 0; m < capacity::characters; ++m) {
        const Character& c = ctx.db.characters[static_cast<std::size_t>(m)];
        b.members[static_cast<std::size_t>(m)] = BattleStats { c.attack, c.defense, c.speed, c.magicDefense, c.hitRate, 0 };
    }
    if (!ChooseEnemyGroup(ctx))
        return false;
    ctx.surfaces.screenCopy = ctx.platform.screen();
    startBattleMusic(ctx);
    b.autoBattle = 0;
    b.result = BattleResult::None;
    b.expTotal = 0;
    b.goldTotal = 0;
    b.actingMember = 0;
    ctx.windows.inBattle = 1;
    loadPictures(ctx);
    b.enemiesLeft = b.lastEnemySlot;
    ctx.transcript.write("battle", startLine(ctx));

    // The enemies' places: a row centred on the screen, each slot size x 80 pixels wide.
    float x0 = 256 - 40 * b.totalSize;
    for (int s = 0; s <= roundIndex(b.lastEnemySlot); ++s) {
        BattleEnemy& e = b.enemies[static_cast<std::size_t>(s)];
        e.x = x0;
        x0 += e.size * enemyUnitWidth;
    }
    drawBackgroundAndPanel(ctx);
    openBattleMessageWindow(ctx);
    for (int s = 0; s <= roundIndex(b.lastEnemySlot); ++s) {
        drawEnemy(ctx, s);
        battleLine(ctx, formatMessage(ctx, Message::EnemyAppeared, { { "enemy", b.enemies[static_cast<std::size_t>(s)].name } }));
        WaitPage(ctx);
    }
    b.lootCount = 0;
    playMusic(ctx);
    return true;
}

} // namespace vorn
