#include "diagnostics.h"

#include "data/map_files.h"
#include "data/saves.h"
#include "data/script_files.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <set>

namespace vorn::datatool {

namespace {

    struct TableNames {
        DataFile file;
        const char* dataName; // as the game names the file
        const char* source; // the source file
        const char* key; // the list in it
        const char* recordWord; // a record as check names it
    };

    const TableNames kTables[] = {
        { DataFile::Characters, "DAT\\vornPLY.DAT", "characters.yaml", "characters", "character" },
        { DataFile::Levels, "DAT\\vornLEV.DAT", "levels.yaml", "levels", "level row" },
        { DataFile::Towns, "DAT\\vornCTY.DAT", "towns.yaml", "towns", "town" },
        { DataFile::Attributes, "DAT\\vornCTY.DAT", "attributes.yaml", "attributes", "attribute" },
        { DataFile::Items, "DAT\\vornITM.DAT", "items.yaml", "items", "item" },
        { DataFile::Equipment, "DAT\\vornARM.DAT", "equipment.yaml", "equipment", "equipment" },
        { DataFile::Encounters, "DAT\\vornEAP.DAT", "encounters.yaml", "encounters", "map" },
        { DataFile::Targets, "DAT\\vornATS.DAT", "targets.yaml", "targets", "row" },
        { DataFile::Spells, "DAT\\vornMGC.DAT", "spells.yaml", "spells", "spell" },
        { DataFile::Enemies, "DAT\\vornene.DAT", "enemies.yaml", "enemies", "enemy" },
    };

    const TableNames* tableOf(DataFile file)
    {
        for (const TableNames& t : kTables) {
            if (t.file == file)
                return &t;
        }
        return nullptr;
    }

    std::string indexText(int index) { return index >= 0 ? "[" + std::to_string(index) + "]" : std::string(); }

    // The file part of a path: everything up to and including ".yaml".
    std::string fileOfPath(const std::string& path)
    {
        std::size_t at = path.find(".yaml");
        return at == std::string::npos ? path : path.substr(0, at + 5);
    }

    // The path without its last ".name" or "[n]" part; empty at the file itself.
    std::string parentPath(const std::string& path)
    {
        std::string file = fileOfPath(path);
        if (path.size() <= file.size())
            return {};
        std::size_t cut = path.find_last_of(".[");
        if (cut == std::string::npos || cut < file.size())
            return file;
        return path.substr(0, cut);
    }

    // Characters in the first `bytes` bytes of a UTF-8 line.
    int characterColumn(const std::string& line, int bytes)
    {
        int characters = 0;
        for (int i = 0; i < bytes && i < static_cast<int>(line.size()); ++i) {
            if ((static_cast<unsigned char>(line[static_cast<std::size_t>(i)]) & 0xC0) != 0x80)
                ++characters;
        }
        if (bytes > static_cast<int>(line.size()))
            characters += bytes - static_cast<int>(line.size());
        return characters;
    }

