// Translations where texts enter the game: a text is replaced only by an entry of its own place
// and wording, untranslated and fuzzy entries keep the original, and what cp932 cannot hold, or
// a message that lost its placeholders, is told and kept as it was.
#include "core/messages.h"
#include "core/translation.h"
#include "platform/encoding.h"
#include "platform/po_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vorn;

namespace {

std::string entry(const std::string& context, const std::string& id, const std::string& str, bool fuzzy = false)
{
    return std::string(fuzzy ? "#, fuzzy\n" : "") + "msgctxt \"" + context + "\"\nmsgid \"" + id + "\"\nmsgstr \""
        + str + "\"\n\n";
}

Translation translationOf(const std::string& po, std::vector<std::string>& warnings)
{
    return Translation::fromPo("msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n" + po, warnings);
}

} // namespace

TEST(Translation, ReplacesATextOnlyAtItsPlaceAndWording)
{
    std::vector<std::string> warnings;
    Translation t = translationOf(entry("items/0/name", "やくそう", "Herb") + entry("items/1/name", "どく消し", "")
            + entry("items/2/name", "毒針", "Needle", true) + entry("items/3/name", "ａ", "Café")
            + entry("messages/Yes", "  は  い", "  Yes"),
        warnings);
    ASSERT_NE(t.find("items/0/name", utf8ToCp932("やくそう")), nullptr);
    EXPECT_EQ(*t.find("items/0/name", utf8ToCp932("やくそう")), "Herb");
    // The same wording elsewhere, or another wording at the same place (the game changed since).
    EXPECT_EQ(t.find("items/9/name", utf8ToCp932("やくそう")), nullptr);
    EXPECT_EQ(t.find("items/0/name", utf8ToCp932("やくそう改")), nullptr);
    // Untranslated and fuzzy entries keep the original.
    EXPECT_EQ(t.find("items/1/name", utf8ToCp932("どく消し")), nullptr);
    EXPECT_EQ(t.find("items/2/name", utf8ToCp932("毒針")), nullptr);
    // "é" has no cp932 form: one warning naming the entry, the original stays.
    EXPECT_EQ(t.find("items/3/name", utf8ToCp932("ａ")), nullptr);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("items/3/name"), std::string::npos);
    // The engine's messages are kept in UTF-8 for their placeholders.
    ASSERT_NE(t.findUtf8("messages/Yes", "  は  い"), nullptr);
    EXPECT_EQ(*t.findUtf8("messages/Yes", "  は  い"), "  Yes");
    EXPECT_THROW(translationOf("msgid \"a\"\n", warnings), PoError);
}

TEST(Translation, DatabaseAndScriptTextsAreReplacedWhereTheyAreRead)
{
    Database db;
    db.sizes.lastCharacterSaved = 1;
    db.sizes.itemCount = 1;
    db.sizes.enemyCount = 1;
    db.characters[0].name = db.characters[0].defaultName = utf8ToCp932("アレン");
    db.characters[1].name = utf8ToCp932("リナ");
    db.items[0].text[0] = utf8ToCp932("やくそう");
    db.items[0].text[5] = "HP-"; // the effect code: never a text of a catalogue
    db.enemies[0].name = utf8ToCp932("スライム");
    db.enemies[1].name = utf8ToCp932("スライム"); // beyond the table's count
    db.ini.windowTitle = utf8ToCp932("ともしび");
    std::vector<std::string> places;
    forEachDatabaseText(db, [&](const TextPlace& place, std::string&) { places.push_back(place.context); });
    EXPECT_EQ(places,
        (std::vector<std::string> { "settings/windowTitle", "characters/0/name", "characters/1/name",
            "attributes/0/name", "items/0/name",
            "items/0/description1", "items/0/description2", "items/0/menuText", "items/0/verb", "items/0/verbOnOther",
            "enemies/0/name" }));

    std::vector<std::string> warnings;
    Translation t = translationOf(entry("characters/0/name", "アレン", "Allen") + entry("enemies/0/name", "スライム", "Slime")
            + entry("settings/windowTitle", "ともしび", "Lamplight")
            + entry("DAT/vornT005.dat/event 2/line 1", "こんにちは", "Hello")
            + entry("DAT/vornTOPN.dat/line 0", "むかし", "99"),
        warnings);
    translateDatabase(t, db);
    EXPECT_EQ(db.characters[0].name, "Allen");
    EXPECT_EQ(db.characters[0].defaultName, "Allen"); // the name entry dialog offers it
    EXPECT_EQ(db.characters[1].name, utf8ToCp932("リナ"));
    EXPECT_EQ(db.enemies[0].name, "Slime");
    EXPECT_EQ(db.ini.windowTitle, "Lamplight");

    std::vector<ScriptEvent> events(3);
    events[2].lines = { { utf8ToCp932("こんにちは"), "NEX" }, { utf8ToCp932("こんにちは"), "END" } };
    translateMapEvents(t, "DAT\\vornT005.dat", events);
    EXPECT_EQ(events[2].lines[0].message, utf8ToCp932("こんにちは"));
    EXPECT_EQ(events[2].lines[1].message, "Hello");
    EXPECT_EQ(events[2].lines[1].commands, "END");
    // A translation reading "99" would end the script there: the original stays.
    std::vector<ScriptLine> opening { { utf8ToCp932("むかし"), "NEX" } };
    translateScriptLines(t, storyFileName(StoryKind::Opening), -1, opening);
    EXPECT_EQ(opening[0].message, utf8ToCp932("むかし"));
}

TEST(Translation, MessagesKeepTheirPlaceholdersInAnyOrder)
{
    std::vector<std::string> warnings;
    Translation t = translationOf(entry("messages/HpDrained", "{user}は{enemy}の体力を吸い取った！", "{enemy} lost HP to {user}!")
            + entry("messages/NoEffect", "{name}には効果がなかった！", "No effect on {nmae}.")
            + entry("messages/Yes", "  は  い", "  Yes"),
        warnings);
    ASSERT_TRUE(warnings.empty());
    MessageTexts texts;
    texts.translate(t, warnings);
    EXPECT_EQ(texts.text(Message::Yes), "  Yes");
    EXPECT_EQ(texts.format(Message::HpDrained, { { "user", "Allen" }, { "enemy", "Bat" } }), "Bat lost HP to Allen!");
    // A misspelt placeholder would lose the name: told, and the original kept.
    EXPECT_EQ(cp932ToUtf8(texts.format(Message::NoEffect, { { "name", "Bat" } })), "Batには効果がなかった！");
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("messages/NoEffect"), std::string::npos);
    EXPECT_EQ(cp932ToUtf8(texts.text(Message::No)), "  いいえ");
}
