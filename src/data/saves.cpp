#include "data/saves.h"

#include "data/database.h"
#include "data/errors.h"
#include "data/record.h"
#include "platform/game_files.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace vorn {

const char* const emptySlotLabel = "------------";

std::string slotFileName(int slot) { return "SAV\\DATA" + std::to_string(slot) + ".DAT"; }

SlotShape slotShapeOf(const Database& db)
{
    return { roundIndex(db.sizes.lastCharacterSaved), roundIndex(db.sizes.inventorySlots),
        roundIndex(db.sizes.spellSlots), roundIndex(db.sizes.mapCount), roundIndex(db.sizes.townCount) };
}

SlotShape boundedSlotShapeOf(const Database& db)
{
    auto bounded = [](float count, int capacityEntries) { return std::clamp(roundIndex(count), 0, capacityEntries); };
    return { bounded(db.sizes.lastCharacterSaved + 1, capacity::characters) - 1,
        bounded(db.sizes.inventorySlots, capacity::inventory), bounded(db.sizes.spellSlots, capacity::spellList),
        bounded(db.sizes.mapCount, capacity::maps), bounded(db.sizes.townCount, capacity::towns) };
}

namespace {

    // The records of a slot file, each listed once as a walk over a SlotIn (reading) or a
    // SlotOut (writing). `end` closes a record.

    class SlotIn {
    public:
        explicit SlotIn(RecordReader& reader)
            : m_reader(reader)
        {
        }
        void number(float& value)
        {
            try {
                value = m_reader.number();
            } catch (const ReadError& error) {
                fail(error);
            }
        }
        void text(std::string& value)
        {
            try {
                value = m_reader.string();
            } catch (const ReadError& error) {
                fail(error);
            }
        }
        template <std::size_t N>
        void texts(std::array<std::string, N>& values)
        {
            for (auto& value : values)
                text(value);
        }
        void end() { }
        template <class T>
        void sized(std::vector<T>& list, int count) { list.assign(static_cast<size_t>(count), T {}); }

    private:
        [[noreturn]] static void fail(const ReadError& error)
        {
            throw FileError(std::string("slot file: ") + error.what());
        }
        RecordReader& m_reader;
    };

    class SlotOut {
    public:
        explicit SlotOut(RecordWriter& writer)
            : m_writer(writer)
        {
        }
        void number(float value) { m_writer.number(value); }
        void text(const std::string& value)
        {
            if (plainFieldText(value))
                m_writer.string(value);
            else if (writableFieldText(value))
                m_writer.quoted(value);
            else
                throw std::invalid_argument("slot file: a text holds a double quote and a separator, or a byte 0x1A");
        }
        template <std::size_t N>
        void texts(const std::array<std::string, N>& values)
        {
            for (const auto& value : values)
                text(value);
        }
        void end() { m_writer.endRecord(); }
        template <class T>
        void sized(const std::vector<T>& list, int count)
        {
            if (list.size() != static_cast<size_t>(count))
                throw std::invalid_argument("slot file: a list does not have the table size");
        }

    private:
        RecordWriter& m_writer;
    };

    // Record 1.
    template <class V, class S>
    void headerRecord(V& v, S& slot)
    {
        v.text(slot.label);
        for (auto* value : { &slot.screenX, &slot.screenY, &slot.scrollX, &slot.scrollY, &slot.map, &slot.partyLast,
                 &slot.facing, &slot.animFrame, &slot.gold })
            v.number(*value);
        v.end();
    }

    // Record 2 of one character.
    template <class V, class C>
    void characterRecords(V& v, C& ch, const SlotShape& shape)
    {
        v.number(ch.growthType);
        v.text(ch.name);
        for (auto* value : { &ch.level, &ch.hp, &ch.mp, &ch.maxHp, &ch.maxMp, &ch.attack, &ch.defense, &ch.speed,
                 &ch.exp, &ch.nextExp, &ch.itemCount, &ch.spellCount })
            v.number(*value);
        v.end();
        v.sized(ch.inventory, shape.inventorySlots);
        for (auto& entry : ch.inventory) {
            for (size_t value : { size_t { InventoryItem }, size_t { InventoryEquipped } }) {
                v.number(entry[value]);
                v.end();
            }
        }
        v.sized(ch.spells, shape.spellSlots);
        for (auto& spell : ch.spells) {
            v.number(spell);
            v.end();
        }
        for (size_t j = 0; j < 6; ++j) {
            v.number(ch.conditions[j]);
            v.end();
            v.number(ch.equipment[j]);
            v.end();
        }
    }

