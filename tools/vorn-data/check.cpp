// `vorn-data check`: lints a game folder, one line per problem. An error is something the game
// would end in a dialog over, or data that names what does not exist; a warning is something that
// only plays or shows less than meant (a missing sound plays nothing).
#include "commands.h"
#include "game_source.h"
#include "script_scan.h"

#include "data/database_files.h"
#include "data/record.h"
#include "data/saves.h"
#include "platform/encoding.h"
#include "platform/game_files.h"
#include "platform/picture.h"
#include "script/arguments.h"
#include "ui/text_cells.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <set>

namespace vorn::datatool {

namespace fs = std::filesystem;

namespace {

    const char* const kDatabaseFiles[] = { "vornINI.DAT", "vornMAX.DAT", "vornPLY.DAT", "vornLEV.DAT", "vornCTY.DAT",
        "vornITM.DAT", "vornARM.DAT", "vornEAP.DAT", "vornATS.DAT", "vornMGC.DAT", "vornene.DAT" };

    std::string show(float value) { return formatNumber(value); }

    // A literal whole number token ("12", "-3"); nothing for words, random values and flag values.
    bool literalNumber(const std::string& token, int& value)
    {
        if (token.empty() || token.size() > 9)
            return false;
        std::size_t i = token[0] == '-' || token[0] == '+' ? 1 : 0;
        if (i == token.size())
            return false;
        for (std::size_t k = i; k < token.size(); ++k) {
            if (token[k] < '0' || token[k] > '9')
                return false;
        }
        value = std::stoi(token);
        return true;
    }

    // A name the script gives literally (no random or flag substitution).
    bool literalName(const std::string& token)
    {
        return !token.empty() && token.find('@') == std::string::npos && token.find('?') == std::string::npos;
    }

    // The value of a two-digit hexadecimal code, or -1.
    int hexCode(const std::string& code)
    {
        if (code.size() != 2 || hexDigitValue(code[0]) < 0 || hexDigitValue(code[1]) < 0)
            return -1;
        return hexDigitValue(code[0]) * 16 + hexDigitValue(code[1]);
    }

    // Tile codes below 0x90 block the player.
    constexpr int firstWalkableTile = 0x90;

    // The offset of a command string's byte `offset` in its UTF-8 source text.
    std::size_t sourceOffset(const std::string& commands, std::size_t offset)
    {
        return cp932ToUtf8(commands.substr(0, std::min(offset, commands.size()))).size();
    }

    bool isEnemyCode(const std::string& code) { return code.rfind("EA", 0) == 0 || code.rfind("EO", 0) == 0; }

    // One map's files as far as they could be read.
    struct MapData {
        std::optional<MapFile> map;
        std::optional<std::vector<ScriptEvent>> events;
        std::optional<std::vector<ChangeBlock>> changes;
    };

    // A script file being checked: its events and which file they stand in.
    struct Script {
        DataFile file;
        int map; // the map number (the opening runs as map 0, the ending as map 1)
        const std::vector<ScriptEvent>* events;
        float maxSize; // room for enemies in a battle on this map
    };

    // One argument pair that names a flag (a, b), given literally.
    struct FlagUse {
        int a;
        int b;
        Place at;
        std::string how; // "FST", "a map change"
    };

    class Checker {
    public:
        // The data files (DAT, SAV) are read under `root`, the pictures, sounds, music and
        // FONT.BMP they name under `assets`.
        Checker(const fs::path& root, const fs::path& assets, Report& report)
            : m_root(root)
            , m_assets(assets)
            , m_report(report)
        {
        }

        void run();

    private:
        void error(const Place& at, const std::string& what) { m_report.error(at, what); }
        void warning(const Place& at, const std::string& what) { m_report.warning(at, what); }

        bool exists(const std::string& gamePath) const { return resolveGamePath(m_assets, gamePath).has_value(); }
        // A picture the game cannot go on without (the event error or file error dialog).
        void needPicture(const Place& at, const std::string& gamePath)
        {
            if (!exists(gamePath))
                error(at, cp932ToUtf8(gamePath) + " is missing");
        }
        // A file whose absence only leaves something undrawn or unheard; told once per record.
        void wantPicture(const Place& at, const std::string& gamePath, const std::string& effect)
        {
            std::string key = gamePath + "|" + dataFileName(at) + "|" + std::to_string(at.number) + "|"
                + std::to_string(at.record) + "|" + std::to_string(at.line);
            if (!exists(gamePath) && m_toldMissing.insert(key).second)
                warning(at, cp932ToUtf8(gamePath) + " is missing: " + effect);
        }
        void needSheet(const Place& at, const std::string& name);
        void needSound(const Place& at, const std::string& name)
        {
            if (!name.empty())
                wantPicture(at, "WAV\\" + name + ".WAV", "the sound plays nothing");
        }
        void needMusic(const Place& at, const std::string& name)
        {
            if (!name.empty())
                wantPicture(at, "MID\\" + name + ".MID", "no music plays");
        }
        bool mapHasFiles(int map) const { return m_data.count(map) > 0; }
        bool mapCanBeEntered(int map) const { return mapHasFiles(map) && m_data.at(map).map.has_value(); }
        void needMap(const Place& at, float map);
        int eventCount(int map) const
        {
            auto found = m_data.find(map);
            return found != m_data.end() && found->second.events ? static_cast<int>(found->second.events->size()) : 0;
        }

        void loadMaps();
        void checkDatabase();
        void checkCharacters();
        void checkReferences();
        void checkEngineFiles();
        void checkFlagIndex(const Place& at, float index);
        void checkFlagToken(const Place& at, const std::string& token);
        void checkBattle(const Place& at, const ScannedCommand&, float maxSize);
        void checkArgumentCount(const Place& at, const ScannedCommand& command);
        void checkTableNumber(const Place& at, const std::string& keyword, const ScannedArg& arg);
        void checkLineJump(const Place& at, const std::string& keyword, const std::string& token, int line,
            std::size_t lineCount);
        void checkLabel(const Place& at, const Script&, std::size_t event, const ScannedCommand&, const ScannedArg&);
        void checkLabelsOnce(const Script&);
        void checkLines(const Script&);
        void checkMessageWidths(const Script&, bool openAtStart);
        void checkMap(int number);
        void checkEvents(int number);
        void checkChanges(int number);
        void checkEncounters(int map, float maxSize);
        void checkFlagWrites();
        void checkSlot(int slot);
        void checkRows(int number, const MapFile& map);
        void noteFlagWrites(const Script&, std::size_t event, std::size_t line, const ScannedCommand&);

        fs::path m_root;
        fs::path m_assets;
        Report& m_report;
        Database m_db;
        std::map<int, MapData> m_data;
        std::vector<FlagUse> m_flagWrites;
        bool m_hasEnding = false;
        std::set<std::string> m_toldMissing;
    };

