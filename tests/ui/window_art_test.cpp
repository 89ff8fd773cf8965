// Window art against golden pictures (text excluded: the recording platform draws no glyphs):
// frames, the cursor, scroll marks, gauges and condition marks; plus exact checks of the
// pieces' places.
#include "platform/encoding.h"
#include "ui/windows.h"
#include "ui_fixture.h"

#include <gtest/gtest.h>

using namespace vorn;
using vorn::test::compareWithGolden;
using vorn::test::UiFixture;

namespace {

Picture loadShot(UiFixture& f, const std::string& name)
{
    Picture shot;
    EXPECT_TRUE(loadPng((f.ctx().root / (name + ".png")).string(), shot)) << name;
    return shot;
}

} // namespace

TEST(WindowArt, WindowOfWidth8Height11Covers9By11Tiles)
{
    UiFixture f;
    f.openWindow(2, 3, 8, 11);
    EXPECT_EQ(f.windows().winH, 10);
    EXPECT_EQ(f.windows().textRow, 16);
    const int left = 32, top = 48, right = left + 144, bottom = top + 176;
    for (int y = 0; y < 384; ++y) {
        for (int x = 0; x < 512; ++x) {
            bool inside = x >= left && x < right && y >= top && y < bottom;
            if (!inside && f.screen().at(x, y) != 0) {
                ADD_FAILURE() << "drawn outside the window at " << x << ", " << y;
                return;
            }
        }
    }
    EXPECT_TRUE(f.screenShowsCell(left, top, 0, 0));
    EXPECT_TRUE(f.screenShowsCell(right - 16, top, 16, 0));
    EXPECT_TRUE(f.screenShowsCell(left, bottom - 16, 0, 16));
    EXPECT_TRUE(f.screenShowsCell(right - 16, bottom - 16, 16, 16));
    EXPECT_TRUE(f.screenShowsCell(left + 16, top, 32, 0));
    EXPECT_TRUE(f.screenShowsCell(left + 16, bottom - 16, 48, 0));
    EXPECT_TRUE(f.screenShowsCell(left, top + 16, 48, 16));
    EXPECT_TRUE(f.screenShowsCell(right - 16, top + 16, 32, 16));
    EXPECT_TRUE(f.screenShowsCell(left + 64, top + 80, 16, 48));
    EXPECT_EQ(compareWithGolden(f.screen(), "window_8x11"), "");
}

TEST(WindowArt, CursorOverTheFieldMenu)
{
    UiFixture f("wait 100\nshot first\npress down\nwait 100\nshot second\npress left\n");
    WindowState& w = f.windows();
    openMenu(f.ctx(), MenuKind::FieldMenu);
    Picture menu = f.screen();
    chooseAt(f.ctx(), 1, 1, 8, 8);
    EXPECT_EQ(w.choice, 0);
    EXPECT_EQ(compareWithGolden(menu, "field_menu"), "");
    Picture first = loadShot(f, "first");
    Picture second = loadShot(f, "second");
    EXPECT_EQ(compareWithGolden(first, "field_menu_cursor_1"), "");
    EXPECT_EQ(compareWithGolden(second, "field_menu_cursor_2"), "");
    // The cursor box spans from the first item column to the right edge column's first pixel,
    // one tile row per item.
    EXPECT_NE(first.at(32, 32), menu.at(32, 32));
    EXPECT_NE(first.at(144, 47), menu.at(144, 47));
    EXPECT_EQ(first.at(145, 40), menu.at(145, 40));
    EXPECT_EQ(first.at(40, 48), menu.at(40, 48));
    EXPECT_EQ(second.at(40, 40), menu.at(40, 40));
    EXPECT_NE(second.at(40, 50), menu.at(40, 50));
    // Moving the cursor away and leaving put the menu back exactly.
    EXPECT_TRUE(f.screen().pixels == menu.pixels);
}

