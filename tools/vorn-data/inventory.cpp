// `vorn-data inventory`: every picture, sound, music piece and flag a game uses, where it is
// used, and what is missing or never used.
#include "commands.h"
#include "game_source.h"
#include "script_scan.h"

#include "data/database_files.h"
#include "data/record.h"
#include "platform/encoding.h"
#include "platform/game_files.h"
#include "script/arguments.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

namespace vorn::datatool {

namespace fs = std::filesystem;

namespace {

    enum class Kind { Picture,
        Sound,
        Music };

    std::string upper(std::string text)
    {
        for (char& c : text)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return text;
    }

    std::string placeText(const Place& at)
    {
        std::string file = dataFileName(at), place = dataPlaceText(at);
        std::string text = file.empty() ? "the game itself" : file;
        if (!place.empty())
            text += ": " + place;
        return text;
    }

    bool literalName(const std::string& token)
    {
        return !token.empty() && token.find('@') == std::string::npos && token.find('?') == std::string::npos;
    }

    bool literalIndex(const std::string& token, int& value)
    {
        if (token.empty() || token.size() > 3 || !std::all_of(token.begin(), token.end(), ::isdigit))
            return false;
        value = std::stoi(token);
        return true;
    }

    struct FlagRecord {
        std::vector<std::string> reads, writes;
    };

    class Inventory {
    public:
        explicit Inventory(const fs::path& root)
            : m_root(root)
        {
        }

        int run(std::ostream& out);

    private:
        // A file the game opens by its game path ("GRP\slime.bmp").
        void use(Kind kind, const std::string& gamePath, const Place& at)
        {
            auto& entry = m_files[kind][upper(gamePath)];
            if (entry.first.empty())
                entry.first = gamePath;
            std::string where = placeText(at);
            if (std::find(entry.second.begin(), entry.second.end(), where) == entry.second.end())
                entry.second.push_back(where);
        }
        void sound(const std::string& name, const Place& at)
        {
            if (!name.empty())
                use(Kind::Sound, "WAV\\" + name + ".WAV", at);
        }
        void music(const std::string& name, const Place& at)
        {
            if (!name.empty())
                use(Kind::Music, "MID\\" + name + ".MID", at);
        }
        // Effect and attack frames: name_0, name_1, ... up to the first that is missing.
        void frames(const std::string& name, const Place& at)
        {
            if (name.empty())
                return;
            for (int k = 0; k < 100; ++k) {
                std::string path = "GRP\\" + name + "_" + std::to_string(k) + ".bmp";
                if (k > 0 && !resolveGamePath(m_root, path))
                    break;
                use(Kind::Picture, path, at);
            }
        }
        void flag(int a, int b, bool write, const Place& at, const std::string& how)
        {
            FlagRecord& record = m_flags[{ a, b }];
            (write ? record.writes : record.reads).push_back(placeText(at) + " (" + how + ")");
        }

        void collectDatabase();
        void collectScript(DataFile file, int map, const std::vector<ScriptEvent>& events);
        void collectMaps();
        void printFiles(std::ostream& out, Kind kind, const char* title, const char* folder, const char* extension);
        void printFlags(std::ostream& out);

        fs::path m_root;
        Database m_db;
        std::map<Kind, std::map<std::string, std::pair<std::string, std::vector<std::string>>>> m_files;
        std::map<std::pair<int, int>, FlagRecord> m_flags;
        std::map<int, int> m_eventCounts;
        int m_missing = 0;
        bool m_hasEnding = false;
    };

    void Inventory::collectDatabase()
    {
        const Database& db = m_db;
        Place game = Place::gameFile("");
        use(Kind::Picture, "FONT.BMP", game);
        sound("don", game);
        for (int t = 0; t < roundIndex(db.sizes.townCount); ++t) {
            const std::string& back = db.towns[static_cast<std::size_t>(t)].battleBack;
            if (!back.empty())
                use(Kind::Picture, "GRP\\" + back + ".bmp", Place::entry(DataFile::Towns, t, "battleBack"));
        }
        bool battles = roundIndex(db.sizes.enemyCount) > 0;
        if (battles) {
            for (const char* name : { "btl", "dmg", "esc", "win", "ATC" })
                sound(name, game);
            music("btl", game);
            frames("ATC", game);
        }
        for (int n = 0; n < roundIndex(db.sizes.enemyCount); ++n) {
            const Enemy& e = db.enemies[static_cast<std::size_t>(n)];
            if (e.graphic.empty())
                continue;
            Place at = Place::entry(DataFile::Enemies, n, "graphic");
            use(Kind::Picture, "GRP\\" + e.graphic + ".bmp", at);
            use(Kind::Picture, "GRP\\" + e.graphic + "m.bmp", at);
        }
        for (int i = 0; i < roundIndex(db.sizes.itemCount); ++i) {
            const Item& item = db.items[static_cast<std::size_t>(i)];
            Place at = Place::entry(DataFile::Items, i);
            sound(item.useSound, at);
            int record = roundIndex(item.equipment) - 1;
            bool weapon = record >= 0 && record < roundIndex(db.sizes.equipmentCount)
                && roundIndex(db.equipment[static_cast<std::size_t>(record)].slot) == 0;
            const std::string& code = item.text[5];
            if (weapon || code.rfind("EA", 0) == 0 || code.rfind("EO", 0) == 0)
                frames(item.graphic, at);
        }
        for (int e = 0; e < roundIndex(db.sizes.equipmentCount); ++e)
            sound(db.equipment[static_cast<std::size_t>(e)].attackSound, Place::entry(DataFile::Equipment, e));
        for (int s = 0; s < roundIndex(db.sizes.spellCount); ++s) {
            const Spell& spell = db.spells[static_cast<std::size_t>(s)];
            Place at = Place::entry(DataFile::Spells, s);
            sound(spell.sound, at);
            for (int c = 0; c <= roundIndex(db.sizes.lastCharacterSaved); ++c)
                sound(spell.castSound[static_cast<std::size_t>(c)], at);
            if (spell.code.rfind("EA", 0) == 0 || spell.code.rfind("EO", 0) == 0)
                frames(spell.graphic, at);
        }
    }

