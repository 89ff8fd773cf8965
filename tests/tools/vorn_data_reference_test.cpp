// The authors' reference: one row per keyword of the interpreter, arguments that agree with the
// command shapes, examples that read as the commands they show, docs/script-commands.md as the
// generator makes it; and the complete small game of docs/game-source.md, taken from the page's
// text alone, built and played to its ending, with every field of its source described there.
#include "command_reference.h"
#include "script_scan.h"

#include "script/commands.h"
#include "support/run_player.h"
#include "support/temp_dir.h"
#include "tool_files.h"

#include <gtest/gtest.h>
#include <yaml-cpp/yaml.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <regex>
#include <set>

namespace vorn::datatool {
namespace {

    namespace fs = std::filesystem;

    using testfiles::runBuilt;
    using testfiles::textOf;
    using testfiles::ToolRun;

    fs::path docsDir() { return fs::path(VORN_TEST_DIR) / ".." / "docs"; }

    TEST(CommandReference, EveryKeywordOfTheInterpreterHasOneRowAndEveryRowIsAKeyword)
    {
        std::set<std::string_view> keywords, rows;
        for (const ScriptCommand& command : scriptCommands)
            keywords.insert(command.keyword);
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
            const ScriptCommand* command = findCommand(row.keyword);
            ASSERT_NE(command, nullptr) << row.keyword;
            if (command->shape.form != ShapeForm::Fixed)
                continue;
            std::size_t names = row.arguments.empty() ? 0 : 1;
            for (char c : row.arguments)
                names += c == ',';
            EXPECT_EQ(names, command->shape.letters.size()) << row.keyword << ": " << row.arguments;
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
        fs::path doc = docsDir() / "script-commands.md";
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
        EXPECT_EQ(static_cast<std::size_t>(std::count(list.output.begin(), list.output.end(), '\n')), scriptCommands.size());
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

    // The small game of docs/game-source.md, taken from the page's text alone and built as the
    // page says (the art, then the build), once for the suite.
    class GuideGame : public ::testing::Test {
    protected:
        static void SetUpTestSuite()
        {
            s_dir = new test::TempDir;
            s_page = textOf(docsDir() / "game-source.md");
            ASSERT_EQ(writeBlocksOf(s_page, source()), 15);
            ToolRun art = runBuilt("tools/vorn-assetgen", game().string());
            ASSERT_EQ(art.code, 0) << art.output;
            s_built = runBuilt("vorn-data", "build " + source().string() + " " + game().string());
        }
        static void TearDownTestSuite()
        {
            delete s_dir;
            s_dir = nullptr;
        }
        static fs::path game() { return s_dir->path() / "small"; }
        static fs::path source() { return game() / "source"; }

        static test::TempDir* s_dir;
        static std::string s_page;
        static ToolRun s_built;
    };

    test::TempDir* GuideGame::s_dir = nullptr;
    std::string GuideGame::s_page;
    ToolRun GuideGame::s_built;

    TEST_F(GuideGame, BuildsFromThePageAndPlaysToItsEnding)
    {
        ASSERT_EQ(s_built.code, 0) << s_built.output;
        EXPECT_EQ(s_built.output, "wrote 19 files at data version 232\n") << "no warnings either";

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
        test::TempDir runDir;
        fs::path played = runDir.file("small");
        fs::copy(game(), played, fs::copy_options::recursive);
        auto run = test::runPlayer(played, timeline, runDir.path());
        ASSERT_EQ(run.exitCode, 0) << run.errorOutput;
        EXPECT_TRUE(run.lines("error").empty());
        EXPECT_TRUE(run.has("text", "ユウは薬草を手に入れた"));
        EXPECT_EQ(run.lines("battle").front(), "start scripted 1");
        EXPECT_TRUE(run.has("text", "ユウは戦いに勝利した！！"));
        EXPECT_EQ(run.lines("map"),
            (std::vector<std::string> { "map 2 col 6 row 5", "map 3 col 6 row 1", "map 2 col 6 row 3" }));
        EXPECT_TRUE(run.has("text", "こうして村に平和が戻った。"));
    }

    TEST_F(GuideGame, TheSlipThePageShowsIsReportedAsThePageSays)
    {
        ASSERT_EQ(s_built.code, 0) << s_built.output;
        std::smatch shown;
        ASSERT_TRUE(std::regex_search(s_page, shown, std::regex("error: maps/map002.yaml:[^\n]*doen[^\n]*\n")));
        test::TempDir slipDir;
        fs::path slipped = slipDir.file("small");
        fs::copy(game(), slipped, fs::copy_options::recursive);
        fs::path village = slipped / "source" / "maps" / "map002.yaml";
        std::string text = textOf(village);
        text.replace(text.find("*done,NEX"), 9, "*doen,NEX");
        std::ofstream(village, std::ios::binary) << text;
        ToolRun built = runBuilt("vorn-data", "build " + (slipped / "source").string() + " " + slipped.string());
        EXPECT_EQ(built.code, 1);
        EXPECT_EQ(built.output.rfind(shown.str(), 0), 0u) << built.output;
    }

    // The words the page shows as code: inline `spans` and the fenced blocks that are not files of
    // the small game (those hold the fields by example, not by description).
    std::set<std::string> codeWordsOf(const std::string& page)
    {
        std::string code;
        std::regex fenced("```[a-z]*\n([^`]*)```");
        for (std::sregex_iterator it(page.begin(), page.end(), fenced), end; it != end; ++it) {
            if ((*it)[1].str().rfind("# file:", 0) != 0)
                code += (*it)[1].str() + "\n";
        }
        std::string prose = std::regex_replace(page, fenced, "");
        std::regex span("`([^`\n]+)`");
        for (std::sregex_iterator it(prose.begin(), prose.end(), span), end; it != end; ++it)
            code += (*it)[1].str() + "\n";
        std::set<std::string> words;
        std::regex word("[A-Za-z][A-Za-z0-9]*");
        for (std::sregex_iterator it(code.begin(), code.end(), word), end; it != end; ++it)
            words.insert(it->str());
        return words;
    }

    void collectKeys(const YAML::Node& node, const std::string& file, std::map<std::string, std::string>& keys)
    {
        if (node.IsMap()) {
            for (const auto& entry : node) {
                keys.emplace(entry.first.as<std::string>(), file);
                collectKeys(entry.second, file, keys);
            }
        } else if (node.IsSequence()) {
            for (const auto& entry : node)
                collectKeys(entry, file, keys);
        }
    }

    // dump writes every field of every record, so the dump of the small game names each field the
    // source knows; the page describes each one.
    TEST_F(GuideGame, EveryFieldOfTheSourceIsDescribedOnThePage)
    {
        ASSERT_EQ(s_built.code, 0) << s_built.output;
        test::TempDir dumpDir;
        fs::path dumped = dumpDir.file("dumped");
        ToolRun dump = runBuilt("vorn-data", "dump " + game().string() + " " + dumped.string());
        ASSERT_EQ(dump.code, 0) << dump.output;
        std::map<std::string, std::string> keys;
        for (const auto& entry : fs::recursive_directory_iterator(dumped)) {
            if (entry.path().extension() == ".yaml")
                collectKeys(YAML::LoadFile(entry.path().string()), fs::relative(entry.path(), dumped).string(), keys);
        }
        EXPECT_GT(keys.size(), 100u);
        std::set<std::string> described = codeWordsOf(s_page);
        for (const auto& [key, file] : keys)
            EXPECT_TRUE(described.count(key)) << "the field " << key << " of " << file << " is not described";
    }

} // namespace
} // namespace vorn::datatool
