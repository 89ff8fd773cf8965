// The menu kinds OpenMenu builds, with the numbers the game uses for them, and the rectangle a
// menu opens at.
#pragma once

#include <array>

namespace vorn {

enum class MenuKind : int {
    None = 0,
    BattleCommand = 1, // attack, magic, flee, items, auto
    Spells = 2, // the spells of ctx.windows.menuMember
    ItemAction = 3, // use, equip, give, discard, describe
    List4 = 4, // a list built from game data by the screen that uses it
    Members = 5, // one name per party member
    SaveSlots = 6, // the nine slots with their date and time
    Items = 7, // the inventory of ctx.windows.menuMember
    Next = 8, // "next" on the status screen
    Back = 9, // "back" on the status screen
    YesNo = 10,
    Gold = 11, // the party's gold
    PartyStatus = 12, // the battle panel: names, then the condition and gauge rows
    Formation = 13, // the members placed so far
    ShopStock = 14, // the stock of ctx.windows.shopStock with prices
    Shop = 15, // buy, sell, describe
    ShopNames = 16, // the stock's names alone (the shop's describe list)
    Healer = 17, // revive, cure
    List18 = 18,
    List19 = 19,
    Settings = 20,
    FieldMenu = 21,
    Towns = 22, // the visited towns of the town warp
    Title = 23, // new game, load
    EquipAction = 24, // equip, strongest, unequip, unequip all
    List25 = 25,
    List26 = 26,
    List27 = 27,
    List28 = 28,
    List29 = 29,
    List30 = 30,
};

// Every kind, in the order of their numbers.
inline constexpr std::array<MenuKind, 30> allMenuKinds = [] {
    std::array<MenuKind, 30> kinds {};
    for (int k = 1; k <= 30; ++k)
        kinds[static_cast<std::size_t>(k - 1)] = static_cast<MenuKind>(k);
    return kinds;
}();

// A menu window in tiles: left, top, the width parameter (the window covers w + 1 columns) and
// the height (h rows, h - 2 of them items).
struct MenuRect {
    float x = 0, y = 0, w = 0, h = 0;
};

} // namespace vorn