    void Inventory::collectScript(DataFile file, int map, const std::vector<ScriptEvent>& events)
    {
        for (std::size_t e = 0; e < events.size(); ++e) {
            for (std::size_t l = 0; l < events[e].lines.size(); ++l) {
                Place at = Place::scriptLine(file, map, static_cast<int>(e), static_cast<int>(l));
                for (const ScannedCommand& command : scanCommands(events[e].lines[l].commands)) {
                    if (!command.known)
                        break;
                    const ScannedArg* first = nullptr;
                    for (const ScannedArg& arg : command.args) {
                        // Flag values read anywhere: @a-b (and the flags a column reference names).
                        for (std::size_t mark = arg.token.find('@'); mark != std::string::npos;
                             mark = arg.token.find('@', mark + 1)) {
                            std::string rest = arg.token.substr(mark + 1);
                            std::size_t dash = rest.find('-');
                            int a = 0, b = 0;
                            if (dash != std::string::npos && literalIndex(rest.substr(0, dash), a)
                                && literalIndex(rest.substr(dash + 1), b))
                                flag(a, b, false, at, command.keyword + " @");
                        }
                        if (arg.use == ArgUse::FlagIndex) {
                            if (!first) {
                                first = &arg;
                                continue;
                            }
                            int a = 0, b = 0;
                            if (literalIndex(first->token, a) && literalIndex(arg.token, b))
                                flag(a, b, command.keyword != "CKF", at, command.keyword);
                            first = nullptr;
                        }
                        if (!literalName(arg.token))
                            continue;
                        if (arg.use == ArgUse::Picture)
                            use(Kind::Picture, "GRP\\" + arg.token + ".bmp", at);
                        else if (arg.use == ArgUse::Mask) {
                            use(Kind::Picture, "GRP\\" + arg.token + ".bmp", at);
                            use(Kind::Picture, "GRP\\" + arg.token + "m.bmp", at);
                        } else if (arg.use == ArgUse::Sound)
                            sound(arg.token, at);
                        else if (arg.use == ArgUse::Music)
                            music(arg.token, at);
                    }
                    int a = 0, b = 0;
                    if (command.keyword == "KAO" && command.args.size() >= 2 && literalIndex(command.args[0].token, a)
                        && literalIndex(command.args[1].token, b))
                        use(Kind::Picture, "GRP\\KAO" + std::to_string(a) + "_" + std::to_string(b) + ".bmp", at);
                    if (command.keyword == "FLG" || command.keyword == "FGE")
                        flag(map, static_cast<int>(e), true, at, command.keyword);
                }
            }
        }
    }

    void Inventory::collectMaps()
    {
        const Corrections& c = m_db.corrections;
        for (int number : mapNumbersIn(m_root)) {
            auto bytes = readGameFile(m_root, mapFileName(number), GameFileKind::Map);
            if (!bytes)
                continue;
            try {
                MapFile map = readMapFile(*bytes, c, m_db.ini.dataVersion);
                use(Kind::Picture, "GRP\\" + map.tileSheet + ".BMP", Place::mapField(number, "tileSheet"));
                use(Kind::Picture, "GRP\\" + map.charSheet + ".BMP", Place::mapField(number, "charSheet"));
                music(map.bgm, Place::mapField(number, "bgm"));
                if (auto events = readGameFile(m_root, mapEventFileName(number), GameFileKind::Script)) {
                    auto read = readMapEvents(*events, c);
                    m_eventCounts[number] = static_cast<int>(read.size());
                    collectScript(DataFile::Events, number, read);
                }
                if (auto changes = readGameFile(m_root, mapChangeFileName(number), GameFileKind::Map)) {
                    auto blocks = readChangeFile(*changes, c);
                    for (std::size_t n = 0; n < blocks.size(); ++n) {
                        Place at = Place::entry(DataFile::Changes, static_cast<int>(n));
                        at.number = number;
                        for (const ChangeCondition& condition : blocks[n].conditions)
                            flag(roundIndex(condition.a), roundIndex(condition.b), false, at, "condition");
                        for (const ChangeAction& action : blocks[n].actions) {
                            if (action.kind == ChangeKind::SetFlag)
                                flag(roundIndex(action.a), roundIndex(action.b), true, at, "flag");
                        }
                    }
                }
            } catch (const FileError&) {
                // `check` reports files that cannot be read.
            }
        }
    }

