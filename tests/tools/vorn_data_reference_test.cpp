// The authors' reference: one row per keyword of the interpreter, arguments that agree with the
// command shapes, examples that read as the commands they show, docs/script-commands.md as the
// generator makes it; and the complete small game of docs/game-source.md, taken from the page's
// text alone, built and played to its ending.
#include "command_reference.h"
#include "script_scan.h"

#include "script/command_shapes.h"
#include "script/commands.h"
#include "support/run_player.h"
#include "support/temp_dir.h"
#include "tool_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <set>

namespace vorn::datatool {
namespace {

    namespace fs = std::filesystem;

    using testfiles::runBuilt;
    using testfiles::textOf;
    using testfiles::ToolRun;

    TEST(CommandReference, EveryKeywordOfTheInterpreterHasOneRowAndEveryRowIsAKeyword)
    {
        std::set<std::string_view> keywords, rows;
        for (const KeywordEntry& entry : keywordTable)
            keywords.insert(entry.keyword);
        for (const CommandReference& row : commandReferences) {
            EXPECT_TRUE(rows.insert(row.keyword).second) << row.keyword << " has two rows";
            EXPECT_TRUE(keywords.count(row.keyword)) << row.keyword << " is no keyword of the interpreter";
            EXPECT_FALSE(row.summary.empty() || row.details.empty() || row.example.empty() || row.group.empty())
                << row.keyword;
        }
        for (std::string_view keyword : keywords)
            EXPECT_TRUE(rows.count(keyword)) << keyword << " has no reference row";
    }

    // A command of a fixed shape names each argument it reads, in the shape's number.
    TEST(CommandReference, ArgumentNamesAgreeWithTheCommandShapes)
    {
        for (const CommandReference& row : commandReferences) {
            const CommandShape* shape = findCommandShape(row.keyword);
            ASSERT_NE(shape, nullptr) << row.keyword;
            if (shape->shape.form != ShapeForm::Fixed)
                continue;
            std::size_t names = row.arguments.empty() ? 0 : 1;
            for (char c : row.arguments)
                names += c == ',';
            EXPECT_EQ(names, shape->shape.letters.size()) << row.keyword << ": " << row.arguments;
        }
    }

    // An example reads, by the interpreter's own shapes, as known commands with every argument
    // given, and holds the command it shows.
    TEST(CommandReference, ExamplesReadAsTheCommandsTheyShow)
    {
        for (const CommandReference& row : commandReferences) {
            std::string example(row.example);
            bool shows = false;
            for (const ScannedCommand& command : scanCommands(example)) {
                EXPECT_TRUE(command.known) << row.keyword << ": " << command.keyword << " in " << example;
                for (const ScannedArg& arg : command.args)
                    EXPECT_FALSE(arg.missing) << row.keyword << ": " << command.keyword << " lacks arguments in " << example;
                shows = shows || command.keyword == row.keyword;
            }
            EXPECT_TRUE(shows) << row.keyword << " does not stand in its example " << example;
        }
    }

    TEST(CommandReference, TheDocumentInTheTreeIsWhatTheGeneratorWrites)
    {
        fs::path doc = fs::path(VORN_TEST_DIR) / ".." / "docs" / "script-commands.md";
        EXPECT_EQ(textOf(doc), commandReferenceMarkdown())
            << "run: build/vorn-data help --markdown > docs/script-commands.md";
    }

    TEST(CommandReference, HelpPrintsOneCommandOrTheList)
    {
        ToolRun grp = runBuilt("vorn-data", "help grp");
        EXPECT_EQ(grp.code, 0);
        EXPECT_EQ(grp.output, commandHelpText(*findCommandReference("GRP")));
        EXPECT_EQ(grp.output.rfind("GRP name, dx, dy, w, h, sx, sy\n    show a picture\n", 0), 0u) << grp.output;
        ToolRun list = runBuilt("vorn-data", "help commands");
        EXPECT_EQ(list.code, 0);
        EXPECT_EQ(std::count(list.output.begin(), list.output.end(), '\n'), 102);
    }

