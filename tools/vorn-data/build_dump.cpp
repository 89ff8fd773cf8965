#include "commands.h"
#include "game_source.h"
#include "source_yaml.h"

#include "data/errors.h"

namespace vorn::datatool {

int buildCommand(const std::filesystem::path& sourceDir, const std::filesystem::path& gameDir, std::ostream& out)
{
    try {
        GameSource game = readSource(sourceDir);
        auto written = writeGameData(game, gameDir);
        out << "wrote " << written.size() << " files at data version " << game.dataVersion << "\n";
        return 0;
    } catch (const SourceError& error) {
        out << "error: " << error.what() << "\n";
    } catch (const FileError& error) {
        out << "error: " << error.what() << "\n";
    }
    return 1;
}

int dumpCommand(const std::filesystem::path& gameDir, const std::filesystem::path& sourceDir, std::ostream& out)
{
    try {
        GameSource game = readGameData(gameDir);
        writeSource(game, sourceDir);
        out << "dumped data version " << game.dataVersion << " with " << game.maps.size() << " maps\n";
        return 0;
    } catch (const SourceError& error) {
        out << "error: " << error.what() << "\n";
    } catch (const FileError& error) {
        out << "error: " << error.what() << "\n";
    }
    return 1;
}

} // namespace vorn::datatool
