#include "commands.h"
#include "game_source.h"
#include "source_text.h"
#include "source_yaml.h"

#include "data/errors.h"
#include "data/record.h"
#include "platform/file_writing.h"
#include "platform/game_files.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
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

int buildCommand(const fs::path& sourceDir, const fs::path& gameDir, std::ostream& out)
{
    fs::path staging;
    std::error_code ec;
    int result = 1;
    try {
        GameSource game = readSource(sourceDir);
        staging = makeStagingFolder(gameDir);
        auto written = writeGameData(game, staging);
        std::ostringstream problems;
        int errors = checkGame(staging, gameDir, problems);
        out << problems.str();
        if (errors) {
            out << "error: " << errors << (errors == 1 ? " error" : " errors") << " found; nothing was written to "
                << gameDir.string() << "\n";
        } else {
            moveIntoPlace(staging, gameDir, written);
            out << "wrote " << written.size() << " files at data version " << formatNumber(game.dataVersion) << "\n";
            result = 0;
        }
    } catch (const SourceError& error) {
        out << "error: " << error.what() << "\n";
    } catch (const FileError& error) {
        out << "error: " << error.what() << "\n";
    } catch (const fs::filesystem_error& error) {
        out << "error: " << error.what() << "\n";
    }
    if (!staging.empty())
        fs::remove_all(staging, ec);
    return result;
}

int dumpCommand(const fs::path& gameDir, const fs::path& sourceDir, std::ostream& out)
{
    try {
        GameSource game = readGameData(gameDir);
        writeSource(game, sourceDir);
        for (const std::string& warning : game.warnings)
            out << "warning: " << warning << "\n";
        warnUndecodable(sourceDir, out);
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