    void Checker::needSheet(const Place& at, const std::string& name)
    {
        std::string gamePath = "GRP\\" + name + ".BMP";
        auto path = resolveGamePath(m_assets, gamePath);
        if (!path) {
            error(at, cp932ToUtf8(gamePath) + " is missing");
            return;
        }
        BmpResult bmp = loadBmpFile(path->string());
        if (!bmp.ok())
            error(at, cp932ToUtf8(gamePath) + " cannot be read: " + bmp.error);
        else if (bmp.picture.width != 512 || bmp.picture.height != 512)
            error(at,
                cp932ToUtf8(gamePath) + " is " + std::to_string(bmp.picture.width) + " x "
                    + std::to_string(bmp.picture.height) + ", not 512 x 512");
    }

    void Checker::needMap(const Place& at, float map)
    {
        int n = roundIndex(map);
        if (n == 999)
            return;
        if (!mapHasFiles(n))
            error(at, "map " + show(map) + " has no files");
        else if (!mapCanBeEntered(n))
            error(at, "map " + show(map) + " has no map file");
    }

    void Checker::loadMaps()
    {
        const Corrections& c = m_db.corrections;
        for (int number : mapNumbersIn(m_root)) {
            MapData& data = m_data[number];
            auto read = [&](DataFile kind, const std::string& name, GameFileKind fileKind,
                            const std::function<void(const std::vector<std::uint8_t>&)>& use) {
                if (!resolveGamePath(m_root, name)) {
                    if (kind == DataFile::Map)
                        warning(Place::whole(kind, number),
                            "file not found: map " + std::to_string(number) + " has other files but cannot be entered");
                    else
                        error(Place::whole(kind, number),
                            "file not found (map " + std::to_string(number)
                                + " has other files; a map's source needs its events and changes parts: write "
                                  "changes: [] when there are none)");
                    return;
                }
                std::string why;
                auto bytes = readGameFile(m_root, name, fileKind, &why);
                if (!bytes) {
                    error(Place::whole(kind, number), why);
                    return;
                }
                try {
                    use(*bytes);
                } catch (const FileError& e) {
                    error(Place::whole(kind, number), e.what());
                }
            };
            read(DataFile::Map, mapFileName(number), GameFileKind::Map, [&](const std::vector<std::uint8_t>& bytes) {
                data.map = readMapFile(bytes, c, m_db.ini.dataVersion);
            });
            if (!data.map && resolveGamePath(m_root, mapFileName(number)) == std::nullopt)
                continue; // a map that cannot be entered: its other files are never read
            read(DataFile::Events, mapEventFileName(number), GameFileKind::Script,
                [&](const std::vector<std::uint8_t>& bytes) { data.events = readMapEvents(bytes, c); });
            read(DataFile::Changes, mapChangeFileName(number), GameFileKind::Map,
                [&](const std::vector<std::uint8_t>& bytes) { data.changes = readChangeFile(bytes, c); });
        }
    }

    // Every row holds `width` cells of two hexadecimal digits: a short row, a long one or another
    // character draws as tiles the author never chose.
    void Checker::checkRows(int number, const MapFile& map)
    {
        std::size_t length = 2 * static_cast<std::size_t>(std::max(roundIndex(map.width), 0));
        for (std::size_t r = 0; r < map.rows.size(); ++r) {
            const std::string& row = map.rows[r];
            Place at = Place::mapField(number, "rows", static_cast<int>(r));
            if (row.size() != length) {
                error(at,
                    std::to_string(row.size()) + " characters for a width of " + show(map.width) + " (two per cell)");
            }
            for (std::size_t i = 0; i < row.size(); i += 2) {
                if (hexCode(row.substr(i, 2)) < 0) {
                    Place cell = at;
                    cell.sub = static_cast<int>(i / 2);
                    error(cell, "tile code \"" + cp932ToUtf8(row.substr(i, 2)) + "\" is not two hexadecimal digits");
                    break;
                }
            }
        }
    }

    // A random battle draws enemies from the map's table until it has as many as it wants
    // (leader level + 2, capped at maxEnemySize) or their sizes make exactly 6, drawing again
    // whenever one does not fit: a table whose enemies can leave too little room for the next one
    // makes the battle draw for ever.
    void Checker::checkEncounters(int map, float maxSize)
    {
        if (map < 0 || map >= roundIndex(m_db.sizes.mapCount))
            return;
        const Encounter& table = m_db.encounters[static_cast<std::size_t>(map)];
        Place at = Place::entry(DataFile::Encounters, map, "enemies");
        std::vector<float> sizes;
        for (float entry : table.enemies) {
            int enemy = roundIndex(entry);
            if (enemy == 99)
                continue;
            if (enemy < 0 || enemy >= roundIndex(m_db.sizes.enemyCount))
                return; // reported with the table
            sizes.push_back(m_db.enemies[static_cast<std::size_t>(enemy)].size);
        }
        if (sizes.empty())
            return;
        int wanted = std::min(roundIndex(m_db.sizes.levelCount) + 2, roundIndex(maxSize));
        // Totals reachable after each draw; a total from which no enemy fits while more are
        // wanted (and the total is not exactly 6) never ends.
        std::set<float> totals { 0 };
        for (int drawn = 0; drawn < wanted; ++drawn) {
            std::set<float> next;
            for (float total : totals) {
                if (total == 6)
                    continue;
                bool fits = false;
                for (float size : sizes) {
                    if (total + size <= maxSize) {
                        fits = true;
                        next.insert(total + size);
                    }
                }
                if (!fits) {
                    error(at,
                        drawn == 0 ? "no enemy of the table fits maxEnemySize " + show(maxSize)
                                + ": a random battle here never starts"
                                   : "enemies of sizes adding up to " + show(total) + " leave no room under maxEnemySize "
                                + show(maxSize) + " for another one: a random battle here can draw for ever");
                    return;
                }
            }
            totals = std::move(next);
        }
    }

    void Checker::checkFlagIndex(const Place& at, float index)
    {
        if (!(index >= 0 && index <= 100))
            error(at, "flag index " + show(index) + " is outside 0 to 100");
    }

    // Flag references @a-b / @a-@c-d inside a token.
    void Checker::checkFlagToken(const Place& at, const std::string& token)
    {
        std::size_t mark = token.find('@');
        if (mark == std::string::npos)
            return;
        // Every number of the reference is a flag index.
        std::string rest = token.substr(mark + 1);
        std::size_t start = 0;
        while (start <= rest.size()) {
            std::size_t end = rest.find('-', start);
            std::string part = rest.substr(start, end == std::string::npos ? std::string::npos : end - start);
            if (!part.empty() && part[0] == '@')
                part.erase(0, 1);
            int value = 0;
            if (literalNumber(part, value))
                checkFlagIndex(at, static_cast<float>(value));
            if (end == std::string::npos)
                break;
            start = end + 1;
        }
    }

    void Checker::checkBattle(const Place& at, const ScannedCommand& command, float maxSize)
    {
        float total = 0;
        int enemyCount = roundIndex(m_db.sizes.enemyCount);
        std::string sizes;
        for (const ScannedArg& arg : command.args) {
            if (arg.use != ArgUse::Enemy)
                continue;
            int enemy = 0;
            if (!literalNumber(arg.token, enemy))
                return; // chosen at run time
            if (enemy < 0 || enemy >= enemyCount) {
                error(at, "battle enemy " + arg.token + " does not exist (enemies.yaml holds " + std::to_string(enemyCount) + ")");
                return;
            }
            float size = m_db.enemies[static_cast<std::size_t>(enemy)].size;
            total += size;
            sizes += (sizes.empty() ? "" : " + ") + show(size);
        }
        if (total > maxSize)
            error(at, "scripted battle enemy sizes " + sizes + " exceed maxEnemySize " + show(maxSize));
    }

