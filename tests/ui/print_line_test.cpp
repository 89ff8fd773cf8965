// The text printer: wrapping, page prompts, scrolling, typing delays, substitutions, bold
// copies and continued lines, on the headless clock.
#include "core/errors.h"
#include "platform/encoding.h"
#include "ui/windows.h"
#include "ui_fixture.h"

#include <gtest/gtest.h>

using namespace vorn;
using vorn::test::UiFixture;

namespace {

// The standing message window: (0, 17), 31 wide, 7 high; five text rows (pixel rows 288..367).
void openMessageWindow(UiFixture& f) { RedrawMessageWindow(f.ctx()); }

std::vector<std::string> numbered(int count)
{
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i)
        lines.push_back("行" + std::to_string(i));
    return lines;
}

} // namespace

TEST(PrintLine, WrapsAtWidthMinusOneFullWidthCharacters)
{
    UiFixture f;
    f.openWindow(2, 1, 5, 8); // holds 4 cells per line
    f.print("あいうえおかきくけ");
    EXPECT_EQ(f.lines("text"), (std::vector<std::string> { "あいうえ", "おかきく", "け" }));
    // Cell i of a line is drawn at x = winX * 16 + i * 16; lines go down one font size each.
    ASSERT_EQ(f.platform().calls.size(), 9u);
    EXPECT_EQ(f.platform().calls[0].x, 2 * 16 + 16);
    EXPECT_EQ(f.platform().calls[0].y, 1 * 16 + 16);
    EXPECT_EQ(f.platform().calls[3].x, 2 * 16 + 4 * 16);
    EXPECT_EQ(f.platform().calls[4].utf8, "お");
    EXPECT_EQ(f.platform().calls[4].x, 2 * 16 + 16);
    EXPECT_EQ(f.platform().calls[4].y, 1 * 16 + 32);

    // Half-width characters share cells, so a line holds twice as many of them.
    f.print("abcdefghij");
    EXPECT_EQ(f.lines("text").back(), "ij");
    EXPECT_EQ(f.lines("text")[3], "abcdefgh");

    // Half-width words (a translated line) go to the next line whole when a blank comes before
    // the end of the line; a word longer than a line is still cut, and full-width text never
    // breaks at a blank.
    UiFixture words;
    words.openWindow(2, 1, 5, 14);
    words.print("ab cdefghi jk");
    words.print("abcdefghijk");
    words.print("あい うえお");
    EXPECT_EQ(words.lines("text"),
        (std::vector<std::string> { "ab ", "cdefghi ", "jk", "abcdefgh", "ijk", "あい う", "えお" }));
}

TEST(PrintLine, SmallerFontHoldsMoreCharacters)
{
    UiFixture f;
    f.windows().fontSize = 8; // 5 * 16 / 8 - 1 = 9 cells
    f.openWindow(0, 0, 5, 20);
    f.print("あいうえおかきくけこさ");
    EXPECT_EQ(f.lines("text"), (std::vector<std::string> { "あいうえおかきくけ", "こさ" }));
    EXPECT_EQ(f.platform().calls[1].x, 16); // advance of one font size
}

TEST(PrintLine, PromptsForANewPageWhenTheNextLineWouldReachTheBottom)
{
    UiFixture f("wait 1000\nshot waiting\nwait 500\npress enter\nwait 1000\npress enter\n");
    openMessageWindow(f);
    auto lines = numbered(9);
    for (int i = 0; i < 4; ++i)
        f.print(lines[i]);
    EXPECT_EQ(f.now(), 0u) << "four lines fit without a prompt";
    f.print(lines[4]);
    EXPECT_GE(f.now(), 1500u) << "the fifth line waited for a key";
    // While waiting the page prompt mark stood on the bottom edge, one cell left of the corner;
    // afterwards the edge is whole again.
    Picture waiting;
    ASSERT_TRUE(loadPng((f.ctx().root / "waiting.png").string(), waiting));
    const Picture& sheet = f.ctx().surfaces.frameSheet;
    EXPECT_EQ(waiting.at(30 * 16 + 8, 23 * 16 + 11), sheet.at(48 + 8, 48 + 11));
    EXPECT_TRUE(f.screenShowsCell(30 * 16, 23 * 16, 48, 0));

    // After the prompt the page holds the prompted line plus three more.
    std::uint64_t afterFirst = f.now();
    for (int i = 5; i < 8; ++i)
        f.print(lines[i]);
    EXPECT_LT(f.now(), afterFirst + 200);
    f.print(lines[8]);
    EXPECT_GE(f.now(), afterFirst + 900);
    EXPECT_EQ(f.lines("text"), lines);
}

TEST(PrintLine, NoPromptsInBattleInTheEndingScriptOrInMenus)
{
    UiFixture f;
    openMessageWindow(f);
    f.windows().scriptMode = "END";
    for (const auto& line : numbered(12))
        f.print(line);
    f.windows().scriptMode.clear();
    f.windows().inBattle = 1;
    for (const auto& line : numbered(12))
        f.print(line);
    EXPECT_EQ(f.now(), 0u);

    // A full field menu of height 10 shows all eight items at once.
    f.windows().inBattle = 0;
    WindowState& w = f.windows();
    openMenu(f.ctx(), MenuKind::FieldMenu);
    EXPECT_EQ(f.now(), 0u);
    auto text = f.lines("text");
    ASSERT_GE(text.size(), 8u);
    EXPECT_EQ(text[text.size() - 8], "  魔      法");
    EXPECT_EQ(text.back(), "  終      了");
    // The caller's window (the message window, already lowered by DrawWindow) is kept.
    EXPECT_EQ(w.winX, 0);
    EXPECT_EQ(w.winY, 17);
    EXPECT_EQ(w.winH, 6);
}