    // Records 1 to 4: header, roster, event flags, towns visited.
    template <class V, class S>
    void headRecords(V& v, S& slot, const SlotShape& shape)
    {
        headerRecord(v, slot);
        v.sized(slot.roster, shape.rosterLast + 1);
        for (auto& ch : slot.roster)
            characterRecords(v, ch, shape);
        v.sized(slot.flags, shape.mapCount);
        for (auto& row : slot.flags) {
            for (auto& flag : row) {
                v.number(flag);
                v.end();
            }
        }
        v.sized(slot.visited, shape.townCount);
        for (auto& visited : slot.visited) {
            v.number(visited);
            v.end();
        }
    }

    // Records 5 and 6: the map size and the event entries with their cell marks.
    template <class V, class S>
    void eventRecords(V& v, S& slot)
    {
        v.number(slot.mapWidth);
        v.number(slot.mapHeight);
        v.end();
        for (auto& event : slot.events) {
            for (auto* value : { &event.x, &event.y, &event.speed, &event.stepFrames, &event.facing })
                v.number(*value);
            v.end();
            v.texts(event.marks);
            v.end();
        }
    }

    // Record 8: the character values saved from version 311 on.
    template <class V, class C>
    void characterExtraRecords(V& v, C& ch)
    {
        for (auto* value : { &ch.criticalRate, &ch.hitRate, &ch.magicDefense, &ch.attribute })
            v.number(*value);
        v.end();
        for (auto& entry : ch.inventory) {
            v.number(entry[InventoryUses]);
            v.end();
        }
        for (size_t j = 6; j < ch.conditions.size(); ++j) {
            v.number(ch.conditions[j]);
            v.end();
        }
    }

    // Records 9 to 11: display and sound settings, window layout, view size.
    template <class V, class S>
    void settingsRecords(V& v, S& slot)
    {
        v.number(slot.fontChoice);
        v.number(slot.walkStep);
        v.number(slot.passThrough);
        v.text(slot.battleMusic);
        for (auto& value : slot.passThroughMore)
            v.number(value);
        v.text(slot.music);
        v.end();
        for (auto& value : slot.windowLayout) {
            v.number(value);
            v.end();
        }
        v.number(slot.viewColumns);
        v.number(slot.viewRows);
        v.end();
    }

    bool shapeWithinCapacity(const SlotShape& s)
    {
        return s.rosterLast >= -1 && s.rosterLast < capacity::characters && s.inventorySlots >= 0
            && s.inventorySlots <= capacity::inventory && s.spellSlots >= 0 && s.spellSlots <= capacity::spellList
            && s.mapCount >= 0 && s.mapCount <= capacity::maps && s.townCount >= 0 && s.townCount <= capacity::towns;
    }

    // The character values of saves up to version 310.
    void applyCharacterDefaults(SlotFile& slot)
    {
        for (SlotCharacter& ch : slot.roster) {
            ch.criticalRate = 0;
            ch.hitRate = 100;
            ch.magicDefense = 0;
            ch.attribute = 0;
            for (auto& entry : ch.inventory)
                entry[InventoryUses] = 1;
            std::fill(ch.conditions.begin() + 6, ch.conditions.end(), 0.0f);
        }
    }

    // The settings of saves up to version 330.
    void applySettingsDefaults(SlotFile& slot)
    {
        slot.windowLayout = defaultWindowLayout;
        slot.viewColumns = 16;
        slot.viewRows = 12;
    }

} // namespace

SlotFile slotHeadOf(const Database& db, const std::string& label)
{
    SlotFile slot;
    slot.label = label;
    slot.partyLast = db.sizes.lastCharacter;

    SlotShape shape = boundedSlotShapeOf(db);
    for (int c = 0; c <= shape.rosterLast; ++c) {
        const Character& ch = db.characters[static_cast<size_t>(c)];
        SlotCharacter& out = slot.roster.emplace_back();
        out.growthType = ch.growthType;
        out.name = ch.name;
        out.level = ch.level;
        out.hp = ch.hp;
        out.mp = ch.mp;
        out.maxHp = ch.maxHp;
        out.maxMp = ch.maxMp;
        out.attack = ch.attack;
        out.defense = ch.defense;
        out.speed = ch.speed;
        out.exp = ch.exp;
        out.nextExp = ch.nextExp;
        out.itemCount = ch.itemCount;
        out.spellCount = ch.spellCount;
        out.inventory.assign(ch.inventory.begin(), ch.inventory.begin() + shape.inventorySlots);
        out.spells.assign(ch.spells.begin(), ch.spells.begin() + shape.spellSlots);
        out.conditions = ch.conditions;
        out.equipment = ch.equipment;
        out.criticalRate = ch.criticalRate;
        out.hitRate = ch.hitRate;
        out.magicDefense = ch.magicDefense;
        out.attribute = ch.attribute;
    }
    slot.flags.assign(db.flags.begin(), db.flags.begin() + shape.mapCount);
    for (int i = 0; i < shape.townCount; ++i)
        slot.visited.push_back(db.towns[static_cast<size_t>(i)].visited);
    return slot;
}