    void Checker::checkArgumentCount(const Place& at, const ScannedCommand& command)
    {
        std::size_t given = 0;
        for (const ScannedArg& arg : command.args)
            given += arg.missing ? 0 : 1;
        if (given < command.args.size())
            error(at,
                command.keyword + " takes " + std::to_string(command.args.size())
                    + " arguments here; the command string ends after " + std::to_string(given)
                    + " (see `vorn-data help " + command.keyword + "`)");
    }

    void Checker::checkTableNumber(const Place& at, const std::string& keyword, const ScannedArg& arg)
    {
        int value = 0;
        if (arg.missing || !literalNumber(arg.token, value))
            return;
        const TableSizes& sizes = m_db.sizes;
        switch (arg.use) {
        case ArgUse::Character:
            // 99 selects the whole party, except where one character joins or is renamed.
            if (value == 99 && keyword != "GET" && keyword != "NCG")
                return;
            if (value < 0 || value > roundIndex(sizes.lastCharacterSaved))
                error(at, keyword + ": character " + arg.token + " is not in the roster");
            return;
        case ArgUse::Item:
            if (value < 0 || value >= roundIndex(sizes.itemCount))
                error(at, keyword + ": item " + arg.token + " does not exist");
            return;
        case ArgUse::Spell:
            if (value < 0 || value >= roundIndex(sizes.spellCount))
                error(at, keyword + ": spell " + arg.token + " does not exist");
            return;
        default:
            return;
        }
    }

    void Checker::checkLineJump(
        const Place& at, const std::string& keyword, const std::string& token, int line, std::size_t lineCount)
    {
        int offset = 0;
        if (!literalNumber(token, offset) || offset == 0)
            return;
        int target = line + offset;
        std::string jump = keyword + " jumps " + token + " lines to line " + std::to_string(target);
        if (target < 0)
            error(at, jump + ", before the event's first line");
        else if (static_cast<std::size_t>(target) >= lineCount)
            warning(at, jump + ", after the event's last line (an empty line ends the run)");
    }

    // The names LBL and ELB give in an event, in line order.
    std::vector<std::pair<std::string, std::size_t>> labelsOf(const ScriptEvent& event)
    {
        std::vector<std::pair<std::string, std::size_t>> labels;
        for (std::size_t l = 0; l < event.lines.size(); ++l) {
            for (const ScannedCommand& command : scanCommands(event.lines[l].commands)) {
                if ((command.keyword == "LBL" || command.keyword == "ELB") && !command.args.empty()
                    && !command.args[0].missing)
                    labels.emplace_back(command.args[0].token, l);
            }
        }
        return labels;
    }

    void Checker::checkLabel(
        const Place& at, const Script& script, std::size_t e, const ScannedCommand& command, const ScannedArg& arg)
    {
        const auto& events = *script.events;
        bool lineTarget = arg.use == ArgUse::LineTarget;
        std::string name = arg.token.substr(1);
        std::size_t first = lineTarget ? e : 0, last = lineTarget ? e + 1 : events.size();
        bool standsLast = false;
        std::vector<std::size_t> holders;
        for (std::size_t se = first; se < last; ++se) {
            for (const ScriptLine& line : events[se].lines) {
                bool atEnd = false;
                if (holdsLabel(line.commands, name, &atEnd)) {
                    holders.push_back(se);
                    break;
                }
                standsLast = standsLast || atEnd;
            }
        }
        std::string label = "label \"" + cp932ToUtf8(name) + "\" of " + command.keyword;
        if (holders.empty()) {
            std::vector<std::string> known;
            for (std::size_t se = first; se < last; ++se) {
                for (const auto& [labelName, line] : labelsOf(events[se]))
                    known.push_back(cp932ToUtf8(labelName));
            }
            if (standsLast)
                error(at, label + " stands last in its command string and is never found (end it with a comma: \"LBL," + cp932ToUtf8(name) + ",\")");
            else
                error(at, label + " is not found" + didYouMean(cp932ToUtf8(name), known));
        } else if (!lineTarget && holders.size() > 1) {
            warning(at,
                label + " is found in event " + std::to_string(holders[0]) + " first; event "
                    + std::to_string(holders[1]) + " holds it too and is never reached by it");
        }
    }

    // A label given twice in one event: every jump to it finds the first.
    void Checker::checkLabelsOnce(const Script& script)
    {
        const auto& events = *script.events;
        for (std::size_t e = 0; e < events.size(); ++e) {
            std::map<std::string, std::size_t> seen;
            for (const auto& [name, line] : labelsOf(events[e])) {
                auto [it, fresh] = seen.emplace(name, line);
                if (!fresh)
                    error(Place::scriptLine(script.file, script.map, static_cast<int>(e), static_cast<int>(line)),
                        "label \"" + cp932ToUtf8(name) + "\" is also given on line " + std::to_string(it->second)
                            + " of this event: jumps to it always find that line");
            }
        }
    }

    void Checker::noteFlagWrites(const Script& script, std::size_t e, std::size_t l, const ScannedCommand& command)
    {
        if (command.keyword == "CKF")
            return; // it reads the flag
        const ScannedArg* a = nullptr;
        for (const ScannedArg& arg : command.args) {
            if (arg.use != ArgUse::FlagIndex)
                continue;
            if (!a) {
                a = &arg;
                continue;
            }
            int first = 0, second = 0;
            if (literalNumber(a->token, first) && literalNumber(arg.token, second)) {
                Place at = Place::scriptLine(script.file, script.map, static_cast<int>(e), static_cast<int>(l),
                    sourceOffset((*script.events)[e].lines[l].commands, a->offset));
                // GMN stores a line index: into the event's own entry line it is the way to
                // remember the current line.
                bool ownEntryLine = command.keyword == "GMN" && script.file == DataFile::Events && first == script.map
                    && second == static_cast<int>(e);
                if (!ownEntryLine)
                    m_flagWrites.push_back({ first, second, at, command.keyword });
            }
            a = nullptr;
        }
        // FLG and FGE move the entry line of the event itself.
        if ((command.keyword == "FLG" || command.keyword == "FGE") && script.file == DataFile::Events && script.map == 1
            && e == 0 && m_hasEnding)
            warning(Place::scriptLine(script.file, script.map, 0, static_cast<int>(l),
                        sourceOffset((*script.events)[e].lines[l].commands, command.offset)),
                command.keyword
                    + " moves the entry line of map 1's event 0, which is also where the ending starts (the "
                      "ending runs as map 1's event 0): after this the ending starts from the moved line");
    }

