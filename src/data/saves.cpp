#include "data/saves.h"

#include "data/database.h"
#include "data/errors.h"
#include "data/record.h"
#include "data/slot_layout.h"
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

    // The walks of the slot layout over one SlotFile: reading it and writing it.

    class SlotIn {
    public:
        static constexpr bool cellMarks = true;
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
        void end() { }
        template <class T>
        void sized(int count, std::vector<T>& list) { list.assign(static_cast<size_t>(count), T {}); }

    private:
        [[noreturn]] static void fail(const ReadError& error)
        {
            throw FileError(std::string("slot file: ") + error.what());
        }
        RecordReader& m_reader;
    };

    class SlotOut {
    public:
        static constexpr bool cellMarks = true;
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
        void end() { m_writer.endRecord(); }
        template <class T>
        void sized(int count, const std::vector<T>& list)
        {
            if (list.size() != static_cast<size_t>(count))
                throw std::invalid_argument("slot file: a list does not have the table size");
        }

    private:
        RecordWriter& m_writer;
    };

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

void writeSlotHead(RecordWriter& w, const SlotFile& slot, const Database& db)
{
    SlotOut out(w);
    slot_layout::head(out, boundedSlotShapeOf(db), slot);
}

SlotFile readSlotFile(std::vector<std::uint8_t> bytes, const SlotShape& shape, bool* trailing)
{
    if (!shapeWithinCapacity(shape))
        throw FileError("slot file: table sizes beyond capacity");
    RecordReader reader(std::move(bytes));
    SlotIn in(reader);
    SlotFile slot;
    slot_layout::head(in, shape, slot);
    slot_layout::events(in, slot);
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
    if (parts.characterExtras)
        slot_layout::extras(in, shape, slot);
    else
        applyCharacterDefaults(slot);
    if (parts.settings) {
        slot_layout::settings(in, slot);
        slot_layout::windowLayout(in, slot);
    } else {
        applySettingsDefaults(slot);
    }
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
    slot_layout::head(out, shape, slot);
    slot_layout::events(out, slot);
    if (!slot.version)
        return writer.bytes();
    SlotParts parts = slotPartsOf(slot.version);
    out.number(*slot.version);
    if (parts.picture)
        out.number(slot.picture);
    out.end();
    if (parts.characterExtras)
        slot_layout::extras(out, shape, slot);
    if (parts.settings) {
        slot_layout::settings(out, slot);
        slot_layout::windowLayout(out, slot);
    }
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
    // A line feed on its own ends no field (only a carriage return does), so it stays plain: a
    // text holding one and a double quote, which the reader takes from an unquoted field, could
    // not be written otherwise.
    return text.find_first_of(std::string(",:\r\x1a", 4)) == std::string::npos;
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
