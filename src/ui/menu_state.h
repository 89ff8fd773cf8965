// The menu kinds: the numbers the game uses for them, where each opens, the items of the menus
// with fixed items, and what choosing each of those items means. One row per kind in menuKinds;
// the operations that open and run them are in ui/windows.h.
#pragma once

#include "core/messages.h"

#include <array>
#include <cstddef>

namespace vorn {

// The menu kinds openMenu builds, with the numbers the game uses for them.
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

inline constexpr int menuKindCount = 30;

// Every kind, in the order of their numbers.
inline constexpr std::array<MenuKind, menuKindCount> allMenuKinds = [] {
    std::array<MenuKind, menuKindCount> kinds {};
    for (int k = 1; k <= menuKindCount; ++k)
        kinds[static_cast<std::size_t>(k - 1)] = static_cast<MenuKind>(k);
    return kinds;
}();

// A menu window in tiles: left, top, the width parameter (the window covers w + 1 columns) and
// the height (h rows, h - 2 of them items).
struct MenuRect {
    float x = 0, y = 0, w = 0, h = 0;
};

// A tile position: where a menu opened at a place of its caller's choosing goes.
struct TilePoint {
    float x = 0, y = 0;
};

// What choosing each item of the menus with fixed items means: the first item is choice 1.
namespace battle_command {
    enum Choice : int { Cancelled,
        Attack,
        Magic,
        Flee,
        Items,
        Auto };
} // namespace battle_command
namespace item_action {
    enum Choice : int { Cancelled,
        Use,
        Equip,
        Give,
        Discard,
        Describe };
} // namespace item_action
namespace yes_no {
    enum Choice : int { Cancelled,
        Yes,
        No };
} // namespace yes_no
namespace shop_menu {
    enum Choice : int { Cancelled,
        Buy,
        Sell,
        Describe };
} // namespace shop_menu
namespace healer_menu {
    enum Choice : int { Cancelled,
        Revive,
        Cure };
} // namespace healer_menu
namespace settings_menu {
    enum Choice : int { Cancelled,
        Music,
        Sound,
        People,
        Speed,
        Encounters,
        Keys };
} // namespace settings_menu
namespace field_menu {
    enum Choice : int { Cancelled,
        Magic,
        Items,
        Status,
        Formation,
        Save,
        Load,
        Options,
        Quit };
} // namespace field_menu
namespace title_menu {
    enum Choice : int { Cancelled,
        NewGame,
        Load };
} // namespace title_menu
namespace equip_action {
    enum Choice : int { Cancelled,
        Wear,
        Strongest,
        Remove,
        RemoveAll };
} // namespace equip_action

// The fixed items of a menu, in the order of their choices (the first is choice 1).
struct FixedItems {
    std::array<Message, 8> texts {};
    int count = 0;
};

// One menu kind: where it opens and what its rows are.
struct MenuKindInfo {
    MenuKind kind = MenuKind::None;
    // Where it opens. A height of 0: as tall as its list (entries + 2). The kinds opened where
    // their callers say (members, the yes/no question, the party panel) give their size; their
    // callers give the place.
    MenuRect rect;
    // Where it opens in battle, for the kinds that open elsewhere there (w 0: at rect).
    MenuRect battleRect;
    // The fixed items; none for the kinds built from the game state (and the data lists built by
    // the screens that use them).
    FixedItems items;
};

inline constexpr std::array<MenuKindInfo, menuKindCount> menuKinds { {
    { MenuKind::BattleCommand, { 25, 11, 6, 7 }, {},
        { { Message::BattleAttack, Message::BattleMagic, Message::BattleFlee, Message::BattleItems, Message::BattleAuto }, 5 } },
    // The status screen's list; the use and describe lists are ShowList's.
    { MenuKind::Spells, { 4, 4, 11, 0 }, {}, {} },
    { MenuKind::ItemAction, { 10, 3, 6, 7 }, { 22, 9, 6, 7 },
        { { Message::ItemUse, Message::ItemEquip, Message::ItemGive, Message::ItemDiscard, Message::ItemDescribe }, 5 } },
    { MenuKind::List4, {}, {}, {} },
    { MenuKind::Members, { 0, 0, 10, 0 }, {}, {} },
    { MenuKind::SaveSlots, { 8, 2, 13, 11 }, {}, {} },
    { MenuKind::Items, { 16, 4, 11, 0 }, {}, {} },
    { MenuKind::Next, { 10, 20, 5, 3 }, {}, { { Message::Next }, 1 } },
    { MenuKind::Back, { 10, 20, 5, 3 }, {}, { { Message::Back }, 1 } },
    { MenuKind::YesNo, { 8, 6, 6, 4 }, {}, { { Message::Yes, Message::No }, 2 } },
    { MenuKind::Gold, { 20, 1, 10, 3 }, {}, {} },
    { MenuKind::PartyStatus, { 0, 0, 31, 6 }, {}, {} },
    { MenuKind::Formation, { 19, 10, 10, 0 }, {}, {} },
    { MenuKind::ShopStock, {}, {}, {} },
    { MenuKind::Shop, { 1, 1, 5, 5 }, {}, { { Message::ShopBuy, Message::ShopSell, Message::ShopDescribe }, 3 } },
    { MenuKind::ShopNames, {}, {}, {} },
    { MenuKind::Healer, { 1, 1, 7, 4 }, {}, { { Message::HealerRevive, Message::HealerCure }, 2 } },
    { MenuKind::List18, {}, {}, {} },
    { MenuKind::List19, {}, {}, {} },
    // Six switches and choices, built from the settings.
    { MenuKind::Settings, { 8, 1, 10, 8 }, {}, {} },
    { MenuKind::FieldMenu, { 1, 1, 8, 10 }, {},
        { { Message::FieldMagic, Message::FieldItems, Message::FieldStatus, Message::FieldFormation, Message::FieldSave,
              Message::FieldLoad, Message::FieldSettings, Message::FieldQuit },
            8 } },
    { MenuKind::Towns, { 1, 1, 12, 0 }, {}, {} },
    { MenuKind::Title, { 1, 1, 6, 4 }, {}, { { Message::TitleNewGame, Message::TitleLoad }, 2 } },
    { MenuKind::EquipAction, { 13, 4, 6, 6 }, { 19, 8, 6, 6 },
        { { Message::EquipWear, Message::EquipStrongest, Message::EquipRemove, Message::EquipRemoveAll }, 4 } },
    { MenuKind::List25, {}, {}, {} },
    { MenuKind::List26, {}, {}, {} },
    { MenuKind::List27, {}, {}, {} },
    { MenuKind::List28, {}, {}, {} },
    { MenuKind::List29, {}, {}, {} },
    { MenuKind::List30, {}, {}, {} },
} };

inline constexpr MenuKindInfo noMenuKind {};

// The row of a kind (an empty row for a number outside the table).
constexpr const MenuKindInfo& menuKindInfo(MenuKind kind)
{
    int k = static_cast<int>(kind);
    return k >= 1 && k <= menuKindCount ? menuKinds[static_cast<std::size_t>(k - 1)] : noMenuKind;
}

// The table is in the order of the kinds' numbers, and each menu of fixed items lists one item
// per choice and has one row per item.
static_assert([] {
    for (int k = 1; k <= menuKindCount; ++k) {
        const MenuKindInfo& row = menuKinds[static_cast<std::size_t>(k - 1)];
        if (static_cast<int>(row.kind) != k)
            return false;
        if (row.items.count > 0 && row.rect.h - 2 != static_cast<float>(row.items.count))
            return false;
    }
    return true;
}());
static_assert(menuKindInfo(MenuKind::BattleCommand).items.count == battle_command::Auto);
static_assert(menuKindInfo(MenuKind::ItemAction).items.count == item_action::Describe);
static_assert(menuKindInfo(MenuKind::YesNo).items.count == yes_no::No);
static_assert(menuKindInfo(MenuKind::Shop).items.count == shop_menu::Describe);
static_assert(menuKindInfo(MenuKind::Healer).items.count == healer_menu::Cure);
static_assert(static_cast<int>(menuKindInfo(MenuKind::Settings).rect.h) - 2 == settings_menu::Keys);
static_assert(menuKindInfo(MenuKind::FieldMenu).items.count == field_menu::Quit);
static_assert(menuKindInfo(MenuKind::Title).items.count == title_menu::Load);
static_assert(menuKindInfo(MenuKind::EquipAction).items.count == equip_action::RemoveAll);

} // namespace vorn
