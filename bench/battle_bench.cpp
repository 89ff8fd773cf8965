// Battles headless: rounds of an auto-battle between a party of four and six enemies that never
// fall, and the drawing of the battle screen alone (its share of a round's work).
#include "battle/battle.h"
#include "bench.h"
#include "battle/battle_flow.h"
#include "core/context.h"
#include "gamegen/starter_game.h"
#include "platform/encoding.h"
#include "platform/headless/headless_platform.h"

#include <filesystem>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int partySize = 4;
constexpr int enemySlots = 6;
constexpr int actionsPerRound = partySize + enemySlots;

struct BattleBench {
    fs::path folder = fs::temp_directory_path() / ("vorn-battle-bench-" + std::to_string(getpid()));
    vorn::HeadlessPlatform platform { {} };
    vorn::Transcript transcript;
    std::unique_ptr<vorn::Context> ctx;

    BattleBench()
    {
        fs::create_directories(folder);
        ctx = std::make_unique<vorn::Context>(platform, transcript, folder, 1);
        vorn::Context& c = *ctx;
        vorn::createSurfaces(c.surfaces);
        c.surfaces.frameSheet = vorn::gamegen::makeFrameSheet();
        c.settings.soundOn = -1;
        c.settings.musicOn = -1;
        c.db.sizes.lastCharacter = partySize - 1;
        c.db.sizes.enemyCount = 1;
        c.db.targets.threshold[partySize - 1] = { 25, 50, 75, 100 };
        for (int m = 0; m < partySize; ++m) {
            vorn::Character& ch = c.db.characters[static_cast<std::size_t>(m)];
            ch.name = vorn::utf8ToCp932("ゆうしゃ");
            ch.level = 1;
            ch.hp = ch.maxHp = 1e9f;
            ch.attack = 30;
            ch.defense = 10;
            ch.speed = static_cast<float>(5 + m);
            ch.hitRate = 90;
        }
        vorn::Enemy& e = c.db.enemies[0];
        e.name = vorn::utf8ToCp932("スライム");
        e.hp = 1e9f;
        e.attack = 20;
        e.defense = 5;
        e.speed = 6;
        e.size = 1;
        e.hitRate = 90;
        e.actions.fill(99);
        c.game.battleKind = 1;
        c.battle.scriptedList = false;
        c.battle.scriptedEnemy = 0;
        c.battle.lastEnemySlot = enemySlots - 1;
        // The set-up without its key waits: the group, the battle copies, the screen.
        vorn::ChooseEnemyGroup(c);
        for (int s = 0; s < enemySlots; ++s)
            c.battle.enemies[static_cast<std::size_t>(s)].x = static_cast<float>(16 + 80 * s);
        for (int m = 0; m < partySize; ++m) {
            const vorn::Character& ch = c.db.characters[static_cast<std::size_t>(m)];
            c.battle.members[static_cast<std::size_t>(m)] = { ch.attack, ch.defense, ch.speed, 0, ch.hitRate, 0 };
        }
        c.battle.enemiesLeft = c.battle.lastEnemySlot;
        c.battle.background = vorn::Picture(512, 384, 0x204060);
        c.windows.inBattle = 1;
        c.windows.winX = 0;
        c.windows.winY = 18;
        c.windows.winW = 31;
        c.windows.winH = 5;
        vorn::drawBattleScreen(c);
        c.battle.autoBattle = 1;
        c.game.battleKind = 2;
        c.battle.breakFlag = 1;
    }
    ~BattleBench() { fs::remove_all(folder); }
};

} // namespace

namespace vorn::bench {

// Rounds of auto-battle (the break counter stops the round loop after one round's actions), and
// the whole battle screen drawn once: background, six enemies, the party panel.
std::vector<Figure> battleFigures(const Budget& budget)
{
    BattleBench bench;
    vorn::Context& c = *bench.ctx;
    bool first = true;
    double round = meanSeconds(budget.secondsPerFigure, [&] {
        c.battle.result = vorn::BattleResult::None;
        c.battle.breakCount = actionsPerRound;
        c.game.battleKind = first ? 2 : 3;
        vorn::runRounds(c, !first);
        first = false;
    });
    double draw = meanSeconds(budget.secondsPerFigure, [&] { vorn::drawBattleScreen(c); });
    return {
        { "battle rounds per second", 1.0 / round, "rounds/s", "auto-battle, 4 members against 6 enemies" },
        { "battle screen drawn", draw * 1e6, "us", "background, six enemies, the party panel" },
    };
}

} // namespace vorn::bench
