// The layout of a slot file, written once and walked three ways: by the slot reader and the slot
// writer over one SlotFile, and by the save and load commands, which copy every value it names
// between a SlotFile and the game state (core/slot_game.h gives the game's side the slot's field
// names). A value left out here is neither written, read, saved nor loaded.
//
// Each walk passes one side (a reader or a writer) or two (a copy: from, then to), and a layout
// step names a value once for all of them: `v.number(s.gold...)` is `v.number(slot.gold)` for a
// reader and `v.number(from.gold, to.gold)` for a copy. A walk has:
//   number(float&...), text(std::string&...)  one value of each side;
//   end()                                     closes a record;
//   sized(count, list...)                     before a list's `count` entries are walked;
//   cellMarks                                 whether it walks the events' cell marks (the game
//                                             keeps them in the map's cells, not in its events;
//                                             a copy places them itself).
// The version record (the save version and the player picture) is read and written apart: the
// version decides what follows.
#pragma once

#include "data/database.h"
#include "data/saves.h"

#include <cstddef>

namespace vorn::slot_layout {

// Record 1.
template <class V, class... S>
void header(V& v, S&... s)
{
    v.text(s.label...);
    v.number(s.screenX...);
    v.number(s.screenY...);
    v.number(s.scrollX...);
    v.number(s.scrollY...);
    v.number(s.map...);
    v.number(s.partyLast...);
    v.number(s.facing...);
    v.number(s.animFrame...);
    v.number(s.gold...);
    v.end();
}

// Record 2 of one roster character.
template <class V, class... C>
void character(V& v, const SlotShape& shape, C&... ch)
{
    v.number(ch.growthType...);
    v.text(ch.name...);
    v.number(ch.level...);
    v.number(ch.hp...);
    v.number(ch.mp...);
    v.number(ch.maxHp...);
    v.number(ch.maxMp...);
    v.number(ch.attack...);
    v.number(ch.defense...);
    v.number(ch.speed...);
    v.number(ch.exp...);
    v.number(ch.nextExp...);
    v.number(ch.itemCount...);
    v.number(ch.spellCount...);
    v.end();
    v.sized(shape.inventorySlots, ch.inventory...);
    for (std::size_t k = 0; k < static_cast<std::size_t>(shape.inventorySlots); ++k) {
        v.number(ch.inventory[k][InventoryItem]...);
        v.end();
        v.number(ch.inventory[k][InventoryEquipped]...);
        v.end();
    }
    v.sized(shape.spellSlots, ch.spells...);
    for (std::size_t k = 0; k < static_cast<std::size_t>(shape.spellSlots); ++k) {
        v.number(ch.spells[k]...);
        v.end();
    }
    for (std::size_t j = 0; j < 6; ++j) {
        v.number(ch.conditions[j]...);
        v.end();
        v.number(ch.equipment[j]...);
        v.end();
    }
}

// Records 1 to 4: header, roster, event flags, towns visited.
template <class V, class... S>
void head(V& v, const SlotShape& shape, S&... s)
{
    header(v, s...);
    v.sized(shape.rosterLast + 1, s.roster...);
    for (std::size_t c = 0; c < static_cast<std::size_t>(shape.rosterLast + 1); ++c)
        character(v, shape, s.roster[c]...);
    v.sized(shape.mapCount, s.flags...);
    for (std::size_t m = 0; m < static_cast<std::size_t>(shape.mapCount); ++m) {
        for (std::size_t f = 0; f < capacity::flagsPerMap; ++f) {
            v.number(s.flags[m][f]...);
            v.end();
        }
    }
    v.sized(shape.townCount, s.visited...);
    for (std::size_t i = 0; i < static_cast<std::size_t>(shape.townCount); ++i) {
        v.number(s.visited[i]...);
        v.end();
    }
}

// Records 5 and 6: the map size and the event entries with the cell marks of their cells.
template <class V, class... S>
void events(V& v, S&... s)
{
    v.number(s.mapWidth...);
    v.number(s.mapHeight...);
    v.end();
    for (std::size_t n = 0; n < static_cast<std::size_t>(slotEventCount); ++n) {
        v.number(s.events[n].x...);
        v.number(s.events[n].y...);
        v.number(s.events[n].speed...);
        v.number(s.events[n].stepFrames...);
        v.number(s.events[n].facing...);
        v.end();
        if constexpr (V::cellMarks) {
            for (std::size_t i = 0; i < 3; ++i)
                v.text(s.events[n].marks[i]...);
            v.end();
        }
    }
}

// Record 8 of one roster character: the values saved from version 311 on.
template <class V, class... C>
void characterExtras(V& v, const SlotShape& shape, C&... ch)
{
    v.number(ch.criticalRate...);
    v.number(ch.hitRate...);
    v.number(ch.magicDefense...);
    v.number(ch.attribute...);
    v.end();
    for (std::size_t k = 0; k < static_cast<std::size_t>(shape.inventorySlots); ++k) {
        v.number(ch.inventory[k][InventoryUses]...);
        v.end();
    }
    for (std::size_t j = 6; j < capacity::conditions; ++j) {
        v.number(ch.conditions[j]...);
        v.end();
    }
}

template <class V, class... S>
void extras(V& v, const SlotShape& shape, S&... s)
{
    for (std::size_t c = 0; c < static_cast<std::size_t>(shape.rosterLast + 1); ++c)
        characterExtras(v, shape, s.roster[c]...);
}

// Record 9: display and sound settings, saved from version 331 on.
template <class V, class... S>
void settings(V& v, S&... s)
{
    v.number(s.fontChoice...);
    v.number(s.walkStep...);
    v.number(s.passThrough...);
    v.text(s.battleMusic...);
    for (std::size_t i = 0; i < 4; ++i)
        v.number(s.passThroughMore[i]...);
    v.text(s.music...);
    v.end();
}

// Records 10 and 11: the window layout table and the view size, saved from version 331 on.
template <class V, class... S>
void windowLayout(V& v, S&... s)
{
    for (std::size_t i = 0; i < defaultWindowLayout.size(); ++i) {
        v.number(s.windowLayout[i]...);
        v.end();
    }
    v.number(s.viewColumns...);
    v.number(s.viewRows...);
    v.end();
}

} // namespace vorn::slot_layout
