// The problems vorn-data finds, and where they stand. A problem found in the data files is placed
// by a Place (which file of the game, which record, which field); a build also knows the YAML
// source each Place came from, and then names the source file, line and column instead.
#pragma once

#include <cstddef>
#include <filesystem>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace vorn::datatool {

enum class Severity { Error,
    Warning };

// The data files of a game, by what they hold.
enum class DataFile {
    Settings, // DAT\vornINI.DAT and the slot counts of vornMAX.DAT (game.yaml)
    Characters,
    Levels,
    Towns,
    Attributes,
    Items,
    Equipment,
    Encounters,
    Targets,
    Spells,
    Enemies,
    Opening,
    Ending,
    Map, // DAT\vornMnnn.dat
    Events, // DAT\vornTnnn.dat
    Changes, // DAT\vornEnnn.dat
    Slot, // SAV\DATAn.DAT
    GameFolder, // a file of the game folder that no data file names (FONT.BMP)
};

// Where a problem stands in the data. `record` is the record of a table (a character, an item, an
// event, a change block, a level row, a map row); `sub` a second index where a table has two
// (the character of a level row); `field` the source's field name and `index` an entry of a list
// field. Script places add the line and the byte offset of the command in its command string.
struct Place {
    DataFile file = DataFile::GameFolder;
    int number = -1; // map or slot number
    int record = -1;
    int sub = -1;
    int line = -1;
    std::string field;
    int index = -1;
    std::size_t offset = std::string::npos; // in the cp932 command string
    std::string name; // GameFolder: the file's name in the game folder

    static Place whole(DataFile f, int number = -1)
    {
        Place p;
        p.file = f;
        p.number = number;
        return p;
    }
    static Place entry(DataFile f, int record, std::string field = {}, int index = -1)
    {
        Place p = whole(f);
        p.record = record;
        p.field = std::move(field);
        p.index = index;
        return p;
    }
    static Place setting(std::string field)
    {
        Place p = whole(DataFile::Settings);
        p.field = std::move(field);
        return p;
    }
    static Place mapField(int map, std::string field, int index = -1)
    {
        Place p = whole(DataFile::Map, map);
        p.field = std::move(field);
        p.index = index;
        return p;
    }
    // An event of a map (or the opening or ending, with their one event 0).
    static Place event(DataFile f, int map, int event, std::string field = {})
    {
        Place p = whole(f, map);
        p.record = event;
        p.field = std::move(field);
        return p;
    }
    static Place scriptLine(DataFile f, int map, int event, int line, std::size_t offset = std::string::npos)
    {
        Place p = whole(f, map);
        p.record = event;
        p.line = line;
        p.field = "commands";
        p.offset = offset;
        return p;
    }
    static Place gameFile(std::string name)
    {
        Place p;
        p.name = std::move(name);
        return p;
    }
};

// The data file a place stands in, as the game names it ("DAT\vornITM.DAT").
std::string dataFileName(const Place&);
// The place inside its data file as `check` shows it ("item 4", "event 0 line 2"); empty for a
// place that is the whole file.
std::string dataPlaceText(const Place&);

// A position in a YAML source file: line and column from 0, the column in bytes.
struct SourcePosition {
    std::string file; // relative to the source folder, with forward slashes ("maps/map001.yaml")
    int line = -1;
    int column = -1;
};

// Where each node of the source came from, by its path ("items.yaml.items[4].price",
// "maps/map001.yaml.events[0].lines[2].commands"), and which source file holds each map.
class SourceLocator {
public:
    explicit SourceLocator(std::filesystem::path sourceDir = {})
        : m_dir(std::move(sourceDir))
    {
    }

    void note(const std::string& path, int line, int column) { m_marks[path] = { line, column }; }
    void noteMapFile(int map, const std::string& file) { m_mapFiles[map] = file; }
    const std::filesystem::path& folder() const { return m_dir; }

    // The source position of a data place: the node the place names, or the nearest enclosing
    // node the source holds (a field left out is placed at its record). For a script place with
    // an offset the column is that of the command inside the command string.
    SourcePosition find(const Place&) const;
    SourcePosition findPath(const std::string& path) const;
    // The text of a source file's line (from 0), as the file holds it; empty when there is none.
    const std::string& lineText(const std::string& file, int line) const;
    // The path of a place's node ("items.yaml.items[4].price"); empty when the place has none.
    std::string pathOf(const Place&) const;

private:
    struct Mark {
        int line;
        int column;
    };

    std::filesystem::path m_dir;
    std::map<std::string, Mark> m_marks;
    std::map<int, std::string> m_mapFiles;
    mutable std::map<std::string, std::vector<std::string>> m_lines;
};

struct Diagnostic {
    Severity severity = Severity::Error;
    SourcePosition at; // the file alone when the line is not known
    std::string place; // shown after the position ("event 0 line 2", "items[4].price")
    std::string text;
};

// The problems of one run of a command. With a locator, problems found in the data files are
// placed in the YAML source they were built from.
class Report {
public:
    explicit Report(const SourceLocator* locator = nullptr)
        : m_locator(locator)
    {
    }

    void add(Severity, const Place&, const std::string& text);
    void error(const Place& place, const std::string& text) { add(Severity::Error, place, text); }
    void warning(const Place& place, const std::string& text) { add(Severity::Warning, place, text); }
    // A problem of the source itself.
    void add(Severity, SourcePosition, std::string place, std::string text);

    int errors() const { return m_errors; }
    int warnings() const { return m_warnings; }
    const std::vector<Diagnostic>& diagnostics() const { return m_diagnostics; }
    // One line per problem, each distinct line once; `bySource` orders them by file, line and
    // column first.
    void print(std::ostream&, bool bySource = false) const;
    // "file:line:column" (line and column from 1, the column in characters), or the file alone.
    std::string positionText(const SourcePosition&) const;

private:
    const SourceLocator* m_locator;
    std::vector<Diagnostic> m_diagnostics;
    std::set<std::string> m_seen;
    int m_errors = 0;
    int m_warnings = 0;
};

// The name among `candidates` closest to `name` by edit distance, when it is close enough to be
// a likely slip (at most a third of the letters differ); empty otherwise.
std::string closestName(const std::string& name, const std::vector<std::string>& candidates);
// "; did you mean "x"?" for a close candidate, or nothing.
std::string didYouMean(const std::string& name, const std::vector<std::string>& candidates);

} // namespace vorn::datatool
