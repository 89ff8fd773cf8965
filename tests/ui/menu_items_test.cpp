// Menu kinds built from the game state, and the gold window.
#include "core/messages.h"
#include "core/party.h"
#include "core/translation.h"
#include "platform/encoding.h"
#include "ui/windows.h"
#include "ui_fixture.h"

#include <gtest/gtest.h>

using namespace vorn;
using vorn::test::UiFixture;

namespace {

std::vector<std::string> items(UiFixture& f, int kind)
{
    buildMenuItems(f.ctx(), static_cast<MenuKind>(kind));
    std::vector<std::string> out;
    for (const auto& item : f.windows().menuItems)
        out.push_back(cp932ToUtf8(item));
    return out;
}

} // namespace

TEST(MenuItems, FixedKinds)
{
    UiFixture f;
    EXPECT_EQ(items(f, 23), (std::vector<std::string> { "  新  規", "  読  込" }));
    EXPECT_EQ(items(f, 10), (std::vector<std::string> { "  は  い", "  いいえ" }));
    EXPECT_EQ(items(f, 1).size(), 5u);
    EXPECT_EQ(items(f, 21).size(), 8u);
    EXPECT_EQ(items(f, 24).back(), "  無装備");
    EXPECT_TRUE(items(f, 30).empty());
    EXPECT_TRUE(items(f, -4).empty());
}

TEST(MenuItems, KindsBuiltFromTheGameState)
{
    UiFixture f;
    Context& ctx = f.ctx();
    ctx.db.sizes.lastCharacter = 2;
    EXPECT_EQ(items(f, 5), (std::vector<std::string> { "  アルト", "  ミレイ", "  ゴドー" }));

    // Items of a member: equipped mark, unlimited uses, the uses with the number's blank.
    Character& c = ctx.db.characters[1];
    c.itemCount = 2;
    c.inventory[0] = { 0, 2, 999 };
    c.inventory[1] = { 1, 0, 3 };
    f.windows().menuMember = 1;
    std::string first = cp932ToUtf8(ctx.db.items[0].text[0]);
    std::string second = cp932ToUtf8(ctx.db.items[1].text[0]);
    EXPECT_EQ(items(f, 7), (std::vector<std::string> { "  " + first + "≪ (無)", "  " + second + " ( 3)" }));
    f.windows().paging = Paging::Stops;
    EXPECT_EQ(items(f, 7)[1], second + " ( 3)");
    f.windows().paging = Paging::None;
    // Spells of a member; a spell number out of the table gives an empty name, not a crash.
    c.spellCount = 2;
    c.spells[0] = 0;
    c.spells[1] = 5000;
    EXPECT_EQ(items(f, 2), (std::vector<std::string> { "  " + cp932ToUtf8(ctx.db.spells[0].text[0]), "  " }));
    f.windows().menuMember = 99;
    EXPECT_TRUE(items(f, 2).empty());

    // Save slots: date and time parts of the label.
    ctx.saves.labels.fill("------------");
    ctx.saves.labels[2] = "001231235959";
    auto slots = items(f, 6);
    ASSERT_EQ(slots.size(), 9u);
    EXPECT_EQ(slots[2], "  3:00/12/31  23:59:59");
    EXPECT_EQ(slots[0], "  1:--/--/--  --:--:--");

    // Settings: switches, the speed in a full-width digit, the encounter mode.
    ctx.settings.soundOn = -1;
    ctx.settings.walkDelay = 3;
    ctx.settings.encounterMode = -1;
    EXPECT_EQ(items(f, 20), (std::vector<std::string> { "  ＢＧＭ  ＯＮ", "  効果音  ＯＦＦ", "  人移動  ＯＮ", "  速　度  ３", "  敵遭遇  停止時", "  キー設定  " }));

    // Shop stock: the name padded to 20 bytes and the price right-aligned in 8.
    f.windows().shopStock = { 1 };
    ctx.db.items[1].price = 120;
    auto stock = items(f, 14);
    ASSERT_EQ(stock.size(), 1u);
    EXPECT_EQ(utf8ToCp932(stock[0]).size(), 2u + 20 + 8);
    EXPECT_EQ(stock[0].substr(stock[0].size() - 8), "     120");

    // Formation order so far.
    f.windows().formationOrder = { 2, 0 };
    EXPECT_EQ(items(f, 13), (std::vector<std::string> { "ゴドー", "アルト" }));
}

