// A message window open on the field survives FST, FLG and FGE: their map change redraws only the
// cells it changed and the player, never the whole view.
#include "ui_fixture.h"

#include "field/field_ops.h"
#include "platform/encoding.h"
#include "script/interpreter.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace vorn::test {
namespace {

    // A 16 x 12 map on map 2 in stripes of two tile colours, the player (a yellow square) at
    // cell (7, 4), a change file that turns cell (3, 2) red once flag (5, 1) is 1, and event 0
    // with the given lines.
    struct FieldWithWindow {
        UiFixture f;

        explicit FieldWithWindow(const std::vector<std::pair<std::string, std::string>>& lines)
        {
            Context& c = f.ctx();
            c.game.map = 2;
            MapState& map = c.map;
            map.file.width = 16;
            map.file.height = 12;
            map.file.rows.clear();
            for (int row = 0; row < 12; ++row)
                map.file.rows.push_back(row % 2 ? std::string(32, '0') : "01010101010101010101010101010101");
            map.resetMarks(16, 12);
            drawBox(c.surfaces.tileSheet, 0, 0, 31, 31, 0x206020, true);
            drawBox(c.surfaces.tileSheet, 32, 0, 63, 31, 0x3050A0, true);
            drawBox(c.surfaces.tileSheet, 64, 0, 95, 31, 0xD02020, true);
            drawBox(c.surfaces.charSheet, 0, 0, 31, 255, 0xE0E020, true);
            drawBox(c.surfaces.charSheet, 32, 0, 63, 255, 0x000000, true);
            createPicture(c.surfaces.wholeMap, 16 * 32, 12 * 32);
            for (int row = 0; row < 12; ++row) {
                for (int column = 0; column < 16; ++column)
                    drawMapCell(c, column, row);
            }
            c.field.screenX = 7 * 32;
            c.field.screenY = 4 * 32;
            c.field.playerPicture = 0;
            c.field.facing = 4;
            (*map.marksAt(7, 4))[0] = "99";
            std::filesystem::create_directories(f.ctx().root / "DAT");
            std::ofstream(c.root / "DAT" / "vornE002.dat", std::ios::binary) << "5,1,=,1,\r\n99,\r\nC,3,2,02,\r\n99,\r\n99,\r\n";
            auto& target = c.script.eventLines.at(0);
            std::size_t l = 0;
            for (; l < lines.size(); ++l)
                target.at(l) = ScriptLine { utf8ToCp932(lines[l].first), lines[l].second };
            target.at(l) = ScriptLine { "99", "" };
            refreshField(c);
        }

        void run()
        {
            ScriptState& s = f.ctx().script;
            s.event = 0;
            s.lineOffset = 0;
            s.messageWindowOpen = false;
            runInterpreter(f.ctx());
        }

        // Whether the window's bottom-left corner cell and its left edge are on the screen.
        bool windowStands() { return f.screenShowsCell(0, 23 * 16, 0, 16) && f.screenShowsCell(0, 20 * 16, 48, 16); }
    };

    TEST(MapChangeWindow, MessageWindowSurvivesFstAndTheChangedCellShows)
    {
        FieldWithWindow w({ { "スイッチを　いれた！", "FST,5,1,1,NEX" }, { "とびらが　ひらいた。", "THR" } });
        w.run();
        EXPECT_TRUE(w.windowStands());
        // The second line followed the first one row lower in the same window (text is drawn
        // a character at a time).
        const auto& calls = w.f.platform().calls;
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls.front().utf8, "ス");
        EXPECT_EQ(calls.back().utf8, "。");
        EXPECT_EQ(calls.back().y, calls.front().y + 16);
        auto secondLine = std::find_if(calls.begin(), calls.end(), [&](const auto& c) { return c.y != calls.front().y; });
        ASSERT_NE(secondLine, calls.end());
        EXPECT_EQ(secondLine->x, calls.front().x);
        EXPECT_EQ(secondLine->utf8, "と");
        // The changed cell shows its new tile on the screen.
        EXPECT_EQ(w.f.screen().at(3 * 32 + 5, 2 * 32 + 5), 0xD02020u);
        EXPECT_EQ(compareWithGolden(w.f.screen(), "message_window_after_fst"), "");
    }

    TEST(MapChangeWindow, FlgAndFgeWithNoBlockApplyingLeaveTheWindow)
    {
        for (const char* commands : { "FLG,1", "FGE,0" }) {
            FieldWithWindow w({ { "なにも　おきない。", commands }, { "", "THR" } });
            w.run();
            EXPECT_TRUE(w.windowStands()) << commands;
        }
    }

} // namespace
} // namespace vorn::test
