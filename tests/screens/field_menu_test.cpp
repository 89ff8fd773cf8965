// The field menu's screens driven by scripted keys: the menu's labels and what its save and load
// entries open, the status lines and colour, the formation change, the settings switches, the
// speed choice, the key configuration and the quit question.
#include "core/errors.h"
#include "platform/encoding.h"
#include "screens/field_menu.h"
#include "ui/ui_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace vorn {
namespace {

    using test::UiFixture;

    std::vector<std::string> utf8Lines(const std::vector<std::string>& cp932)
    {
        std::vector<std::string> out;
        for (const auto& line : cp932)
            out.push_back(cp932ToUtf8(line));
        return out;
    }

    bool anyContains(const std::vector<std::string>& lines, const std::string& text)
    {
        return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(text) != std::string::npos; });
    }

    // The starter game's hero, wearing the copper sword (item 1, equipment record 0) and the
    // leather armour (item 2, record 1), carrying three herbs and an old key.
    void equipHero(Context& ctx)
    {
        Character& hero = ctx.db.characters[0];
        hero.name = utf8ToCp932("アルト");
        hero.attribute = 1;
        hero.level = 7;
        hero.hp = 25;
        hero.maxHp = 100;
        hero.mp = 3;
        hero.maxMp = 12;
        hero.exp = 1234;
        hero.nextExp = 99999;
        hero.attack = 12;
        hero.defense = 8;
        hero.speed = 6;
        hero.magicDefense = 2;
        hero.hitRate = 95;
        hero.conditions = {};
        hero.itemCount = 3;
        hero.inventory[0] = { 1, 2, 999 };
        hero.inventory[1] = { 0, 0, 5 };
        hero.inventory[2] = { 2, 2, 1 };
        hero.equipment = { 2, 3, 0, 0, 0, 0 };
        ctx.db.items[1].hitRate = 90;
        ctx.db.equipment[1].magicDefense = 3;
    }

    // The rows of text drawn on the screen, top to bottom, each read left to right without its
    // blanks.
    std::vector<std::string> drawnRows(const test::RecordingPlatform& platform)
    {
        std::map<int, std::map<int, std::string>> rows;
        for (const auto& call : platform.calls)
            rows[call.y][call.x] += call.utf8;
        std::vector<std::string> out;
        for (const auto& [y, row] : rows) {
            std::string text;
            for (const auto& [x, part] : row)
                text += part;
            for (std::size_t at; (at = text.find(' ')) != std::string::npos;)
                text.erase(at, 1);
            out.push_back(text);
        }
        return out;
    }

    TEST(FieldMenuScreen, TheEightLabelsStandInOrderAndTheFifthSavesTheSixthLoads)
    {
        UiFixture shown("wait 100\npress ctrl\n");
        EXPECT_EQ(FieldMenu(shown.ctx()), FieldMenuResult::Closed);
        EXPECT_EQ(drawnRows(shown.platform()),
            (std::vector<std::string> { "魔法", "道具", "ステータス", "隊列", "セーブ", "ロード", "設定", "終了" }));

        // (The menu first waits for the key that opened it to be let go: the keys come later.)
        // The fifth row asks where to save, the sixth where to load from; cancel backs out of both.
        UiFixture save("wait 100\npress down\npress down\npress down\npress down\npress space\npress ctrl\npress ctrl\n");
        FieldMenu(save.ctx());
        EXPECT_TRUE(anyContains(save.lines("text"), "保存先を選択してください"));
        EXPECT_FALSE(anyContains(save.lines("text"), "読込先を選択してください"));
        UiFixture load(
            "wait 100\npress down\npress down\npress down\npress down\npress down\npress space\npress ctrl\npress ctrl\n");
        FieldMenu(load.ctx());
        EXPECT_TRUE(anyContains(load.lines("text"), "読込先を選択してください"));
        EXPECT_FALSE(anyContains(load.lines("text"), "保存先を選択してください"));
    }

    TEST(StatusScreen, FirstPageLinesAndWidths)
    {
        UiFixture f;
        equipHero(f.ctx());
        std::vector<std::string> expected {
            "名前：『アルト』",
            "属性：炎",
            "状態：良",
            "",
            "レベル：     7",
            "体　　　力：　  25／　 100",
            "魔　　　力：　   3／　  12",
            "経　験　値：  1234／ 99999",
            "",
            "攻　撃　力：　  12＋　   5",
            "防　御　力：　   8＋　   4",
            "速　　　さ：　   6＋　   0",
            "魔法防御力：　   2＋　   3",
            "攻撃命中率：　92.5％",
        };
        std::vector<std::string> lines = statusLines(f.ctx(), 0);
        EXPECT_EQ(utf8Lines(lines), expected);
        for (const std::string& line : lines)
            EXPECT_LE(line.size(), 26u) << "a line of the 14-wide window holds 13 full-width characters";

        // Without a weapon the member's own rate, a whole number.
        f.ctx().db.characters[0].equipment[0] = 0;
        EXPECT_EQ(cp932ToUtf8(statusLines(f.ctx(), 0)[13]), "攻撃命中率：　  95％");
    }

    TEST(StatusScreen, ConditionText)
    {
        UiFixture f;
        equipHero(f.ctx());
        Character& hero = f.ctx().db.characters[0];
        hero.conditions[0] = 2; // sleep
        hero.conditions[3] = 999; // poison
        hero.conditions[7] = 1; // darkness
        EXPECT_EQ(cp932ToUtf8(statusLines(f.ctx(), 0)[2]), "状態：眠毒闇");
        hero.hp = 0;
        EXPECT_EQ(cp932ToUtf8(statusLines(f.ctx(), 0)[2]), "状態：絶") << "fainted, whatever else";
    }

    TEST(StatusScreen, LowHitPointsColourBelowOneQuarter)
    {
        EXPECT_FALSE(lowHitPoints(25, 100));
        EXPECT_TRUE(lowHitPoints(24, 100));
        EXPECT_FALSE(lowHitPoints(0, 0));

        for (float hp : { 25.0f, 24.0f }) {
            UiFixture f("press ctrl\n");
            equipHero(f.ctx());
            f.ctx().db.characters[0].hp = hp;
            ShowStatus(f.ctx());
            int colour = -1;
            for (const auto& call : f.platform().calls) {
                if (call.utf8.find("名") != std::string::npos)
                    colour = call.colour;
            }
            EXPECT_EQ(colour, hp == 25 ? 15 : 5) << hp;
            EXPECT_EQ(f.windows().textColor, 15);
        }
    }

    TEST(StatusScreen, SecondPageListsSpellsItemsWithUsesAndGold)
    {
        // Next, then cancel on page 2 (back to page 1), next again, back.
        UiFixture f("press space\npress ctrl\npress space\npress space\n");
        equipHero(f.ctx());
        f.ctx().db.characters[0].spellCount = 1;
        f.ctx().db.characters[0].spells[0] = 1;
        ShowStatus(f.ctx());
        auto text = f.lines("text");
        EXPECT_TRUE(anyContains(text, "ファイア"));
        EXPECT_TRUE(anyContains(text, "銅の剣≪ (無)"));
        EXPECT_TRUE(anyContains(text, "薬草 ( 5)"));
        EXPECT_TRUE(anyContains(text, "革の鎧≪ ( 1)"));
        EXPECT_EQ(std::count(text.begin(), text.end(), "名前：『アルト』"), 2) << "cancelling page 2 shows page 1 again";
        EXPECT_EQ(f.windows().paging, Paging::None);
    }

    TEST(StatusScreen, EmptyListsSaySo)
    {
        UiFixture f("press space\npress space\n");
        f.ctx().db.characters[0].itemCount = 0;
        f.ctx().db.characters[0].spellCount = 0;
        ShowStatus(f.ctx());
        auto text = f.lines("text");
        EXPECT_TRUE(anyContains(text, "覚えていません"));
        EXPECT_TRUE(anyContains(text, "持っていません"));
    }

    TEST(StatusScreen, AOneMemberPartyIsShownAtOnce)
    {
        UiFixture f("press ctrl\n");
        f.ctx().db.sizes.lastCharacter = 0;
        StatusCommand(f.ctx());
        auto text = f.lines("text");
        EXPECT_FALSE(text.empty());
        EXPECT_NE(text.front().find("名前：『"), std::string::npos) << "no member list first";
    }

    // A party of three: アルト, ミナ, ゴウ with pictures 0, 1, 2.
    void threeMembers(UiFixture& f)
    {
        Database& db = f.ctx().db;
        db.sizes.lastCharacter = 2;
        const char* names[] = { "アルト", "ミナ", "ゴウ" };
        for (size_t c = 0; c < 3; ++c) {
            db.characters[c].name = utf8ToCp932(names[c]);
            db.characters[c].growthType = static_cast<float>(c);
        }
        f.ctx().field.playerPicture = 0;
    }

    std::vector<std::string> partyNames(UiFixture& f)
    {
        std::vector<std::string> names;
        for (size_t c = 0; c < 3; ++c)
            names.push_back(cp932ToUtf8(f.ctx().db.characters[c].name));
        return names;
    }

    TEST(Formation, CompletedTheNewLeaderGivesThePicture)
    {
        // ゴウ, then アルト, then ミナ.
        UiFixture f("press down\npress down\npress space\npress space\npress down\npress space\n");
        threeMembers(f);
        FormationCommand(f.ctx());
        EXPECT_EQ(partyNames(f), (std::vector<std::string> { "ゴウ", "アルト", "ミナ" }));
        EXPECT_EQ(f.ctx().db.characters[0].growthType, 2) << "the whole record moves";
        EXPECT_EQ(f.ctx().field.playerPicture, 2);
    }

    TEST(Formation, AbandonedKeepsTheOldOrder)
    {
        UiFixture f("press down\npress space\npress ctrl\n");
        threeMembers(f);
        FormationCommand(f.ctx());
        EXPECT_EQ(partyNames(f), (std::vector<std::string> { "アルト", "ミナ", "ゴウ" }));
        EXPECT_EQ(f.ctx().field.playerPicture, 0);
    }

    TEST(Formation, TheSameMemberTwiceIsRefusedAndAskedAgain)
    {
        // ミナ, ミナ again (refused), then ゴウ, then アルト.
        UiFixture f("press down\npress space\npress down\npress space\npress down\npress down\npress space\n"
                    "press space\n");
        threeMembers(f);
        FormationCommand(f.ctx());
        EXPECT_TRUE(anyContains(f.lines("text"), "ミナの順番は既に決まっています"));
        EXPECT_EQ(partyNames(f), (std::vector<std::string> { "ミナ", "ゴウ", "アルト" }));
    }

    TEST(Formation, AOneMemberPartyCannotBeReordered)
    {
        UiFixture f("wait 100\npress space\n");
        f.ctx().db.sizes.lastCharacter = 0;
        FormationCommand(f.ctx());
        EXPECT_TRUE(anyContains(f.lines("text"), "隊列変更できません"));
    }

    TEST(Settings, SwitchesFlipAndTheMenuComesBackOnItsFirstItem)
    {
        // BGM twice, sound, people, encounters (each choice brings the menu back at item 1), cancel.
        UiFixture f("press space\npress space\npress down\npress space\npress down\npress down\npress space\n"
                    "press down\npress down\npress down\npress down\npress space\npress ctrl\n");
        Settings& s = f.ctx().settings;
        SettingsScreen(f.ctx());
        EXPECT_EQ(s.musicOn, 1) << "twice is back to on";
        EXPECT_EQ(s.soundOn, -1);
        EXPECT_EQ(s.walkAnim, -1);
        EXPECT_EQ(s.encounterMode, -1);
        EXPECT_TRUE(anyContains(f.lines("text"), "敵遭遇  停止時"));
    }

    TEST(Settings, SpeedChoice)
    {
        // The speed window's sixth line fills it: a page prompt takes one key before the cursor
        // runs. Cancelled: the speed stays. Then the first line: speed 0. Then the last: 5.
        std::string open = "press down\npress down\npress down\npress space\npress enter\n";
        UiFixture f(open + "press ctrl\n" + open + "press space\n" + open + "press up\npress space\npress ctrl\n");
        f.ctx().settings.walkDelay = 3;
        SettingsScreen(f.ctx());
        EXPECT_EQ(f.ctx().settings.walkDelay, 5);
        auto text = f.lines("text");
        EXPECT_EQ(std::count(text.begin(), text.end(), "  速　度  ３"), 2) << "cancelled, the speed stays";
        EXPECT_TRUE(anyContains(text, "速　度  ０"));
        EXPECT_TRUE(anyContains(text, "速　度  ５"));
    }

    TEST(Settings, KeyConfigurationTakesSixKeysTheSameOneTwiceToo)
    {
        // The fifth prompt fills the message window: its page prompt takes a key of its own.
        UiFixture f("wait 100\npress a\npress a\npress b\npress c\npress space\npress d\npress e\n");
        ConfigureKeys(f.ctx());
        EXPECT_EQ(f.ctx().input.configuredKeys, (std::array<int, 6> { 'A', 'A', 'B', 'C', 'D', 'E' }));
        auto text = f.lines("text");
        for (int k = 0; k < 6; ++k) {
            std::string prompt = cp932ToUtf8(message(f.ctx(), keyPrompt(static_cast<ConfiguredKey>(k))));
            EXPECT_TRUE(anyContains(text, prompt)) << prompt;
        }
        EXPECT_TRUE(anyContains(text, "キャンセルキーを選択してください"));
    }

    TEST(Settings, AfterTheKeyConfigurationTheMenuWaitsForANewKey)
    {
        // "  キー設定" (up from the first item); the six keys and the page prompt; then the first
        // item (BGM) and cancel. The last key, the new cancel key, is still down as the menu opens.
        UiFixture f("press up\npress space\nwait 100\npress a\npress a\npress b\npress c\npress space\npress d\n"
                    "press e\nwait 200\npress space\nwait 100\npress ctrl\n");
        SettingsScreen(f.ctx());
        EXPECT_EQ(f.ctx().input.configuredKeys[static_cast<std::size_t>(ConfiguredKey::Cancel)], 'E');
        EXPECT_EQ(f.ctx().settings.musicOn, -1) << "the menu closed on the cancel key's release";
    }

    TEST(QuitConfirmation, NoGoesBackYesQuits)
    {
        UiFixture no("press down\npress space\n");
        QuitConfirmation(no.ctx());
        EXPECT_TRUE(anyContains(no.lines("text"), "本当に終了してもよろしいですか？"));

        UiFixture yes("press space\n");
        EXPECT_THROW(QuitConfirmation(yes.ctx()), ProgramEnd);
    }

} // namespace
} // namespace vorn
