#include "commands.h"
#include "game_source.h"
#include "source_text.h"
#include "source_yaml.h"

#include "data/errors.h"
#include "data/record.h"
#include "data/script_files.h"
#include "platform/file_writing.h"
#include "platform/game_files.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>

namespace vorn::datatool {

namespace fs = std::filesystem;

namespace {

    // The folder a build is written into before it is moved into the game: beside the game
    // folder, so that a failed build leaves no trace in it and the moves stay on one disk. It is
    // made under a new unique name (.GAME.vorn-data-build-XXXXXX); the ones a killed build left
    // are removed first (a link among them is removed itself, never followed).
    fs::path makeStagingFolder(const fs::path& gameDir)
    {
        fs::path game = fs::absolute(gameDir).lexically_normal();
        if (!game.has_filename())
            game = game.parent_path();
        std::string stem = "." + game.filename().string() + ".vorn-data-build";
        std::error_code ec;
        fs::create_directories(game.parent_path(), ec);
        for (fs::directory_iterator it(game.parent_path(), ec), end; !ec && it != end; it.increment(ec)) {
            std::string name = it->path().filename().string();
            if (name == stem || (name.size() == stem.size() + 7 && name.compare(0, stem.size() + 1, stem + "-") == 0)) {
                std::error_code removed;
                fs::remove_all(it->path(), removed);
            }
        }
        std::string pattern = (game.parent_path() / (stem + "-XXXXXX")).string();
        if (!::mkdtemp(pattern.data()))
            throw FileError(game.parent_path().string() + ": no folder can be made for the build: " + std::strerror(errno));
        return pattern;
    }

    // Moves the built files into the game folder (each move replaces one file at once).
    void moveIntoPlace(const fs::path& staging, const fs::path& gameDir, const std::vector<std::string>& written)
    {
        std::error_code ec;
        fs::create_directories(gameDir, ec);
        for (const char* folder : { "DAT", "SAV" }) {
            if (!resolveGamePath(gameDir, folder) && resolveGamePath(staging, folder))
                fs::create_directories(gameDir / folder, ec);
        }
        for (const std::string& name : written) {
            auto from = resolveGamePath(staging, name);
            auto to = resolveGamePathForWriting(gameDir, name);
            if (!from || !to)
                throw FileError(name + ": cannot be moved into " + gameDir.string());
            fs::rename(*from, *to, ec);
            if (!ec)
                continue;
            // The game folder on another disk than its parent: written there anew instead.
            auto bytes = readWholeFile(*from);
            if (!bytes
                || !writeWholeFileAtomically(
                    *to, std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size())))
                throw FileError(name + ": cannot be moved into " + gameDir.string() + ": " + ec.message());
        }
    }

    // Escapes of bytes that are not cp932 text in the source files just written, one warning
    // per line that holds them.
    void warnUndecodable(const fs::path& sourceDir, std::ostream& out)
    {
        std::error_code ec;
        for (const auto& entry : fs::recursive_directory_iterator(sourceDir, ec)) {
            if (entry.path().extension() != ".yaml")
                continue;
            std::ifstream file(entry.path(), std::ios::binary);
            std::string line;
            for (int number = 1; std::getline(file, line); ++number) {
                auto escapes = undecodableEscapes(line);
                if (escapes.empty())
                    continue;
                std::string shown;
                for (const std::string& e : escapes)
                    shown += (shown.empty() ? "" : " ") + e;
                out << "warning: " << fs::relative(entry.path(), sourceDir).generic_string() << ": line " << number
                    << ": bytes that are not cp932 text kept as " << shown << "\n";
            }
        }
    }

} // namespace

namespace {

    // The list of data files the last build wrote into a game folder, so that the next build can
    // remove those no source makes any more. It stands in the game folder, not in DAT.
    const char* const kManifestName = ".vorn-data-built";

    std::vector<std::string> readManifest(const fs::path& gameDir)
    {
        std::vector<std::string> names;
        std::ifstream in(gameDir / kManifestName, std::ios::binary);
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (!line.empty() && line[0] != '#')
                names.push_back(line);
        }
        return names;
    }

    void writeManifest(const fs::path& gameDir, const std::vector<std::string>& written)
    {
        std::string text = "# The data files `vorn-data build` wrote here last; the next build removes those its source "
                           "no longer makes.\n";
        for (const std::string& name : written) {
            if (name.rfind("DAT\\", 0) == 0)
                text += name + "\n";
        }
        writeWholeFileAtomically(gameDir / kManifestName, text);
    }

    // Whether a data file name is one a source makes or stops making: a map's three files and the
    // opening and ending scripts (the database files are always written; saved games are the
    // player's as much as the author's).
    bool removableDataFile(const std::string& name)
    {
        if (name == storyFileName(StoryKind::Opening) || name == storyFileName(StoryKind::Ending))
            return true;
        if (name.size() != 16 || name.compare(0, 8, "DAT\\vorn") != 0 || name.compare(12, 4, ".dat") != 0)
            return false;
        return (name[8] == 'M' || name[8] == 'T' || name[8] == 'E') && std::isdigit(static_cast<unsigned char>(name[9]))
            && std::isdigit(static_cast<unsigned char>(name[10])) && std::isdigit(static_cast<unsigned char>(name[11]));
    }

    // Removes what the previous build wrote and this one did not; returns the names removed.
    std::vector<std::string> removeStaleFiles(const fs::path& gameDir, const std::vector<std::string>& written)
    {
        std::vector<std::string> removed;
        std::set<std::string> now(written.begin(), written.end());
        for (const std::string& name : readManifest(gameDir)) {
            if (now.count(name) || !removableDataFile(name))
                continue;
            if (auto path = resolveGamePath(gameDir, name)) {
                std::error_code ec;
                if (fs::remove(*path, ec))
                    removed.push_back(name);
            }
        }
        return removed;
    }

} // namespace