    void Checker::checkLines(const Script& script)
    {
        const auto& events = *script.events;
        std::vector<std::string> keywords;
        for (const ScriptCommand& command : scriptCommands)
            keywords.emplace_back(command.keyword);
        for (std::size_t e = 0; e < events.size(); ++e) {
            const auto& lines = events[e].lines;
            for (std::size_t l = 0; l < lines.size(); ++l) {
                const std::string& commands = lines[l].commands;
                auto placeOf = [&](std::size_t offset) {
                    return Place::scriptLine(script.file, script.map, static_cast<int>(e), static_cast<int>(l),
                        sourceOffset(commands, offset));
                };
                for (const ScannedCommand& command : scanCommands(commands)) {
                    Place at = placeOf(command.offset);
                    if (!command.known) {
                        std::string keyword = cp932ToUtf8(command.keyword);
                        error(at, "unknown keyword \"" + keyword + "\"" + didYouMean(keyword, keywords));
                        continue;
                    }
                    checkArgumentCount(at, command);
                    noteFlagWrites(script, e, l, command);
                    for (const ScannedArg& arg : command.args) {
                        Place argAt = arg.missing ? at : placeOf(arg.offset);
                        checkFlagToken(argAt, arg.token);
                        checkTableNumber(argAt, command.keyword, arg);
                        if (arg.use == ArgUse::LineTarget)
                            checkLineJump(argAt, command.keyword, arg.token, static_cast<int>(l), lines.size());
                        int value = 0;
                        if (arg.use == ArgUse::FlagIndex && literalNumber(arg.token, value))
                            checkFlagIndex(argAt, static_cast<float>(value));
                        if ((arg.use == ArgUse::LineTarget || arg.use == ArgUse::EventTarget) && arg.token.size() > 1
                            && arg.token[0] == '*')
                            checkLabel(argAt, script, e, command, arg);
                        if (!literalName(arg.token))
                            continue;
                        if (arg.use == ArgUse::Picture)
                            needPicture(argAt, "GRP\\" + arg.token + ".bmp");
                        else if (arg.use == ArgUse::Mask)
                            wantPicture(argAt, "GRP\\" + arg.token + "m.bmp", "the picture is drawn without its mask");
                        else if (arg.use == ArgUse::Sound)
                            needSound(argAt, arg.token);
                        else if (arg.use == ArgUse::Music)
                            needMusic(argAt, arg.token);
                        if (arg.use == ArgUse::Mask)
                            needPicture(argAt, "GRP\\" + arg.token + ".bmp");
                    }
                    int a = 0, b = 0;
                    if (command.keyword == "KAO" && command.args.size() >= 2 && literalNumber(command.args[0].token, a)
                        && literalNumber(command.args[1].token, b))
                        needPicture(at, "GRP\\KAO" + std::to_string(a) + "_" + std::to_string(b) + ".bmp");
                    if (command.keyword == "MAP" && !command.args.empty() && literalNumber(command.args[0].token, a))
                        needMap(at, static_cast<float>(a));
                    if (command.keyword == "BTL" || command.keyword == "BTE")
                        checkBattle(at, command, script.maxSize);
                }
            }
        }
        checkLabelsOnce(script);
    }

    // The window the message lines of an event print in, followed through the window commands
    // of its lines in file order (jumps are not followed). Sizes are the game's window
    // parameters: the text of a line holds floor(w x 16 / font size - 1) cells.
    struct MessageWindowModel {
        float tableW = 31, tableH = 7; // the message window table (SMW)
        float w = 0, h = 0; // WinW, WinH
        float fontSize = 16;
        bool open = false;
        bool known = false; // false once a command set the window from values the scan cannot see

        void redraw()
        {
            w = tableW;
            h = tableH - 1; // DrawWindow takes one off the height
            open = true;
            known = true;
        }
        std::size_t capacity() const
        {
            return static_cast<std::size_t>(std::max(1.0f, std::floor(w * 16 / std::max(1.0f, fontSize) - 1)));
        }
        // Follows one command of the line.
        void follow(const ScannedCommand& command)
        {
            const std::string& k = command.keyword;
            std::vector<float> n;
            bool literal = true;
            for (const ScannedArg& arg : command.args) {
                int value = 0;
                literal = literal && literalNumber(arg.token, value);
                n.push_back(static_cast<float>(value));
            }
            if (k == "MWO") {
                redraw();
            } else if (k == "SMW" && n.size() == 4) {
                if (literal) {
                    tableW = n[2];
                    tableH = n[3];
                } else {
                    known = false;
                }
            } else if ((k == "WIN" && n.size() == 4) || (k == "POS" && n.size() == 6)) {
                w = n[2];
                h = k == "WIN" ? n[3] - 1 : n[3];
                open = true;
                known = literal;
            } else if (k == "FSZ" && n.size() == 1) {
                fontSize = n[0];
                known = known && literal;
            } else if (k == "KAO" && n.size() == 3) {
                int mode = static_cast<int>(n[2]);
                if (!open || mode == 0)
                    redraw();
                if (mode == 0) {
                    w -= h;
                    known = known && literal;
                }
            } else if (k == "QST" && !n.empty() && command.args.back().token == "1") {
                redraw();
            }
        }
    };

    // A message line longer than its window wraps, and with a face picture narrowing the window
    // the closing bracket of a line can end up alone on the next row or page.
    void Checker::checkMessageWidths(const Script& script, bool openAtStart)
    {
        auto nameOf = [this](int number) {
            return number >= 0 && number < capacity::characters ? m_db.characters[static_cast<std::size_t>(number)].name
                                                                : std::string();
        };
        const auto& events = *script.events;
        for (std::size_t e = 0; e < events.size(); ++e) {
            MessageWindowModel window;
            window.open = openAtStart;
            const auto& lines = events[e].lines;
            for (std::size_t l = 0; l < lines.size(); ++l) {
                const std::string& message = lines[l].message;
                if (!message.empty()) {
                    if (!window.open)
                        window.redraw();
                    std::size_t cells = splitCells(substituteNames(message, nameOf)).size();
                    if (window.known && cells > window.capacity()) {
                        Place at = Place::scriptLine(script.file, script.map, static_cast<int>(e), static_cast<int>(l));
                        at.field = "message";
                        warning(at,
                            "the message is " + std::to_string(cells) + " cells long; its window holds "
                                + std::to_string(window.capacity()) + " a line");
                    }
                }
                for (const ScannedCommand& command : scanCommands(lines[l].commands))
                    window.follow(command);
            }
        }
    }

