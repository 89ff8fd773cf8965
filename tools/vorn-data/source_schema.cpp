// The readable source: which file holds what, and the named fields of every record. Each record's
// fields are listed once, as a walk over a SourceOut (dump) or a SourceIn (build).
#include "game_source.h"
#include "source_text.h"
#include "source_yaml.h"

#include "data/record.h"

#include <algorithm>
#include <cstdio>

namespace vorn::datatool {

namespace fs = std::filesystem;

namespace {

    // Table shapes taken from the game settings file, which is read first.
    struct Shape {
        int roster = 1; // characters (roster last index + 1)
        int spellSlots = 0;
        int inventorySlots = 0;
    };

    Shape shapeOf(const Database& db)
    {
        return { roundIndex(db.sizes.lastCharacterSaved) + 1, roundIndex(db.sizes.spellSlots),
            roundIndex(db.sizes.inventorySlots) };
    }

    // Record walks.

    template <class V, class Db>
    void gameFields(V& v, Db& db, float& version)
    {
        auto& ini = db.ini;
        v.number("dataVersion", version);
        v.text("title", ini.windowTitle);
        v.number("walkStep", ini.walkStep);
        v.number("partyLast", ini.partyLast);
        v.number("startMap", ini.startMap);
        v.number("startX", ini.startX);
        v.number("startY", ini.startY);
        v.number("startEvent", ini.startEvent);
        v.number("startGold", ini.startGold);
        v.number("startPicture", ini.startPicture);
        v.number("startFacing", ini.startFacing);
        v.number("spellSlots", db.sizes.spellSlots);
        v.number("inventorySlots", db.sizes.inventorySlots);
    }

    template <class V, class Tr>
    void trailerFields(V& v, Tr& t)
    {
        v.numbers("settings", t.settings.data(), 8);
        v.numbers("sizes", t.sizes.data(), 8);
        v.numbers("characters", t.characters.data(), 8);
        v.numbers("levels", t.levels.data(), 8);
        v.numbers("towns", t.towns.data(), 8);
        v.numbers("items", t.items.data(), 8);
        v.numbers("equipment", t.equipment.data(), 8);
        v.numbers("encounters", t.encounters.data(), 8);
        v.numbers("targets", t.targets.data(), 8);
        v.numbers("spells", t.spells.data(), 8);
        v.numbers("enemies", t.enemies.data(), 8);
    }

    template <class V, class C>
    void characterFields(V& v, C& ch, const Shape& shape)
    {
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
        v.number("criticalRate", ch.criticalRate);
        v.number("attribute", ch.attribute);
        v.number("hitRate", ch.hitRate);
        v.number("magicDefense", ch.magicDefense);
        v.numbers("conditions", ch.conditions.data(), capacity::conditions);
        v.numbers("equipment", ch.equipment.data(), capacity::equipmentSlots);
        v.number("spellCount", ch.spellCount);
        v.numbers("spells", ch.spells.data(), shape.spellSlots);
        v.number("itemCount", ch.itemCount);
        v.numberRows("inventory", ch.inventory.data(), shape.inventorySlots);
    }

    template <class V, class G>
    void levelFields(V& v, G& g)
    {
        v.number("maxHp", g.maxHp);
        v.number("maxMp", g.maxMp);
        v.number("attack", g.attack);
        v.number("defense", g.defense);
        v.number("speed", g.speed);
        v.number("nextExp", g.nextExp);
        v.number("spell", g.spell);
        v.number("magicDefense", g.magicDefense);
        v.number("hitRate", g.hitRate);
    }

    template <class V, class T>
    void townFields(V& v, T& town)
    {
        v.number("visited", town.visited);
        v.number("returnMap", town.returnMap);
        v.text("battleBack", town.battleBack);
    }

    template <class V, class A>
    void attributeFields(V& v, A& a, int count)
    {
        v.text("name", a.name);
        v.numbers("resist", a.resist.data(), count);
    }

    template <class V, class I>
    void itemFields(V& v, I& item)
    {
        v.text("name", item.text[0]);
        v.texts("description", &item.text[1], 2);
        v.text("menuText", item.text[3]);
        v.text("useVerb", item.text[4]);
        v.text("effect", item.text[5]);
        v.text("useVerbOther", item.text[6]);
        v.number("equipment", item.equipment);
        v.number("noDiscard", item.noDiscard);
        v.number("price", item.price);
        v.number("attribute", item.attribute);
        v.text("useSound", item.useSound);
        v.text("graphic", item.graphic);
        v.number("uses", item.uses);
        v.number("hitRate", item.hitRate);
    }

