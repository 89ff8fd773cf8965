// Party commands of event scripts: joining and leaving, renaming, hit points, conditions,
// statistics, experience and spells, and the branch on the leader.
#include "script_fixture.h"

#include "core/context.h"
#include "support/town_party.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vorn::test {
namespace {

    using Lines = std::vector<std::string>;

    Character& at(ScriptFixture& f, int index) { return f.ctx().db.characters[static_cast<std::size_t>(index)]; }
    std::string nameAt(ScriptFixture& f, int index) { return cp932ToUtf8(at(f, index).name); }

    // A fixture whose party holds the first `members` of the three characters.
    struct Party : ScriptFixture {
        explicit Party(int members, const std::string& timeline = "")
            : ScriptFixture(timeline)
        {
            makeTownParty(ctx().db, members);
        }
    };

    TEST(PartyCommands, GetBringsTheCharacterIntoTheNewLastPlace)
    {
        Party f(1, "wait 300\npress space\nwait 200\n");
        f.setEvent(0, { { "", "GET,2,GET,0,THR" } });
        f.run();
        // ドルガ traded places with ミナ; the leader's second GET changed nothing.
        EXPECT_EQ(f.ctx().db.sizes.lastCharacter, 1);
        EXPECT_EQ(nameAt(f, 1), "ドルガ");
        EXPECT_EQ(nameAt(f, 2), "ミナ");
        EXPECT_EQ(f.texts(), Lines { "ドルガが仲間になった" });
        // Names in messages follow the identity, not the roster place.
        f.setEvent(0, { { "＃01と＃02", "THR" } });
        f.run();
        EXPECT_EQ(f.texts().back(), "ミナとドルガ");
    }

    TEST(PartyCommands, GetOfACharacterOutsideTheRosterIsAnEventError)
    {
        Party f(1);
        f.setEvent(0, { { "", "GET,3" } });
        EXPECT_NE(f.runExpectingEventError().find("GET"), std::string::npos);
    }

    TEST(PartyCommands, AwyOfTheOnlyConsciousMemberTakesTheTargetAndKeepsTheParty)
    {
        Party f(2);
        at(f, 1).hp = 0;
        f.setEvent(0, { { "", "AWY,0,*stay,FST,1,1,1,THR" }, { "", "LBL,stay,FST,1,1,2,THR" } });
        f.run();
        EXPECT_EQ(f.flag(1, 1), 2);
        EXPECT_EQ(f.ctx().db.sizes.lastCharacter, 1);
        EXPECT_EQ(nameAt(f, 0), "レイ");
        EXPECT_TRUE(f.texts().empty());
    }

    TEST(PartyCommands, AwyOfTheLeaderMovesItBehindThePartyAndTheNewLeaderIsDrawn)
    {
        Party f(3, "wait 300\npress space\nwait 200\n");
        f.ctx().field.playerPicture = 0;
        f.setEvent(0, { { "", "AWY,0,NEX,FST,1,1,1,THR" } });
        f.run();
        EXPECT_EQ(f.flag(1, 1), 1);
        EXPECT_EQ(f.ctx().db.sizes.lastCharacter, 1);
        EXPECT_EQ(nameAt(f, 0), "ミナ");
        EXPECT_EQ(nameAt(f, 1), "ドルガ");
        EXPECT_EQ(nameAt(f, 2), "レイ");
        EXPECT_EQ(f.ctx().field.playerPicture, 1);
        EXPECT_EQ(f.texts(), Lines { "レイが仲間からぬけた" });

        // A hidden player stays hidden when a member leaves.
        Party g(3, "wait 300\npress space\nwait 200\n");
        g.ctx().field.playerPicture = 99;
        g.setEvent(0, { { "", "AWY,0,NEX,THR" } });
        g.run();
        EXPECT_EQ(g.ctx().field.playerPicture, 99);
    }

    TEST(PartyCommands, HmpChangesRelativeOrAbsoluteWithoutLimit)
    {
        Party f(3);
        f.setEvent(0, { { "", "HMP,99,+10,+0,HMP,1,5,-3,HMP,7,1,1,THR" } });
        f.run();
        EXPECT_EQ(at(f, 0).hp, 40); // beyond the maximum of 30
        EXPECT_EQ(at(f, 2).hp, 40);
        EXPECT_EQ(at(f, 0).mp, 10);
        EXPECT_EQ(at(f, 1).hp, 5);
        EXPECT_EQ(at(f, 1).mp, 7);
    }

