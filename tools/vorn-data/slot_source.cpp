// Saved games in the data tool: the slot files SAV\DATA1.DAT to DATA9.DAT and their readable
// source saves/slot1.yaml to slot9.yaml. Each slot record's fields are listed once, as a walk over
// a SourceOut (dump) or a SourceIn (build). A slot shows only what its save version holds.
#include "game_source.h"
#include "source_yaml.h"

#include "data/record.h"
#include "platform/encoding.h"
#include "platform/file_writing.h"
#include "platform/game_files.h"

namespace vorn::datatool {

namespace fs = std::filesystem;

namespace {

    std::string slotSourceName(int slot) { return "slot" + std::to_string(slot) + ".yaml"; }

    bool holdsPicture(const SlotFile& slot) { return slotPartsOf(slot.version).picture; }
    bool holdsCharacterExtras(const SlotFile& slot) { return slotPartsOf(slot.version).characterExtras; }
    bool holdsSettings(const SlotFile& slot) { return slotPartsOf(slot.version).settings; }

    template <class V, class S>
    void slotHeaderFields(V& v, S& slot)
    {
        v.text("label", slot.label);
        v.number("map", slot.map);
        v.number("screenX", slot.screenX);
        v.number("screenY", slot.screenY);
        v.number("scrollX", slot.scrollX);
        v.number("scrollY", slot.scrollY);
        v.number("facing", slot.facing);
        v.number("animFrame", slot.animFrame);
        v.number("partyLast", slot.partyLast);
        v.number("gold", slot.gold);
        v.number("mapWidth", slot.mapWidth);
        v.number("mapHeight", slot.mapHeight);
        if (holdsPicture(slot))
            v.number("picture", slot.picture);
        if (holdsSettings(slot)) {
            v.number("fontChoice", slot.fontChoice);
            v.number("walkStep", slot.walkStep);
            v.number("passThrough", slot.passThrough);
            v.text("battleMusic", slot.battleMusic);
            v.numbers("passThroughMore", slot.passThroughMore.data(), 4);
            v.text("music", slot.music);
            v.numbers("windowLayout", slot.windowLayout.data(), 9);
            v.number("viewColumns", slot.viewColumns);
            v.number("viewRows", slot.viewRows);
        }
    }

    template <class V, class C>
    void slotCharacterFields(V& v, C& ch, const SlotShape& shape, bool extras)
    {
        v.number("growthType", ch.growthType);
        v.text("name", ch.name);
        v.number("level", ch.level);
        v.number("hp", ch.hp);
        v.number("mp", ch.mp);
        v.number("maxHp", ch.maxHp);
        v.number("maxMp", ch.maxMp);
        v.number("attack", ch.attack);
        v.number("defense", ch.defense);
        v.number("speed", ch.speed);
        v.number("exp", ch.exp);
        v.number("nextExp", ch.nextExp);
        v.number("itemCount", ch.itemCount);
        v.number("spellCount", ch.spellCount);
        // Item, equipped, uses; the uses are saved from version 311 on.
        v.numberRows("inventory", ch.inventory.data(), shape.inventorySlots);
        v.numbers("spells", ch.spells.data(), shape.spellSlots);
        v.numbers("conditions", ch.conditions.data(), extras ? 11 : 6);
        v.numbers("equipment", ch.equipment.data(), 6);
        if (extras) {
            v.number("criticalRate", ch.criticalRate);
            v.number("hitRate", ch.hitRate);
            v.number("magicDefense", ch.magicDefense);
            v.number("attribute", ch.attribute);
        }
    }

    template <class V, class E>
    void slotEventFields(V& v, E& event)
    {
        v.number("x", event.x);
        v.number("y", event.y);
        v.number("speed", event.speed);
        v.number("stepFrames", event.stepFrames);
        v.number("facing", event.facing);
        v.texts("marks", event.marks.data(), 3);
    }

    YAML::Node slotOut(const SlotFile& slot, const SlotShape& shape)
    {
        SourceOut out;
        if (slot.version)
            out.number("version", *slot.version);
        slotHeaderFields(out, slot);
        YAML::Node node = out.node(); // the same map as out's
        YAML::Node roster(YAML::NodeType::Sequence);
        for (const SlotCharacter& ch : slot.roster) {
            SourceOut c;
            slotCharacterFields(c, ch, shape, holdsCharacterExtras(slot));
            roster.push_back(c.node());
        }
        node["roster"] = roster;
        out.numberRows("flags", slot.flags.data(), shape.mapCount);
        out.numbers("visited", slot.visited.data(), shape.townCount);
        YAML::Node events(YAML::NodeType::Sequence);
        for (const SlotEvent& event : slot.events) {
            SourceOut e;
            slotEventFields(e, event);
            YAML::Node entry = e.node();
            entry.SetStyle(YAML::EmitterStyle::Flow);
            events.push_back(entry);
        }
        node["events"] = events;
        return node;
    }

