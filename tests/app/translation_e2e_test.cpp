// Translations of the demo game end to end: the data tool exports every text as a catalogue that
// gettext's own checker accepts, a translator fills in a few entries, and the player shows them
// with --language while the game's files stay as they were.
#include "platform/file_writing.h"
#include "platform/game_files.h"
#include "platform/po_file.h"
#include "support/run_player.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <span>

namespace {

namespace fs = std::filesystem;
using vorn::test::TempDir;

using vorn::test::fileText;
using vorn::test::runTool;

struct ExportedDemo {
    TempDir dir;
    fs::path game = dir.path() / "demo";
    fs::path po = dir.path() / "demo.po";
    ExportedDemo()
    {
        fs::copy(VORN_DEMO_GAME, game, fs::copy_options::recursive);
        EXPECT_EQ(runTool("text export '" + game.string() + "' '" + po.string() + "'", dir.path() / "export.log"), 0)
            << fileText(dir.path() / "export.log");
    }
};

// The catalogue with the empty msgstr of the entry of `context` filled with `translation`.
std::string translated(const std::string& po, const std::string& context, const std::string& translation)
{
    std::size_t at = po.find("msgctxt \"" + context + "\"\n");
    std::size_t str = at == std::string::npos ? at : po.find("msgstr \"\"\n", at);
    EXPECT_NE(str, std::string::npos) << "no entry " << context;
    if (str == std::string::npos)
        return po;
    return po.substr(0, str) + "msgstr \"" + translation + "\"\n" + po.substr(str + 10);
}

} // namespace

TEST(Translation, TheDemosTextsExportAsACatalogueGettextAccepts)
{
    ExportedDemo demo;
    std::string check = "msgfmt --check -o /dev/null '" + demo.po.string() + "' > '" + demo.dir.file("msgfmt.log").string()
        + "' 2>&1";
    EXPECT_EQ(std::system(check.c_str()), 0) << fileText(demo.dir.file("msgfmt.log"));

    std::vector<vorn::PoEntry> entries = vorn::readPoText(fileText(demo.po));
    ASSERT_GT(entries.size(), 300u);
    EXPECT_NE(entries[0].translation.find("Content-Type: text/plain; charset=UTF-8\n"), std::string::npos);
    std::map<std::string, const vorn::PoEntry*> byContext;
    std::map<std::string, int> sameWording;
    for (const vorn::PoEntry& entry : std::span(entries).subspan(1)) {
        byContext[entry.context] = &entry;
        ++sameWording[entry.id];
        EXPECT_EQ(entry.references.size(), 1u) << entry.context;
        EXPECT_TRUE(entry.translation.empty()) << entry.context;
    }
    auto at = [&](const std::string& context) {
        auto found = byContext.find(context);
        return found == byContext.end() ? std::string("<none>") : found->second->id + " @ " + found->second->references[0];
    };
    EXPECT_EQ(at("DAT/vornTOPN.dat/line 1"), "むかし、ミズハの村の北の山に、 @ DAT/vornTOPN.dat");
    EXPECT_EQ(at("DAT/vornTOPN.dat/line 0"), "<none>"); // a line without text
    EXPECT_EQ(at("messages/TitleNewGame"), "  新  規 @ vorn");
    EXPECT_NE(at("characters/0/name"), "<none>");
    EXPECT_NE(at("items/0/name"), "<none>");
    EXPECT_NE(at("spells/0/name"), "<none>");
    EXPECT_NE(at("enemies/0/name"), "<none>");
    EXPECT_TRUE(std::any_of(byContext.begin(), byContext.end(),
        [](const auto& e) { return e.first.starts_with("DAT/vornT") && e.first.find("/event ") != std::string::npos; }));
    // The same wording in two places stays two entries, each translatable on its own.
    EXPECT_TRUE(std::any_of(sameWording.begin(), sameWording.end(), [](const auto& w) { return w.second > 1; }));
}

TEST(Translation, ThePlayerShowsTranslatedLinesAndKeepsTheRest)
{
    ExportedDemo demo;
    std::string po = fileText(demo.po);
    po = translated(po, "DAT/vornTOPN.dat/line 1", "Long ago, in the hills north of Mizuha,");
    po = translated(po, "DAT/vornTOPN.dat/line 2", "there was a stone called \\\"the lamp crystal\\\".");
    po = translated(po, "messages/TitleNewGame", "  New game");
    fs::create_directories(demo.game / "Language");
    ASSERT_TRUE(vorn::writeWholeFileAtomically(demo.game / "Language" / "en.po", po));
    std::string opening = fileText(demo.game / "DAT" / "vornTOPN.dat");

    auto run = vorn::test::runPlayer(demo.game, "expect New 60000\nwait 100\npress esc\nanswer yes\nwait 500\n",
        demo.dir.path(), { "--language", "en" });
    ASSERT_EQ(run.exitCode, 0) << run.errorOutput;
    auto shows = [&](const std::string& text) {
        return std::any_of(run.transcript.begin(), run.transcript.end(),
            [&](const std::string& line) { return line.find(text) != std::string::npos; });
    };
    EXPECT_TRUE(shows("Long ago, in the hills north of Mizuha,"));
    EXPECT_TRUE(shows("there was a stone called \"the lamp crystal\"."));
    EXPECT_TRUE(shows("New game"));
    EXPECT_FALSE(shows("むかし、ミズハの村の北の山に、"));
    EXPECT_FALSE(shows("新  規"));
    // Entries left empty keep the game's own text; the game's files are untouched.
    EXPECT_TRUE(shows("結晶のやわらかな光は夜の魔物を遠ざけ、"));
    EXPECT_TRUE(shows("読  込"));
    EXPECT_EQ(fileText(demo.game / "DAT" / "vornTOPN.dat"), opening);

    // The same catalogue given by its path plays the same.
    auto byPath = vorn::test::runPlayer(demo.game, "expect New 60000\nwait 100\npress esc\nanswer yes\nwait 500\n",
        demo.dir.path(), { "--language", (demo.game / "Language" / "en.po").string() });
    EXPECT_EQ(byPath.exitCode, 0) << byPath.errorOutput;
}

TEST(Translation, AMissingOrMalformedCatalogueIsABadCommandLine)
{
    ExportedDemo demo;
    auto missing = vorn::test::runPlayer(demo.game, "wait 100\n", demo.dir.path(), { "--language", "xx" });
    EXPECT_EQ(missing.exitCode, 3);
    EXPECT_NE(missing.errorOutput.find("Language/xx.po"), std::string::npos) << missing.errorOutput;

    std::string po = fileText(demo.po);
    std::size_t second = po.find("msgctxt");
    ASSERT_NE(second, std::string::npos);
    po.insert(second, "msgid \"unterminated\n");
    ASSERT_TRUE(vorn::writeWholeFileAtomically(demo.dir.file("bad.po"), po));
    auto bad = vorn::test::runPlayer(demo.game, "wait 100\n", demo.dir.path(), { "--language", demo.dir.file("bad.po").string() });
    EXPECT_EQ(bad.exitCode, 3);
    EXPECT_NE(bad.errorOutput.find("is not a readable PO file: line "), std::string::npos) << bad.errorOutput;
    EXPECT_EQ(std::count(bad.errorOutput.begin(), bad.errorOutput.end(), '\n'), 1) << bad.errorOutput;
}