    template <class V, class E>
    void equipmentFields(V& v, E& eq, const Shape& shape)
    {
        v.number("attack", eq.attack);
        v.number("defense", eq.defense);
        v.number("speed", eq.speed);
        v.number("slot", eq.slot);
        v.numbers("canEquip", eq.canEquip.data(), shape.roster);
        v.number("usable", eq.usable);
        v.text("attackSound", eq.attackSound);
        v.number("attackCount", eq.attackCount);
        v.number("magicDefense", eq.magicDefense);
    }

    template <class V, class E>
    void encounterFields(V& v, E& e)
    {
        v.text("name", e.name);
        v.numbers("enemies", e.enemies.data(), capacity::encounterSlots);
    }

    template <class V, class S>
    void spellFields(V& v, S& spell, const Shape& shape)
    {
        v.text("name", spell.text[0]);
        v.texts("description", &spell.text[1], 2);
        v.text("text3", spell.text[3]);
        v.text("castVerb", spell.text[4]);
        v.number("value", spell.value);
        v.number("mpCost", spell.mpCost);
        v.text("code", spell.code);
        v.number("attribute", spell.attribute);
        v.text("graphic", spell.graphic);
        v.text("sound", spell.sound);
        v.number("hitRate", spell.hitRate);
        v.texts("castSounds", spell.castSound.data(), shape.roster);
    }

    template <class V, class E>
    void enemyFields(V& v, E& e)
    {
        v.text("name", e.name);
        v.number("hp", e.hp);
        v.number("mp", e.mp);
        v.number("attack", e.attack);
        v.number("defense", e.defense);
        v.number("speed", e.speed);
        v.number("exp", e.exp);
        v.number("gold", e.gold);
        v.number("specialRate", e.specialRate);
        v.numbers("actions", e.actions.data(), capacity::enemyActions);
        v.number("pictureA", e.pictureA);
        v.number("pictureB", e.pictureB);
        v.number("size", e.size);
        v.number("spare", e.spare);
        v.numbers("conditions", e.conditions.data(), capacity::conditions);
        v.numbers("drops", e.drops.data(), capacity::enemyDrops);
        v.number("dropRate", e.dropRate);
        v.number("criticalRate", e.criticalRate);
        v.number("attribute", e.attribute);
        v.text("graphic", e.graphic);
        v.number("hitRate", e.hitRate);
        v.number("magicDefense", e.magicDefense);
    }

    template <class V, class L>
    void lineFields(V& v, L& line)
    {
        v.text("message", line.message);
        v.text("commands", line.commands);
    }

    template <class V, class M>
    void mapFields(V& v, M& map)
    {
        v.number("width", map.width);
        v.number("height", map.height);
        v.number("entryEvent", map.entryEvent);
        v.number("entryDX", map.entryDX);
        v.number("entryDY", map.entryDY);
        v.text("bgm", map.bgm);
        v.text("tileSheet", map.tileSheet);
        v.text("charSheet", map.charSheet);
        v.number("exitNorth", map.exitNorth);
        v.number("exitWest", map.exitWest);
        v.number("exitEast", map.exitEast);
        v.number("exitSouth", map.exitSouth);
        v.number("encounterRate", map.encounterRate);
        v.number("encounterSteps", map.encounterSteps);
        v.number("noWarp", map.noWarp);
        v.number("maxEnemySize", map.maxEnemySize);
    }

    template <class V, class E>
    void eventFields(V& v, E& event)
    {
        v.text("picture", event.picture);
        v.number("x", event.x);
        v.number("y", event.y);
        v.text("text", event.text);
        v.number("speed", event.speed);
    }

    // What the database files hold beyond the tables (game.yaml `kept`): the numbers the game
    // reads past and the bytes after each file's layout, by file name.
    const char* const kDatabaseFileNames[] = { "vornINI.DAT", "vornMAX.DAT", "vornPLY.DAT", "vornLEV.DAT",
        "vornCTY.DAT", "vornITM.DAT", "vornARM.DAT", "vornEAP.DAT", "vornATS.DAT", "vornMGC.DAT", "vornene.DAT" };

