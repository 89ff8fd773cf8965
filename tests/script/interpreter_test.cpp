#include "script_fixture.h"

#include "core/context.h"
#include "script/commands.h"

#include <gtest/gtest.h>

#include <set>

namespace vorn::test {
namespace {

    using Lines = std::vector<std::string>;

    TEST(Interpreter, KeywordDirectlyFollowedByItsArgument)
    {
        ScriptFixture f;
        f.setEvent(0, { { "start", "MES1" } });
        f.setEvent(1, { { "in event one", "THR" } });
        f.run();
        EXPECT_EQ(f.texts(), (Lines { "start", "in event one" }));
        EXPECT_EQ(f.ctx().script.runResult, runResult::backToField);
    }

    TEST(Interpreter, EmptyCommandStringEndsWithPagePrompt)
    {
        ScriptFixture f("wait 500\npress space\nwait 100\n");
        f.setEvent(0, { { "hello", "" } });
        f.ctx().script.runResult = -1;
        f.run();
        EXPECT_EQ(f.ctx().script.runResult, runResult::backToField);
        // The run waited for the key pressed at 500 ms.
        EXPECT_GE(f.t.platform().nowMs(), 500u);

        ScriptFixture g("wait 500\npress space\nwait 100\n");
        g.setEvent(0, { { "hello", "THR" } });
        g.run();
        EXPECT_LT(g.t.platform().nowMs(), 500u);
    }

    TEST(Interpreter, FlgNumberCountsFromOldEntryLineAndNexFromCurrentLine)
    {
        ScriptFixture f;
        f.setEvent(0, { { "zero", "NEX" }, { "one", "FLG,3" }, { "two", "THR" }, { "three", "THR" }, { "four", "THR" } });
        f.run();
        EXPECT_EQ(f.flag(2, 0), 3);
        EXPECT_EQ(f.texts(), (Lines { "zero", "one", "three" }));

        // The next run starts at the moved entry line and shows its text first.
        f.t.clearLines();
        f.run();
        EXPECT_EQ(f.texts(), (Lines { "three" }));

        ScriptFixture g;
        g.setEvent(0, { { "zero", "NEX" }, { "one", "FLG,NEX" }, { "two", "THR" }, { "three", "THR" } });
        g.run();
        EXPECT_EQ(g.flag(2, 0), 2);
        EXPECT_EQ(g.texts(), (Lines { "zero", "one", "two" }));
    }

    TEST(Interpreter, FgeMovesEntryLineAndEnds)
    {
        ScriptFixture f;
        f.setEvent(0, { { "first", "FGE,*later" }, { "", "THR" }, { "later", "LBL,later,THR" } });
        f.run();
        EXPECT_EQ(f.flag(2, 0), 2);
        EXPECT_EQ(f.texts(), (Lines { "first" }));
    }

    TEST(Interpreter, NestedGsbLosesFirstReturnPoint)
    {
        ScriptFixture f;
        f.setEvent(0, { { "A0", "GSB,1,NEX" }, { "A1", "THR" } });
        f.setEvent(1, { { "B0", "GSB,1,NEX" }, { "B1", "THR" } });
        f.setEvent(2, { { "C0", "THR" } });
        f.run();
        // C's end returns into B after its GSB; B's end finds the slot empty and ends the run.
        EXPECT_EQ(f.texts(), (Lines { "A0", "B0", "C0", "B1" }));
        EXPECT_FALSE(f.ctx().script.returnSlot.filled);
    }

    TEST(Interpreter, GsbReturnsToRestOfCallingString)
    {
        ScriptFixture f;
        f.setEvent(0, { { "A0", "GS2,2,FST,4,4,9,THR" } });
        f.setEvent(2, { { "C0", "NEX" }, { "C1", "THR" } });
        f.run();
        EXPECT_EQ(f.texts(), (Lines { "A0", "C0", "C1" }));
        EXPECT_EQ(f.flag(4, 4), 9);
    }

    TEST(Interpreter, MesStartsAtLabelLineOfAnotherEvent)
    {
        ScriptFixture f;
        f.setEvent(0, { { "A0", "MES,*there" } });
        f.setEvent(3, { { "D0", "THR" }, { "D1", "LBL,there,THR" } });
        f.run();
        EXPECT_EQ(f.texts(), (Lines { "A0", "D1" }));
        EXPECT_EQ(f.ctx().script.event, 3);
    }

    TEST(Interpreter, RepeatRunsCommandsThreeTimesWithoutRepeatingText)
    {
        ScriptFixture f;
        f.setEvent(0, { { "R", "REP,3,FST,5,5,+1,RRT,THR" } });
        f.run();
        EXPECT_EQ(f.flag(5, 5), 3);
        EXPECT_EQ(f.texts(), (Lines { "R" }));
        EXPECT_EQ(f.ctx().script.repeatDepth, 0);
    }

