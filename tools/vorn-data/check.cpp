// `vorn-data check`: lints a game folder, one line per problem.
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

    class Checker {
    public:
        // The data files (DAT, SAV) are read under `root`, the pictures, sounds, music and
        // FONT.BMP they name under `assets`.
        Checker(const fs::path& root, const fs::path& assets, std::ostream& out)
            : m_root(root)
            , m_assets(assets)
            , m_out(out)
        {
        }

        int run();
        int errors() const { return m_errors; }

    private:
        // Each distinct line is printed once.
        void print(const std::string& line)
        {
            if (m_printed.insert(line).second)
                m_out << line << "\n";
        }
        void error(const std::string& file, const std::string& where, const std::string& what)
        {
            ++m_errors;
            print("error: " + file + (where.empty() ? "" : ": " + where) + ": " + what);
        }
        void warning(const std::string& file, const std::string& where, const std::string& what)
        {
            print("warning: " + file + (where.empty() ? "" : ": " + where) + ": " + what);
        }
        void fileError(const FileError& e)
        {
            ++m_errors;
            print(std::string("error: ") + e.what());
        }

        bool exists(const std::string& gamePath) const { return resolveGamePath(m_assets, gamePath).has_value(); }
        void needFile(const std::string& file, const std::string& where, const std::string& gamePath)
        {
            if (!exists(gamePath))
                error(file, where, cp932ToUtf8(gamePath) + " is missing");
        }
        void needSheet(const std::string& file, const std::string& where, const std::string& name);
        void needSound(const std::string& file, const std::string& where, const std::string& name)
        {
            if (!name.empty())
                needFile(file, where, "WAV\\" + name + ".WAV");
        }
        void needMusic(const std::string& file, const std::string& where, const std::string& name)
        {
            if (!name.empty())
                needFile(file, where, "MID\\" + name + ".MID");
        }
        bool mapHasFiles(int map) const { return std::binary_search(m_maps.begin(), m_maps.end(), map); }
        void needMap(const std::string& file, const std::string& where, float map);

        void checkDatabase();
        void checkFlagIndex(const std::string& file, const std::string& where, float index);
        void checkFlagToken(const std::string& file, const std::string& where, const std::string& token);
        void checkBattle(const std::string& file, const std::string& where, const ScannedCommand&, float maxSize);
        void checkArgumentCount(const std::string& file, const std::string& where, const ScannedCommand& command);
        void checkTableNumber(
            const std::string& file, const std::string& where, const std::string& keyword, const ScannedArg& arg);
        void checkLineJump(const std::string& file, const std::string& where, const std::string& keyword,
            const std::string& token, int line, std::size_t lineCount);
        void checkLines(const std::string& file, const std::vector<ScriptEvent>& events, float maxSize);
        void checkMessageWidths(const std::string& file, const std::vector<ScriptEvent>& events, bool openAtStart);
        void checkMap(int number);
        void checkEncounters(int map, float maxSize);
        void checkSlot(int slot);

        void checkRows(const std::string& file, const MapFile& map);

        fs::path m_root;
        fs::path m_assets;
        std::ostream& m_out;
        int m_errors = 0;
        Database m_db;
        std::vector<int> m_maps;
        std::set<std::string> m_printed;
    };

    void Checker::needSheet(const std::string& file, const std::string& where, const std::string& name)
    {
        std::string gamePath = "GRP\\" + name + ".BMP";
        auto path = resolveGamePath(m_assets, gamePath);
        if (!path) {
            error(file, where, cp932ToUtf8(gamePath) + " is missing");
            return;
        }
        BmpResult bmp = loadBmpFile(path->string());
        if (!bmp.ok())
            error(file, where, cp932ToUtf8(gamePath) + " cannot be read: " + bmp.error);
        else if (bmp.picture.width != 512 || bmp.picture.height != 512)
            error(file, where,
                cp932ToUtf8(gamePath) + " is " + std::to_string(bmp.picture.width) + " x "
                    + std::to_string(bmp.picture.height) + ", not 512 x 512");
    }

    void Checker::needMap(const std::string& file, const std::string& where, float map)
    {
        int n = roundIndex(map);
        if (n == 999)
            return;
        if (!mapHasFiles(n))
            error(file, where, "map " + show(map) + " has no files");
        else if (n < 0 || n > 999 || !resolveGamePath(m_root, mapFileName(n)))
            error(file, where, "map " + show(map) + " has no map file");
    }

    // Every row holds `width` cells of two hexadecimal digits: a short row, a long one or another
    // character draws as tiles the author never chose.
    void Checker::checkRows(const std::string& file, const MapFile& map)
    {
        std::size_t length = 2 * static_cast<std::size_t>(std::max(roundIndex(map.width), 0));
        for (std::size_t r = 0; r < map.rows.size(); ++r) {
            const std::string& row = map.rows[r];
            std::string where = "row " + std::to_string(r);
            if (row.size() != length) {
                error(file, where,
                    std::to_string(row.size()) + " characters for a width of " + show(map.width) + " (two per cell)");
            }
            for (std::size_t i = 0; i < row.size(); i += 2) {
                std::string code = row.substr(i, 2);
                if (code.size() != 2 || hexDigitValue(code[0]) < 0 || hexDigitValue(code[1]) < 0) {
                    error(file, where + " column " + std::to_string(i / 2),
                        "tile code \"" + cp932ToUtf8(code) + "\" is not two hexadecimal digits");
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
        const std::string file = "DAT\\vornEAP.DAT", where = "map " + std::to_string(map);
        std::vector<float> sizes;
        for (float entry : table.enemies) {
            int enemy = roundIndex(entry);
            if (enemy == 99)
                continue;
            if (enemy < 0 || enemy >= roundIndex(m_db.sizes.enemyCount)) {
                error(file, where, "enemy " + show(entry) + " does not exist");
                return;
            }
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
                    error(file, where,
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

    void Checker::checkFlagIndex(const std::string& file, const std::string& where, float index)
    {
        if (!(index >= 0 && index <= 100))
            error(file, where, "flag index " + show(index) + " is outside 0 to 100");
    }

    // A flag index argument given literally, or flag references @a-b / @a-@c-d inside a token.
    void Checker::checkFlagToken(const std::string& file, const std::string& where, const std::string& token)
    {
        std::size_t at = token.find('@');
        if (at != std::string::npos) {
            // Every number of the reference is a flag index.
            std::string rest = token.substr(at + 1);
            std::size_t start = 0;
            while (start <= rest.size()) {
                std::size_t end = rest.find('-', start);
                std::string part = rest.substr(start, end == std::string::npos ? std::string::npos : end - start);
                if (!part.empty() && part[0] == '@')
                    part.erase(0, 1);
                int value = 0;
                if (literalNumber(part, value))
                    checkFlagIndex(file, where, static_cast<float>(value));
                if (end == std::string::npos)
                    break;
                start = end + 1;
            }
        }
    }

    void Checker::checkBattle(const std::string& file, const std::string& where, const ScannedCommand& command,
        float maxSize)
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
                error(file, where, "battle enemy " + arg.token + " does not exist");
                return;
            }
            float size = m_db.enemies[static_cast<std::size_t>(enemy)].size;
            total += size;
            sizes += (sizes.empty() ? "" : " + ") + show(size);
        }
        if (total > maxSize)
            error(file, where, "scripted battle enemy sizes " + sizes + " exceed maxEnemySize " + show(maxSize));
    }

    void Checker::checkArgumentCount(const std::string& file, const std::string& where, const ScannedCommand& command)
    {
        std::size_t given = 0;
        for (const ScannedArg& arg : command.args)
            given += arg.missing ? 0 : 1;
        if (given < command.args.size())
            error(file, where,
                command.keyword + " takes " + std::to_string(command.args.size()) + " arguments here; the command string ends after "
                    + std::to_string(given));
    }

    void Checker::checkTableNumber(
        const std::string& file, const std::string& where, const std::string& keyword, const ScannedArg& arg)
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
                error(file, where, keyword + ": character " + arg.token + " is not in the roster");
            return;
        case ArgUse::Item:
            if (value < 0 || value >= roundIndex(sizes.itemCount))
                error(file, where, keyword + ": item " + arg.token + " does not exist");
            return;
        case ArgUse::Spell:
            if (value < 0 || value >= roundIndex(sizes.spellCount))
                error(file, where, keyword + ": spell " + arg.token + " does not exist");
            return;
        default:
            return;
        }
    }

    void Checker::checkLineJump(const std::string& file, const std::string& where, const std::string& keyword,
        const std::string& token, int line, std::size_t lineCount)
    {
        int offset = 0;
        if (!literalNumber(token, offset) || offset == 0)
            return;
        int target = line + offset;
        std::string jump = keyword + " jumps " + token + " lines to line " + std::to_string(target);
        if (target < 0)
            error(file, where, jump + ", before the event's first line");
        else if (static_cast<std::size_t>(target) >= lineCount)
            warning(file, where, jump + ", after the event's last line (an empty line ends the run)");
    }

    void Checker::checkLines(const std::string& file, const std::vector<ScriptEvent>& events, float maxSize)
    {
        for (std::size_t e = 0; e < events.size(); ++e) {
            const auto& lines = events[e].lines;
            for (std::size_t l = 0; l < lines.size(); ++l) {
                std::string where = "event " + std::to_string(e) + " line " + std::to_string(l);
                for (const ScannedCommand& command : scanCommands(lines[l].commands)) {
                    if (!command.known) {
                        error(file, where, "unknown keyword \"" + cp932ToUtf8(command.keyword) + "\"");
                        continue;
                    }
                    checkArgumentCount(file, where, command);
                    for (const ScannedArg& arg : command.args) {
                        checkFlagToken(file, where, arg.token);
                        checkTableNumber(file, where, command.keyword, arg);
                        if (arg.use == ArgUse::LineTarget)
                            checkLineJump(file, where, command.keyword, arg.token, static_cast<int>(l), lines.size());
                        int value = 0;
                        if (arg.use == ArgUse::FlagIndex && literalNumber(arg.token, value))
                            checkFlagIndex(file, where, static_cast<float>(value));
                        bool lineTarget = arg.use == ArgUse::LineTarget;
                        if ((lineTarget || arg.use == ArgUse::EventTarget) && arg.token.size() > 1
                            && arg.token[0] == '*') {
                            std::string name = arg.token.substr(1);
                            bool found = false, last = false;
                            for (std::size_t se = lineTarget ? e : 0; se < (lineTarget ? e + 1 : events.size()) && !found;
                                 ++se) {
                                for (const ScriptLine& line : events[se].lines) {
                                    bool atEnd = false;
                                    if (holdsLabel(line.commands, name, &atEnd)) {
                                        found = true;
                                        break;
                                    }
                                    last = last || atEnd;
                                }
                            }
                            std::string label = "label \"" + cp932ToUtf8(name) + "\" of " + command.keyword;
                            if (!found && last)
                                error(file, where, label + " stands last in its command string and is never found");
                            else if (!found)
                                error(file, where, label + " is not found");
                        }
                        if (!literalName(arg.token))
                            continue;
                        if (arg.use == ArgUse::Picture)
                            needFile(file, where, "GRP\\" + arg.token + ".bmp");
                        else if (arg.use == ArgUse::Mask)
                            needFile(file, where, "GRP\\" + arg.token + "m.bmp");
                        else if (arg.use == ArgUse::Sound)
                            needSound(file, where, arg.token);
                        else if (arg.use == ArgUse::Music)
                            needMusic(file, where, arg.token);
                    }
                    int a = 0, b = 0;
                    if (command.keyword == "KAO" && command.args.size() >= 2 && literalNumber(command.args[0].token, a)
                        && literalNumber(command.args[1].token, b))
                        needFile(file, where, "GRP\\KAO" + std::to_string(a) + "_" + std::to_string(b) + ".bmp");
                    if (command.keyword == "MAP" && !command.args.empty() && literalNumber(command.args[0].token, a))
                        needMap(file, where + ": MAP", static_cast<float>(a));
                    if (command.keyword == "BTL" || command.keyword == "BTE")
                        checkBattle(file, where, command, maxSize);
                }
            }
        }
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
    void Checker::checkMessageWidths(const std::string& file, const std::vector<ScriptEvent>& events, bool openAtStart)
    {
        auto nameOf = [this](int number) {
            return number >= 0 && number < capacity::characters ? m_db.characters[static_cast<std::size_t>(number)].name
                                                                : std::string();
        };
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
                    if (window.known && cells > window.capacity())
                        warning(file, "event " + std::to_string(e) + " line " + std::to_string(l),
                            "the message is " + std::to_string(cells) + " cells long; its window holds "
                                + std::to_string(window.capacity()) + " a line");
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
            std::string where = "row " + std::to_string(i);
            for (int j = 1; j <= i; ++j) {
                if (row[j] <= row[j - 1]) {
                    error("DAT\\vornATS.DAT", where,
                        "threshold " + show(row[j]) + " at position " + std::to_string(j) + " does not rise above "
                            + show(row[j - 1]));
                }
            }
            if (row[static_cast<std::size_t>(i)] < 100)
                error("DAT\\vornATS.DAT", where,
                    "the last member's threshold " + show(row[static_cast<std::size_t>(i)]) + " does not reach 100");
        }
        for (int n = 0; n < roundIndex(db.sizes.enemyCount); ++n) {
            const Enemy& e = db.enemies[static_cast<std::size_t>(n)];
            std::string where = "enemy " + std::to_string(n);
            bool hasSpell = std::any_of(e.actions.begin(), e.actions.end(), [](float a) { return a != 99; });
            if (e.specialRate != 0 && !hasSpell)
                error("DAT\\vornene.DAT", where, "special rate " + show(e.specialRate) + " with no spell");
            if (!e.graphic.empty()) {
                needFile("DAT\\vornene.DAT", where, "GRP\\" + e.graphic + ".bmp");
                needFile("DAT\\vornene.DAT", where, "GRP\\" + e.graphic + "m.bmp");
            }
        }
        for (int i = 0; i < roundIndex(db.sizes.townCount); ++i) {
            const std::string& back = db.towns[static_cast<std::size_t>(i)].battleBack;
            if (!back.empty())
                needFile("DAT\\vornCTY.DAT", "town " + std::to_string(i), "GRP\\" + back + ".bmp");
        }
        for (int i = 0; i < roundIndex(db.sizes.itemCount); ++i)
            needSound("DAT\\vornITM.DAT", "item " + std::to_string(i), db.items[static_cast<std::size_t>(i)].useSound);
        for (int i = 0; i < roundIndex(db.sizes.equipmentCount); ++i)
            needSound("DAT\\vornARM.DAT", "equipment " + std::to_string(i),
                db.equipment[static_cast<std::size_t>(i)].attackSound);
        for (int s = 0; s < roundIndex(db.sizes.spellCount); ++s) {
            const Spell& spell = db.spells[static_cast<std::size_t>(s)];
            std::string where = "spell " + std::to_string(s);
            needSound("DAT\\vornMGC.DAT", where, spell.sound);
            for (int c = 0; c <= roster; ++c)
                needSound("DAT\\vornMGC.DAT", where, spell.castSound[static_cast<std::size_t>(c)]);
        }
        needMap("DAT\\vornINI.DAT", "startMap", db.ini.startMap);
    }

    void Checker::checkMap(int number)
    {
        const Corrections& c = m_db.corrections;
        std::string mName = mapFileName(number), tName = mapEventFileName(number), eName = mapChangeFileName(number);
        // Without its map file a map cannot be entered; what leads there is reported with it.
        if (!resolveGamePath(m_root, mName)) {
            warning(mName, "", "file not found: map " + std::to_string(number) + " has other files but cannot be entered");
            return;
        }
        float maxSize = 6;
        std::vector<ScriptEvent> events;
        auto read = [&](const std::string& name, GameFileKind kind,
                        const std::function<void(const std::vector<std::uint8_t>&)>& use) {
            std::string why;
            auto bytes = readGameFile(m_root, name, kind, &why);
            if (!bytes) {
                bool missing = why == "file not found";
                error(name, "", missing ? why + " (map " + std::to_string(number) + " has other files)" : why);
                return;
            }
            try {
                use(*bytes);
            } catch (const FileError& e) {
                error(name, "", e.what());
            }
        };
        read(mName, GameFileKind::Map, [&](const std::vector<std::uint8_t>& bytes) {
            MapFile map = readMapFile(bytes, c, m_db.ini.dataVersion);
            checkRows(mName, map);
            needSheet(mName, "tileSheet", map.tileSheet);
            needSheet(mName, "charSheet", map.charSheet);
            needMusic(mName, "bgm", map.bgm);
            if (map.maxEnemySize > 6)
                error(mName, "battle record", "maxEnemySize " + show(map.maxEnemySize) + " is above 6");
            maxSize = std::min(map.maxEnemySize, 6.0f);
            checkEncounters(number, maxSize);
            const std::pair<const char*, float> exits[] = { { "exitNorth", map.exitNorth },
                { "exitWest", map.exitWest }, { "exitEast", map.exitEast }, { "exitSouth", map.exitSouth } };
            for (const auto& [name, exit] : exits)
                needMap(mName, name, exit);
        });
        read(tName, GameFileKind::Script, [&](const std::vector<std::uint8_t>& bytes) {
            events = readMapEvents(bytes, c);
            for (std::size_t e = 0; e < events.size(); ++e) {
                const ScriptEvent& event = events[e];
                std::string where = "event " + std::to_string(e);
                if (event.lines.empty())
                    warning(tName, where, "the event has no lines");
                bool wanders = event.text != "1";
                if (wanders && event.speed != 0 && (event.speed < 0 || std::fmod(32.0f, event.speed) != 0))
                    warning(tName, where, "wanderer speed " + show(event.speed) + " does not divide 32");
            }
        });
        checkLines(tName, events, maxSize);
        checkMessageWidths(tName, events, false);
        read(eName, GameFileKind::Map, [&](const std::vector<std::uint8_t>& bytes) {
            auto blocks = readChangeFile(bytes, c);
            for (std::size_t n = 0; n < blocks.size(); ++n) {
                std::string where = "block " + std::to_string(n);
                for (const ChangeCondition& condition : blocks[n].conditions) {
                    checkFlagIndex(eName, where, condition.a);
                    checkFlagIndex(eName, where, condition.b);
                }
                for (const ChangeAction& action : blocks[n].actions) {
                    if (action.kind == ChangeKind::SetFlag) {
                        checkFlagIndex(eName, where, action.a);
                        checkFlagIndex(eName, where, action.b);
                    }
                }
            }
        });
    }

    // A saved game must read with the database's table sizes and stand on a map that exists,
    // with that map's size.
    void Checker::checkSlot(int slot)
    {
        std::string name = slotFileName(slot);
        auto path = resolveGamePath(m_root, name);
        if (!path)
            return;
        std::string why;
        auto bytes = readWholeFile(*path, gameFileLimit(GameFileKind::Save), &why);
        if (!bytes) {
            error(name, "", why);
            return;
        }
        try {
            if (RecordReader(*bytes).string() == emptySlotLabel)
                return;
        } catch (const ReadError& e) {
            error(name, "", std::string("label cannot be read: ") + e.what());
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
            error(name, "", std::string(e.what()) + " (read with the database's " + sizes + ")");
            return;
        }
        if (trailing)
            error(name, "", "holds more than the layout for the database's " + sizes);
        if (saved.partyLast < 0 || saved.partyLast > static_cast<float>(shape.rosterLast))
            error(name, "partyLast", show(saved.partyLast) + " is outside the roster");
        int map = roundIndex(saved.map);
        if (!mapHasFiles(map)) {
            error(name, "map", "map " + show(saved.map) + " has no files");
            return;
        }
        auto mapBytes = readGameFile(m_root, mapFileName(map), GameFileKind::Map);
        if (!mapBytes)
            return; // reported with the map
        try {
            MapFile file = readMapFile(*mapBytes, m_db.corrections, m_db.ini.dataVersion);
            if (file.width != saved.mapWidth || file.height != saved.mapHeight)
                error(name, "map size",
                    show(saved.mapWidth) + " x " + show(saved.mapHeight) + " differs from map " + show(saved.map)
                        + ", " + show(file.width) + " x " + show(file.height));
        } catch (const FileError&) {
            // reported with the map
        }
    }

    int Checker::run()
    {
        std::error_code ec;
        if (!fs::is_directory(m_root, ec)) {
            ++m_errors;
            print("error: " + m_root.string() + ": no such folder");
            return 1;
        }
        if (!resolveGamePath(m_root, "DAT")) {
            ++m_errors;
            print("error: " + m_root.string() + ": no DAT folder; this is not a game folder (make one with "
                                                "`vorn-data new` and `vorn-data build`)");
            return 1;
        }
        bool databasePresent = true;
        for (const char* name : kDatabaseFiles) {
            std::string path = std::string("DAT\\") + name;
            if (!resolveGamePath(m_root, path)) {
                error(path, "", "file not found");
                databasePresent = false;
            }
        }
        if (!exists("FONT.BMP"))
            error("FONT.BMP", "", "file not found; the game cannot start without its window and font art");
        if (!databasePresent)
            return 1;
        try {
            readIniFirst(m_db, m_root);
            loadDatabase(m_db, m_root);
        } catch (const FileError& e) {
            fileError(e);
            return 1;
        }
        m_maps = mapNumbersIn(m_root);
        checkDatabase();
        for (StoryKind kind : { StoryKind::Opening, StoryKind::Ending }) {
            std::string name = storyFileName(kind);
            std::string why;
            auto bytes = readGameFile(m_root, name, GameFileKind::Script, &why);
            if (!bytes) {
                error(name, "", why);
                continue;
            }
            try {
                StoryScript script = readStoryScript(*bytes, kind);
                ScriptEvent event;
                event.lines = std::move(script.lines);
                checkLines(name, { event }, 6);
                checkMessageWidths(name, { event }, true);
            } catch (const FileError& e) {
                error(name, "", e.what());
            }
        }
        for (int number : m_maps)
            checkMap(number);
        for (int slot = 1; slot <= 9; ++slot)
            checkSlot(slot);
        return m_errors ? 1 : 0;
    }

} // namespace

int checkCommand(const fs::path& gameDir, std::ostream& out) { return checkGame(gameDir, gameDir, out) ? 1 : 0; }

int checkGame(const fs::path& dataDir, const fs::path& assetDir, std::ostream& out)
{
    Checker checker(dataDir, assetDir, out);
    checker.run();
    return checker.errors();
}

} // namespace vorn::datatool
