#include "app/state_dump.h"

#include "core/context.h"
#include "core/party.h"
#include "data/record.h"
#include "platform/encoding.h"
#include "platform/file_writing.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace vorn {

namespace {

    using nlohmann::json;

    std::string itemName(const Database& db, float item)
    {
        int i = roundIndex(item);
        return i >= 0 && i < capacity::items ? cp932ToUtf8(db.items[static_cast<size_t>(i)].text[0]) : "";
    }

    json cellMarksToJson(const MapState& map)
    {
        json marks = json::array();
        for (int column = 0; column < map.width(); ++column) {
            for (int row = 0; row < map.height(); ++row) {
                const CellMarks& m = *map.marksAt(column, row);
                if (!m[0].empty() || !m[1].empty() || !m[2].empty())
                    marks.push_back({ { "column", column }, { "row", row }, { "marks", m } });
            }
        }
        return marks;
    }

    json memberToJson(const Database& db, const Character& ch)
    {
        int inventory = std::clamp(roundIndex(db.sizes.inventorySlots), 0, capacity::inventory);
        int spellSlots = std::clamp(roundIndex(db.sizes.spellSlots), 0, capacity::spellList);
        json m;
        m["name"] = cp932ToUtf8(ch.name);
        m["level"] = ch.level;
        m["hp"] = ch.hp;
        m["maxHp"] = ch.maxHp;
        m["mp"] = ch.mp;
        m["maxMp"] = ch.maxMp;
        m["exp"] = ch.exp;
        m["nextExp"] = ch.nextExp;
        m["attack"] = ch.attack;
        m["defense"] = ch.defense;
        m["speed"] = ch.speed;
        m["magicDefense"] = ch.magicDefense;
        m["hitRate"] = ch.hitRate;
        m["conditions"] = ch.conditions;
        m["equipment"] = ch.equipment;
        int spellCount = std::clamp(roundIndex(ch.spellCount), 0, spellSlots);
        m["spells"] = std::vector<float>(ch.spells.begin(), ch.spells.begin() + spellCount);
        json items = json::array();
        int itemCount = std::clamp(roundIndex(ch.itemCount), 0, inventory);
        for (int k = 0; k < itemCount; ++k) {
            const auto& entry = ch.inventory[static_cast<size_t>(k)];
            items.push_back({ { "item", entry[InventoryItem] }, { "name", itemName(db, entry[InventoryItem]) },
                { "equipped", entry[InventoryEquipped] }, { "uses", entry[InventoryUses] } });
        }
        m["inventory"] = items;
        json worn = json::array();
        for (float slot : ch.equipment)
            worn.push_back(slot == 0 ? json(nullptr) : json { { "item", slot - 1 }, { "name", itemName(db, slot - 1) } });
        m["worn"] = worn;
        m["criticalRate"] = ch.criticalRate;
        m["attribute"] = ch.attribute;
        return m;
    }

} // namespace

json stateToJson(const Context& ctx)
{
    const Database& db = ctx.db;
    json state;
    const FieldState& f = ctx.field;
    state["map"] = ctx.game.map;
    state["player"] = { { "column", intFloor((f.scrollX + f.screenX) / 32) },
        { "row", intFloor((f.scrollY + f.screenY) / 32) }, { "facing", f.facing } };
    state["gold"] = ctx.game.gold;
    state["partyLast"] = db.sizes.lastCharacter;
    json party = json::array();
    for (int i = 0; i <= partyLast(db); ++i)
        party.push_back(memberToJson(db, db.characters[static_cast<size_t>(i)]));
    state["party"] = party;
    json flags = json::object();
    for (size_t m = 0; m < db.flags.size(); ++m) {
        for (size_t n = 0; n < db.flags[m].size(); ++n) {
            if (db.flags[m][n] != 0)
                flags[std::to_string(m) + "," + std::to_string(n)] = db.flags[m][n];
        }
    }
    state["flags"] = flags;
    state["battleKind"] = ctx.game.battleKind;
    if (ctx.windows.inBattle != 0) {
        json enemies = json::array();
        const BattleState& b = ctx.battle;
        for (int e = 0; e <= std::clamp(roundIndex(b.lastEnemySlot), 0, battleSlots - 1); ++e) {
            const BattleEnemy& slot = b.enemies[static_cast<size_t>(e)];
            enemies.push_back({ { "enemy", slot.enemyNumber }, { "hp", slot.hp }, { "conditions", slot.conditions } });
        }
        state["battle"] = { { "enemies", enemies }, { "autoBattle", b.autoBattle }, { "expTotal", b.expTotal },
            { "goldTotal", b.goldTotal } };
    }
    json visited = json::array();
    int towns = std::clamp(roundIndex(db.sizes.townCount), 0, capacity::towns);
    for (int i = 0; i < towns; ++i) {
        if (db.towns[static_cast<size_t>(i)].visited != 0)
            visited.push_back(i);
    }
    state["visitedTowns"] = visited;
    state["slots"] = ctx.saves.labels;
    state["cellMarks"] = cellMarksToJson(ctx.map);
    state["music"] = cp932ToUtf8(ctx.sound.musicName);
    json layout = json::array();
    for (float v : ctx.windows.messageWindow)
        layout.push_back(v);
    for (float v : ctx.field.scrollMargins)
        layout.push_back(v);
    layout.push_back(ctx.saves.carry.layoutExtra);
    state["windowLayout"] = layout;
    state["playerPicture"] = ctx.field.playerPicture;
    const Settings& s = ctx.settings;
    state["settings"] = { { "musicOn", s.musicOn }, { "soundOn", s.soundOn }, { "walkAnim", s.walkAnim },
        { "walkDelay", s.walkDelay }, { "reserved", cp932ToUtf8(s.reserved) }, { "encounterMode", s.encounterMode } };
    return state;
}

void writeStateDump(const Context& ctx, const std::filesystem::path& path)
{
    if (!writeWholeFileAtomically(path, stateToJson(ctx).dump(2) + "\n"))
        std::fprintf(stderr, "vorn: cannot write %s\n", path.c_str());
}

} // namespace vorn
