// The save and load commands as the player meets them: the slot menu's lines, and slots whose
// files cannot be read.
#include "core/save_slots.h"
#include "platform/game_files.h"
#include "screens/saved_games.h"
#include "ui/ui_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>

namespace vorn {
namespace {

    using test::UiFixture;

    std::filesystem::path slotFile(UiFixture& f, int slot)
    {
        return f.ctx().saveRoot / "SAV" / ("DATA" + std::to_string(slot) + ".DAT");
    }

    std::string fileText(const std::filesystem::path& path)
    {
        auto bytes = readWholeFile(path);
        return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<missing>");
    }

    // Whether a screen row shows `utf8` (text is drawn a cell at a time).
    bool drawn(UiFixture& f, const std::string& utf8)
    {
        std::map<int, std::string> rows;
        for (const auto& call : f.platform().calls)
            rows[call.y] += call.utf8;
        return std::any_of(rows.begin(), rows.end(), [&](const auto& row) { return row.second.find(utf8) != std::string::npos; });
    }

    bool said(UiFixture& f, const std::string& utf8)
    {
        auto lines = f.lines("text");
        return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(utf8) != std::string::npos; });
    }

    // A slot holding a label whose opening quote never closes.
    void damageSlot(UiFixture& f, int slot)
    {
        std::ofstream(slotFile(f, slot), std::ios::binary | std::ios::trunc) << "\"0101,\r\n";
        readSlotLabels(f.ctx());
    }

    TEST(SlotMenu, ShowsTheDateYearMonthDayAndSlotsThatCannotBeRead)
    {
        UiFixture f("press ctrl\n");
        readSlotLabels(f.ctx());
        damageSlot(f, 2);
        f.ctx().saves.labels[0] = "000314091530"; // 14 March 2000, 09:15:30
        SaveCommand(f.ctx());
        EXPECT_TRUE(drawn(f, "  1:00/03/14  09:15:30"));
        EXPECT_TRUE(drawn(f, "  2:読めないデータ"));
        EXPECT_TRUE(drawn(f, "  3:--/--/--  --:--:--"));
    }

    TEST(SlotMenu, LoadingASlotThatCannotBeReadSaysSo)
    {
        UiFixture f("press space\npress space\npress ctrl\n");
        readSlotLabels(f.ctx());
        damageSlot(f, 1);
        EXPECT_FALSE(LoadCommand(f.ctx()));
        EXPECT_TRUE(said(f, "データが読めません"));
        EXPECT_FALSE(said(f, "データがありません"));
    }

    TEST(SlotMenu, SavingOverASlotThatCannotBeReadAsksFirst)
    {
        // No: the slot menu again, then cancel. Yes: the slot is replaced.
        UiFixture f("press space\npress down\npress space\npress ctrl\n"
                    "press space\npress space\npress space\n");
        readSlotLabels(f.ctx());
        damageSlot(f, 1);
        std::string damaged = fileText(slotFile(f, 1));

        SaveCommand(f.ctx());
        EXPECT_TRUE(said(f, "読めないデータです。上書きしますか？"));
        EXPECT_EQ(fileText(slotFile(f, 1)), damaged);
        EXPECT_TRUE(f.ctx().saves.unreadable[0]);

        SaveCommand(f.ctx());
        EXPECT_NE(fileText(slotFile(f, 1)), damaged);
        EXPECT_FALSE(f.ctx().saves.unreadable[0]);
        EXPECT_EQ(loadGame(f.ctx(), 1), LoadOutcome::Loaded);
    }

    TEST(SlotMenu, SavingOverAGameOrAnEmptySlotAsksNothing)
    {
        UiFixture f("press space\npress space\npress space\npress space\n");
        readSlotLabels(f.ctx());
        SaveCommand(f.ctx()); // into the empty slot 1
        std::string first = fileText(slotFile(f, 1));
        f.ctx().game.gold = 4321;
        SaveCommand(f.ctx()); // over the game in slot 1
        EXPECT_FALSE(said(f, "上書きしますか"));
        EXPECT_NE(fileText(slotFile(f, 1)), first);
        f.ctx().game.gold = 0;
        ASSERT_EQ(loadGame(f.ctx(), 1), LoadOutcome::Loaded);
        EXPECT_EQ(f.ctx().game.gold, 4321);
    }

    TEST(SlotMenu, APointerRestingOverTheLastSlotLeavesEnterOnTheHighlightedSlot)
    {
        // The pointer rests over slot 9 (tile column 10, row 11) before the menu opens; Enter
        // saves into slot 1, the highlighted one. Moving over slot 9 afterwards chooses it.
        UiFixture f("move 170 180\nwait 20\npress enter\npress space\n"
                    "wait 500\nmove 200 180\nwait 20\npress enter\npress space\n");
        readSlotLabels(f.ctx());
        SaveCommand(f.ctx());
        EXPECT_NE(f.ctx().saves.labels[0], emptySlotLabel);
        EXPECT_EQ(f.ctx().saves.labels[8], emptySlotLabel);
        SaveCommand(f.ctx());
        EXPECT_NE(f.ctx().saves.labels[8], emptySlotLabel);
    }

} // namespace
} // namespace vorn