    TEST(PartyCommands, StrAndAlrSetAndClearConditions)
    {
        Party f(2);
        at(f, 0).hp = 3;
        at(f, 1).conditions[0] = 4;
        f.setEvent(0, { { "", "STR,0,3,1,STR,99,7,1,STR,1,7,0,THR" } });
        f.run();
        EXPECT_EQ(at(f, 0).conditions[3], 999);
        EXPECT_EQ(at(f, 0).conditions[7], 999);
        EXPECT_EQ(at(f, 1).conditions[7], 0);
        EXPECT_EQ(at(f, 1).conditions[0], 4);

        f.setEvent(0, { { "", "ALR,0,THR" } });
        f.run();
        EXPECT_TRUE(std::all_of(at(f, 0).conditions.begin(), at(f, 0).conditions.end(), [](float c) { return c == 0; }));
        EXPECT_EQ(at(f, 0).hp, 30);
        EXPECT_EQ(at(f, 1).conditions[0], 4);

        f.setEvent(0, { { "", "STR,0,11,1" } });
        EXPECT_NE(f.runExpectingEventError().find("STR"), std::string::npos);
    }

    TEST(PartyCommands, PrsChangesEachStatisticRelativeOrAbsolute)
    {
        Party f(1);
        at(f, 0).magicDefense = 2;
        at(f, 0).hitRate = 90;
        f.setEvent(0, { { "", "PRS,0,+5,-2,20,+0,-100,THR" } });
        f.run();
        const Character& c = at(f, 0);
        EXPECT_EQ(c.attack, 15);
        EXPECT_EQ(c.defense, 4);
        EXPECT_EQ(c.speed, 20);
        EXPECT_EQ(c.magicDefense, 2);
        EXPECT_EQ(c.hitRate, -10);
    }

    TEST(PartyCommands, ExuRaisesExperienceAndLevelsUpWithTheSpellLearnt)
    {
        Party f(1, "wait 300\npress space\nwait 200\npress space\nwait 200\n");
        // Level 3 to 4 learns spell row 2's "ファイア".
        f.ctx().db.levels[2][0].spell = 2;
        f.setEvent(0, { { "", "EXU,0,+25,THR" } });
        f.run();
        const Character& c = at(f, 0);
        EXPECT_EQ(c.exp, 25);
        EXPECT_EQ(c.level, 5); // next levels at 10 + 10, then 30
        EXPECT_EQ(c.nextExp, 30);
        EXPECT_EQ(c.maxHp, 40);
        EXPECT_EQ(f.texts(), (Lines { "レイはレベルアップした！！", "レイはファイアの魔法を覚えた！！", "レイはレベルアップした！！" }));
    }

    TEST(PartyCommands, MgtTeachesUntilTheListIsFullAndMltForgets)
    {
        Party f(1);
        f.setEvent(0, { { "", "MGT,0,0,MGT,0,1,MGT,0,2,MGT,0,1,THR" } });
        f.run();
        const Character& c = at(f, 0);
        EXPECT_EQ(c.spellCount, 3); // three slots: the fourth spell is not learnt
        EXPECT_EQ(f.texts().front(), "レイはヒールの魔法を覚えた！！");
        EXPECT_EQ(f.texts().size(), 3u);

        f.setEvent(0, { { "", "MLT,0,0,MLT,0,0,THR" } });
        f.run();
        EXPECT_EQ(c.spellCount, 2);
        EXPECT_EQ(c.spells[0], 1);
        EXPECT_EQ(c.spells[1], 2);
        EXPECT_EQ(c.spells[2], 0);

        f.setEvent(0, { { "", "MGT,0,1000" } });
        EXPECT_NE(f.runExpectingEventError().find("spell"), std::string::npos);
    }