    void Checker::checkDatabase()
    {
        const Database& db = m_db;
        int roster = roundIndex(db.sizes.lastCharacterSaved);
        for (int i = 0; i <= roster; ++i) {
            const auto& row = db.targets.threshold[static_cast<std::size_t>(i)];
            for (int j = 1; j <= i; ++j) {
                if (row[j] <= row[j - 1]) {
                    error(Place::entry(DataFile::Targets, i, "", j),
                        "threshold " + show(row[j]) + " at position " + std::to_string(j) + " does not rise above "
                            + show(row[j - 1]));
                }
            }
            if (row[static_cast<std::size_t>(i)] < 100)
                error(Place::entry(DataFile::Targets, i, "", i),
                    "the last member's threshold " + show(row[static_cast<std::size_t>(i)]) + " does not reach 100");
        }
        for (int n = 0; n < roundIndex(db.sizes.enemyCount); ++n) {
            const Enemy& e = db.enemies[static_cast<std::size_t>(n)];
            bool hasSpell = std::any_of(e.actions.begin(), e.actions.end(), [](float a) { return a != 99; });
            if (e.specialRate != 0 && !hasSpell)
                error(Place::entry(DataFile::Enemies, n, "specialRate"), "special rate " + show(e.specialRate) + " with no spell");
            if (!e.graphic.empty()) {
                Place at = Place::entry(DataFile::Enemies, n, "graphic");
                wantPicture(at, "GRP\\" + e.graphic + ".bmp", "the enemy is not drawn");
                wantPicture(at, "GRP\\" + e.graphic + "m.bmp", "the enemy is drawn without its mask");
            }
        }
        for (int i = 0; i < roundIndex(db.sizes.townCount); ++i) {
            const std::string& back = db.towns[static_cast<std::size_t>(i)].battleBack;
            if (!back.empty())
                wantPicture(Place::entry(DataFile::Towns, i, "battleBack"), "GRP\\" + back + ".bmp",
                    "battles here have a black background");
        }
        for (int i = 0; i < roundIndex(db.sizes.itemCount); ++i)
            needSound(Place::entry(DataFile::Items, i, "useSound"), db.items[static_cast<std::size_t>(i)].useSound);
        for (int i = 0; i < roundIndex(db.sizes.equipmentCount); ++i)
            needSound(Place::entry(DataFile::Equipment, i, "attackSound"), db.equipment[static_cast<std::size_t>(i)].attackSound);
        for (int s = 0; s < roundIndex(db.sizes.spellCount); ++s) {
            const Spell& spell = db.spells[static_cast<std::size_t>(s)];
            needSound(Place::entry(DataFile::Spells, s, "sound"), spell.sound);
            for (int c = 0; c <= roster; ++c)
                needSound(Place::entry(DataFile::Spells, s, "castSounds", c), spell.castSound[static_cast<std::size_t>(c)]);
        }
        needMap(Place::setting("startMap"), db.ini.startMap);
        int partyLast = roundIndex(db.ini.partyLast);
        if (partyLast < 0 || partyLast > roster)
            error(Place::setting("partyLast"),
                "partyLast " + show(db.ini.partyLast) + " is outside the roster (characters 0 to " + std::to_string(roster) + ")");
    }

    // Whether an effect code names a target class the game knows.
    bool knownEffectClass(const std::string& code)
    {
        static const char* const classes[] = { "PA", "PO", "EA", "EO", "WP", "RA" };
        return std::any_of(std::begin(classes), std::end(classes), [&](const char* c) { return code.rfind(c, 0) == 0; });
    }

    // Table numbers inside the tables: what one record names must exist.
    void Checker::checkReferences()
    {
        const Database& db = m_db;
        const int items = roundIndex(db.sizes.itemCount), equipment = roundIndex(db.sizes.equipmentCount),
                  spells = roundIndex(db.sizes.spellCount), enemies = roundIndex(db.sizes.enemyCount),
                  attributes = roundIndex(db.sizes.attributeLast) + 1, maps = roundIndex(db.sizes.mapCount),
                  towns = roundIndex(db.sizes.townCount);
        auto counted = [](int n, const std::string& note) {
            return " (its table holds " + std::to_string(n) + (note.empty() ? "" : "; " + note) + ")";
        };
        // Attributes exist only from data version 211 on; older games have none to name.
        auto checkAttribute = [&](DataFile file, int record, float value) {
            if (db.ini.dataVersion > 210 && value != 0 && (value < 0 || roundIndex(value) >= attributes))
                warning(Place::entry(file, record, "attribute"),
                    "attribute " + show(value) + " is not in attributes.yaml" + counted(attributes, "")
                        + ": it resists nothing");
        };
        for (int i = 0; i < items; ++i) {
            const Item& item = db.items[static_cast<std::size_t>(i)];
            if (item.equipment != 0 && (item.equipment < 0 || roundIndex(item.equipment) > equipment))
                error(Place::entry(DataFile::Items, i, "equipment"),
                    "equipment " + show(item.equipment) + " names equipment record " + show(item.equipment - 1)
                        + ", which does not exist" + counted(equipment, "the value is the record number + 1"));
            const std::string& code = item.text[5];
            if (!code.empty() && code != "--" && item.equipment == 0 && !knownEffectClass(code))
                warning(Place::entry(DataFile::Items, i, "effect"),
                    "effect \"" + cp932ToUtf8(code) + "\" does not begin with PA, PO, EA, EO, WP or RA: using it says "
                                                      "\"は使えません\"");
            checkAttribute(DataFile::Items, i, item.attribute);
            if (isEnemyCode(code) && !item.graphic.empty())
                wantPicture(Place::entry(DataFile::Items, i, "graphic"), "GRP\\" + item.graphic + "_0.bmp",
                    "no effect frames are shown when it is used on enemies");
        }
        for (int e = 0; e < equipment; ++e) {
            const Equipment& eq = db.equipment[static_cast<std::size_t>(e)];
            if (eq.slot < 0 || eq.slot > 5 || eq.slot != std::floor(eq.slot))
                error(Place::entry(DataFile::Equipment, e, "slot"), "slot " + show(eq.slot) + " is not one of 0 to 5");
        }
        for (int s = 0; s < spells; ++s) {
            const Spell& spell = db.spells[static_cast<std::size_t>(s)];
            if (!knownEffectClass(spell.code))
                warning(Place::entry(DataFile::Spells, s, "code"),
                    "code \"" + cp932ToUtf8(spell.code) + "\" does not begin with PA, PO, EA, EO, WP or RA: casting it says "
                                                          "\"は使えません\"");
            checkAttribute(DataFile::Spells, s, spell.attribute);
            if (isEnemyCode(spell.code) && !spell.graphic.empty())
                wantPicture(Place::entry(DataFile::Spells, s, "graphic"), "GRP\\" + spell.graphic + "_0.bmp",
                    "the spell shows no effect frames");
        }
        for (int n = 0; n < enemies; ++n) {
            const Enemy& e = db.enemies[static_cast<std::size_t>(n)];
            for (std::size_t k = 0; k < e.actions.size(); ++k) {
                float a = e.actions[k];
                if (a != 99 && (a < 0 || roundIndex(a) >= spells))
                    error(Place::entry(DataFile::Enemies, n, "actions", static_cast<int>(k)),
                        "spell " + show(a) + " does not exist" + counted(spells, "99 is an empty entry"));
            }
            for (std::size_t k = 0; k < e.drops.size(); ++k) {
                float d = e.drops[k];
                if (d != 0 && (d < 0 || roundIndex(d) > items))
                    error(Place::entry(DataFile::Enemies, n, "drops", static_cast<int>(k)),
                        "drop " + show(d) + " names item " + show(d - 1) + ", which does not exist"
                            + counted(items, "a drop is the item number + 1, 0 = none"));
            }
            checkAttribute(DataFile::Enemies, n, e.attribute);
        }
        for (int l = 0; l < roundIndex(db.sizes.levelCount); ++l) {
            for (int c = 0; c <= roundIndex(db.sizes.lastCharacterSaved); ++c) {
                float learnt = db.levels[static_cast<std::size_t>(l)][static_cast<std::size_t>(c)].spell;
                if (learnt != 0 && (learnt < 0 || roundIndex(learnt) > spells)) {
                    Place at = Place::entry(DataFile::Levels, l, "spell");
                    at.sub = c;
                    error(at, "spell " + show(learnt) + " names spell " + show(learnt - 1) + ", which does not exist" + counted(spells, "the value is the spell number + 1, 0 = none"));
                }
            }
        }
        for (int m = 0; m < maps; ++m) {
            const Encounter& table = db.encounters[static_cast<std::size_t>(m)];
            for (std::size_t k = 0; k < table.enemies.size(); ++k) {
                float enemy = table.enemies[k];
                if (enemy != 99 && (enemy < 0 || roundIndex(enemy) >= enemies))
                    error(Place::entry(DataFile::Encounters, m, "enemies", static_cast<int>(k)),
                        "enemy " + show(enemy) + " does not exist" + counted(enemies, "99 is an empty slot"));
            }
        }
        for (int t = 0; t < towns; ++t)
            needMap(Place::entry(DataFile::Towns, t, "returnMap"), db.towns[static_cast<std::size_t>(t)].returnMap);
        // Every map needs its encounter table (the table's length is the map count: a map beyond
        // it draws random battles from a table of enemy 0, and its flags are not saved) and its
        // town entry (a visit beyond the town table is listed by the town warp, which then leads
        // to map 0).
        for (const auto& [number, data] : m_data) {
            if (!data.map)
                continue;
            Place at = Place::mapField(number, "");
            std::string beyond = "map " + std::to_string(number) + " has no entry in ";
            if (number >= maps && data.map->encounterRate > 0)
                error(at, beyond + "encounters.yaml (maps 0 to " + std::to_string(maps - 1) + "): its random battles would all be against enemy 0");
            else if (number >= maps)
                warning(at, beyond + "encounters.yaml (maps 0 to " + std::to_string(maps - 1) + "), whose length is the game's map count: saved games do not keep its flags, and so not "
                                                                                                "where its events start");
            if (number >= towns && number < 15)
                warning(at, beyond + "towns.yaml (maps 0 to " + std::to_string(towns - 1) + "): once visited, the town warp lists it and leads to map 0");
        }
    }