    YAML::Node keptOut(const StoredFields& kept)
    {
        YAML::Node node(YAML::NodeType::Map);
        if (kept.versionLine)
            node["versionLine"] = 1;
        auto anyNonZero = [](const auto& values) {
            return std::any_of(values.begin(), values.end(), [](float v) { return v != 0; });
        };
        if (anyNonZero(kept.settingsRecord5))
            node["settingsRecord5"] = SourceOut::numberList(kept.settingsRecord5.data(), 9);
        if (anyNonZero(kept.sizesRecord3))
            node["sizesRecord3"] = SourceOut::numberList(kept.sizesRecord3.data(), 2);
        if (anyNonZero(kept.levelsSection1)) {
            node["levelsSection1"]
                = SourceOut::numberList(kept.levelsSection1.data(), static_cast<int>(kept.levelsSection1.size()));
        }
        YAML::Node after(YAML::NodeType::Map);
        for (std::size_t i = 0; i < kept.tails.size(); ++i) {
            if (!kept.tails[i].empty())
                after[kDatabaseFileNames[i]] = sourceText(kept.tails[i]);
        }
        if (after.size())
            node["after"] = after;
        return node;
    }

    void keptIn(const YAML::Node& node, StoredFields& kept)
    {
        SourceIn in(node, "game.yaml.kept");
        float versionLine = 0;
        in.number("versionLine", versionLine);
        kept.versionLine = versionLine != 0;
        in.numbers("settingsRecord5", kept.settingsRecord5.data(), 9);
        in.numbers("sizesRecord3", kept.sizesRecord3.data(), 2);
        YAML::Node levels = SourceIn::sequence(node["levelsSection1"], "game.yaml.kept.levelsSection1");
        kept.levelsSection1.resize(levels.size());
        in.numbers("levelsSection1", kept.levelsSection1.data(), static_cast<int>(levels.size()));
        if (YAML::Node after = node["after"]) {
            SourceIn files(after, "game.yaml.kept.after");
            for (std::size_t i = 0; i < kept.tails.size(); ++i)
                files.text(kDatabaseFileNames[i], kept.tails[i]);
            files.finish();
        }
        in.allow("after");
        in.finish();
    }

    // Lists of records under one key.

    template <class T, class Walk>
    YAML::Node recordsOut(const T* records, int count, Walk walk)
    {
        YAML::Node list(YAML::NodeType::Sequence);
        for (int i = 0; i < count; ++i) {
            SourceOut out;
            walk(out, records[i]);
            list.push_back(out.node());
        }
        return list;
    }

    // Fills records from the list; returns how many there were (at most `most`).
    template <class T, class Walk>
    int recordsIn(const YAML::Node& listNode, const std::string& where, T* records, int most, Walk walk)
    {
        YAML::Node list = SourceIn::sequence(listNode, where);
        if (static_cast<int>(list.size()) > most)
            throw SourceError(where + ": " + std::to_string(list.size()) + " entries, at most " + std::to_string(most));
        for (std::size_t i = 0; i < list.size(); ++i) {
            SourceIn in(list[i], where + "[" + std::to_string(i) + "]");
            walk(in, records[i]);
            in.finish();
        }
        return static_cast<int>(list.size());
    }

    YAML::Node linesOut(const std::vector<ScriptLine>& lines)
    {
        YAML::Node list = recordsOut(lines.data(), static_cast<int>(lines.size()),
            [](SourceOut& v, const ScriptLine& line) { lineFields(v, line); });
        return list;
    }

    std::vector<ScriptLine> linesIn(const YAML::Node& node, const std::string& where)
    {
        std::vector<ScriptLine> lines(SourceIn::sequence(node, where).size());
        recordsIn(node, where, lines.data(), static_cast<int>(lines.size()),
            [](SourceIn& v, ScriptLine& line) { lineFields(v, line); });
        return lines;
    }

    YAML::Node single(const char* key, const YAML::Node& value)
    {
        YAML::Node node(YAML::NodeType::Map);
        node[key] = value;
        return node;
    }

    // The top-level list `key` of a table file.
    YAML::Node tableList(const YAML::Node& file, const char* key, const std::string& where)
    {
        SourceIn in(file, where);
        in.allow(key);
        in.finish();
        return file[key];
    }

    // Story scripts.

    YAML::Node storyOut(const StoryScript& script, StoryKind kind, const std::string& after)
    {
        YAML::Node node(YAML::NodeType::Map);
        node["lead"] = SourceOut::numberNode(script.lead);
        node["lines"] = linesOut(script.lines);
        if (kind == StoryKind::Opening)
            node["trailer"] = SourceOut::numberList(script.trailer.data(), 8);
        if (!after.empty())
            node["after"] = sourceText(after);
        return node;
    }

