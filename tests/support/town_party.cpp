#include "support/town_party.h"

#include "platform/encoding.h"

namespace vorn::test {

void makeTownParty(Database& db, int members)
{
    db.sizes.lastCharacter = static_cast<float>(members - 1);
    db.sizes.lastCharacterSaved = 2;
    db.sizes.inventorySlots = 4;
    db.sizes.spellSlots = 3;
    db.sizes.levelCount = 20;
    const char* names[] = { "レイ", "ミナ", "ドルガ" };
    const float levels[] = { 3, 2, 4 };
    for (int c = 0; c < 3; ++c) {
        Character& ch = db.characters[static_cast<std::size_t>(c)];
        ch.growthType = static_cast<float>(c);
        ch.name = ch.defaultName = utf8ToCp932(names[c]);
        ch.level = levels[c];
        ch.hp = ch.maxHp = 30;
        ch.mp = ch.maxMp = 10;
        ch.attack = 10;
        ch.defense = 6;
        ch.speed = 5;
        ch.exp = 0;
        ch.nextExp = 10;
    }
    for (auto& row : db.levels) {
        for (LevelGrowth& g : row) {
            g.maxHp = 5;
            g.nextExp = 10;
        }
    }
    auto item = [&](int number, const char* name, float price, float uses) {
        Item& it = db.items[static_cast<std::size_t>(number)];
        it.text[0] = utf8ToCp932(name);
        it.price = price;
        it.uses = uses;
    };
    item(0, "薬草", 8, 1);
    item(1, "銅の剣", 1, 999);
    item(2, "長老のランタン", 30, 999);
    item(3, "とても長い名前のついた道具", 120, 1);
    db.items[2].noDiscard = 1;
    db.items[1].equipment = 1;
    Equipment& sword = db.equipment[0];
    sword.slot = 0;
    sword.attack = 4;
    sword.defense = 1;
    sword.speed = 2;
    sword.canEquip[0] = sword.canEquip[1] = 1;
    const char* spells[] = { "ヒール", "ファイア", "キュア" };
    for (int s = 0; s < 3; ++s)
        db.spells[static_cast<std::size_t>(s)].text[0] = utf8ToCp932(spells[s]);
}

} // namespace vorn::test
