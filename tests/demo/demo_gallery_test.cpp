// The gallery of the engine's features (map 8), reached from the door beside the bed at a new
// game: each placard played headless by the real player, from the party's statistics changed and
// put back, through the field, flag, call and text placards, to the game over.
#include "demo_support.h"

#include <gtest/gtest.h>

using namespace vorn::test::demo;
using vorn::test::runPlayer;
using vorn::test::TempDir;

namespace {

// A key once `text` has been told (the game then waits for it).
std::string keyAfter(const std::string& text)
{
    return "expect " + text + " 5000\nwait 300\npress enter\n";
}

// From the bed to the gallery door (12, 1): three steps right and a push up; yes, enter.
const std::string intoTheGallery = std::string(newGameInTheHome) + presses("right", 3) + "press up\n"
    + "expect 入りますか 5000\nwait 300\npress space\nexpect map 8 5000\nwait 300\n";

} // namespace

TEST(DemoGallery, ThePartyPlacardPutsBackWhatItChanges)
{
    TempDir dir;
    fs::path game = copyOfDemo(dir);
    // From the arrival (11, 11) to below the party placard (7, 8).
    std::string timeline = intoTheGallery + presses("up", 2) + presses("left", 4) + "dump before\npress up\n";
    timeline += "expect 毒にしました 5000\nwait 300\ndump hurt\npress enter\n";
    timeline += keyAfter("値に戻し") + keyAfter("攻撃力を１上げ");
    timeline += keyAfter("薬草を手に入れた") + keyAfter("薬草を渡しました") + keyAfter("先頭はレイですね");
    timeline += "wait 300\ndump after\n";
    auto run = runPlayer(game, timeline, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.errorOutput;
    EXPECT_TRUE(run.lines("error").empty());
    EXPECT_EQ(run.lines("map").back(), "map 8 col 11 row 11");
    auto before = readDump(dir.file("before.json"));
    auto hurt = readDump(dir.file("hurt.json"));
    auto after = readDump(dir.file("after.json"));
    ASSERT_FALSE(before.is_discarded());
    ASSERT_FALSE(hurt.is_discarded());
    ASSERT_FALSE(after.is_discarded());
    const auto& was = before["party"][0];
    const auto& mid = hurt["party"][0];
    const auto& now = after["party"][0];
    EXPECT_EQ(mid["hp"], was["hp"].get<double>() - 1);
    EXPECT_EQ(mid["conditions"][3], 999);
    // The hit points come back from the flag STT filled; everything else is as it was but the
    // one experience point.
    for (const char* field : { "hp", "mp", "attack", "defense", "speed", "spells", "inventory", "level" })
        EXPECT_EQ(now[field], was[field]) << field;
    EXPECT_EQ(now["conditions"][3], 0);
    EXPECT_EQ(now["exp"], was["exp"].get<double>() + 1);
}

TEST(DemoGallery, TheFieldFlagCallAndTextPlacardsRunToTheirEnds)
{
    TempDir dir;
    fs::path game = copyOfDemo(dir);
    // The text placard (3, 3): round the called placard (3, 8), stand below, push up.
    std::string timeline = intoTheGallery + presses("up", 2) + presses("left", 7) + presses("up", 5)
        + presses("left", 1) + "press up\n";
    // The blank lines fill the window: a page prompt comes before the window scrolls.
    timeline += keyAfter("大きな太い明朝体") + "expect ゆっくり流れます 5000\nwait 3000\npress enter\n";
    for (const char* page : { "流れました", "続けて同じ行に", "黄色い文字", "顔の絵と", "おしまい" })
        timeline += keyAfter(page);
    // The picture placard (7, 3).
    timeline += "wait 300\n" + presses("right", 4) + "press up\n";
    for (const char* page : { "大きく映しました", "すべっていきました", "せまってきました", "色が一瞬" })
        timeline += keyAfter(page);
    // The field placard (11, 3): the hero faces up; walked, turned, warped back below it.
    timeline += "wait 300\n" + presses("right", 4) + "press up\n";
    for (const char* page : { "上を向いています", "姿を変えます", "戻します", "一瞬で移動", "床に絵を", "設定しなおしました" })
        timeline += keyAfter(page);
    timeline += "wait 300\ndump moved\n";
    // The flag placard (15, 3): first talk, no to the mouse; second talk starts past FLG's line,
    // yes, and a click of the left button.
    timeline += presses("right", 4) + "press up\n" + keyAfter("木の床です") + "expect クリックしてみますか 5000\nwait 300\npress down\nwait 100\n"
        + "press enter\n" + keyAfter("またどうぞ") + "wait 300\ndump flags\npress up\n" + keyAfter("木の床です")
        + "expect クリックしてみますか 5000\nwait 300\npress enter\n"
        + "expect クリックしてください 5000\nwait 300\nclick 100 100\n" + keyAfter("左ボタンでしたね");
    // The call placard (19, 3): a call and a return, a second call's page, three sounds, the
    // timed wait left to run out, and the jump into the called placard's last line.
    timeline += "wait 300\n" + presses("right", 4) + "press up\n" + keyAfter("【呼ばれる側】");
    timeline += "expect しばらく待つか 5000\nwait 4000\n" + keyAfter("別の見本の終わりへ") + "wait 300\n";
    auto run = runPlayer(game, timeline, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.errorOutput;
    EXPECT_TRUE(run.lines("error").empty());

    auto moved = readDump(dir.file("moved.json"));
    auto flags = readDump(dir.file("flags.json"));
    ASSERT_FALSE(moved.is_discarded());
    ASSERT_FALSE(flags.is_discarded());
    EXPECT_EQ(moved["player"]["column"], 11);
    EXPECT_EQ(moved["player"]["row"], 4);
    // GXY, CKE, CKM and GMN: the hero's cell, the placard above him, the wooden floor, line 1.
    EXPECT_EQ(flags["flags"].value("0,30", -1.0), 15.0);
    EXPECT_EQ(flags["flags"].value("0,31", -1.0), 4.0);
    EXPECT_EQ(flags["flags"].value("0,32", -1.0), 4.0);
    EXPECT_EQ(flags["flags"].value("0,33", -1.0), 0xB4);
    EXPECT_EQ(flags["flags"].value("0,34", -1.0), 1.0);
    EXPECT_EQ(countOf(run, "text", "はじめまして"), 1);
    EXPECT_EQ(countOf(run, "text", "位置や床を調べて"), 2);
    // The calls: the called line, back, the second call's page, back, then the sounds.
    long called = indexOf(run, "text", "呼ばれたときだけ");
    long back = indexOf(run, "text", "呼び出しから戻りました");
    long page = indexOf(run, "text", "【呼ばれる側】");
    long again = indexOf(run, "text", "もう一度戻りました");
    ASSERT_GE(called, 0);
    EXPECT_LT(called, back);
    EXPECT_LT(back, page);
    EXPECT_LT(page, again);
    EXPECT_TRUE(run.has("text", "時間切れでした"));
    EXPECT_EQ(indexOf(run, "text", "キーが押されました"), -1);
}

TEST(DemoGallery, TheGameOverPlacardEndsTheGame)
{
    TempDir dir;
    fs::path game = copyOfDemo(dir);
    // Below the game-over placard (15, 8).
    std::string timeline = intoTheGallery + presses("up", 2) + presses("right", 4) + "press up\n";
    timeline += "expect 本当に見ますか 5000\nwait 300\npress space\nexpect ＧＡＭＥ  ＯＶＥＲ 10000\nwait 300\n";
    auto run = runPlayer(game, timeline, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.errorOutput;
    EXPECT_TRUE(run.lines("error").empty());
    EXPECT_TRUE(run.has("state", "game over"));
}