    StoryScript storyIn(const YAML::Node& file, StoryKind kind, const std::string& where, std::string& after)
    {
        StoryScript script;
        SourceIn in(file, where);
        in.number("lead", script.lead);
        in.text("after", after);
        if (kind == StoryKind::Opening)
            in.numbers("trailer", script.trailer.data(), 8);
        script.lines = linesIn(file["lines"], where + ".lines");
        in.allow("lines");
        in.finish();
        return script;
    }

    // Map change actions: one named entry each.

    YAML::Node actionOut(const ChangeAction& a)
    {
        YAML::Node node(YAML::NodeType::Map);
        auto numbers = [](std::initializer_list<float> values) {
            std::vector<float> v(values);
            return SourceOut::numberList(v.data(), static_cast<int>(v.size()));
        };
        switch (a.kind) {
        case ChangeKind::SetFlag:
            node["flag"] = numbers({ a.a, a.b, a.value });
            break;
        case ChangeKind::SetTile: {
            YAML::Node tile = numbers({ a.column, a.row });
            tile.push_back(sourceText(a.tile));
            node["tile"] = tile;
            break;
        }
        case ChangeKind::MoveEvent: {
            SourceOut move;
            move.text("event", a.eventNumber);
            move.number("column", a.column);
            move.number("row", a.row);
            move.number("number", a.number);
            move.text("picture", a.picture);
            move.text("text", a.text);
            node["move"] = move.node();
            break;
        }
        case ChangeKind::RemoveEvent:
            node["remove"] = SourceOut::numberNode(a.event);
            break;
        case ChangeKind::Ignored:
            node["ignored"] = sourceText(a.code);
            break;
        }
        return node;
    }

    ChangeAction actionIn(const YAML::Node& node, const std::string& where)
    {
        if (!node.IsMap() || node.size() != 1)
            throw SourceError(where + ": an action is one of flag, tile, move, remove, ignored");
        std::string kind = node.begin()->first.Scalar();
        YAML::Node value = node.begin()->second;
        std::string at = where + "." + kind;
        ChangeAction a;
        auto item = [&](std::size_t i) {
            if (!value.IsSequence() || i >= value.size())
                throw SourceError(at + ": too few values");
            return value[i];
        };
        if (kind == "flag") {
            if (value.IsSequence() && value.size() != 3)
                throw SourceError(at + ": expected [a, b, value]");
            a.kind = ChangeKind::SetFlag;
            a.a = SourceIn::toNumber(item(0), at);
            a.b = SourceIn::toNumber(item(1), at);
            a.value = SourceIn::toNumber(item(2), at);
        } else if (kind == "tile") {
            if (value.IsSequence() && value.size() != 3)
                throw SourceError(at + ": expected [column, row, code]");
            a.kind = ChangeKind::SetTile;
            a.column = SourceIn::toNumber(item(0), at);
            a.row = SourceIn::toNumber(item(1), at);
            a.tile = SourceIn::toText(item(2), at);
        } else if (kind == "move") {
            a.kind = ChangeKind::MoveEvent;
            SourceIn move(value, at);
            move.text("event", a.eventNumber);
            move.number("column", a.column);
            move.number("row", a.row);
            move.number("number", a.number);
            move.text("picture", a.picture);
            move.text("text", a.text);
            move.finish();
        } else if (kind == "remove") {
            a.kind = ChangeKind::RemoveEvent;
            a.event = SourceIn::toNumber(value, at);
        } else if (kind == "ignored") {
            a.kind = ChangeKind::Ignored;
            a.code = SourceIn::toText(value, at);
            return a;
        } else {
            throw SourceError(where + ": unknown action \"" + kind + "\"");
        }
        a.code = changeCode(a);
        return a;
    }