int buildCommand(const fs::path& sourceDir, const fs::path& gameDir, std::ostream& out)
{
    std::error_code ec;
    if (!fs::is_directory(sourceDir, ec)) {
        out << "error: " << sourceDir.string() << ": no such folder\n";
        return 1;
    }
    SourceLocator locator(sourceDir);
    Report report(&locator);
    SourceReader reader(sourceDir, report, locator);
    GameSource game = readSource(reader);

    fs::path staging;
    bool checked = false;
    std::vector<std::string> written;
    // A file that could not be read leaves the data incomplete, and checking it would only
    // report what is missing because of it.
    if (!reader.broken()) {
        try {
            staging = makeStagingFolder(gameDir);
            written = writeGameData(game, staging);
            checkGame(staging, gameDir, report);
            checked = true;
        } catch (const FileError& error) {
            // A text the source already reported cannot be written either: that is no news.
            if (report.errors() == 0)
                report.add(Severity::Error, SourcePosition {}, "", error.what());
        } catch (const fs::filesystem_error& error) {
            report.add(Severity::Error, SourcePosition {}, "", error.what());
        }
    }
    report.print(out, true);
    int result = 1;
    if (int errors = report.errors()) {
        out << "error: " << errors << (errors == 1 ? " error" : " errors") << " found; nothing was written to "
            << gameDir.string() << "\n";
        if (!checked)
            out << "note: the built data is checked once every source file can be read\n";
    } else {
        try {
            moveIntoPlace(staging, gameDir, written);
            for (const std::string& name : removeStaleFiles(gameDir, written))
                out << "removed " << name << ": an earlier build wrote it and no source makes it now\n";
            writeManifest(gameDir, written);
            out << "wrote " << written.size() << " files at data version " << formatNumber(game.dataVersion) << "\n";
            result = 0;
        } catch (const FileError& error) {
            out << "error: " << error.what() << "\n";
        }
    }
    if (!staging.empty())
        fs::remove_all(staging, ec);
    return result;
}

int dumpCommand(const fs::path& gameDir, const fs::path& sourceDir, std::ostream& out, bool force)
{
    std::error_code ec;
    if (!force && fs::exists(sourceDir, ec) && !fs::is_empty(sourceDir, ec)) {
        out << "error: " << sourceDir.string()
            << ": the folder is not empty; dump writes into a new or empty folder (--force writes over the files "
               "of the same names)\n";
        return 1;
    }
    std::set<fs::path> before;
    for (const char* folder : { "", "maps", "saves" }) {
        for (const auto& entry : fs::directory_iterator(sourceDir / folder, ec)) {
            if (entry.path().extension() == ".yaml")
                before.insert(fs::relative(entry.path(), sourceDir, ec));
        }
    }
    try {
        GameSource game = readGameData(gameDir);
        writeSource(game, sourceDir);
        for (const std::string& warning : game.warnings)
            out << "warning: " << warning << "\n";
        warnUndecodable(sourceDir, out);
        // Files a forced dump did not write stay, and a build would read them.
        std::set<fs::path> written { "game.yaml", "characters.yaml", "levels.yaml", "towns.yaml", "attributes.yaml",
            "items.yaml", "equipment.yaml", "encounters.yaml", "targets.yaml", "spells.yaml", "enemies.yaml" };
        if (game.opening)
            written.insert("opening.yaml");
        if (game.ending)
            written.insert("ending.yaml");
        for (const auto& entry : game.maps)
            written.insert(fs::path("maps") / mapSourceName(entry.first));
        for (const auto& entry : game.slots)
            written.insert(fs::path("saves") / ("slot" + std::to_string(entry.first) + ".yaml"));
        for (const fs::path& old : before) {
            if (!written.count(old))
                out << "warning: " << old.generic_string()
                    << ": not written by this dump; it is still there, and a build reads it\n";
        }
        out << "dumped data version " << formatNumber(game.dataVersion) << " with " << game.maps.size() << " maps\n";
        return 0;
    } catch (const SourceError& error) {
        out << "error: " << error.what() << "\n";
    } catch (const FileError& error) {
        out << "error: " << error.what() << "\n";
    }
    return 1;
}

} // namespace vorn::datatool