    // A character's own lists: the items, spells and equipment it starts with must exist.
    void Checker::checkCharacters()
    {
        const Database& db = m_db;
        const int items = roundIndex(db.sizes.itemCount), spells = roundIndex(db.sizes.spellCount);
        for (int c = 0; c <= roundIndex(db.sizes.lastCharacterSaved); ++c) {
            const Character& ch = db.characters[static_cast<std::size_t>(c)];
            if (ch.itemCount > db.sizes.inventorySlots)
                error(Place::entry(DataFile::Characters, c, "itemCount"),
                    "itemCount " + show(ch.itemCount) + " is above inventorySlots " + show(db.sizes.inventorySlots));
            if (ch.spellCount > db.sizes.spellSlots)
                error(Place::entry(DataFile::Characters, c, "spellCount"),
                    "spellCount " + show(ch.spellCount) + " is above spellSlots " + show(db.sizes.spellSlots));
            for (int k = 0; k < std::min(roundIndex(ch.itemCount), static_cast<int>(ch.inventory.size())); ++k) {
                float item = ch.inventory[static_cast<std::size_t>(k)][InventoryItem];
                if (item < 0 || roundIndex(item) >= items)
                    error(Place::entry(DataFile::Characters, c, "inventory", k),
                        "item " + show(item) + " does not exist (its table holds " + std::to_string(items) + ")");
            }
            for (int k = 0; k < std::min(roundIndex(ch.spellCount), static_cast<int>(ch.spells.size())); ++k) {
                float spell = ch.spells[static_cast<std::size_t>(k)];
                if (spell < 0 || roundIndex(spell) >= spells)
                    error(Place::entry(DataFile::Characters, c, "spells", k),
                        "spell " + show(spell) + " does not exist (its table holds " + std::to_string(spells) + ")");
            }
            for (int slot = 0; slot < capacity::equipmentSlots; ++slot) {
                float worn = ch.equipment[static_cast<std::size_t>(slot)];
                if (worn == 0)
                    continue;
                Place at = Place::entry(DataFile::Characters, c, "equipment", slot);
                int item = roundIndex(worn) - 1;
                if (item < 0 || item >= items) {
                    error(at, "equipment " + show(worn) + " names item " + std::to_string(item) + ", which does not exist (a worn item is its item number + 1, 0 = none)");
                    continue;
                }
                const Item& it = db.items[static_cast<std::size_t>(item)];
                int record = roundIndex(it.equipment) - 1;
                if (record < 0 || record >= roundIndex(db.sizes.equipmentCount)
                    || roundIndex(db.equipment[static_cast<std::size_t>(record)].slot) != slot) {
                    error(at, "item " + std::to_string(item) + " (" + cp932ToUtf8(it.text[0]) + ") is not worn in slot " + std::to_string(slot));
                    continue;
                }
                bool held = false;
                for (int k = 0; k < std::min(roundIndex(ch.itemCount), static_cast<int>(ch.inventory.size())); ++k) {
                    const auto& entry = ch.inventory[static_cast<std::size_t>(k)];
                    held = held || (roundIndex(entry[InventoryItem]) == item && entry[InventoryEquipped] >= 2);
                }
                if (!held)
                    warning(at, "item " + std::to_string(item) + " is worn, but no inventory entry holds it worn [" + std::to_string(item) + ", 2, uses]: the equipment menu cannot take it off");
            }
        }
    }

    // The files the game itself names: the default battle music and sounds, and the attack and
    // spell frames. Missing, they play or show nothing.
    void Checker::checkEngineFiles()
    {
        const Database& db = m_db;
        Place game = Place::gameFile("");
        wantPicture(game, "WAV\\don.WAV", "walking into a wall makes no sound");
        if (roundIndex(db.sizes.enemyCount) == 0)
            return;
        for (const char* sound : { "btl", "dmg", "esc", "win", "ATC" })
            wantPicture(game, std::string("WAV\\") + sound + ".WAV", "the game's own battle sound plays nothing");
        wantPicture(game, "MID\\btl.MID", "the default battle music plays nothing (BTM sets another)");
        wantPicture(game, "GRP\\ATC_0.bmp", "a bare-handed attack shows no attack frames");
        for (int i = 0; i < roundIndex(db.sizes.itemCount); ++i) {
            const Item& item = db.items[static_cast<std::size_t>(i)];
            int record = roundIndex(item.equipment) - 1;
            if (record < 0 || record >= roundIndex(db.sizes.equipmentCount) || item.graphic.empty()
                || roundIndex(db.equipment[static_cast<std::size_t>(record)].slot) != 0)
                continue;
            wantPicture(Place::entry(DataFile::Items, i, "graphic"), "GRP\\" + item.graphic + "_0.bmp",
                "attacks with this weapon show no attack frames");
        }
    }

