// The table of fixed texts: every row holds its own message under its own name, and every text survives the trip to
// cp932 and back unchanged, so no character is lost as "?" on the screen.
#include "core/messages.h"
#include "platform/encoding.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <set>
#include <string>
#include <vector>

using namespace vorn;

TEST(Messages, EveryMessageHasItsRow)
{
    auto table = messageTable();
    ASSERT_EQ(table.size(), static_cast<std::size_t>(Message::Count));
    std::set<std::string_view> names;
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(static_cast<std::size_t>(table[i].id), i);
        // A translation catalogue knows a message by its name.
        EXPECT_FALSE(table[i].name.empty());
        EXPECT_TRUE(names.insert(table[i].name).second) << table[i].name;
    }
}

TEST(Messages, EveryTextEncodesToCp932AndBack)
{
    const MessageTexts texts;
    for (const MessageRow& row : messageTable()) {
        std::string utf8(row.utf8);
        SCOPED_TRACE(utf8);
        const std::string& cp932 = texts.text(row.id);
        EXPECT_FALSE(cp932.empty());
        EXPECT_EQ(cp932, utf8ToCp932(utf8));
        EXPECT_EQ(cp932ToUtf8(cp932), utf8);
        // Japanese text takes two bytes a character: a shorter result lost characters.
        EXPECT_EQ(cp932.find('?'), utf8.find('?'));
    }
}

TEST(Messages, TextsAreThePlayersOwn)
{
    const MessageTexts texts;
    EXPECT_EQ(cp932ToUtf8(texts.text(Message::EventErrorCaption)), "イベント実行エラー");
    EXPECT_EQ(texts.text(Message::Yes).size(), 8u); // four blanks and two two-byte characters
    EXPECT_EQ(texts.text(Message::Count), "");
}

TEST(Messages, EveryRowRendersWithEveryPlaceholderFilled)
{
    const MessageTexts texts;
    for (const MessageRow& row : messageTable()) {
        SCOPED_TRACE(std::string(row.utf8));
        std::vector<std::string_view> names = messagePlaceholders(row.id);
        std::vector<std::string> samples;
        for (std::string_view name : names)
            samples.push_back(utf8ToCp932("＜" + std::string(name) + "＞"));
        std::vector<MessageValue> values;
        for (std::size_t i = 0; i < names.size(); ++i)
            values.push_back({ names[i], samples[i] });
        std::string utf8 = cp932ToUtf8(texts.format(row.id, values));
        EXPECT_EQ(utf8.find('{'), std::string::npos);
        EXPECT_EQ(utf8.find('}'), std::string::npos);
        for (std::string_view name : names)
            EXPECT_NE(utf8.find("＜" + std::string(name) + "＞"), std::string::npos);
        if (names.empty()) {
            EXPECT_EQ(texts.format(row.id, {}), texts.text(row.id));
        }
    }
}

// A row is a whole sentence: none starts with a particle or a verb ending that only makes sense
// glued after a name or a number the code put in front, so a translation may reorder every part.
TEST(Messages, NoRowIsAFragmentToGlueAfterAName)
{
    for (const MessageRow& row : messageTable()) {
        SCOPED_TRACE(std::string(row.name));
        for (const char* particle : { "は", "の", "を", "が", "に", "から" })
            EXPECT_NE(row.utf8.rfind(particle, 0), 0u) << particle;
    }
}

// Names come from game data: their bytes go in unchanged and are never read as placeholders,
// including cp932 characters whose second byte is "{" or "}" (0x7B, 0x7D).
TEST(Messages, FilledValuesKeepTheirBytes)
{
    const MessageTexts texts;
    const std::string hostile = std::string("\x83{\x83}{name}%s") + '\0' + "\xff";
    std::string filled = texts.format(Message::NoEffect, { { "name", hostile } });
    EXPECT_EQ(filled, hostile + utf8ToCp932("には効果がなかった！"));
    // A placeholder without a value stays visible instead of vanishing.
    EXPECT_EQ(cp932ToUtf8(texts.format(Message::HpDrained, { { "user", "A" } })), "Aは{enemy}の体力を吸い取った！");
}