    YAML::Node changesOut(const std::vector<ChangeBlock>& blocks)
    {
        YAML::Node list(YAML::NodeType::Sequence);
        for (const ChangeBlock& block : blocks) {
            YAML::Node node(YAML::NodeType::Map);
            YAML::Node conditions(YAML::NodeType::Sequence);
            for (const ChangeCondition& c : block.conditions) {
                YAML::Node condition(YAML::NodeType::Sequence);
                condition.push_back(SourceOut::numberNode(c.a));
                condition.push_back(SourceOut::numberNode(c.b));
                condition.push_back(sourceText(c.op));
                condition.push_back(SourceOut::numberNode(c.value));
                condition.SetStyle(YAML::EmitterStyle::Flow);
                conditions.push_back(condition);
            }
            node["if"] = conditions;
            YAML::Node actions(YAML::NodeType::Sequence);
            for (const ChangeAction& a : block.actions)
                actions.push_back(actionOut(a));
            node["then"] = actions;
            list.push_back(node);
        }
        return list;
    }

    std::vector<ChangeBlock> changesIn(const YAML::Node& listNode, const std::string& where)
    {
        YAML::Node list = SourceIn::sequence(listNode, where);
        std::vector<ChangeBlock> blocks;
        for (std::size_t n = 0; n < list.size(); ++n) {
            std::string at = where + "[" + std::to_string(n) + "]";
            SourceIn in(list[n], at);
            ChangeBlock block;
            YAML::Node conditions = SourceIn::sequence(list[n]["if"], at + ".if");
            for (std::size_t i = 0; i < conditions.size(); ++i) {
                std::string c = at + ".if[" + std::to_string(i) + "]";
                YAML::Node cond = conditions[i];
                if (!cond.IsSequence() || cond.size() != 4)
                    throw SourceError(c + ": expected [a, b, operator, value]");
                block.conditions.push_back({ SourceIn::toNumber(cond[0], c), SourceIn::toNumber(cond[1], c),
                    SourceIn::toText(cond[2], c), SourceIn::toNumber(cond[3], c) });
            }
            YAML::Node actions = SourceIn::sequence(list[n]["then"], at + ".then");
            for (std::size_t i = 0; i < actions.size(); ++i)
                block.actions.push_back(actionIn(actions[i], at + ".then[" + std::to_string(i) + "]"));
            in.allow("if");
            in.allow("then");
            in.finish();
            blocks.push_back(std::move(block));
        }
        return blocks;
    }

    // Map sources.

    YAML::Node mapOut(int number, const MapSource& source)
    {
        YAML::Node node(YAML::NodeType::Map);
        node["number"] = number;
        if (source.map) {
            SourceOut out;
            mapFields(out, *source.map);
            YAML::Node m = out.node();
            YAML::Node rows(YAML::NodeType::Sequence);
            for (const std::string& row : source.map->rows)
                rows.push_back(sourceText(row));
            m["rows"] = rows;
            const auto& spare = source.map->battleSpare;
            if (std::any_of(spare.begin(), spare.end(), [](float v) { return v != 0; }))
                m["battleSpare"] = SourceOut::numberList(spare.data(), 8);
            if (!source.map->tail.empty())
                m["after"] = sourceText(source.map->tail);
            node["map"] = m;
        }
        if (source.events) {
            YAML::Node events(YAML::NodeType::Sequence);
            for (const ScriptEvent& event : *source.events) {
                SourceOut out;
                eventFields(out, event);
                YAML::Node e = out.node();
                e["lines"] = linesOut(event.lines);
                events.push_back(e);
            }
            node["events"] = events;
        }
        if (source.changes)
            node["changes"] = changesOut(*source.changes);
        if (!source.eventsAfter.empty())
            node["eventsAfter"] = sourceText(source.eventsAfter);
        if (!source.changesAfter.empty())
            node["changesAfter"] = sourceText(source.changesAfter);
        return node;
    }

    std::pair<int, MapSource> mapIn(const YAML::Node& file, const std::string& where)
    {
        SourceIn top(file, where);
        float number = -1;
        top.number("number", number);
        if (number < 0 || number > 999 || number != static_cast<float>(roundIndex(number)))
            throw SourceError(where + ".number: expected a map number from 0 to 999");
        MapSource source;
        if (YAML::Node m = file["map"]) {
            std::string at = where + ".map";
            SourceIn in(m, at);
            MapFile map;
            mapFields(in, map);
            YAML::Node rows = SourceIn::sequence(m["rows"], at + ".rows");
            for (std::size_t r = 0; r < rows.size(); ++r)
                map.rows.push_back(SourceIn::toText(rows[r], at + ".rows[" + std::to_string(r) + "]"));
            in.allow("rows");
            in.numbers("battleSpare", map.battleSpare.data(), 8);
            in.text("after", map.tail);
            in.finish();
            source.map = std::move(map);
        }
        if (YAML::Node e = file["events"]) {
            YAML::Node list = SourceIn::sequence(e, where + ".events");
            std::vector<ScriptEvent> events(list.size());
            for (std::size_t i = 0; i < list.size(); ++i) {
                std::string at = where + ".events[" + std::to_string(i) + "]";
                SourceIn in(list[i], at);
                eventFields(in, events[i]);
                events[i].lines = linesIn(list[i]["lines"], at + ".lines");
                in.allow("lines");
                in.finish();
            }
            source.events = std::move(events);
        }
        if (YAML::Node c = file["changes"])
            source.changes = changesIn(c, where + ".changes");
        top.text("eventsAfter", source.eventsAfter);
        top.text("changesAfter", source.changesAfter);
        top.allow("map");
        top.allow("events");
        top.allow("changes");
        top.finish();
        return { roundIndex(number), std::move(source) };
    }