void writeSlotHead(RecordWriter& w, const SlotFile& slot, const Database& db)
{
    SlotOut out(w);
    headRecords(out, slot, boundedSlotShapeOf(db));
}

SlotFile readSlotFile(std::vector<std::uint8_t> bytes, const SlotShape& shape, bool* trailing)
{
    if (!shapeWithinCapacity(shape))
        throw FileError("slot file: table sizes beyond capacity");
    RecordReader reader(std::move(bytes));
    SlotIn in(reader);
    SlotFile slot;
    headRecords(in, slot, shape);
    eventRecords(in, slot);
    bool fieldsLeft = !reader.atEnd();
    try {
        slot.version = reader.number();
    } catch (const ReadError&) {
        // An old save ends here; a field that is not a number is left unread.
        slot.version.reset();
        if (trailing)
            *trailing = fieldsLeft;
        return slot;
    }
    if (!std::isfinite(*slot.version))
        throw FileError("slot file: the save version is not a number");
    SlotParts parts = slotPartsOf(slot.version);
    if (parts.picture)
        in.number(slot.picture);
    else
        slot.picture = 0;
    if (parts.characterExtras) {
        for (SlotCharacter& ch : slot.roster)
            characterExtraRecords(in, ch);
    } else {
        applyCharacterDefaults(slot);
    }
    if (parts.settings)
        settingsRecords(in, slot);
    else
        applySettingsDefaults(slot);
    if (trailing)
        *trailing = !reader.atEnd();
    return slot;
}

std::string writeSlotFile(const SlotFile& slot, const SlotShape& shape)
{
    if (!shapeWithinCapacity(shape))
        throw std::invalid_argument("slot file: table sizes beyond capacity");
    RecordWriter writer;
    SlotOut out(writer);
    headRecords(out, slot, shape);
    eventRecords(out, slot);
    if (!slot.version)
        return writer.bytes();
    SlotParts parts = slotPartsOf(slot.version);
    out.number(*slot.version);
    if (parts.picture)
        out.number(slot.picture);
    out.end();
    if (parts.characterExtras) {
        for (const SlotCharacter& ch : slot.roster)
            characterExtraRecords(out, ch);
    }
    if (parts.settings)
        settingsRecords(out, slot);
    return writer.bytes();
}

SlotParts slotPartsOf(const std::optional<float>& version)
{
    SlotParts parts;
    if (version) {
        parts.picture = *version > 301;
        parts.characterExtras = *version > 310;
        parts.settings = *version > 330;
    }
    return parts;
}

bool plainFieldText(const std::string& text)
{
    if (text.empty())
        return true;
    if (text.front() == ' ' || text.back() == ' ' || text.front() == '"')
        return false;
    return text.find_first_of(std::string(",:\r\n\x1a", 5)) == std::string::npos;
}

bool writableFieldText(const std::string& text)
{
    if (text.find('\x1a') != std::string::npos)
        return false;
    return plainFieldText(text) || text.find('"') == std::string::npos;
}

SlotLabel readSlotLabel(const std::optional<std::filesystem::path>& path)
{
    std::error_code ec;
    if (!path || !std::filesystem::exists(std::filesystem::symlink_status(*path, ec)))
        return { SlotLabelState::Missing, {} };
    auto bytes = readWholeFile(*path, gameFileLimit(GameFileKind::Save));
    if (!bytes)
        return { SlotLabelState::Unreadable, {} };
    try {
        return { SlotLabelState::Read, RecordReader(std::move(*bytes)).string() };
    } catch (const ReadError&) {
        return { SlotLabelState::Unreadable, {} };
    }
}

} // namespace vorn