    TEST(PartyCommands, SttReadsFiguresWithCurseAndEquipment)
    {
        Party f(2);
        Character& c = at(f, 1);
        c.equipment[0] = 2; // the sword: attack 4, defense 1, speed 2
        c.attack = 11;
        c.conditions[2] = 5; // cursed: base values halved
        c.conditions[4] = 7;
        f.setEvent(0, { { "", "STT,2,1,3,1,STT,3,1,3,2,STT,9,1,3,3,STT,0,1,3,4,THR" } });
        f.run();
        EXPECT_EQ(f.flag(3, 1), 9.5f);
        EXPECT_EQ(f.flag(3, 2), 4);
        EXPECT_EQ(f.flag(3, 3), 7);
        EXPECT_EQ(f.flag(3, 4), 30);

        f.setEvent(0, { { "", "STT,13,1,3,5" } });
        EXPECT_NE(f.runExpectingEventError().find("STT"), std::string::npos);
    }

    TEST(PartyCommands, SrtFallsThroughOnlyForTheLeader)
    {
        Party f(2);
        f.setEvent(0, { { "", "SRT,0,NEX,FST,1,1,1,SRT,1,NEX,FST,1,2,1,THR" }, { "", "FST,1,3,1,THR" } });
        f.run();
        EXPECT_EQ(f.flag(1, 1), 1);
        EXPECT_EQ(f.flag(1, 2), 0);
        EXPECT_EQ(f.flag(1, 3), 1);
    }

    TEST(PartyCommands, NcgSetsNameAndDefaultNamePaddedToWholeCells)
    {
        Party f(2, "name   Bob\n");
        f.setEvent(0, { { "", "NCG,1,THR" } });
        f.run();
        // Leading blanks removed, three bytes made four.
        EXPECT_EQ(at(f, 1).name, "Bob ");
        EXPECT_EQ(at(f, 1).defaultName, "Bob ");
        EXPECT_EQ(f.t.lines("box"), Lines { "名前変更: 名前 ミナ" });
    }

    TEST(PartyCommands, NcgRefusesBlankNamesAndKeepsBothNamesOnCancel)
    {
        Party f(1, "name \"   \"\nname-cancel\n");
        f.setEvent(0, { { "", "NCG,0,THR" } });
        f.run();
        EXPECT_EQ(f.t.lines("box"), (Lines { "名前変更: 名前 レイ", "エラー: 名前を入力してください", "名前変更: 名前 レイ" }));
        EXPECT_EQ(at(f, 0).name, utf8ToCp932("レイ"));
        EXPECT_EQ(at(f, 0).defaultName, utf8ToCp932("レイ"));

        f.setEvent(0, { { "", "NCG,1" } });
        EXPECT_NE(f.runExpectingEventError().find("NCG"), std::string::npos);
    }

    TEST(PartyCommands, NcgRefusesANameASaveCannotHoldAndAsksAgain)
    {
        Party f(1, "name Al\",x\nname Al,x\n");
        f.setEvent(0, { { "", "NCG,0,THR" } });
        f.run();
        EXPECT_EQ(f.t.lines("box"),
            (Lines { "名前変更: 名前 レイ", "エラー: 名前に使えない文字が含まれています", "名前変更: 名前 レイ" }));
        EXPECT_EQ(at(f, 0).name, "Al,x");
    }

    TEST(PartyCommands, AnUnansweredNameDialogThatOffersARefusedNameIsCancelledNotAskedForEver)
    {
        Party f(1, "");
        at(f, 0).name = "  ";
        f.setEvent(0, { { "", "NCG,0,THR" } });
        f.run();
        EXPECT_EQ(f.t.lines("box"), (Lines { "名前変更: 名前   ", "エラー: 名前を入力してください", "名前変更: 名前   " }));
        EXPECT_EQ(at(f, 0).name, "  ");
    }

    TEST(PartyCommands, NcgTakesSixteenBytesOfCharactersCp932Holds)
    {
        // "☃" has no cp932 form and is refused as it is typed; the ninth full-width character
        // does not fit.
        Party f(1, "name あい☃うえおかきくけ\n");
        f.setEvent(0, { { "", "NCG,0,THR" } });
        f.run();
        EXPECT_EQ(at(f, 0).name, utf8ToCp932("あいうえおかきく"));
    }

} // namespace
} // namespace vorn::test