    std::string joined(const std::vector<std::string>& places)
    {
        std::string text;
        for (std::size_t i = 0; i < places.size() && i < 4; ++i)
            text += (i ? "; " : "") + places[i];
        if (places.size() > 4)
            text += "; and " + std::to_string(places.size() - 4) + " more";
        return text;
    }

    void Inventory::printFiles(std::ostream& out, Kind kind, const char* title, const char* folder, const char* extension)
    {
        const auto& used = m_files[kind];
        std::vector<std::string> lines, missing;
        for (const auto& [key, entry] : used) {
            bool present = resolveGamePath(m_root, entry.first).has_value();
            std::string line = "  " + cp932ToUtf8(entry.first) + "  " + cp932ToUtf8(joined(entry.second));
            if (present) {
                lines.push_back(line);
            } else {
                missing.push_back("  missing " + line.substr(2));
                ++m_missing;
            }
        }
        // What the folder holds that nothing names.
        std::vector<std::string> unused;
        if (auto dir = resolveGamePath(m_root, folder)) {
            std::error_code ec;
            std::vector<std::string> names;
            for (const auto& entry : fs::directory_iterator(*dir, ec)) {
                std::string name = entry.path().filename().string();
                if (upper(entry.path().extension().string()) == extension)
                    names.push_back(name);
            }
            std::sort(names.begin(), names.end());
            for (const std::string& name : names) {
                std::string gamePath = std::string(folder) + "\\" + name;
                if (!used.count(upper(gamePath)))
                    unused.push_back("  never used " + gamePath);
            }
        }
        out << title << ": " << lines.size() << " used, " << missing.size() << " missing, " << unused.size()
            << " never used\n";
        for (const auto* group : { &missing, &lines, &unused }) {
            for (const std::string& line : *group)
                out << line << "\n";
        }
    }

    void Inventory::printFlags(std::ostream& out)
    {
        out << "flags: " << m_flags.size() << " used (flag (map, event) is that event's entry line)\n";
        for (const auto& [key, record] : m_flags) {
            auto [a, b] = key;
            std::string line = "  (" + std::to_string(a) + ", " + std::to_string(b) + ")";
            auto count = m_eventCounts.find(a);
            bool entryLine = count != m_eventCounts.end() && b < count->second;
            if (a == 1 && b == 0 && m_hasEnding)
                line += " where the ending starts (it runs as map 1's event 0);";
            else if (entryLine)
                line += " entry line of map " + std::to_string(a) + "'s event " + std::to_string(b) + ";";
            else if (record.writes.empty())
                line += " read, never written (always 0);";
            else if (record.reads.empty())
                line += " written, never read;";
            if (!record.writes.empty())
                line += " written by " + joined(record.writes) + (record.reads.empty() ? "" : ";");
            if (!record.reads.empty())
                line += " read by " + joined(record.reads);
            out << cp932ToUtf8(line) << "\n";
        }
    }

    int Inventory::run(std::ostream& out)
    {
        try {
            readIniFirst(m_db, m_root);
            loadDatabase(m_db, m_root);
        } catch (const FileError& e) {
            out << "error: " << e.what() << "\n";
            return 1;
        }
        collectDatabase();
        m_hasEnding = resolveGamePath(m_root, storyFileName(StoryKind::Ending)).has_value();
        for (StoryKind kind : { StoryKind::Opening, StoryKind::Ending }) {
            auto bytes = readGameFile(m_root, storyFileName(kind), GameFileKind::Script);
            if (!bytes)
                continue;
            try {
                std::vector<ScriptEvent> events(1);
                events[0].lines = readStoryScript(*bytes, kind).lines;
                collectScript(kind == StoryKind::Opening ? DataFile::Opening : DataFile::Ending,
                    kind == StoryKind::Opening ? 0 : 1, events);
            } catch (const FileError&) {
            }
        }
        collectMaps();
        printFiles(out, Kind::Picture, "pictures", "GRP", ".BMP");
        printFiles(out, Kind::Sound, "sounds", "WAV", ".WAV");
        printFiles(out, Kind::Music, "music", "MID", ".MID");
        printFlags(out);
        return m_missing ? 1 : 0;
    }

} // namespace

int inventoryCommand(const fs::path& gameDir, std::ostream& out)
{
    if (!resolveGamePath(gameDir, "DAT")) {
        out << "error: " << gameDir.string() << ": no DAT folder; this is not a game folder\n";
        return 1;
    }
    Inventory inventory(gameDir);
    return inventory.run(out);
}

} // namespace vorn::datatool