TEST(MenuItems, GoldWindowShowsTheGoldRightAligned)
{
    UiFixture f;
    f.ctx().game.gold = 500;
    ShowGold(f.ctx());
    EXPECT_EQ(f.lines("text"), (std::vector<std::string> { "所持金       500" }));
    EXPECT_TRUE(f.screenShowsCell(20 * 16, 16, 0, 0));
    EXPECT_TRUE(f.screenShowsCell(30 * 16, 3 * 16, 16, 16));
}

// A translated item longer than its menu: the menu grows to hold it whole, within the screen.
TEST(MenuItems, AMenuGrowsForAnItemLongerThanItWasMadeFor)
{
    UiFixture f;
    std::vector<std::string> warnings;
    Translation translation = Translation::fromPo(
        "msgctxt \"messages/TitleNewGame\"\nmsgid \"  新  規\"\nmsgstr \"  Start a new journey\"\n", warnings);
    f.ctx().messages.translate(translation, warnings);
    openMenu(f.ctx(), MenuKind::Title);
    EXPECT_EQ(f.windows().menuW, 12); // 21 half-width letters: 11 cells, and one more
    EXPECT_EQ(f.lines("text"), (std::vector<std::string> { "  Start a new journey", "  読  込" }));
    // Near the right edge it grows only as far as the screen.
    openMenu(f.ctx(), MenuKind::Title, { 24, 1 });
    EXPECT_EQ(f.windows().menuW, 7);
    openMenu(f.ctx(), MenuKind::YesNo, { 1, 1 }); // items that fit leave the menu as made
    EXPECT_EQ(f.windows().menuW, 6);
}

// Every kind opens from its row of the kind table: at its place (in battle at its battle place),
// one item row per entry, the fixed kinds listing their items in the order of their choices.
TEST(MenuItems, EveryKindOpensFromItsRowOfTheKindTable)
{
    UiFixture f;
    Context& ctx = f.ctx();
    WindowState& w = f.windows();
    ctx.db.sizes.lastCharacter = 1;
    w.formationOrder = { 1 };
    w.winX = 3;
    for (float inBattle : { 0.0f, 1.0f }) {
        w.inBattle = inBattle;
        for (MenuKind kind : allMenuKinds) {
            const MenuKindInfo& row = menuKindInfo(kind);
            SCOPED_TRACE(static_cast<int>(kind));
            EXPECT_EQ(row.kind, kind);
            if (row.rect.w == 0) {
                // No place of its own: a data list that the screen using it builds and shows.
                buildMenuItems(ctx, kind);
                EXPECT_TRUE(w.menuItems.empty());
                continue;
            }
            openMenu(ctx, kind);
            const MenuRect& place = inBattle != 0 && row.battleRect.w != 0 ? row.battleRect : row.rect;
            EXPECT_EQ(w.menuKind, kind);
            EXPECT_EQ(w.menuX, place.x);
            EXPECT_EQ(w.menuY, place.y);
            EXPECT_EQ(w.menuW, place.w);
            // As many item rows as entries; a kind without a height is as tall as its list.
            EXPECT_EQ(w.menuH - 2, static_cast<float>(w.menuItems.size()));
            if (place.h != 0) {
                EXPECT_EQ(w.menuH, place.h);
            }
            for (int i = 0; i < row.items.count; ++i)
                EXPECT_EQ(w.menuItems.at(static_cast<std::size_t>(i)), message(ctx, row.items.texts[static_cast<std::size_t>(i)]));
        }
    }
    // Kinds opened where their callers say keep their size there.
    w.inBattle = 0;
    openMenu(ctx, MenuKind::Members, { 5, 3 });
    EXPECT_EQ(w.menuX, 5);
    EXPECT_EQ(w.menuH, 4); // two members
    // The menus keep the caller's window.
    EXPECT_EQ(w.winX, 3);
}

TEST(MenuItems, ThePartyStaysWithinTheRoster)
{
    UiFixture f;
    Context& ctx = f.ctx();
    ctx.db.sizes.lastCharacter = 500;
    EXPECT_EQ(partyLast(ctx.db), capacity::characters - 1);
    EXPECT_EQ(items(f, 5).size(), static_cast<std::size_t>(capacity::characters));
    ctx.db.sizes.lastCharacter = -3;
    EXPECT_EQ(partyLast(ctx.db), 0);
    ctx.db.sizes.lastCharacter = 1.6f; // an index rounds to the nearest
    EXPECT_EQ(partyLast(ctx.db), 2);
}