    // Every ```yaml block of the page that begins "# file: NAME" is the whole file NAME.
    int writeBlocksOf(const std::string& page, const fs::path& folder)
    {
        int files = 0;
        std::regex block("```yaml\n# file: ([^\n]+)\n([^`]*)```");
        for (std::sregex_iterator it(page.begin(), page.end(), block), end; it != end; ++it) {
            fs::path path = folder / (*it)[1].str();
            fs::create_directories(path.parent_path());
            std::ofstream(path, std::ios::binary) << "# file: " << (*it)[1].str() << "\n"
                                                  << (*it)[2].str();
            ++files;
        }
        return files;
    }

    TEST(GuideGame, TheSmallGameOfTheGuideBuildsFromThePageAndPlaysToItsEnding)
    {
        test::TempDir dir;
        fs::path game = dir.file("small"), source = game / "source";
        std::string page = textOf(fs::path(VORN_TEST_DIR) / ".." / "docs" / "game-source.md");
        ASSERT_EQ(writeBlocksOf(page, source), 15);
        // As the page says: the art, then the build.
        ToolRun art = runBuilt("tools/vorn-assetgen", game.string());
        ASSERT_EQ(art.code, 0) << art.output;
        ToolRun built = runBuilt("vorn-data", "build " + source.string() + " " + game.string());
        ASSERT_EQ(built.code, 0) << built.output;
        EXPECT_EQ(built.output, "wrote 19 files at data version 232\n") << "no warnings either";

        // New game; up to the elder, who gives the herb; down the path into the meadow; down the
        // road to the boss, beaten in auto battle; home, and the ending.
        std::string timeline = "expect 読 60000\npress space\nexpect map 2 10000\nwait 300\n";
        for (int i = 0; i < 3; ++i)
            timeline += "press up\nwait 300\n";
        timeline += "expect これを持って 5000\nwait 300\npress enter\nwait 300\npress enter\nwait 500\n";
        for (int i = 0; i < 5; ++i)
            timeline += "press down\nwait 300\n";
        timeline += "expect map 3 5000\n";
        for (int i = 0; i < 4; ++i)
            timeline += "press down\nwait 300\n";
        timeline += "expect ふさいでいる 5000\nwait 300\npress enter\n"
                    "expect が現れた 5000\nwait 300\npress enter\n"
                    "expect はどうする 5000\nwait 300\npress up\npress enter\n"
                    "expect の経験値を得た 60000\nwait 300\npress enter\n"
                    "expect レベルアップ 5000\nwait 300\npress enter\n"
                    "expect やっつけた 10000\nwait 300\npress enter\n"
                    "expect よくぞ 5000\nwait 300\npress enter\n"
                    "expect おしまい 30000\nexpect 読 60000\n";
        auto run = test::runPlayer(game, timeline, dir.path());
        ASSERT_EQ(run.exitCode, 0) << run.errorOutput;
        EXPECT_TRUE(run.lines("error").empty());
        EXPECT_TRUE(run.has("text", "ユウは薬草を手に入れた"));
        EXPECT_EQ(run.lines("battle").front(), "start scripted 1");
        EXPECT_TRUE(run.has("text", "ユウは戦いに勝利した！！"));
        EXPECT_EQ(run.lines("map"),
            (std::vector<std::string> { "map 2 col 6 row 5", "map 3 col 6 row 1", "map 2 col 6 row 3" }));
        EXPECT_TRUE(run.has("text", "こうして村に平和が戻った。"));

        // The slip the page shows is reported as the page says.
        std::smatch shown;
        ASSERT_TRUE(std::regex_search(page, shown, std::regex("error: maps/map002.yaml:[^\n]*doen[^\n]*\n")));
        fs::path village = source / "maps" / "map002.yaml";
        std::string text = textOf(village);
        text.replace(text.find("*done,NEX"), 9, "*doen,NEX");
        std::ofstream(village, std::ios::binary) << text;
        built = runBuilt("vorn-data", "build " + source.string() + " " + game.string());
        EXPECT_EQ(built.code, 1);
        EXPECT_EQ(built.output.rfind(shown.str(), 0), 0u) << built.output;
    }

} // namespace
} // namespace vorn::datatool
