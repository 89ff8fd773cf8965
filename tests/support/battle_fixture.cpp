#include "support/battle_fixture.h"

#include "gamegen/starter_game.h"
#include "platform/encoding.h"
#include "platform/surfaces.h"

namespace vorn::test {

namespace {

    Character member(const char* name, float attack, float defense, float speed, float hitRate, float hp)
    {
        Character c;
        c.name = utf8ToCp932(name);
        c.level = 1;
        c.hp = hp;
        c.maxHp = hp;
        c.mp = 10;
        c.maxMp = 10;
        c.attack = attack;
        c.defense = defense;
        c.speed = speed;
        c.hitRate = hitRate;
        c.nextExp = 10;
        return c;
    }

    Enemy enemy(const char* name, float hp, float attack, float defense, float speed, float size)
    {
        Enemy e;
        e.name = utf8ToCp932(name);
        e.hp = hp;
        e.attack = attack;
        e.defense = defense;
        e.speed = speed;
        e.size = size;
        e.exp = 5;
        e.gold = 7;
        e.hitRate = 90;
        e.actions.fill(99);
        e.graphic = "none";
        return e;
    }

    void weapon(Database& db, int number, const char* name, float attack, float hitRate, float hits, const char* code)
    {
        Item& item = db.items[static_cast<std::size_t>(number)];
        item.text[0] = utf8ToCp932(name);
        item.text[5] = code;
        item.equipment = static_cast<float>(number + 1);
        item.hitRate = hitRate;
        item.uses = 999;
        Equipment& e = db.equipment[static_cast<std::size_t>(number)];
        e.attack = attack;
        e.attackCount = hits;
        e.slot = 0;
    }

} // namespace

void makeBattleDatabase(Context& ctx)
{
    Database& db = ctx.db;
    db = Database {};
    db.sizes.lastCharacter = 1;
    db.sizes.levelCount = 5;
    db.sizes.spellSlots = 10;
    db.sizes.inventorySlots = 3;
    db.sizes.enemyCount = 3;
    db.characters[0] = member("アレン", 20, 10, 8, 90, 50);
    db.characters[1] = member("ミナ", 8, 6, 5, 80, 30);
    db.characters[1].growthType = 1;
    db.enemies[0] = enemy("スライム", 20, 12, 4, 3, 1);
    db.enemies[1] = enemy("ゴーレム", 80, 30, 20, 1, 2);
    db.enemies[2] = enemy("コウモリ", 10, 9, 1, 12, 1);
    weapon(db, fixtureItems::sword, "剣", 10, 80, 2, "-");
    weapon(db, fixtureItems::allSword, "風の剣", 5, 80, 1, "EA-");
    Item& shield = db.items[fixtureItems::shield];
    shield.text[0] = utf8ToCp932("盾");
    shield.equipment = fixtureItems::shield + 1;
    db.equipment[fixtureItems::shield].defense = 4;
    db.equipment[fixtureItems::shield].speed = 3;
    db.equipment[fixtureItems::shield].slot = 1;
    db.items[fixtureItems::herb].text[0] = utf8ToCp932("薬草");
    db.items[fixtureItems::herb].uses = 1;
    // Target table rows: a party of one always picks member 0, of two half and half.
    db.targets.threshold[0][0] = 100;
    db.targets.threshold[1][0] = 50;
    db.targets.threshold[1][1] = 100;
}

void setUpFixtureBattle(Context& ctx, std::initializer_list<int> enemies)
{
    createSurfaces(ctx.surfaces);
    ctx.surfaces.frameSheet = gamegen::makeFrameSheet();
    makeBattleDatabase(ctx);
    BattleState& b = ctx.battle;
    b = BattleState {};
    ctx.game.battleKind = 0;
    int slot = 0;
    float x = 256 - 40 * static_cast<float>(enemies.size());
    for (int number : enemies) {
        const Enemy& e = ctx.db.enemies[static_cast<std::size_t>(number)];
        BattleEnemy& s = b.enemies[static_cast<std::size_t>(slot++)];
        s.name = e.name;
        s.enemyNumber = static_cast<float>(number);
        s.hp = s.maxHp = e.hp;
        s.attack = e.attack;
        s.defense = e.defense;
        s.speed = e.speed;
        s.hitRate = e.hitRate;
        s.exp = e.exp;
        s.gold = e.gold;
        s.size = e.size;
        s.actions = e.actions;
        s.x = x;
        x += e.size * 80;
    }
    b.lastEnemySlot = static_cast<float>(slot - 1);
    b.enemiesLeft = b.lastEnemySlot;
    for (int m = 0; m < capacity::characters; ++m) {
        const Character& c = ctx.db.characters[static_cast<std::size_t>(m)];
        b.members[static_cast<std::size_t>(m)] = BattleStats { c.attack, c.defense, c.speed, c.magicDefense, c.hitRate, 0 };
    }
    b.background = Picture(512, 384);
    b.autoBattle = 1;
    ctx.windows.inBattle = 1;
    ctx.windows.winX = 0;
    ctx.windows.winY = 18;
    ctx.windows.winW = 31;
    ctx.windows.winH = 5;
}

void equip(Context& ctx, int member, int item)
{
    Character& c = ctx.db.characters[static_cast<std::size_t>(member)];
    int k = static_cast<int>(c.itemCount);
    c.inventory[static_cast<std::size_t>(k)] = { static_cast<float>(item), 2, 999 };
    c.itemCount = static_cast<float>(k + 1);
    int slot = static_cast<int>(ctx.db.equipment[static_cast<std::size_t>(item)].slot);
    c.equipment[static_cast<std::size_t>(slot)] = static_cast<float>(item + 1);
}

std::string keyPresses(const char* key, int count, int gapMs)
{
    std::string out;
    for (int i = 0; i < count; ++i)
        out += "wait " + std::to_string(gapMs) + "\npress " + key + "\n";
    return out;
}

} // namespace vorn::test