    // Slot texts are checked by the reader as every text is: they must be writable fields.
    SlotFile slotIn(SourceReader& r, const YAML::Node& file, const SlotShape& shape, const std::string& path)
    {
        SlotFile slot;
        SourceIn in(r, file, path);
        if (in.field("version")) {
            float version = 0;
            in.number("version", version);
            slot.version = version;
        } else {
            slot.version.reset();
        }
        slotHeaderFields(in, slot);

        YAML::Node rosterNode = in.field("roster");
        YAML::Node roster = r.sequence(rosterNode, path + ".roster");
        if (static_cast<int>(roster.size()) != shape.rosterLast + 1) {
            r.error(rosterNode.IsDefined() ? rosterNode : file, path + ".roster",
                std::to_string(roster.size()) + " characters, the roster has " + std::to_string(shape.rosterLast + 1));
        }
        slot.roster.resize(static_cast<std::size_t>(shape.rosterLast + 1));
        for (std::size_t c = 0; c < slot.roster.size(); ++c) {
            SlotCharacter& ch = slot.roster[c];
            ch.inventory.assign(static_cast<std::size_t>(shape.inventorySlots), { 0, 0, 1 });
            ch.spells.assign(static_cast<std::size_t>(shape.spellSlots), 0);
            if (c >= roster.size())
                continue;
            std::string at = path + ".roster[" + std::to_string(c) + "]";
            SourceIn character(r, roster[c], at);
            slotCharacterFields(character, ch, shape, holdsCharacterExtras(slot));
            character.finish();
        }
        slot.flags.assign(static_cast<std::size_t>(shape.mapCount), {});
        slot.visited.assign(static_cast<std::size_t>(shape.townCount), 0);
        in.numberRows("flags", slot.flags.data(), shape.mapCount);
        in.numbers("visited", slot.visited.data(), shape.townCount);

        YAML::Node eventsNode = in.field("events");
        YAML::Node events = r.sequence(eventsNode, path + ".events");
        if (events.size() > slot.events.size())
            r.error(eventsNode, path + ".events",
                std::to_string(events.size()) + " entries, at most " + std::to_string(slot.events.size()));
        for (std::size_t n = 0; n < events.size() && n < slot.events.size(); ++n) {
            SourceIn event(r, events[n], path + ".events[" + std::to_string(n) + "]");
            slotEventFields(event, slot.events[n]);
            event.finish();
        }
        in.allow("version");
        in.allow("roster");
        in.allow("events");
        in.finish();
        return slot;
    }

} // namespace

std::map<int, SlotFile> readSlotFiles(const fs::path& gameDir, const Database& db, std::vector<std::string>& warnings)
{
    std::map<int, SlotFile> slots;
    SlotShape shape = slotShapeOf(db);
    for (int n = 1; n <= 9; ++n) {
        std::string name = slotFileName(n);
        auto path = resolveGamePath(gameDir, name);
        if (!path)
            continue;
        auto bytes = readWholeFile(*path, gameFileLimit(GameFileKind::Save));
        if (!bytes)
            throw FileError(name + ": file cannot be read");
        // The game shows a slot it cannot read as an empty one.
        try {
            if (RecordReader(*bytes).string() == emptySlotLabel)
                continue;
            slots[n] = readSlotFile(std::move(*bytes), shape);
        } catch (const ReadError& error) {
            warnings.push_back(name + ": " + error.what() + "; left out as an empty slot");
        } catch (const FileError& error) {
            warnings.push_back(name + ": " + error.what() + "; left out as an empty slot");
        }
    }
    return slots;
}

std::vector<std::string> writeSlotFiles(const std::map<int, SlotFile>& slots, const Database& db, const fs::path& gameDir)
{
    std::vector<std::string> written;
    if (slots.empty())
        return written;
    std::error_code ec;
    if (!resolveGamePath(gameDir, "SAV"))
        fs::create_directories(gameDir / "SAV", ec);
    SlotShape shape = slotShapeOf(db);
    for (const auto& [n, slot] : slots) {
        std::string name = slotFileName(n);
        std::string bytes;
        try {
            bytes = writeSlotFile(slot, shape);
        } catch (const std::invalid_argument& error) {
            throw FileError(name + ": " + error.what());
        }
        auto path = resolveGamePathForWriting(gameDir, name);
        if (!path || !writeWholeFileAtomically(*path, bytes))
            throw FileError(name + ": file cannot be written");
        written.push_back(name);
    }
    return written;
}

std::map<int, SlotFile> readSlotSources(SourceReader& r, const Database& db)
{
    std::map<int, SlotFile> slots;
    SlotShape shape = slotShapeOf(db);
    std::error_code ec;
    for (int n = 1; n <= 9; ++n) {
        std::string file = "saves/" + slotSourceName(n);
        if (!fs::exists(r.folder() / file, ec))
            continue;
        if (auto node = r.load(file))
            slots[n] = slotIn(r, *node, shape, file);
    }
    return slots;
}

void writeSlotSources(const std::map<int, SlotFile>& slots, const Database& db, const fs::path& sourceDir)
{
    if (slots.empty())
        return;
    std::error_code ec;
    fs::create_directories(sourceDir / "saves", ec);
    if (ec)
        throw SourceError((sourceDir / "saves").string() + ": folder cannot be made: " + ec.message());
    SlotShape shape = slotShapeOf(db);
    for (const auto& [n, slot] : slots) {
        writeYamlFile(sourceDir / "saves" / slotSourceName(n),
            "# Saved game slot " + std::to_string(n) + " (SAV\\DATA" + std::to_string(n)
                + ".DAT). Fields missing here are not held by the slot's save version.\n",
            slotOut(slot, shape));
    }
}

} // namespace vorn::datatool