    // Events stand inside their map, have a picture on the sheet, and can be touched.
    void Checker::checkEvents(int number)
    {
        const MapData& data = m_data.at(number);
        if (!data.map || !data.events)
            return;
        const MapFile& map = *data.map;
        const auto& events = *data.events;
        int width = roundIndex(map.width), height = roundIndex(map.height);
        // Events another event starts (MES, ME2, GSB, GS2), events moved by the map changes, and
        // cells whose tiles a change or a script may alter: such events need no walkable cell now.
        std::set<int> runByScript, moved;
        bool tilesChange = false;
        for (std::size_t e = 0; e < events.size(); ++e) {
            for (const ScriptLine& line : events[e].lines) {
                for (const ScannedCommand& command : scanCommands(line.commands)) {
                    tilesChange = tilesChange || command.keyword == "PUT";
                    if (command.args.empty() || command.args[0].use != ArgUse::EventTarget)
                        continue;
                    const std::string& target = command.args[0].token;
                    int delta = 0;
                    if (target == "NEX")
                        runByScript.insert(static_cast<int>(e) + 1);
                    else if (literalNumber(target, delta))
                        runByScript.insert(static_cast<int>(e) + delta);
                    else if (target.size() > 1 && target[0] == '*') {
                        for (std::size_t se = 0; se < events.size(); ++se) {
                            auto holds = [&](const ScriptLine& l) { return holdsLabel(l.commands, target.substr(1)); };
                            if (std::any_of(events[se].lines.begin(), events[se].lines.end(), holds)) {
                                runByScript.insert(static_cast<int>(se));
                                break;
                            }
                        }
                    }
                }
            }
        }
        if (data.changes) {
            for (const ChangeBlock& block : *data.changes) {
                for (const ChangeAction& action : block.actions) {
                    tilesChange = tilesChange || action.kind == ChangeKind::SetTile;
                    if (action.kind == ChangeKind::MoveEvent)
                        moved.insert(roundIndex(tokenValue(action.eventNumber)));
                }
            }
        }
        if (roundIndex(m_db.ini.startMap) == number && m_db.ini.startEvent > 0)
            runByScript.insert(roundIndex(m_db.ini.startEvent) - 1);
        auto walkable = [&](int column, int row) {
            return column >= 0 && row >= 0 && column < width && row < height && tileAt(map, column, row) >= firstWalkableTile;
        };
        for (std::size_t e = 0; e < events.size(); ++e) {
            const ScriptEvent& event = events[e];
            int n = static_cast<int>(e);
            int x = roundIndex(event.x), y = roundIndex(event.y);
            std::string cell = "(" + show(event.x) + ", " + show(event.y) + ")";
            if (event.x != static_cast<float>(x) || event.y != static_cast<float>(y) || x < 0 || y < 0 || x >= width
                || y >= height) {
                error(Place::event(DataFile::Events, number, n, "x"),
                    "the event stands at " + cell + ", outside the map of " + std::to_string(width) + " x "
                        + std::to_string(height) + " cells (columns 0 to " + std::to_string(width - 1) + ", rows 0 to "
                        + std::to_string(height - 1) + ")");
                continue;
            }
            int code = hexCode(normalisePictureCode(event.picture));
            if (code < 0)
                warning(Place::event(DataFile::Events, number, n, "picture"),
                    "picture \"" + cp932ToUtf8(event.picture) + "\" is not a sprite code of two hexadecimal digits: nothing is drawn");
            else if (code % 2)
                warning(Place::event(DataFile::Events, number, n, "picture"),
                    "picture \"" + cp932ToUtf8(event.picture)
                        + "\" is odd: odd columns of the character sheet hold the masks of the even codes before them");
            if (event.lines.empty() || runByScript.count(n) || moved.count(n) || tilesChange)
                continue;
            if (!walkable(x - 1, y) && !walkable(x + 1, y) && !walkable(x, y - 1) && !walkable(x, y + 1))
                warning(Place::event(DataFile::Events, number, n, "x"),
                    "the event at " + cell + " has no walkable cell beside it (tiles below 90 block): the player "
                                             "can never touch it, and no event of the map runs it");
        }
    }

    void Checker::checkChanges(int number)
    {
        const MapData& data = m_data.at(number);
        if (!data.changes)
            return;
        int events = eventCount(number);
        for (std::size_t n = 0; n < data.changes->size(); ++n) {
            const ChangeBlock& block = (*data.changes)[n];
            Place at = Place::entry(DataFile::Changes, static_cast<int>(n));
            at.number = number;
            for (std::size_t i = 0; i < block.conditions.size(); ++i) {
                Place c = at;
                c.field = "if";
                c.index = static_cast<int>(i);
                checkFlagIndex(c, block.conditions[i].a);
                checkFlagIndex(c, block.conditions[i].b);
            }
            for (std::size_t k = 0; k < block.actions.size(); ++k) {
                const ChangeAction& action = block.actions[k];
                Place a = at;
                a.field = "then";
                a.index = static_cast<int>(k);
                if (action.kind == ChangeKind::SetFlag) {
                    checkFlagIndex(a, action.a);
                    checkFlagIndex(a, action.b);
                    if (action.a >= 0 && action.b >= 0)
                        m_flagWrites.push_back({ roundIndex(action.a), roundIndex(action.b), a, "a map change" });
                } else if (action.kind == ChangeKind::MoveEvent) {
                    int moved = roundIndex(tokenValue(action.eventNumber));
                    if (moved < 0 || moved >= events)
                        error(a, "moves event " + cp932ToUtf8(action.eventNumber) + ", which the map does not have");
                    if (data.map && (action.column < 0 || action.row < 0 || action.column >= data.map->width || action.row >= data.map->height))
                        error(a, "moves the event to (" + show(action.column) + ", " + show(action.row) + "), outside the map");
                } else if (action.kind == ChangeKind::RemoveEvent) {
                    if (action.event < 0 || roundIndex(action.event) >= events)
                        error(a, "removes event " + show(action.event) + ", which the map does not have");
                } else if (action.kind == ChangeKind::SetTile) {
                    if (hexCode(action.tile) < 0)
                        error(a, "tile code \"" + cp932ToUtf8(action.tile) + "\" is not two hexadecimal digits");
                    if (data.map && (action.column < 0 || action.row < 0 || action.column >= data.map->width || action.row >= data.map->height))
                        error(a, "changes the tile at (" + show(action.column) + ", " + show(action.row) + "), outside the map");
                }
            }
        }
    }

