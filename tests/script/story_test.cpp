#include "script_fixture.h"

#include "app/main_loop.h"
#include "core/context.h"
#include "gamegen/starter_game.h"
#include "support/run_player.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>

namespace vorn::test {
namespace {

    TEST(Story, OpeningScriptPlaysBeforeTitle)
    {
        TempDir dir;
        auto game = dir.path() / "game";
        gamegen::writeStarterGame(game);
        {
            std::ofstream out(game / "DAT" / "vornTOPN.dat", std::ios::binary);
            out << "0,\r\n,\"POS,0,16,31,7,0,15,FST,0,5,7,NEX\",\r\nLong ago,\"NEX\",\r\n"
                   "the story began,\"TIM,50,NEX,NEX\",\r\n,THR,\r\n99,\r\n1,2,3,4,5,6,7,8,\r\n";
            std::ofstream(game / "DAT" / "vornE000.dat", std::ios::binary) << "99,\r\n";
        }
        PlayerRun run = runPlayer(game, "expect title\n", dir.path());
        ASSERT_EQ(run.exitCode, 0) << run.errorOutput;
        auto texts = run.lines("text");
        ASSERT_GE(texts.size(), 2u);
        EXPECT_EQ(texts[0], "Long ago");
        EXPECT_EQ(texts[1], "the story began");
        // The text came before the title.
        auto at = [&](const std::string& kind, const std::string& text) {
            auto it = std::find_if(run.transcript.begin(), run.transcript.end(), [&](const std::string& line) {
                return line.find("\t" + kind + "\t" + text) != std::string::npos;
            });
            return it - run.transcript.begin();
        };
        EXPECT_LT(at("text", "the story began"), at("state", "title"));
    }

    // The opening and ending scripts run with the event error trap installed: a missing or
    // unreadable file ends in the event error dialog (exit code 2), not the file error.
    TEST(Story, MissingOrUnreadableOpeningOrEndingIsEventError)
    {
        for (const char* damage : { "missing", "unreadable" }) {
            TempDir dir;
            auto game = dir.path() / "game";
            gamegen::writeStarterGame(game);
            if (std::string(damage) == "missing")
                std::filesystem::remove(game / "DAT" / "vornTOPN.dat");
            else
                std::ofstream(game / "DAT" / "vornTOPN.dat", std::ios::binary) << "0,\r\nhello,";
            PlayerRun run = runPlayer(game, "wait 100\n", dir.path());
            EXPECT_EQ(run.exitCode, 2) << damage;
            EXPECT_TRUE(run.has("box", "イベント実行エラー")) << damage;
        }

        ScriptFixture f;
        f.setEvent(0, { { "farewell", "EDG" } });
        f.run();
        ASSERT_EQ(f.ctx().script.runResult, runResult::ending);
        try {
            handleRunResult(f.ctx());
            ADD_FAILURE() << "the ending ran without its file";
        } catch (const ProgramEnd& end) {
            EXPECT_EQ(end.code, ExitCode::EventError);
        } catch (const ReturnToTitle&) {
            ADD_FAILURE() << "the ending ran without its file";
        }
        EXPECT_FALSE(f.t.lines("error").empty());
        EXPECT_EQ(f.t.lines("error").back().rfind("イベント実行エラー", 0), 0u);
    }

    // Scripts that loop for ever without waiting (an empty line jumping to itself, a pointer
    // sample and a flag test going round over empty lines) still hand control to the platform:
    // the virtual clock runs on, so Esc brings the quit question and an `expect` runs out of time.
    TEST(Story, EndlessScriptCanBeLeft)
    {
        const char* loops[] = {
            "0,\r\n,\"JMP,0\",\r\n99,\r\n1,2,3,4,5,6,7,8,\r\n",
            "0,\r\n,\"MU2,0,1,0,2,0,3,CKF,0,3,0,<,0,NEX\",\r\n,\"JMP,-1\",\r\n99,\r\n1,2,3,4,5,6,7,8,\r\n",
        };
        for (const char* loop : loops) {
            TempDir dir;
            auto game = dir.path() / "game";
            gamegen::writeStarterGame(game);
            std::ofstream(game / "DAT" / "vornTOPN.dat", std::ios::binary) << loop;
            PlayerRun quit = runPlayer(game, "wait 2000\npress esc\nanswer yes\nwait 1000\n", dir.path());
            EXPECT_EQ(quit.exitCode, 0) << loop << quit.errorOutput;
            EXPECT_TRUE(quit.has("box", "終了します、よろしいですか？")) << loop;
            EXPECT_FALSE(quit.has("state", "title")) << loop;

            PlayerRun expect = runPlayer(game, "expect never-printed 3000\n", dir.path());
            EXPECT_EQ(expect.exitCode, 4) << loop << expect.errorOutput;
        }
    }

    TEST(Story, GameEndRunsEndingAndReturnsToTitle)
    {
        ScriptFixture f;
        f.writeFile("DAT/vornTEND.dat", "0,\r\n,\"POS,0,16,31,7,0,15,NEX\",\r\nThe end,\"PUS,10,THR\",\r\n99,\r\n");
        f.setEvent(0, { { "farewell", "EDG" } });
        f.run();
        ASSERT_EQ(f.ctx().script.runResult, runResult::ending);
        EXPECT_THROW(handleRunResult(f.ctx()), ReturnToTitle);
        EXPECT_EQ(f.texts(), (std::vector<std::string> { "farewell", "The end" }));
        EXPECT_EQ(f.ctx().game.map, 1);
        EXPECT_TRUE(f.ctx().windows.scriptMode.empty());

        f.ctx().script.runResult = runResult::backToField;
        EXPECT_FALSE(handleRunResult(f.ctx()));
    }

} // namespace
} // namespace vorn::test