    // Edits (insert, delete, change, or swap of two neighbours) between two names, ignoring
    // letter case.
    std::size_t editDistance(const std::string& a, const std::string& b)
    {
        auto same = [](char x, char y) {
            return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
        };
        std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
        for (std::size_t i = 0; i <= a.size(); ++i)
            d[i][0] = i;
        for (std::size_t j = 0; j <= b.size(); ++j)
            d[0][j] = j;
        for (std::size_t i = 1; i <= a.size(); ++i) {
            for (std::size_t j = 1; j <= b.size(); ++j) {
                d[i][j] = std::min({ d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (same(a[i - 1], b[j - 1]) ? 0 : 1) });
                if (i > 1 && j > 1 && same(a[i - 1], b[j - 2]) && same(a[i - 2], b[j - 1]))
                    d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        }
        return d[a.size()][b.size()];
    }

} // namespace

std::string dataFileName(const Place& p)
{
    if (const TableNames* t = tableOf(p.file))
        return t->dataName;
    switch (p.file) {
    case DataFile::Settings:
        return p.field == "spellSlots" || p.field == "inventorySlots" ? "DAT\\vornMAX.DAT" : "DAT\\vornINI.DAT";
    case DataFile::Opening:
        return storyFileName(StoryKind::Opening);
    case DataFile::Ending:
        return storyFileName(StoryKind::Ending);
    case DataFile::Map:
        return mapFileName(p.number);
    case DataFile::Events:
        return mapEventFileName(p.number);
    case DataFile::Changes:
        return mapChangeFileName(p.number);
    case DataFile::Slot:
        return slotFileName(p.number);
    default:
        return p.name;
    }
}

std::string dataPlaceText(const Place& p)
{
    if (const TableNames* t = tableOf(p.file)) {
        if (p.record < 0)
            return p.field;
        std::string text = std::string(t->recordWord) + " " + std::to_string(p.record);
        if (p.sub >= 0)
            text += " character " + std::to_string(p.sub);
        return text;
    }
    switch (p.file) {
    case DataFile::Settings:
    case DataFile::Slot:
        return p.field;
    case DataFile::Opening:
    case DataFile::Ending:
    case DataFile::Events: {
        if (p.record < 0)
            return {};
        std::string text = "event " + std::to_string(p.record);
        if (p.line >= 0)
            text += " line " + std::to_string(p.line);
        return text;
    }
    case DataFile::Map:
        if (p.field == "rows" && p.index >= 0)
            return "row " + std::to_string(p.index) + (p.sub >= 0 ? " column " + std::to_string(p.sub) : "");
        return p.field;
    case DataFile::Changes:
        return p.record >= 0 ? "block " + std::to_string(p.record) : std::string();
    default:
        return {};
    }
}

std::string SourceLocator::pathOf(const Place& p) const
{
    auto mapFile = [&]() -> std::string {
        auto found = m_mapFiles.find(p.number);
        return found == m_mapFiles.end() ? std::string() : found->second;
    };
    auto withField = [&](std::string path) {
        if (!p.field.empty())
            path += "." + p.field + indexText(p.index);
        return path;
    };
    if (const TableNames* t = tableOf(p.file)) {
        std::string path = std::string(t->source) + "." + t->key;
        if (p.record < 0)
            return path;
        return withField(path + indexText(p.record) + indexText(p.sub));
    }
    switch (p.file) {
    case DataFile::Settings:
        return withField("game.yaml");
    case DataFile::Opening:
    case DataFile::Ending: {
        std::string path = p.file == DataFile::Opening ? "opening.yaml" : "ending.yaml";
        if (p.line >= 0)
            path += ".lines[" + std::to_string(p.line) + "]";
        return withField(path);
    }
    case DataFile::Map: {
        std::string file = mapFile();
        if (file.empty())
            return {};
        if (p.field == "rows")
            return file + ".map.rows" + indexText(p.index);
        return withField(file + ".map");
    }
    case DataFile::Events: {
        std::string file = mapFile();
        if (file.empty())
            return {};
        std::string path = file + ".events" + indexText(p.record);
        if (p.record >= 0 && p.line >= 0)
            path += ".lines[" + std::to_string(p.line) + "]";
        return p.record >= 0 ? withField(path) : path;
    }
    case DataFile::Changes: {
        std::string file = mapFile();
        if (file.empty())
            return {};
        std::string path = file + ".changes" + indexText(p.record);
        return p.record >= 0 ? withField(path) : path;
    }
    case DataFile::Slot:
        return withField("saves/slot" + std::to_string(p.number) + ".yaml");
    default:
        return {};
    }
}

SourcePosition SourceLocator::findPath(const std::string& path) const
{
    SourcePosition at;
    at.file = fileOfPath(path);
    for (std::string p = path; !p.empty(); p = parentPath(p)) {
        auto found = m_marks.find(p);
        if (found != m_marks.end()) {
            at.line = found->second.line;
            at.column = found->second.column;
            break;
        }
    }
    return at;
}

SourcePosition SourceLocator::find(const Place& place) const
{
    std::string path = pathOf(place);
    if (path.empty())
        return {};
    SourcePosition at = findPath(path);
    // A command inside a command string written on one line as the file shows it: the column of
    // the command itself.
    if (place.offset != std::string::npos && place.field == "commands") {
        auto content = m_marks.find(path + "#content");
        if (content != m_marks.end() && content->second.column >= 0) {
            at.line = content->second.line;
            at.column = content->second.column + static_cast<int>(place.offset);
        }
    }
    return at;
}

const std::string& SourceLocator::lineText(const std::string& file, int line) const
{
    static const std::string none;
    auto cached = m_lines.find(file);
    if (cached == m_lines.end()) {
        std::vector<std::string> lines;
        std::ifstream in(m_dir / file, std::ios::binary);
        std::string text;
        while (std::getline(in, text)) {
            if (!text.empty() && text.back() == '\r')
                text.pop_back();
            lines.push_back(text);
        }
        cached = m_lines.emplace(file, std::move(lines)).first;
    }
    if (line < 0 || static_cast<std::size_t>(line) >= cached->second.size())
        return none;
    return cached->second[static_cast<std::size_t>(line)];
}

void Report::add(Severity severity, const Place& place, const std::string& text)
{
    SourcePosition at;
    if (m_locator)
        at = m_locator->find(place);
    if (at.file.empty())
        at.file = dataFileName(place);
    add(severity, std::move(at), dataPlaceText(place), text);
}

void Report::add(Severity severity, SourcePosition at, std::string place, std::string text)
{
    Diagnostic d { severity, std::move(at), std::move(place), std::move(text) };
    // The same problem found twice (one label given three times) is one problem.
    std::string key = std::to_string(static_cast<int>(severity)) + "|" + d.at.file + "|" + std::to_string(d.at.line) + "|"
        + std::to_string(d.at.column) + "|" + d.place + "|" + d.text;
    if (!m_seen.insert(key).second)
        return;
    (severity == Severity::Error ? m_errors : m_warnings) += 1;
    m_diagnostics.push_back(std::move(d));
}

std::string Report::positionText(const SourcePosition& at) const
{
    if (at.line < 0)
        return at.file;
    int column = at.column;
    if (m_locator)
        column = characterColumn(m_locator->lineText(at.file, at.line), at.column);
    return at.file + ":" + std::to_string(at.line + 1) + ":" + std::to_string(column + 1);
}

void Report::print(std::ostream& out, bool bySource) const
{
    std::vector<const Diagnostic*> order;
    for (const Diagnostic& d : m_diagnostics)
        order.push_back(&d);
    if (bySource) {
        std::stable_sort(order.begin(), order.end(), [](const Diagnostic* a, const Diagnostic* b) {
            if (a->at.file != b->at.file)
                return a->at.file < b->at.file;
            if (a->at.line != b->at.line)
                return a->at.line < b->at.line;
            return a->at.column < b->at.column;
        });
    }
    std::set<std::string> printed;
    for (const Diagnostic* d : order) {
        std::string line = d->severity == Severity::Error ? "error: " : "warning: ";
        std::string position = positionText(d->at);
        if (!position.empty())
            line += position + ": ";
        if (!d->place.empty())
            line += d->place + ": ";
        line += d->text;
        if (printed.insert(line).second)
            out << line << "\n";
    }
}

std::string closestName(const std::string& name, const std::vector<std::string>& candidates)
{
    std::string best;
    std::size_t bestDistance = std::string::npos;
    for (const std::string& candidate : candidates) {
        if (candidate == name)
            continue;
        std::size_t d = editDistance(name, candidate);
        // Among names as close, one with the same first letter is the likelier slip.
        bool sameStart = !name.empty() && !candidate.empty() && !best.empty()
            && std::tolower(static_cast<unsigned char>(candidate[0])) == std::tolower(static_cast<unsigned char>(name[0]))
            && std::tolower(static_cast<unsigned char>(best[0])) != std::tolower(static_cast<unsigned char>(name[0]));
        if (d < bestDistance || (d == bestDistance && sameStart)) {
            bestDistance = d;
            best = candidate;
        }
    }
    std::size_t longest = std::max(name.size(), best.size());
    if (best.empty() || bestDistance * 3 > longest + 1)
        return {};
    return best;
}

std::string didYouMean(const std::string& name, const std::vector<std::string>& candidates)
{
    std::string close = closestName(name, candidates);
    return close.empty() ? std::string() : "; did you mean \"" + close + "\"?";
}

} // namespace vorn::datatool