    void Checker::checkMap(int number)
    {
        const MapData& data = m_data.at(number);
        float maxSize = 6;
        if (data.map) {
            const MapFile& map = *data.map;
            checkRows(number, map);
            needSheet(Place::mapField(number, "tileSheet"), map.tileSheet);
            needSheet(Place::mapField(number, "charSheet"), map.charSheet);
            needMusic(Place::mapField(number, "bgm"), map.bgm);
            if (map.maxEnemySize > 6)
                error(Place::mapField(number, "maxEnemySize"), show(map.maxEnemySize) + " is above 6");
            maxSize = std::min(map.maxEnemySize, 6.0f);
            checkEncounters(number, maxSize);
            const std::pair<const char*, float> exits[] = { { "exitNorth", map.exitNorth }, { "exitWest", map.exitWest },
                { "exitEast", map.exitEast }, { "exitSouth", map.exitSouth } };
            for (const auto& [name, exit] : exits)
                needMap(Place::mapField(number, name), exit);
        }
        if (data.events) {
            const auto& events = *data.events;
            for (std::size_t e = 0; e < events.size(); ++e) {
                const ScriptEvent& event = events[e];
                Place at = Place::event(DataFile::Events, number, static_cast<int>(e));
                if (event.lines.empty())
                    warning(at, "the event has no lines");
                bool wanders = event.text != "1";
                if (wanders && event.speed != 0 && (event.speed < 0 || std::fmod(32.0f, event.speed) != 0)) {
                    at.field = "speed";
                    warning(at, "wanderer speed " + show(event.speed) + " does not divide 32");
                }
            }
            Script script { DataFile::Events, number, &events, maxSize };
            checkLines(script);
            checkMessageWidths(script, false);
            checkEvents(number);
        }
        checkChanges(number);
    }

    // Flags a script or a map change writes: the flag (map, event) is that event's entry line,
    // and flag rows from the map count on are not kept in saved games.
    void Checker::checkFlagWrites()
    {
        int maps = roundIndex(m_db.sizes.mapCount);
        for (const FlagUse& use : m_flagWrites) {
            std::string flag = "flag (" + std::to_string(use.a) + ", " + std::to_string(use.b) + ")";
            if (use.a == 1 && use.b == 0 && m_hasEnding)
                warning(use.at,
                    use.how + " writes " + flag + ", the entry line of map 1's event 0, where the ending starts (the "
                                                  "ending runs as map 1's event 0): the ending would start from that line");
            else if (use.b < eventCount(use.a))
                warning(use.at,
                    use.how + " writes " + flag + ", the entry line of map " + std::to_string(use.a) + "'s event "
                        + std::to_string(use.b) + ": that event will start from the line the value names. Keep "
                                                  "other values in flags no event uses (for map "
                        + std::to_string(use.a) + ", flags from "
                        + std::to_string(eventCount(use.a)) + " on)");
            if (use.a >= maps && use.a <= 100)
                warning(use.at,
                    use.how + " writes " + flag + ", but saved games keep flag rows 0 to " + std::to_string(maps - 1)
                        + " only (one per map of encounters.yaml): it is lost when a game is saved and loaded");
        }
    }

    // A saved game must read with the database's table sizes and stand on a map that exists,
    // with that map's size.
    void Checker::checkSlot(int slot)
    {
        std::string name = slotFileName(slot);
        auto path = resolveGamePath(m_root, name);
        if (!path)
            return;
        Place file = Place::whole(DataFile::Slot, slot);
        std::string why;
        auto bytes = readWholeFile(*path, gameFileLimit(GameFileKind::Save), &why);
        if (!bytes) {
            error(file, why);
            return;
        }
        try {
            if (RecordReader(*bytes).string() == emptySlotLabel)
                return;
        } catch (const ReadError& e) {
            error(file, std::string("label cannot be read: ") + e.what());
            return;
        }
        SlotShape shape = slotShapeOf(m_db);
        std::string sizes = std::to_string(shape.rosterLast + 1) + " characters, " + std::to_string(shape.mapCount)
            + " maps and " + std::to_string(shape.townCount) + " towns";
        SlotFile saved;
        bool trailing = false;
        try {
            saved = readSlotFile(std::move(*bytes), shape, &trailing);
        } catch (const FileError& e) {
            error(file, std::string(e.what()) + " (read with the database's " + sizes + ")");
            return;
        }
        auto field = [&](const char* key) {
            Place p = file;
            p.field = key;
            return p;
        };
        if (trailing)
            error(file, "holds more than the layout for the database's " + sizes);
        if (saved.partyLast < 0 || saved.partyLast > static_cast<float>(shape.rosterLast))
            error(field("partyLast"), show(saved.partyLast) + " is outside the roster");
        int map = roundIndex(saved.map);
        if (!mapHasFiles(map)) {
            error(field("map"), "map " + show(saved.map) + " has no files");
            return;
        }
        const MapData& data = m_data.at(map);
        if (data.map && (data.map->width != saved.mapWidth || data.map->height != saved.mapHeight))
            error(field("mapWidth"),
                show(saved.mapWidth) + " x " + show(saved.mapHeight) + " differs from map " + show(saved.map) + ", "
                    + show(data.map->width) + " x " + show(data.map->height));
    }

    void Checker::run()
    {
        std::error_code ec;
        Place folder = Place::gameFile(m_root.string());
        if (!fs::is_directory(m_root, ec)) {
            error(folder, "no such folder");
            return;
        }
        if (!resolveGamePath(m_root, "DAT")) {
            error(folder, "no DAT folder; this is not a game folder (make one with `vorn-data new` and `vorn-data build`)");
            return;
        }
        bool databasePresent = true;
        for (const char* name : kDatabaseFiles) {
            std::string path = std::string("DAT\\") + name;
            if (!resolveGamePath(m_root, path)) {
                error(Place::gameFile(path), "file not found");
                databasePresent = false;
            }
        }
        if (!exists("FONT.BMP"))
            error(Place::gameFile("FONT.BMP"), "file not found; the game cannot start without its window and font art");
        if (!databasePresent)
            return;
        try {
            readIniFirst(m_db, m_root);
            loadDatabase(m_db, m_root);
        } catch (const FileError& e) {
            error(Place::gameFile(""), e.what());
            return;
        }
        m_hasEnding = resolveGamePath(m_root, storyFileName(StoryKind::Ending)).has_value();
        loadMaps();
        checkDatabase();
        checkReferences();
        checkCharacters();
        checkEngineFiles();
        for (StoryKind kind : { StoryKind::Opening, StoryKind::Ending }) {
            std::string name = storyFileName(kind);
            DataFile file = kind == StoryKind::Opening ? DataFile::Opening : DataFile::Ending;
            std::string why;
            auto bytes = readGameFile(m_root, name, GameFileKind::Script, &why);
            if (!bytes) {
                error(Place::whole(file), why);
                continue;
            }
            try {
                StoryScript script = readStoryScript(*bytes, kind);
                std::vector<ScriptEvent> events(1);
                events[0].lines = std::move(script.lines);
                Script story { file, kind == StoryKind::Opening ? 0 : 1, &events, 6 };
                checkLines(story);
                checkMessageWidths(story, true);
            } catch (const FileError& e) {
                error(Place::whole(file), e.what());
            }
        }
        for (const auto& entry : m_data)
            checkMap(entry.first);
        checkFlagWrites();
        for (int slot = 1; slot <= 9; ++slot)
            checkSlot(slot);
    }

} // namespace

int checkCommand(const fs::path& gameDir, std::ostream& out)
{
    Report report;
    int errors = checkGame(gameDir, gameDir, report);
    report.print(out);
    return errors ? 1 : 0;
}

int checkGame(const fs::path& dataDir, const fs::path& assetDir, Report& report)
{
    int before = report.errors();
    Checker checker(dataDir, assetDir, report);
    checker.run();
    return report.errors() - before;
}

} // namespace vorn::datatool