TEST(WindowArt, PagedListScrollMarks)
{
    UiFixture f("wait 100\nshot top\npress pagedown\nwait 100\nshot middle\npress end\nwait 100\nshot bottom\npress "
                "left\n");
    WindowState& w = f.windows();
    for (int i = 1; i <= 12; ++i)
        w.listTexts.push_back(utf8ToCp932("道具" + std::to_string(i)));
    ShowList(f.ctx(), 15, 1, 14, 6);
    EXPECT_EQ(compareWithGolden(loadShot(f, "top"), "list_top"), "");
    EXPECT_EQ(compareWithGolden(loadShot(f, "middle"), "list_middle"), "");
    EXPECT_EQ(compareWithGolden(loadShot(f, "bottom"), "list_bottom"), "");
}

TEST(WindowArt, PartyStatusGaugesAndConditionMarks)
{
    UiFixture f;
    Database& db = f.ctx().db;
    db.sizes.lastCharacter = 2;
    db.characters[0].hp = 15; // half of 30
    db.characters[1].conditions[0] = 3; // sleep
    db.characters[1].conditions[3] = 999; // poison
    db.characters[1].mp = 0;
    db.characters[2].hp = 0; // fainted, whatever else it has
    db.characters[2].conditions[4] = 1;
    ShowPartyStatus(f.ctx(), 0, 17);
    EXPECT_EQ(compareWithGolden(f.screen(), "party_status"), "");

    // Three members: columns of floor(26 / 3) = 8 tiles, gauges of 6 middle pieces.
    const int hpTop = 20 * 16, mpTop = 21 * 16 + 1;
    const Pixel full = f.ctx().surfaces.frameSheet.at(0, 48), empty = f.ctx().surfaces.frameSheet.at(1, 48);
    // Member 0: 15 of 30 fills floor(0.5 * 126) = 63 of the 126 inner columns.
    EXPECT_EQ(f.screen().at(68 + 63, hpTop + 1), full);
    EXPECT_EQ(f.screen().at(68 + 64, hpTop + 1), empty);
    EXPECT_EQ(f.screen().at(68 + 126, hpTop + 14), empty);
    // Member 1's magic gauge is empty; its hit-point gauge full.
    EXPECT_EQ(f.screen().at(68 + 128 + 1, mpTop + 1), empty);
    EXPECT_EQ(f.screen().at(68 + 128 + 126, hpTop + 1), full);
    // Condition row 19: marks from the right of each member's four cells, shifted by the member
    // index in pixels: member 0 healthy; member 1 sleep then poison to its left; member 2 fainted.
    const int row = 19 * 16;
    EXPECT_TRUE(f.screenShowsCell(7 * 16, row, 48, 64));
    EXPECT_TRUE(f.screenShowsCell(15 * 16 + 1, row, 16, 64));
    EXPECT_TRUE(f.screenShowsCell(14 * 16 + 1, row, 0, 64));
    EXPECT_TRUE(f.screenShowsCell(23 * 16 + 2, row, 16, 80));
    EXPECT_TRUE(f.screenShowsCell(22 * 16, row, 16, 48)); // only one mark for a fainted member
    // Gauge figures in colour 10 with each number's leading blank.
    bool found = false;
    for (const auto& call : f.platform().calls) {
        if (call.utf8 == " 15/ 30") {
            found = true;
            EXPECT_EQ(call.x, 68);
            EXPECT_EQ(call.y, hpTop + 3);
            EXPECT_EQ(call.colour, 10);
        }
    }
    EXPECT_TRUE(found);
    // The panel's lines: names padded to the column width after eight blanks.
    auto text = f.lines("text");
    ASSERT_EQ(text.size(), 4u);
    std::string pad(10, ' ');
    EXPECT_EQ(text[0], std::string(8, ' ') + "アルト" + pad + "ミレイ" + pad + "ゴドー" + pad);
    EXPECT_EQ(text[1], "状態：");
}