    TEST(Interpreter, RepeatAcrossLinesAndNested)
    {
        ScriptFixture f;
        f.setEvent(0, { { "top", "REP,2,REP,3,FST,5,5,+1,RRT,NEX" }, { "", "FST,5,6,+1,RRT,THR" } });
        f.run();
        EXPECT_EQ(f.flag(5, 5), 6);
        EXPECT_EQ(f.flag(5, 6), 2);
        EXPECT_EQ(f.texts(), (Lines { "top" }));
    }

    TEST(Interpreter, BadRepeatsRaiseEventError)
    {
        ScriptFixture f;
        f.setEvent(0, { { "", "REP,0,RRT,THR" } });
        EXPECT_NE(f.runExpectingEventError().find("REP count"), std::string::npos);

        ScriptFixture g;
        g.setEvent(0, { { "", "RRT,THR" } });
        g.runExpectingEventError();

        ScriptFixture h;
        h.setEvent(0, { { "", "REP,1,REP,1,REP,1,REP,1,REP,1,REP,1,REP,1,REP,1,REP,1,REP,1,REP,1,REP,1,THR" } });
        h.runExpectingEventError();
    }

    TEST(Interpreter, CtnContinuesTheRow)
    {
        ScriptFixture f;
        f.setEvent(0, { { "abc", "CTN" }, { "def", "THR" } });
        f.run();

        ScriptFixture g;
        g.setEvent(0, { { "abc", "NEX" }, { "def", "THR" } });
        g.run();
        // The second text went on after the first on the same row.
        EXPECT_GT(g.ctx().windows.lineColumn, 0);
        EXPECT_EQ(f.ctx().windows.lineColumn, 2 * g.ctx().windows.lineColumn);
        EXPECT_EQ(f.ctx().windows.textRow, g.ctx().windows.textRow - g.ctx().windows.fontSize);
    }

    TEST(Interpreter, OpeningScriptWindowCountsAsOpen)
    {
        ScriptFixture f;
        f.writeFile("DAT/vornTOPN.dat", "0,\r\n,\"POS,2,3,20,10,0,15,NEX\",\r\nopening text,THR,\r\n99,\r\n1,2,3,4,5,6,7,8,\r\n");
        f.ctx().game.map = 5;
        try {
            RunScriptFile(f.ctx(), StoryKind::Opening);
        } catch (const ProgramEnd& end) {
            f.explainEnd(end);
        }
        EXPECT_EQ(f.texts(), (Lines { "opening text" }));
        // No window was drawn from the message window table (its top row is 17).
        EXPECT_EQ(f.ctx().windows.winY, 3);
        EXPECT_EQ(f.ctx().game.map, 0);
        EXPECT_TRUE(f.ctx().windows.scriptMode.empty());

        // A map event draws the window before its first text.
        ScriptFixture g;
        g.setEvent(0, { { "event text", "THR" } });
        g.run();
        EXPECT_EQ(g.ctx().windows.winY, 17);
    }

    TEST(Interpreter, EndingScriptAndGameEndResults)
    {
        ScriptFixture f;
        f.setEvent(0, { { "", "EDG" } });
        f.ctx().script.returnSlot = ReturnSlot { true, 1, 0, 1 };
        f.run();
        EXPECT_EQ(f.ctx().script.runResult, runResult::ending);
        EXPECT_FALSE(f.ctx().script.returnSlot.filled);

        f.setEvent(0, { { "", "OVR" } });
        f.run();
        EXPECT_EQ(f.ctx().script.runResult, runResult::gameOver);
    }

    TEST(Interpreter, MapCommandHandsMapEntryToMainLoop)
    {
        ScriptFixture f;
        f.setEvent(0, { { "", "MAP,7,3,1,-1,4,2" } });
        f.run();
        const Context& c = f.ctx();
        EXPECT_EQ(c.script.runResult, runResult::mapChange);
        EXPECT_EQ(c.game.map, 7);
        EXPECT_EQ(c.game.useMapEntry, 2);
        EXPECT_EQ(c.map.entry.event, 3);
        EXPECT_EQ(c.map.entry.dx, 1);
        EXPECT_EQ(c.map.entry.dy, -1);
        EXPECT_EQ(c.map.entry.arrivalEvent, 4);
    }

    TEST(Interpreter, RunTimeFaultsEndInEventError)
    {
        struct Case {
            const char* commands;
            const char* detail;
        };
        for (Case c : { Case { "FST,101,0,1,THR", "flag" }, Case { "MES,200", "event" }, Case { "JMP,-1", "line" },
                 Case { "JMP,*nowhere", "label" }, Case { "FST,1,1,/0,THR", "divides" },
                 Case { "FST,1,1,@17,THR", "flag reference" }, Case { "GXY,300,1,1,1,2", "event" },
                 Case { "CKE,-1,50,0,1,1", "off the map" }, Case { "FST,1,1,1e30,FST,1,1,*1e30,THR", "overflow" } }) {
            ScriptFixture f;
            f.setEvent(0, { { "", c.commands } });
            std::string error = f.runExpectingEventError();
            EXPECT_NE(error.find(c.detail), std::string::npos) << c.commands << ": " << error;
        }
    }

