// The readable source: which file holds what, and the named fields of every record. Each record's
// fields are listed once, as a walk over a SourceOut (dump) or a SourceIn (build).
#include "game_source.h"
#include "source_text.h"
#include "source_yaml.h"

#include "data/record.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>

namespace vorn::datatool {

namespace fs = std::filesystem;

std::string mapSourceName(int number)
{
    char name[32];
    std::snprintf(name, sizeof name, "map%03d.yaml", number);
    return name;
}

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
        v.recordNumbers("enemies", e.enemies.data(), capacity::encounterSlots, "enemy");
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
        v.recordNumbers("actions", e.actions.data(), capacity::enemyActions, "spell");
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

    void keptIn(SourceReader& r, const YAML::Node& node, StoredFields& kept)
    {
        SourceIn in(r, node, "game.yaml.kept");
        float versionLine = 0;
        in.number("versionLine", versionLine);
        kept.versionLine = versionLine != 0;
        in.numbers("settingsRecord5", kept.settingsRecord5.data(), 9);
        in.numbers("sizesRecord3", kept.sizesRecord3.data(), 2);
        YAML::Node levels = r.sequence(in.field("levelsSection1"), "game.yaml.kept.levelsSection1");
        kept.levelsSection1.resize(levels.size());
        in.numbers("levelsSection1", kept.levelsSection1.data(), static_cast<int>(levels.size()));
        if (YAML::Node after = in.field("after"); after.IsDefined() && !after.IsNull()) {
            SourceIn files(r, after, "game.yaml.kept.after");
            for (std::size_t i = 0; i < kept.tails.size(); ++i)
                files.bytes(kDatabaseFileNames[i], kept.tails[i]);
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

    // Fills records from the list; returns how many were read (at most `most`: more are
    // reported and left out).
    template <class T, class Walk>
    int recordsIn(SourceReader& r, const YAML::Node& listNode, const std::string& path, T* records, int most, Walk walk)
    {
        YAML::Node list = r.sequence(listNode, path);
        int count = static_cast<int>(list.size());
        if (count > most) {
            r.error(listNode, path, std::to_string(count) + " entries, at most " + std::to_string(most));
            count = most;
        }
        for (int i = 0; i < count; ++i) {
            std::string at = path + "[" + std::to_string(i) + "]";
            r.note(at, list[static_cast<std::size_t>(i)]);
            SourceIn in(r, list[static_cast<std::size_t>(i)], at);
            walk(in, records[i]);
            in.finish();
        }
        return count;
    }

    YAML::Node linesOut(const std::vector<ScriptLine>& lines)
    {
        YAML::Node list = recordsOut(lines.data(), static_cast<int>(lines.size()),
            [](SourceOut& v, const ScriptLine& line) { lineFields(v, line); });
        return list;
    }

    std::vector<ScriptLine> linesIn(SourceReader& r, const YAML::Node& node, const std::string& path)
    {
        std::vector<ScriptLine> lines(r.sequence(node, path).size());
        recordsIn(r, node, path, lines.data(), static_cast<int>(lines.size()),
            [](SourceIn& v, ScriptLine& line) { lineFields(v, line); });
        if (lines.size() > static_cast<std::size_t>(maxScriptLines)) {
            r.error(node, path,
                std::to_string(lines.size()) + " lines; an event holds at most " + std::to_string(maxScriptLines));
            lines.resize(static_cast<std::size_t>(maxScriptLines));
        }
        for (std::size_t l = 0; l < lines.size(); ++l) {
            if (lines[l].message == scriptEndMark) {
                std::string at = path + "[" + std::to_string(l) + "].message";
                r.error(SourcePosition(r.locator().findPath(at)), at,
                    "a message of exactly \"99\" cannot be stored: the game reads it as the end of the lines");
            }
        }
        return lines;
    }

    YAML::Node single(const char* key, const YAML::Node& value)
    {
        YAML::Node node(YAML::NodeType::Map);
        node[key] = value;
        return node;
    }

    // The top-level list `key` of a table file.
    YAML::Node tableList(SourceReader& r, const YAML::Node& file, const char* key, const std::string& path)
    {
        SourceIn in(r, file, path);
        in.allow(key);
        in.finish();
        return in.field(key);
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

    StoryScript storyIn(SourceReader& r, const YAML::Node& file, StoryKind kind, const std::string& path, std::string& after)
    {
        StoryScript script;
        SourceIn in(r, file, path);
        in.number("lead", script.lead);
        in.bytes("after", after);
        if (kind == StoryKind::Opening)
            in.numbers("trailer", script.trailer.data(), 8);
        script.lines = linesIn(r, in.field("lines"), path + ".lines");
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

    // One action of a map change block; nothing when it cannot be read (reported).
    std::optional<ChangeAction> actionIn(SourceReader& r, const YAML::Node& node, const std::string& path)
    {
        static const std::vector<std::string> kinds { "flag", "tile", "move", "remove", "ignored" };
        r.note(path, node);
        if (!node.IsMap() || node.size() != 1) {
            r.error(node, path, "an action is one of flag, tile, move, remove, ignored, e.g. {flag: [a, b, value]}");
            return std::nullopt;
        }
        std::string kind = node.begin()->first.Scalar();
        YAML::Node value = node.begin()->second;
        std::string at = path + "." + kind;
        r.note(at, value);
        ChangeAction a;
        // A list of exactly `count` values, or a report of the shape expected.
        auto list = [&](std::size_t count, const char* shape) {
            if (value.IsSequence() && value.size() == count)
                return true;
            r.error(value, at, std::string("expected ") + shape);
            return false;
        };
        if (kind == "flag") {
            if (!list(3, "[a, b, value]"))
                return std::nullopt;
            a.kind = ChangeKind::SetFlag;
            a.a = r.number(value[0], at + "[0]");
            a.b = r.number(value[1], at + "[1]");
            a.value = r.number(value[2], at + "[2]");
        } else if (kind == "tile") {
            if (!list(3, "[column, row, code]"))
                return std::nullopt;
            a.kind = ChangeKind::SetTile;
            a.column = r.number(value[0], at + "[0]");
            a.row = r.number(value[1], at + "[1]");
            a.tile = r.text(value[2], at + "[2]");
        } else if (kind == "move") {
            a.kind = ChangeKind::MoveEvent;
            SourceIn move(r, value, at);
            move.text("event", a.eventNumber);
            move.number("column", a.column);
            move.number("row", a.row);
            move.number("number", a.number);
            move.text("picture", a.picture);
            move.text("text", a.text);
            move.finish();
        } else if (kind == "remove") {
            a.kind = ChangeKind::RemoveEvent;
            a.event = r.number(value, at);
        } else if (kind == "ignored") {
            a.kind = ChangeKind::Ignored;
            a.code = r.text(value, at);
            if (a.code == "F" || a.code == "C" || a.code == "E" || a.code == "D" || a.code == "99")
                r.error(value, at, "the code \"" + a.code + "\" is not ignored by the game; write the action itself");
            return a;
        } else {
            r.error(node.begin()->first, path, "unknown action \"" + kind + "\"" + didYouMean(kind, kinds));
            return std::nullopt;
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

    std::vector<ChangeBlock> changesIn(SourceReader& r, const YAML::Node& listNode, const std::string& path)
    {
        YAML::Node list = r.sequence(listNode, path);
        std::vector<ChangeBlock> blocks;
        for (std::size_t n = 0; n < list.size(); ++n) {
            std::string at = path + "[" + std::to_string(n) + "]";
            r.note(at, list[n]);
            SourceIn in(r, list[n], at);
            ChangeBlock block;
            YAML::Node conditionsNode = in.field("if");
            YAML::Node conditions = r.sequence(conditionsNode, at + ".if");
            if (conditions.size() < 1 || conditions.size() > 3) {
                r.error(conditionsNode.IsDefined() ? conditionsNode : list[n], at + ".if",
                    "a block needs one to three conditions [a, b, operator, value]; it has "
                        + std::to_string(conditions.size()));
            }
            for (std::size_t i = 0; i < conditions.size(); ++i) {
                std::string c = at + ".if[" + std::to_string(i) + "]";
                YAML::Node cond = conditions[i];
                r.note(c, cond);
                if (!cond.IsSequence() || cond.size() != 4) {
                    r.error(cond, c, "expected [a, b, operator, value]");
                    continue;
                }
                ChangeCondition condition { r.number(cond[0], c + "[0]"), r.number(cond[1], c + "[1]"),
                    r.text(cond[2], c + "[2]"), r.number(cond[3], c + "[3]") };
                if (condition.a == 99)
                    r.error(cond[0], c + "[0]", "a condition on flag row 99 cannot be stored: the game reads 99 as the end of the conditions");
                static const std::set<std::string> operators { "=", ">", "<", ">=", "<=", "<>" };
                if (!operators.count(condition.op))
                    r.warning(cond[2], c + "[2]",
                        "the operator \"" + cond[2].Scalar() + "\" is not one of = > < >= <= <>: the game counts the condition as holding");
                block.conditions.push_back(condition);
            }
            YAML::Node actions = r.sequence(in.field("then"), at + ".then");
            for (std::size_t i = 0; i < actions.size(); ++i) {
                if (auto action = actionIn(r, actions[i], at + ".then[" + std::to_string(i) + "]"))
                    block.actions.push_back(std::move(*action));
            }
            in.allow("if");
            in.allow("then");
            in.finish();
            if (block.conditions.empty() || block.conditions.size() > 3)
                continue;
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

    // What the map file writer needs: whole sides from 1 to maxMapSide and one row per cell row.
    void checkMapShape(SourceReader& r, const SourceIn& in, const MapFile& map, const std::string& path)
    {
        for (auto [key, side] : { std::pair<const char*, float> { "width", map.width }, { "height", map.height } }) {
            if (side != std::floor(side) || side < 1 || side > maxMapSide)
                r.error(in.field(key), path + "." + key,
                    std::string("the map's ") + key + " must be a whole number from 1 to " + std::to_string(maxMapSide));
        }
        if (map.height >= 1 && map.height <= maxMapSide && map.rows.size() != static_cast<std::size_t>(map.height)) {
            r.error(in.field("rows"), path + ".rows",
                std::to_string(map.rows.size()) + " rows for a height of " + formatNumber(map.height));
        }
    }

    std::vector<ScriptEvent> eventsIn(SourceReader& r, const YAML::Node& node, const std::string& path)
    {
        YAML::Node list = r.sequence(node, path);
        std::vector<ScriptEvent> events(list.size());
        if (events.size() > static_cast<std::size_t>(maxScriptEvents)) {
            r.error(node, path, std::to_string(events.size()) + " events; a map holds at most " + std::to_string(maxScriptEvents));
            events.resize(static_cast<std::size_t>(maxScriptEvents));
        }
        for (std::size_t i = 0; i < events.size(); ++i) {
            std::string at = path + "[" + std::to_string(i) + "]";
            r.note(at, list[i]);
            SourceIn in(r, list[i], at);
            eventFields(in, events[i]);
            if (normalisePictureCode(events[i].picture) == scriptEndMark)
                r.error(in.field("picture"), at + ".picture", "the picture code \"99\" cannot be stored: the game reads it as the end of the events");
            events[i].lines = linesIn(r, in.field("lines"), at + ".lines");
            in.allow("lines");
            in.finish();
        }
        return events;
    }

    // The map number a source file name carries ("map012.yaml" gives 12), or -1.
    int numberInName(const std::string& name)
    {
        if (name.size() != 11 || name.compare(0, 3, "map") != 0 || name.compare(6, 5, ".yaml") != 0)
            return -1;
        for (std::size_t i = 3; i < 6; ++i) {
            if (name[i] < '0' || name[i] > '9')
                return -1;
        }
        return std::stoi(name.substr(3, 3));
    }

    std::optional<std::pair<int, MapSource>> mapIn(SourceReader& r, const YAML::Node& file, const std::string& path)
    {
        SourceIn top(r, file, path);
        float number = -1;
        top.number("number", number);
        std::string name = path.substr(path.rfind('/') + 1);
        int named = numberInName(name);
        bool known = number >= 0 && number <= 999 && number == static_cast<float>(roundIndex(number));
        if (!known) {
            YAML::Node at = top.field("number");
            r.error(at.IsDefined() ? at : file, path + ".number", "expected the map's number, a whole number from 0 to 999");
        } else if (named < 0) {
            r.error(file, path, "a map's file is named after its number: maps/" + mapSourceName(roundIndex(number)));
        } else if (named != roundIndex(number)) {
            r.error(top.field("number"), path + ".number",
                "the file " + name + " holds map " + formatNumber(number) + ": rename the file to "
                    + mapSourceName(roundIndex(number)) + " or write number: " + std::to_string(named));
        }
        MapSource source;
        if (YAML::Node m = top.field("map")) {
            std::string at = path + ".map";
            SourceIn in(r, m, at);
            MapFile map;
            mapFields(in, map);
            YAML::Node rows = r.sequence(in.field("rows"), at + ".rows");
            for (std::size_t row = 0; row < rows.size(); ++row)
                map.rows.push_back(r.text(rows[row], at + ".rows[" + std::to_string(row) + "]"));
            in.allow("rows");
            in.numbers("battleSpare", map.battleSpare.data(), 8);
            in.bytes("after", map.tail);
            in.finish();
            checkMapShape(r, in, map, at);
            source.map = std::move(map);
        }
        if (YAML::Node e = top.field("events"))
            source.events = eventsIn(r, e, path + ".events");
        if (YAML::Node c = top.field("changes"))
            source.changes = changesIn(r, c, path + ".changes");
        top.bytes("eventsAfter", source.eventsAfter);
        top.bytes("changesAfter", source.changesAfter);
        top.allow("map");
        top.allow("events");
        top.allow("changes");
        top.finish();
        if (!known)
            return std::nullopt;
        return std::pair { roundIndex(number), std::move(source) };
    }

    std::string header(const char* what)
    {
        return std::string("# ") + what
            + "\n# Readable source of a vorn game: `vorn-data build` compiles it into the data files.\n";
    }

} // namespace

namespace {

    // The files a source folder may hold, and a report of every YAML file it holds besides them
    // (a misspelt table file would otherwise be left out without a word).
    const char* const kSourceFiles[] = { "game.yaml", "characters.yaml", "levels.yaml", "towns.yaml", "attributes.yaml",
        "items.yaml", "equipment.yaml", "encounters.yaml", "targets.yaml", "spells.yaml", "enemies.yaml",
        "opening.yaml", "ending.yaml" };

    void checkFileNames(SourceReader& r, const fs::path& dir)
    {
        std::vector<std::string> known(std::begin(kSourceFiles), std::end(kSourceFiles));
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(dir, ec)) {
            std::string name = entry.path().filename().string();
            std::string ext = entry.path().extension().string();
            if (!entry.is_regular_file(ec) || (ext != ".yaml" && ext != ".yml"))
                continue;
            if (std::find(known.begin(), known.end(), name) != known.end())
                continue;
            std::string hint = didYouMean(name, known);
            r.error(SourcePosition { name, -1, -1 }, name,
                "a source file of an unknown name is not read" + (hint.empty() ? "; the files are " + [&] {
                    std::string all;
                    for (const std::string& k : known)
                        all += (all.empty() ? "" : ", ") + k;
                    return all;
                }()
                                                                               : hint));
        }
        for (const char* folder : { "maps", "saves" }) {
            for (const auto& entry : fs::directory_iterator(dir / folder, ec)) {
                std::string name = entry.path().filename().string();
                std::string ext = entry.path().extension().string();
                std::string path = std::string(folder) + "/" + name;
                if (ext == ".yml")
                    r.error(SourcePosition { path, -1, -1 }, path, "source files end in .yaml: this one is not read");
            }
        }
    }

    // Counts of list entries: a count above the entries written makes the game use records the
    // author never wrote; entries beyond the count are never used.
    void checkCharacterLists(SourceReader& r, const YAML::Node& list, const Database& db, int roster)
    {
        for (int c = 0; c < roster && static_cast<std::size_t>(c) < list.size(); ++c) {
            const Character& ch = db.characters[static_cast<std::size_t>(c)];
            std::string at = "characters.yaml.characters[" + std::to_string(c) + "]";
            const YAML::Node node = list[static_cast<std::size_t>(c)];
            if (!node.IsMap())
                continue;
            struct Counted {
                const char* count;
                float value;
                std::size_t written;
                const char* entries;
                float slots;
            };
            const YAML::Node inventory = node["inventory"], spells = node["spells"];
            auto length = [](const YAML::Node& n) { return n.IsDefined() && n.IsSequence() ? n.size() : 0; };
            const Counted counted[] = {
                { "itemCount", ch.itemCount, length(inventory), "inventory entries", db.sizes.inventorySlots },
                { "spellCount", ch.spellCount, length(spells), "spells", db.sizes.spellSlots },
            };
            for (const Counted& k : counted) {
                // A count beyond the slots is the checker's (it is data the game's files can hold).
                if (k.value < 0 || k.value != std::floor(k.value) || k.value > k.slots
                    || static_cast<std::size_t>(k.value) <= k.written)
                    continue;
                const YAML::Node countNode = node[k.count];
                r.error(countNode.IsDefined() ? countNode : node, at + "." + k.count,
                    std::string(k.count) + " " + formatNumber(k.value) + " but " + std::to_string(k.written) + " "
                        + k.entries + " are written: the character would hold entries the source does not give");
            }
            for (std::size_t k = static_cast<std::size_t>(std::max(ch.itemCount, 0.0f));
                 k < length(inventory) && k < ch.inventory.size(); ++k) {
                if (ch.inventory[k][InventoryItem] != 0 || ch.inventory[k][InventoryEquipped] != 0)
                    r.warning(inventory[k], at + ".inventory[" + std::to_string(k) + "]",
                        "this entry lies beyond itemCount " + formatNumber(ch.itemCount) + ": the character does not hold it");
            }
        }
    }

} // namespace

GameSource readSource(SourceReader& r)
{
    const fs::path& dir = r.folder();
    GameSource game;
    Database& db = game.db;
    checkFileNames(r, dir);

    // game.yaml: settings, slot counts and trailers.
    if (auto file = r.load("game.yaml")) {
        SourceIn in(r, *file, "game.yaml");
        float version = 232;
        gameFields(in, db, version);
        // Any version the game can read is kept exactly (210.25 is above 210).
        if (!(version >= 0 && version <= 100000)) {
            r.error(in.field("dataVersion"), "game.yaml.dataVersion", "expected a number from 0 to 100000");
            version = 232;
        }
        game.dataVersion = version;
        db.ini.dataVersion = version;
        if (YAML::Node trailers = in.field("trailers")) {
            SourceIn t(r, trailers, "game.yaml.trailers");
            trailerFields(t, db.trailers);
            t.finish();
        }
        if (YAML::Node kept = in.field("kept"))
            keptIn(r, kept, db.stored);
        in.allow("trailers");
        in.allow("kept");
        in.finish();
        auto checkSlots = [&](float& value, int most, const char* name) {
            int n = roundIndex(value);
            if (n < 0 || n > most || value != static_cast<float>(n)) {
                r.error(in.field(name), std::string("game.yaml.") + name,
                    "expected a whole number from 0 to " + std::to_string(most));
                value = 0;
            }
        };
        checkSlots(db.sizes.spellSlots, capacity::spellList, "spellSlots");
        checkSlots(db.sizes.inventorySlots, capacity::inventory, "inventorySlots");
    }

    std::set<std::string> unreadable;
    auto table = [&](const char* file, const char* key) {
        auto node = r.load(file, true);
        if (!node)
            unreadable.insert(file);
        return node ? tableList(r, *node, key, file) : YAML::Node();
    };
    auto path = [](const char* file, const char* key) { return std::string(file) + "." + key; };

    Shape shape;
    shape.spellSlots = roundIndex(db.sizes.spellSlots);
    shape.inventorySlots = roundIndex(db.sizes.inventorySlots);
    {
        std::string at = path("characters.yaml", "characters");
        YAML::Node list = r.sequence(table("characters.yaml", "characters"), at);
        shape.roster = std::clamp(static_cast<int>(list.size()), 1, capacity::characters);
        if (list.size() < 1 && !unreadable.count("characters.yaml"))
            r.error(SourcePosition { "characters.yaml", -1, -1 }, "characters.yaml", "the roster needs at least one character");
        recordsIn(r, list, at, db.characters.data(), capacity::characters,
            [&](SourceIn& v, Character& ch) { characterFields(v, ch, shape); });
        db.sizes.lastCharacterSaved = static_cast<float>(shape.roster - 1);
        for (int c = 0; c < shape.roster; ++c) {
            db.characters[c].growthType = static_cast<float>(c);
            db.characters[c].defaultName = db.characters[c].name;
        }
        checkCharacterLists(r, list, db, shape.roster);
    }
    {
        std::string at = path("levels.yaml", "levels");
        YAML::Node listNode = table("levels.yaml", "levels");
        YAML::Node list = r.sequence(listNode, at);
        std::size_t count = std::min<std::size_t>(list.size(), capacity::levels);
        if (list.size() > count)
            r.error(listNode, at, std::to_string(list.size()) + " levels, at most " + std::to_string(capacity::levels));
        for (std::size_t l = 0; l < count; ++l) {
            std::string row = at + "[" + std::to_string(l) + "]";
            int given = recordsIn(r, list[l], row, db.levels[l].data(), shape.roster,
                [](SourceIn& v, LevelGrowth& g) { levelFields(v, g); });
            if (given < shape.roster && list[l].IsSequence())
                r.error(list[l], row,
                    std::to_string(given) + " entries for " + std::to_string(shape.roster)
                        + " characters: each level lists what every character gains");
        }
        db.sizes.levelCount = static_cast<float>(count);
    }
    db.sizes.townCount = static_cast<float>(recordsIn(r, table("towns.yaml", "towns"), path("towns.yaml", "towns"),
        db.towns.data(), capacity::towns, [](SourceIn& v, MapInfo& t) { townFields(v, t); }));
    {
        YAML::Node list = table("attributes.yaml", "attributes");
        std::string at = path("attributes.yaml", "attributes");
        int count = std::min(static_cast<int>(r.sequence(list, at).size()), capacity::attributes);
        recordsIn(r, list, at, db.attributes.data(), capacity::attributes,
            [&](SourceIn& v, Attribute& a) { attributeFields(v, a, count); });
        db.sizes.attributeLast = static_cast<float>(count - 1);
    }
    db.sizes.itemCount = static_cast<float>(recordsIn(r, table("items.yaml", "items"), path("items.yaml", "items"),
        db.items.data(), capacity::items, [](SourceIn& v, Item& i) { itemFields(v, i); }));
    db.sizes.equipmentCount = static_cast<float>(recordsIn(r, table("equipment.yaml", "equipment"),
        path("equipment.yaml", "equipment"), db.equipment.data(), capacity::equipment,
        [&](SourceIn& v, Equipment& e) { equipmentFields(v, e, shape); }));
    db.sizes.mapCount = static_cast<float>(recordsIn(r, table("encounters.yaml", "encounters"),
        path("encounters.yaml", "encounters"), db.encounters.data(), capacity::maps,
        [](SourceIn& v, Encounter& e) { encounterFields(v, e); }));
    {
        std::string at = path("targets.yaml", "targets");
        YAML::Node listNode = table("targets.yaml", "targets");
        YAML::Node list = r.sequence(listNode, at);
        if (static_cast<int>(list.size()) > shape.roster)
            r.error(listNode, at, std::to_string(list.size()) + " rows for " + std::to_string(shape.roster) + " characters");
        for (std::size_t i = 0; i < list.size() && static_cast<int>(i) < shape.roster; ++i) {
            std::string rowAt = at + "[" + std::to_string(i) + "]";
            YAML::Node row = r.sequence(list[i], rowAt);
            if (static_cast<int>(row.size()) > shape.roster)
                r.error(list[i], rowAt, std::to_string(row.size()) + " values for " + std::to_string(shape.roster) + " characters");
            for (std::size_t j = 0; j < row.size() && static_cast<int>(j) < shape.roster; ++j)
                db.targets.threshold[i][j] = r.number(row[j], rowAt + "[" + std::to_string(j) + "]");
        }
    }
    db.sizes.spellCount = static_cast<float>(recordsIn(r, table("spells.yaml", "spells"), path("spells.yaml", "spells"),
        db.spells.data(), capacity::spells, [&](SourceIn& v, Spell& s) { spellFields(v, s, shape); }));
    db.sizes.enemyCount = static_cast<float>(recordsIn(r, table("enemies.yaml", "enemies"),
        path("enemies.yaml", "enemies"), db.enemies.data(), capacity::enemies,
        [](SourceIn& v, Enemy& e) { enemyFields(v, e); }));
    db.sizes.lastCharacter = db.ini.partyLast;

    std::error_code ec;
    if (fs::exists(dir / "opening.yaml", ec)) {
        if (auto file = r.load("opening.yaml"))
            game.opening = storyIn(r, *file, StoryKind::Opening, "opening.yaml", game.openingAfter);
    }
    if (fs::exists(dir / "ending.yaml", ec)) {
        if (auto file = r.load("ending.yaml"))
            game.ending = storyIn(r, *file, StoryKind::Ending, "ending.yaml", game.endingAfter);
    }

    if (fs::is_directory(dir / "maps", ec)) {
        std::vector<std::string> files;
        for (const auto& entry : fs::directory_iterator(dir / "maps", ec)) {
            if (entry.path().extension() == ".yaml")
                files.push_back("maps/" + entry.path().filename().string());
        }
        std::sort(files.begin(), files.end());
        std::map<int, std::string> seen;
        for (const std::string& file : files) {
            auto node = r.load(file);
            if (!node)
                continue;
            auto map = mapIn(r, *node, file);
            if (!map)
                continue;
            auto [number, source] = std::move(*map);
            if (seen.count(number)) {
                r.error(SourcePosition { file, -1, -1 }, file,
                    "map " + std::to_string(number) + " is also defined in " + seen[number]);
                continue;
            }
            seen[number] = file;
            r.locator().noteMapFile(number, file);
            game.maps[number] = std::move(source);
        }
    }
    game.slots = readSlotSources(r, db);
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