    std::string header(const char* what)
    {
        return std::string("# ") + what
            + "\n# Readable source of a vorn game: `vorn-data build` compiles it into the data files.\n";
    }

    std::string mapSourceName(int number)
    {
        char name[32];
        std::snprintf(name, sizeof name, "map%03d.yaml", number);
        return name;
    }

} // namespace

GameSource readSource(const fs::path& dir)
{
    GameSource game;
    Database& db = game.db;

    // game.yaml: settings, slot counts and trailers.
    {
        fs::path path = dir / "game.yaml";
        YAML::Node file = loadYamlFile(path);
        SourceIn in(file, "game.yaml");
        float version = 232;
        gameFields(in, db, version);
        // Any version the game can read is kept exactly (210.25 is above 210).
        if (!(version >= 0 && version <= 100000))
            throw SourceError("game.yaml.dataVersion: expected a number from 0 to 100000");
        game.dataVersion = version;
        db.ini.dataVersion = version;
        if (YAML::Node trailers = file["trailers"]) {
            SourceIn t(trailers, "game.yaml.trailers");
            trailerFields(t, db.trailers);
            t.finish();
        }
        if (YAML::Node kept = file["kept"])
            keptIn(kept, db.stored);
        in.allow("trailers");
        in.allow("kept");
        in.finish();
    }
    auto checkSlots = [](float value, int most, const char* name) {
        int n = roundIndex(value);
        if (n < 0 || n > most || value != static_cast<float>(n))
            throw SourceError(std::string("game.yaml.") + name + ": expected a whole number from 0 to "
                + std::to_string(most));
        return n;
    };
    checkSlots(db.sizes.spellSlots, capacity::spellList, "spellSlots");
    checkSlots(db.sizes.inventorySlots, capacity::inventory, "inventorySlots");

    auto table = [&](const char* file, const char* key) {
        return tableList(loadYamlFile(dir / file, true), key, file);
    };

    Shape shape;
    shape.spellSlots = roundIndex(db.sizes.spellSlots);
    shape.inventorySlots = roundIndex(db.sizes.inventorySlots);
    {
        YAML::Node list = table("characters.yaml", "characters");
        shape.roster = static_cast<int>(SourceIn::sequence(list, "characters.yaml").size());
        if (shape.roster < 1)
            throw SourceError("characters.yaml: the roster needs at least one character");
        recordsIn(list, "characters.yaml", db.characters.data(), capacity::characters,
            [&](SourceIn& v, Character& ch) { characterFields(v, ch, shape); });
        db.sizes.lastCharacterSaved = static_cast<float>(shape.roster - 1);
        for (int c = 0; c < shape.roster; ++c) {
            db.characters[c].growthType = static_cast<float>(c);
            db.characters[c].defaultName = db.characters[c].name;
        }
    }
    {
        YAML::Node list = SourceIn::sequence(table("levels.yaml", "levels"), "levels.yaml");
        if (static_cast<int>(list.size()) > capacity::levels)
            throw SourceError("levels.yaml: more than " + std::to_string(capacity::levels) + " levels");
        for (std::size_t l = 0; l < list.size(); ++l) {
            recordsIn(list[l], "levels.yaml[" + std::to_string(l) + "]", db.levels[l].data(), shape.roster,
                [](SourceIn& v, LevelGrowth& g) { levelFields(v, g); });
        }
        db.sizes.levelCount = static_cast<float>(list.size());
    }
    db.sizes.townCount = static_cast<float>(recordsIn(table("towns.yaml", "towns"), "towns.yaml", db.towns.data(),
        capacity::towns, [](SourceIn& v, MapInfo& t) { townFields(v, t); }));
    {
        YAML::Node list = table("attributes.yaml", "attributes");
        int count = static_cast<int>(SourceIn::sequence(list, "attributes.yaml").size());
        recordsIn(list, "attributes.yaml", db.attributes.data(), capacity::attributes,
            [&](SourceIn& v, Attribute& a) { attributeFields(v, a, count); });
        db.sizes.attributeLast = static_cast<float>(count - 1);
    }
    db.sizes.itemCount = static_cast<float>(recordsIn(table("items.yaml", "items"), "items.yaml", db.items.data(),
        capacity::items, [](SourceIn& v, Item& i) { itemFields(v, i); }));
    db.sizes.equipmentCount = static_cast<float>(recordsIn(table("equipment.yaml", "equipment"), "equipment.yaml",
        db.equipment.data(), capacity::equipment,
        [&](SourceIn& v, Equipment& e) { equipmentFields(v, e, shape); }));
    db.sizes.mapCount = static_cast<float>(recordsIn(table("encounters.yaml", "encounters"), "encounters.yaml",
        db.encounters.data(), capacity::maps, [](SourceIn& v, Encounter& e) { encounterFields(v, e); }));
    {
        YAML::Node list = SourceIn::sequence(table("targets.yaml", "targets"), "targets.yaml");
        if (static_cast<int>(list.size()) > shape.roster)
            throw SourceError("targets.yaml: more rows than characters");
        for (std::size_t i = 0; i < list.size(); ++i) {
            std::string at = "targets.yaml[" + std::to_string(i) + "]";
            YAML::Node row = SourceIn::sequence(list[i], at);
            if (static_cast<int>(row.size()) > shape.roster)
                throw SourceError(at + ": more values than characters");
            for (std::size_t j = 0; j < row.size(); ++j)
                db.targets.threshold[i][j] = SourceIn::toNumber(row[j], at);
        }
    }
    db.sizes.spellCount = static_cast<float>(recordsIn(table("spells.yaml", "spells"), "spells.yaml",
        db.spells.data(), capacity::spells, [&](SourceIn& v, Spell& s) { spellFields(v, s, shape); }));
    db.sizes.enemyCount = static_cast<float>(recordsIn(table("enemies.yaml", "enemies"), "enemies.yaml",
        db.enemies.data(), capacity::enemies, [](SourceIn& v, Enemy& e) { enemyFields(v, e); }));
    db.sizes.lastCharacter = db.ini.partyLast;

    if (fs::exists(dir / "opening.yaml"))
        game.opening
            = storyIn(loadYamlFile(dir / "opening.yaml"), StoryKind::Opening, "opening.yaml", game.openingAfter);
    if (fs::exists(dir / "ending.yaml"))
        game.ending = storyIn(loadYamlFile(dir / "ending.yaml"), StoryKind::Ending, "ending.yaml", game.endingAfter);

    std::error_code ec;
    if (fs::is_directory(dir / "maps", ec)) {
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(dir / "maps")) {
            if (entry.path().extension() == ".yaml")
                files.push_back(entry.path());
        }
        std::sort(files.begin(), files.end());
        for (const fs::path& path : files) {
            std::string where = "maps/" + path.filename().string();
            auto [number, source] = mapIn(loadYamlFile(path), where);
            if (game.maps.count(number))
                throw SourceError(where + ": map " + std::to_string(number) + " is defined twice");
            game.maps[number] = std::move(source);
        }
    }
    game.slots = readSlotSources(dir, db);
    return game;
}

