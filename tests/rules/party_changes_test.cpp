// Party changes as plain rules: who an identity names, joining and leaving, entered names and
// the prices of inns, healers and shops.
#include "platform/encoding.h"
#include "rules/party_changes.h"
#include "support/town_party.h"

#include <gtest/gtest.h>

using namespace vorn;

namespace {

std::string nameAt(const Database& db, int index) { return cp932ToUtf8(db.characters[static_cast<std::size_t>(index)].name); }

TEST(PartyChanges, IdentitiesReachTheWholeRosterIncludingItsLastEntry)
{
    Database db;
    test::makeTownParty(db, 1);
    EXPECT_EQ(findCharacter(db, 2), 2); // the roster's last entry
    EXPECT_EQ(findCharacter(db, 3), -1);
    EXPECT_EQ(findMember(db, 1), -1); // not in the party
    EXPECT_EQ(selectMembers(db, 99), std::vector<int> { 0 });
    EXPECT_EQ(selectMembers(db, 2), std::vector<int> { 2 });
    EXPECT_TRUE(selectMembers(db, 5).empty());
}

TEST(PartyChanges, JoiningAndLeavingKeepEveryRecord)
{
    Database db;
    test::makeTownParty(db, 1);
    EXPECT_TRUE(joinParty(db, 2));
    EXPECT_FALSE(joinParty(db, 1 - 1)); // the leader is in the party already
    EXPECT_EQ(nameAt(db, 1), "ドルガ");
    EXPECT_TRUE(joinParty(db, 2));
    EXPECT_EQ(db.sizes.lastCharacter, 2);
    EXPECT_EQ(nameAt(db, 2), "ミナ");

    // The middle member leaves: the others close up, the record stands behind the party.
    EXPECT_TRUE(leaveParty(db, 1));
    EXPECT_EQ(db.sizes.lastCharacter, 1);
    EXPECT_EQ(nameAt(db, 0), "レイ");
    EXPECT_EQ(nameAt(db, 1), "ミナ");
    EXPECT_EQ(nameAt(db, 2), "ドルガ");
    EXPECT_TRUE(leaveParty(db, 0));
    EXPECT_FALSE(leaveParty(db, 0)); // a party of one stays
    EXPECT_EQ(nameAt(db, 0), "ミナ");
}

TEST(PartyChanges, OthersCanGoOnOnlyWithHitPointsLeft)
{
    Database db;
    test::makeTownParty(db, 3);
    db.characters[1].hp = 0;
    db.characters[2].hp = 0;
    EXPECT_FALSE(othersCanGoOn(db, 0));
    EXPECT_TRUE(othersCanGoOn(db, 1));
}

TEST(PartyChanges, EnteredNamesLoseLeadingBlanksAndFillWholeCells)
{
    EXPECT_EQ(enteredName("abc"), "abc ");
    EXPECT_EQ(enteredName("  ab"), "ab");
    EXPECT_EQ(enteredName(utf8ToCp932("  ﾚｲ")), utf8ToCp932("ﾚｲ"));
    EXPECT_EQ(enteredName(utf8ToCp932("ﾐﾅｺ")), utf8ToCp932("ﾐﾅｺ "));
    EXPECT_EQ(enteredName("a "), "a ");
    EXPECT_EQ(enteredName("    "), std::nullopt);
    EXPECT_EQ(enteredName(""), std::nullopt);
}

// Names are saved in slot files, whose fields cannot hold a double quote beside a separator: a
// name with a double quote or a control character is refused, and a name of blanks of either
// width counts as empty.
TEST(PartyChanges, EnteredNamesRefuseWhatASaveCannotHold)
{
    NameRefusal why {};
    for (const char* typed : { "a\",b", "\"", "ab\"", "a\tb", "a\nb", "a\rb", "a\x1a", "\x7f" }) {
        EXPECT_EQ(enteredName(typed, &why), std::nullopt) << testing::PrintToString(typed);
        EXPECT_EQ(why, NameRefusal::Character) << testing::PrintToString(typed);
    }
    for (std::string typed : { utf8ToCp932("　"), utf8ToCp932("　　 "), utf8ToCp932("  　 　") }) {
        EXPECT_EQ(enteredName(typed, &why), std::nullopt) << testing::PrintToString(typed);
        EXPECT_EQ(why, NameRefusal::Empty);
    }
    // Separators alone can be saved (between quotes); so can full-width characters whose second
    // byte is the first byte of a full-width blank or a double quote's neighbour in the table.
    EXPECT_EQ(enteredName("a,b:c"), "a,b:c ");
    EXPECT_EQ(enteredName(utf8ToCp932("　ア")), utf8ToCp932("　ア"));
    EXPECT_EQ(enteredName(utf8ToCp932("ー")), utf8ToCp932("ー")) << "0x81 0x5B holds no blank";
    EXPECT_EQ(enteredName(utf8ToCp932("ソ")), utf8ToCp932("ソ")) << "0x83 0x5C is one character";
}

TEST(PartyChanges, PricesOfInnsHealersAndShops)
{
    Database db;
    test::makeTownParty(db, 3);
    EXPECT_EQ(innCost(db, 8), 24);
    EXPECT_EQ(healerCost(db.characters[2], 20), 80);
    Item item;
    item.price = 1;
    EXPECT_EQ(sellOffer(item), 0);
    item.price = 15;
    EXPECT_EQ(sellOffer(item), 7);
}

TEST(PartyChanges, TypingKeepsWhatTheBoxTakes)
{
    EXPECT_EQ(appendTyped("", "abc", 16), "abc");
    EXPECT_EQ(appendTyped(utf8ToCp932("あ"), "い☃う", 16), utf8ToCp932("あいう"));
    // A full-width character that would pass the limit stops the typing.
    EXPECT_EQ(appendTyped("abc", "ああ", 4), "abc");
    EXPECT_EQ(appendTyped("", "?", 4), "?");
}

} // namespace