    TEST(Interpreter, MissingOrBrokenChangeFileDuringRunIsEventErrorNamingTheFile)
    {
        struct Case {
            const char* file; // nullptr: no change file
            const char* detail;
        };
        for (Case c : { Case { nullptr, "(DAT/vornE002.dat: file not found)" },
                 Case { "1,1,=,x,\r\n", "(DAT/vornE002.dat: map changes: " },
                 Case { "1,1,=,1,\r\n99,\r\nC,40,3,1A,\r\n99,\r\n99,\r\n", "(DAT/vornE002.dat: map change: cell (40, 3)" } }) {
            ScriptFixture f;
            if (c.file)
                f.writeFile("DAT/vornE002.dat", c.file);
            else
                std::filesystem::remove(f.t.folder() / "DAT" / "vornE002.dat");
            f.setEvent(0, { { "", "FST,1,1,1,THR" } });
            std::string error = f.runExpectingEventError();
            EXPECT_NE(error.find(c.detail), std::string::npos) << error;
        }
    }

    TEST(Interpreter, FlagQueriesOfEventsAndCells)
    {
        ScriptFixture f;
        Context& c = f.ctx();
        c.map.event[3].x = 4;
        c.map.event[3].y = 5;
        c.map.event[7].x = 5;
        c.map.event[7].y = 5;
        *c.map.marksAt(5, 5) = { "0C", "1", "7" };
        setTileCode(c.map.file, 4, 6, "1F");
        f.setEvent(0, { { "", "NEX" }, { "", "GMN,9,0,GXY,3,9,1,9,2,CKE,3,1,0,9,3,CKE,3,-1,0,9,4,CKM,3,0,1,9,5,THR" } });
        f.run();
        EXPECT_EQ(f.flag(9, 0), 1);
        EXPECT_EQ(f.flag(9, 1), 4);
        EXPECT_EQ(f.flag(9, 2), 5);
        EXPECT_EQ(f.flag(9, 3), 7);
        EXPECT_EQ(f.flag(9, 4), -1);
        EXPECT_EQ(f.flag(9, 5), 31);
    }

    TEST(Interpreter, FuelledRunIsCutOffByCommandBudget)
    {
        ScriptFixture f;
        f.setEvent(0, { { "", "JMP,0" } });
        f.ctx().script.commandBudget = 1000;
        EXPECT_THROW(f.run(), ScriptBudgetExhausted);
    }

    TEST(CommandTable, EveryKeywordIsFoundAtItsOwnRow)
    {
        std::set<std::string_view> seen;
        for (const ScriptCommand& command : scriptCommands) {
            EXPECT_TRUE(seen.insert(command.keyword).second) << command.keyword;
            EXPECT_EQ(findCommand(command.keyword), &command) << command.keyword;
        }
        for (std::string_view unknown : { "", "XYZ", "AAA", "~~~", "FL", "FLGX", "flg", "\x82\xA0G" })
            EXPECT_EQ(findCommand(unknown), nullptr) << unknown;
    }

    // A run that a battle command handed to the battle flow stands at the command after it.
    void standAfterBattleCommand(ScriptFixture& f, float battleKind)
    {
        f.setEvent(0, { { "fight", "ZZZ,MES1" }, { "skipped", "THR" }, { "after", "THR" } });
        f.setEvent(1, { { "rest of the line", "THR" } });
        ScriptState& s = f.ctx().script;
        s.event = 0;
        s.entryLine = 0;
        s.lineOffset = 0;
        s.position = 5; // the "M" of MES1
        s.pendingJump = 7;
        s.runResult = runResult::battleRequested;
        f.ctx().game.battleKind = battleKind;
    }

    TEST(Interpreter, AfterABattleCommandTheRestOfItsLineRuns)
    {
        ScriptFixture f;
        standAfterBattleCommand(f, 1);
        resumeAfterBattle(f.ctx());
        EXPECT_EQ(f.texts(), (Lines { "rest of the line" }));
        EXPECT_EQ(f.ctx().script.runResult, runResult::backToField);
        EXPECT_EQ(f.ctx().game.battleKind, 0);
        EXPECT_EQ(f.ctx().script.pendingJump, 0);
    }

    TEST(Interpreter, AfterABattleSettingsCommandTheAfterBattleLineIsFetched)
    {
        ScriptFixture f;
        standAfterBattleCommand(f, 2);
        f.ctx().script.afterBattleOffset = 2;
        resumeAfterBattle(f.ctx());
        EXPECT_EQ(f.texts(), (Lines { "after" }));
        EXPECT_EQ(f.ctx().script.afterBattleOffset, 0);
        EXPECT_EQ(f.ctx().game.battleKind, 0);
    }

} // namespace
} // namespace vorn::test