TEST(PrintLine, ScrollsTheInsideUpOnePixelPerScrollDelay)
{
    UiFixture f;
    openMessageWindow(f);
    WindowState& w = f.windows();
    w.inBattle = 1;
    w.scrollDelay = 2;
    for (const auto& line : numbered(5))
        f.print(line);
    EXPECT_EQ(f.now(), 0u);
    // A mark inside the second text row (pixel rows 304..319) moves up one row with the scroll.
    const Pixel mark = 0xFF0000;
    f.screen().at(40, 310) = mark;
    f.print("六行目");
    EXPECT_EQ(f.now(), 16u * 2 * 10);
    EXPECT_EQ(f.screen().at(40, 294), mark);
    EXPECT_NE(f.screen().at(40, 310), mark);
    // The last row, where the new line goes, is window fill again.
    for (int column = 1; column < 31; ++column)
        EXPECT_TRUE(f.screenShowsCell(column * 16, 22 * 16, 16, 48)) << column;
    // The line takes the last row.
    EXPECT_EQ(w.textRow, 96);
    EXPECT_EQ(f.platform().calls.back().y, 17 * 16 + 96 - 16);
}

TEST(PrintLine, AHeldKeySkipsScrollAndTypingDelaysOnlyWhileAScriptFileRuns)
{
    {
        UiFixture f("hold enter\n");
        openMessageWindow(f);
        WindowState& w = f.windows();
        w.inBattle = 1;
        w.scrollDelay = 5;
        w.textDelay = 5;
        w.scriptMode = "OPN";
        for (const auto& line : numbered(7))
            f.print(line);
        EXPECT_EQ(f.now(), 0u);
    }
    {
        UiFixture f("hold enter\n");
        openMessageWindow(f);
        f.windows().textDelay = 5;
        f.print("あい");
        EXPECT_EQ(f.now(), 100u);
    }
}

TEST(PrintLine, TypingWaitsPerCharacterButNeverForFullWidthBlanks)
{
    UiFixture f;
    openMessageWindow(f);
    f.windows().textDelay = 3;
    f.print("あ　い");
    EXPECT_EQ(f.now(), 60u);
    f.windows().textDelay = 0;
    f.print("すぐに出る");
    EXPECT_EQ(f.now(), 60u);
}

TEST(PrintLine, SubstitutesNamesBeforeWrapping)
{
    UiFixture f;
    f.openWindow(0, 0, 6, 10); // 5 cells
    f.print("＃01は＄01");
    // "ミレイは" + six blanks (three cells): the line wraps after the fifth cell.
    EXPECT_EQ(f.lines("text"), (std::vector<std::string> { "ミレイは  ", "    " }));
}

TEST(PrintLine, BoldCopiesAndColour)
{
    UiFixture f;
    f.openWindow(0, 0, 10, 5);
    f.windows().boldCount = 2;
    f.windows().textColor = 5;
    f.print("強");
    auto& calls = f.platform().calls;
    ASSERT_EQ(calls.size(), 3u);
    for (int b = 0; b < 3; ++b) {
        EXPECT_EQ(calls[static_cast<std::size_t>(b)].x, 16 + b);
        EXPECT_EQ(calls[static_cast<std::size_t>(b)].colour, 5);
    }
}

TEST(PrintLine, ContinueLineGoesOnAfterTheLastCharacter)
{
    UiFixture f;
    openMessageWindow(f);
    f.print("あいう");
    f.windows().lineText = utf8ToCp932("えお");
    ContinueLine(f.ctx());
    auto& calls = f.platform().calls;
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[3].utf8, "え");
    EXPECT_EQ(calls[3].x, 4 * 16);
    EXPECT_EQ(calls[3].y, calls[0].y);
    // What does not fit flows on to the next line.
    std::string long30;
    for (int i = 0; i < 27; ++i)
        long30 += "ん";
    f.windows().lineText = utf8ToCp932(long30);
    ContinueLine(f.ctx());
    auto text = f.lines("text");
    ASSERT_EQ(text.size(), 4u);
    EXPECT_EQ(text[2].size(), 25u * 3); // 5 + 25 = the 30 cells of the line
    EXPECT_EQ(text[3], "んん");
    EXPECT_EQ(calls.back().y, calls[0].y + 16);
    // With nothing printed since the window was drawn it is an ordinary line.
    openMessageWindow(f);
    f.windows().lineText = utf8ToCp932("新");
    ContinueLine(f.ctx());
    EXPECT_EQ(calls.back().x, 16);
    EXPECT_EQ(calls.back().y, 17 * 16 + 16);
}

TEST(PrintLine, QuitConfirmedAtAPromptEndsTheProgram)
{
    UiFixture f("wait 100\npress esc\nanswer yes\n");
    openMessageWindow(f);
    try {
        WaitPage(f.ctx());
        FAIL() << "WaitPage returned";
    } catch (const ProgramEnd& end) {
        EXPECT_EQ(end.code, ExitCode::Normal);
    }
}

TEST(PrintLine, WildWindowValuesDoNotBreakThePrinter)
{
    UiFixture f;
    f.windows().inBattle = 1; // a window without room would prompt on every line
    f.openWindow(-3, 1e9f, 1e9f, -4);
    f.print("あいう");
    f.openWindow(0, 0, 0, 1);
    f.print("あいう"); // one cell per line at least
    EXPECT_EQ(f.lines("text").back(), "う");
    f.windows().fontSize = 0;
    f.print("え");
    EXPECT_EQ(f.lines("text").back(), "え");
}