void writeSource(const GameSource& game, const fs::path& dir)
{
    const Database& db = game.db;
    Shape shape = shapeOf(db);
    std::error_code ec;
    fs::create_directories(dir / "maps", ec);
    if (ec)
        throw SourceError(dir.string() + ": folder cannot be made: " + ec.message());

    {
        SourceOut out;
        float version = game.dataVersion;
        gameFields(out, db, version);
        SourceOut trailers;
        trailerFields(trailers, db.trailers);
        YAML::Node node = out.node();
        node["trailers"] = trailers.node();
        if (db.stored != StoredFields {})
            node["kept"] = keptOut(db.stored);
        writeYamlFile(dir / "game.yaml",
            header("Game settings (DAT\\vornINI.DAT), slot counts and the eight-number trailers of the database "
                   "files.\n# The trailers make the hidden correction sums of the map files; any numbers do."),
            node);
    }
    auto writeTable = [&](const char* file, const char* key, const YAML::Node& list, const char* what) {
        writeYamlFile(dir / file, header(what), single(key, list));
    };
    writeTable("characters.yaml", "characters",
        recordsOut(db.characters.data(), shape.roster,
            [&](SourceOut& v, const Character& ch) { characterFields(v, ch, shape); }),
        "The character roster (DAT\\vornPLY.DAT); the list order is the character number.");
    {
        YAML::Node levels(YAML::NodeType::Sequence);
        for (int l = 0; l < roundIndex(db.sizes.levelCount); ++l) {
            YAML::Node row = recordsOut(
                db.levels[l].data(), shape.roster, [](SourceOut& v, const LevelGrowth& g) { levelFields(v, g); });
            for (auto entry : row)
                entry.SetStyle(YAML::EmitterStyle::Flow);
            levels.push_back(row);
        }
        writeTable("levels.yaml", "levels", levels,
            "Level growth (DAT\\vornLEV.DAT): one list per level, one entry per character.");
    }
    writeTable("towns.yaml", "towns",
        recordsOut(db.towns.data(), roundIndex(db.sizes.townCount),
            [](SourceOut& v, const MapInfo& t) { townFields(v, t); }),
        "Town data per map number (DAT\\vornCTY.DAT).");
    {
        int count = roundIndex(db.sizes.attributeLast) + 1;
        writeTable("attributes.yaml", "attributes",
            recordsOut(db.attributes.data(), std::max(count, 0),
                [&](SourceOut& v, const Attribute& a) { attributeFields(v, a, count); }),
            "Attributes and their resistances in percent (DAT\\vornCTY.DAT, data versions above 210).");
    }
    writeTable("items.yaml", "items",
        recordsOut(db.items.data(), roundIndex(db.sizes.itemCount), [](SourceOut& v, const Item& i) { itemFields(v, i); }),
        "Items (DAT\\vornITM.DAT).");
    writeTable("equipment.yaml", "equipment",
        recordsOut(db.equipment.data(), roundIndex(db.sizes.equipmentCount),
            [&](SourceOut& v, const Equipment& e) { equipmentFields(v, e, shape); }),
        "Equipment (DAT\\vornARM.DAT); an item wears entry n - 1 when its `equipment` is n.");
    writeTable("encounters.yaml", "encounters",
        recordsOut(db.encounters.data(), roundIndex(db.sizes.mapCount),
            [](SourceOut& v, const Encounter& e) { encounterFields(v, e); }),
        "Random encounter tables per map number (DAT\\vornEAP.DAT); 99 = empty slot.");
    {
        YAML::Node rows(YAML::NodeType::Sequence);
        for (int i = 0; i < shape.roster; ++i)
            rows.push_back(SourceOut::numberList(db.targets.threshold[i].data(), shape.roster));
        writeTable("targets.yaml", "targets", rows,
            "Enemy target table (DAT\\vornATS.DAT): row = party last index, cumulative percent per position.");
    }
    writeTable("spells.yaml", "spells",
        recordsOut(db.spells.data(), roundIndex(db.sizes.spellCount),
            [&](SourceOut& v, const Spell& s) { spellFields(v, s, shape); }),
        "Spells (DAT\\vornMGC.DAT).");
    writeTable("enemies.yaml", "enemies",
        recordsOut(db.enemies.data(), roundIndex(db.sizes.enemyCount),
            [](SourceOut& v, const Enemy& e) { enemyFields(v, e); }),
        "Enemies (DAT\\vornene.DAT).");

    if (game.opening)
        writeYamlFile(dir / "opening.yaml", header("The opening script (DAT\\vornTOPN.dat)."),
            storyOut(*game.opening, StoryKind::Opening, game.openingAfter));
    if (game.ending)
        writeYamlFile(dir / "ending.yaml", header("The ending script (DAT\\vornTEND.dat)."),
            storyOut(*game.ending, StoryKind::Ending, game.endingAfter));
    for (const auto& [number, source] : game.maps) {
        writeYamlFile(dir / "maps" / mapSourceName(number),
            header("One map: its map file (M), its events (T) and its map changes (E)."), mapOut(number, source));
    }
    writeSlotSources(game.slots, db, dir);
}

} // namespace vorn::datatool
