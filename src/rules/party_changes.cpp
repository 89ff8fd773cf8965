#include "rules/party_changes.h"

#include "platform/encoding.h"

#include "core/party.h"
#include "data/record.h"
#include "rules/battle_rules.h"
#include "rules/inventory.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace vorn {

namespace {

    // The roster's last index, within the table.
    int rosterLast(const Database& db)
    {
        return std::clamp(roundIndex(db.sizes.lastCharacterSaved), 0, static_cast<int>(db.characters.size()) - 1);
    }

    int findIn(const Database& db, float identity, int last)
    {
        int wanted = roundIndex(identity);
        for (int i = 0; i <= last; ++i) {
            if (roundIndex(db.characters[static_cast<std::size_t>(i)].growthType) == wanted)
                return i;
        }
        return -1;
    }

    void setPartyLast(Database& db, int last) { db.sizes.lastCharacter = static_cast<float>(last); }

} // namespace

int findCharacter(const Database& db, float identity) { return findIn(db, identity, rosterLast(db)); }

int findMember(const Database& db, float identity) { return findIn(db, identity, partyLast(db)); }

std::vector<int> selectMembers(const Database& db, float identity)
{
    std::vector<int> members;
    if (roundIndex(identity) == wholeParty) {
        for (int m = 0; m <= partyLast(db); ++m)
            members.push_back(m);
    } else if (int found = findCharacter(db, identity); found >= 0) {
        members.push_back(found);
    }
    return members;
}

float changedBy(float field, std::string_view token, float value)
{
    bool relative = !token.empty() && (token[0] == '+' || token[0] == '-');
    return relative ? field + value : value;
}

bool joinParty(Database& db, int rosterIndex)
{
    int last = partyLast(db);
    if (rosterIndex <= last || rosterIndex > rosterLast(db))
        return false;
    int place = last + 1;
    std::swap(db.characters[static_cast<std::size_t>(place)], db.characters[static_cast<std::size_t>(rosterIndex)]);
    setPartyLast(db, place);
    return true;
}

bool othersCanGoOn(const Database& db, int member)
{
    float others = 0;
    for (int m = 0; m <= partyLast(db); ++m) {
        if (m != member)
            others += db.characters[static_cast<std::size_t>(m)].hp;
    }
    return others != 0;
}

bool leaveParty(Database& db, int member)
{
    int last = partyLast(db);
    if (last == 0 || member < 0 || member > last)
        return false;
    auto first = db.characters.begin();
    std::rotate(first + member, first + member + 1, first + last + 1);
    setPartyLast(db, last - 1);
    return true;
}

std::optional<float> memberStatistic(const Database& db, const Character& c, int kind)
{
    auto withEquipment = [&](float base, Bonus bonus) {
        return halvedWhenCursed(base, c.conditions) + equippedBonus(db, c, bonus);
    };
    switch (kind) {
    case 0:
        return c.hp;
    case 1:
        return c.mp;
    case 2:
        return withEquipment(c.attack, Bonus::Attack);
    case 3:
        return withEquipment(c.defense, Bonus::Defense);
    case 4:
        return withEquipment(c.speed, Bonus::Speed);
    default:
        if (kind >= 5 && kind <= 12)
            return c.conditions[static_cast<std::size_t>(kind - 5)];
        return std::nullopt;
    }
}

bool learnSpell(Database& db, Character& c, float spell)
{
    int count = spellCountOf(c);
    int slots = std::clamp(roundIndex(db.sizes.spellSlots), 0, capacity::spellList);
    if (count >= slots)
        return false;
    c.spells[static_cast<std::size_t>(count)] = static_cast<float>(roundIndex(spell));
    c.spellCount = static_cast<float>(count + 1);
    return true;
}

bool forgetSpell(Character& c, float spell)
{
    int count = spellCountOf(c);
    int wanted = roundIndex(spell);
    for (int k = 0; k < count; ++k) {
        if (roundIndex(c.spells[static_cast<std::size_t>(k)]) != wanted)
            continue;
        auto first = c.spells.begin();
        std::rotate(first + k, first + k + 1, first + count);
        c.spells[static_cast<std::size_t>(count - 1)] = 0;
        c.spellCount = static_cast<float>(count - 1);
        return true;
    }
    return false;
}

bool hasCondition(const Character& c)
{
    return std::any_of(c.conditions.begin(), c.conditions.end(), [](float counter) { return counter != 0; });
}

void clearConditions(Character& c) { c.conditions.fill(0); }

float innCost(const Database& db, float price) { return static_cast<float>(partyLast(db) + 1) * price; }

float healerCost(const Character& c, float price) { return c.level * price; }

float sellOffer(const Item& item) { return std::floor(item.price / 2); }

namespace {

    // What a typed name holds, walked a character at a time (a cp932 lead byte and its second
    // byte are one character; a second byte may look like a blank or a symbol).
    struct NameContent {
        bool refusedCharacter = false; // a double quote or a control character
        bool onlyBlanks = true; // blanks of either width, or nothing
    };

    NameContent nameContent(const std::string& cp932)
    {
        NameContent content;
        for (std::size_t at = 0; at < cp932.size();) {
            auto byte = static_cast<unsigned char>(cp932[at]);
            if (isCp932LeadByte(byte) && at + 1 < cp932.size()) {
                bool fullWidthBlank = byte == 0x81 && static_cast<unsigned char>(cp932[at + 1]) == 0x40;
                content.onlyBlanks = content.onlyBlanks && fullWidthBlank;
                at += 2;
                continue;
            }
            // A slot file's field cannot hold a double quote beside a separator, and a name is
            // printed on the screen and in the transcript: quotes and control bytes are refused.
            if (byte == '"' || byte < 0x20 || byte == 0x7F)
                content.refusedCharacter = true;
            content.onlyBlanks = content.onlyBlanks && byte == ' ';
            ++at;
        }
        return content;
    }

} // namespace

std::optional<std::string> enteredName(const std::string& cp932, NameRefusal* refusal)
{
    NameContent content = nameContent(cp932);
    if (content.refusedCharacter || content.onlyBlanks) {
        if (refusal)
            *refusal = content.refusedCharacter ? NameRefusal::Character : NameRefusal::Empty;
        return std::nullopt;
    }
    std::string name = cp932.substr(cp932.find_first_not_of(' '));
    if (name.size() % 2 != 0)
        name += ' ';
    return name;
}

void renameMember(Database& db, int member, const std::string& cp932)
{
    Character* c = memberRecord(db, member);
    if (!c)
        return;
    c->name = cp932;
    if (int entry = findCharacter(db, c->growthType); entry >= 0)
        db.characters[static_cast<std::size_t>(entry)].defaultName = cp932;
}

} // namespace vorn
