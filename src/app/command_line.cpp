#include "app/command_line.h"

#include "data/database.h"
#include "data/script_files.h"

#include <charconv>
#include <set>
#include <vector>

namespace vorn {

const char* const usageText = R"(usage: vorn [GAME_DIR] [options]
  GAME_DIR            the game's folder (default: the current directory); the program works inside it
  --scale N           window scale, 1 to 8 (default 2)      --fullscreen, --windowed
  --music-volume N    music volume in percent (default 100)  --sound-volume N  effects, the same
  --mute              no music and no effects
  --text-speed N      typing delay per character in 10 ms steps, 0 (whole lines at once) to 10
                      (default 1 in a window, 0 headless)
  --headless          no window, no audio device; a virtual clock: pauses and frames take no real time
  --input FILE        input timeline; when it has run out the program ends with exit code 0
  --seed N            seed of the random generator (default: from the clock)
  --transcript FILE   one line per event: virtual milliseconds, TAB, kind, TAB, text (UTF-8)
  --shots DIR         folder for `shot` (default: the current directory)
  --save-dir DIR      where vorn.ini and the saved games (SAV) are kept (default: the game folder;
                      a game folder that cannot be written uses $XDG_DATA_HOME/vorn/GAME)
  --record FILE       write the play as an input timeline (with its seed and text speed) that
                      `--headless --input FILE` replays exactly; the recorded run's clock and
                      dates are those of a headless run
  --dump-at-end FILE  write the game state to FILE when the program ends (as `dump` does)
  --language LANG     play with the translation GAME/Language/LANG.po, or the PO file LANG when it
                      is a path (holds a "/" or ends in .po); untranslated texts stay as they are
  --stats             in a window: every 10 s and at the end, passes/s, presents/s, sleeps per pass and
                      the intervals between passes on stderr, with the start-up steps' times
  --show-fps          in a window: passes/s and the frame time over the game, renewed every second;
                      F3 hides and shows them (F3 is the player's in this run and in a test play)
  --help, --version
test play (saves and vorn.ini go to a scratch folder removed at the end unless --save-dir is given;
all but --no-encounters and --test-play start the game at once, without the opening and the title):
  --start MAP,X,Y[,FACING]  a new game on map MAP at column X, row Y, facing up, down, left or
                      right (or the script digits 8, 2, 4, 6); the game's start event does not run
  --start-event N     run event N of the start map as soon as it is entered
  --flag A,B=V        set flag (A, B) of the flag table to V, before the map is entered; may be
                      given again (an event's entry line is the flag (map, event))
  --gold N            the party's gold
  --party I,J,...     the party: these roster entries (from 0), in this order
  --level N           raise every party member to level N (hit points and magic points full)
  --no-encounters     no random battles in this run (also without the other test-play options)
  --test-play         a test play from the title. F9 opens the overlay: in a window it shows over the
                      game the map, the player's cell and the event before it, the cell and event
                      under the pointer and the flags of the map's row of the flag table; its keys
                      (headless too): F change a flag, T teleport, H heal the party, E random
                      battles off and on, W walk through walls or not
  --watch SRC_DIR     a test play that builds the game folder from its source SRC_DIR (as `vorn-data
                      build` does) at the start and whenever a source file is saved, then reloads
                      the current map in place, keeping the player's place, the flags and the
                      party; a build with errors shows its first error and the game goes on
  --load-slot N       start from saved game N (1 to 9); the options above then change it
  --battle E[,E...]   fight enemies E (one to six enemy numbers) at once on the start map, then
                      quit: exit code 0 won, 5 lost, 6 the party fled, 7 the enemies fled
window and sound settings are also read from $XDG_CONFIG_HOME/vorn/player.ini (scale, fullscreen,
music-volume, sound-volume, mute, text-speed; one "name = value" a line); F11 or Alt+Enter remember full screen
there. Keys of the player's own: F1 list of keys, F11 / Alt+Enter full screen, F12 screenshot,
Tab held fast-forward; a game controller's d-pad or stick, A, B and start work as the arrows,
decide, cancel and Space.
exit codes: 0 normal end; 1 ended by the file error dialog; 2 by the event error dialog;
            3 bad command line or input file (or a test-play option the game cannot take);
            4 an `expect` ran out of time; 5 to 7 the outcome of --battle
)";

namespace {

    template <typename T>
    bool parseNumber(const std::string& text, T& value)
    {
        auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        return ec == std::errc() && ptr == text.data() + text.size();
    }

    std::vector<std::string> splitAt(const std::string& text, char separator)
    {
        std::vector<std::string> parts;
        std::size_t from = 0;
        for (;;) {
            std::size_t at = text.find(separator, from);
            parts.push_back(text.substr(from, at - from));
            if (at == std::string::npos)
                return parts;
            from = at + 1;
        }
    }

    // A whole number from `low` to `high`, or nothing.
    std::optional<int> numberIn(const std::string& text, int low, int high)
    {
        int number = 0;
        if (!parseNumber(text, number) || number < low || number > high)
            return std::nullopt;
        return number;
    }

    // A list of one to `most` whole numbers from `low` to `high`, separated by commas.
    std::optional<std::vector<int>> numberList(const std::string& text, int low, int high, std::size_t most)
    {
        std::vector<int> numbers;
        for (const std::string& part : splitAt(text, ',')) {
            auto number = numberIn(part, low, high);
            if (!number)
                return std::nullopt;
            numbers.push_back(*number);
        }
        if (numbers.size() > most)
            return std::nullopt;
        return numbers;
    }

    // Field.facing of a facing word or a script direction digit.
    std::optional<float> facingOf(const std::string& text)
    {
        if (text == "up" || text == "8")
            return 0.0f;
        if (text == "right" || text == "6")
            return 2.0f;
        if (text == "down" || text == "2")
            return 4.0f;
        if (text == "left" || text == "4")
            return 6.0f;
        return std::nullopt;
    }

    // The largest whole number a game value (a 32-bit float) holds exactly.
    constexpr int largestExact = 16777216;
    constexpr int largestCell = 1023; // the largest map side less one

    // Reads the value of a test-play option into `options`; false with `error` set when it is bad.
    bool readTestPlay(const std::string& arg, const std::string& text, TestPlayOptions& options, std::string& error)
    {
        auto refuse = [&](const std::string& what) {
            error = arg + " " + text + ": " + what;
            return false;
        };
        if (arg == "--start") {
            std::vector<std::string> parts = splitAt(text, ',');
            if (parts.size() < 3 || parts.size() > 4)
                return refuse("give MAP,X,Y or MAP,X,Y,FACING");
            auto map = numberIn(parts[0], 0, capacity::maps - 1);
            auto column = numberIn(parts[1], 0, largestCell);
            auto row = numberIn(parts[2], 0, largestCell);
            if (!map)
                return refuse("the map is a whole number from 0 to " + std::to_string(capacity::maps - 1));
            if (!column || !row)
                return refuse("the column and row are whole numbers from 0 to " + std::to_string(largestCell));
            TestPlayOptions::Start start { *map, *column, *row, std::nullopt };
            if (parts.size() == 4) {
                start.facing = facingOf(parts[3]);
                if (!start.facing)
                    return refuse("the facing is up, down, left or right (or 8, 2, 4, 6)");
            }
            options.start = start;
        } else if (arg == "--start-event") {
            options.startEvent = numberIn(text, 0, maxScriptEvents - 1);
            if (!options.startEvent)
                return refuse("an event number from 0 to " + std::to_string(maxScriptEvents - 1));
        } else if (arg == "--flag") {
            std::size_t equals = text.find('=');
            auto cell = numberList(text.substr(0, equals), 0, capacity::flagsPerMap - 1, 2);
            auto value = equals == std::string::npos ? std::nullopt : numberIn(text.substr(equals + 1), -largestExact, largestExact);
            if (!cell || cell->size() != 2 || !value)
                return refuse("give A,B=V: A and B from 0 to " + std::to_string(capacity::flagsPerMap - 1)
                    + ", V a whole number");
            options.flags.push_back({ (*cell)[0], (*cell)[1], static_cast<float>(*value) });
        } else if (arg == "--gold") {
            auto gold = numberIn(text, 0, largestExact);
            if (!gold)
                return refuse("a whole number from 0 to " + std::to_string(largestExact));
            options.gold = static_cast<float>(*gold);
        } else if (arg == "--party") {
            auto party = numberList(text, 0, capacity::characters - 1, capacity::characters);
            if (!party || std::set<int>(party->begin(), party->end()).size() != party->size())
                return refuse("different roster entries from 0 to " + std::to_string(capacity::characters - 1)
                    + ", separated by commas");
            options.party = *party;
        } else if (arg == "--level") {
            options.level = numberIn(text, 1, capacity::levels);
            if (!options.level)
                return refuse("a level from 1 to " + std::to_string(capacity::levels));
        } else if (arg == "--load-slot") {
            options.loadSlot = numberIn(text, 1, 9);
            if (!options.loadSlot)
                return refuse("a slot from 1 to 9");
        } else {
            auto enemies = numberList(text, 0, capacity::enemies - 1, capacity::encounterSlots);
            if (!enemies)
                return refuse("one to six enemy numbers from 0 to " + std::to_string(capacity::enemies - 1)
                    + ", separated by commas");
            options.battle = *enemies;
        }
        return true;
    }

    bool isTestPlayOption(const std::string& arg)
    {
        return arg == "--start" || arg == "--start-event" || arg == "--flag" || arg == "--gold" || arg == "--party"
            || arg == "--level" || arg == "--load-slot" || arg == "--battle";
    }

} // namespace

std::optional<CommandLine> parseCommandLine(int argc, const char* const* argv, std::string& error)
{
    CommandLine cl;
    bool haveDirectory = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](std::string& out) -> bool {
            if (i + 1 >= argc) {
                error = arg + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        std::string text;
        if (arg == "--help" || arg == "-h") {
            cl.help = true;
        } else if (arg == "--version") {
            cl.version = true;
        } else if (arg == "--headless") {
            cl.headless = true;
        } else if (arg == "--stats") {
            cl.stats = true;
        } else if (arg == "--show-fps") {
            cl.showPasses = true;
        } else if (arg == "--fullscreen" || arg == "--windowed") {
            cl.player.fullscreen = arg == "--fullscreen";
        } else if (arg == "--mute") {
            cl.player.mute = true;
        } else if (arg == "--scale" || arg == "--music-volume" || arg == "--sound-volume" || arg == "--text-speed") {
            if (!value(text))
                return std::nullopt;
            bool scale = arg == "--scale";
            int number = 0, high = scale ? 8 : arg == "--text-speed" ? 10
                                                                     : 100;
            if (!parseNumber(text, number) || number < (scale ? 1 : 0) || number > high) {
                error = arg + " takes a whole number from " + (scale ? "1" : "0") + " to " + std::to_string(high);
                return std::nullopt;
            }
            if (scale)
                cl.player.scale = number;
            else if (arg == "--music-volume")
                cl.player.musicVolume = number;
            else if (arg == "--sound-volume")
                cl.player.soundVolume = number;
            else
                cl.player.textDelay = number;
        } else if (arg == "--seed") {
            if (!value(text))
                return std::nullopt;
            std::uint32_t seed = 0;
            if (!parseNumber(text, seed)) {
                error = "--seed takes a whole number from 0 to 4294967295";
                return std::nullopt;
            }
            cl.seed = seed;
        } else if (arg == "--input") {
            if (!value(cl.inputFile))
                return std::nullopt;
        } else if (arg == "--transcript") {
            if (!value(cl.transcriptFile))
                return std::nullopt;
        } else if (arg == "--shots") {
            if (!value(cl.shotsDirectory))
                return std::nullopt;
        } else if (arg == "--save-dir") {
            if (!value(cl.saveDirectory))
                return std::nullopt;
        } else if (arg == "--record") {
            if (!value(cl.recordFile))
                return std::nullopt;
        } else if (arg == "--dump-at-end") {
            if (!value(cl.endDumpFile))
                return std::nullopt;
        } else if (isTestPlayOption(arg)) {
            if (!value(text) || !readTestPlay(arg, text, cl.testPlay, error))
                return std::nullopt;
        } else if (arg == "--no-encounters") {
            cl.testPlay.noEncounters = true;
        } else if (arg == "--test-play") {
            cl.testPlay.overlay = true;
        } else if (arg == "--watch") {
            if (!value(cl.testPlay.watchSource))
                return std::nullopt;
            if (cl.testPlay.watchSource.empty()) {
                error = "--watch takes the game's source folder";
                return std::nullopt;
            }
        } else if (arg == "--language") {
            if (!value(cl.language))
                return std::nullopt;
            if (cl.language.empty()) {
                error = "--language takes a language name or a .po file";
                return std::nullopt;
            }
        } else if (!arg.empty() && arg[0] == '-') {
            error = "unknown option " + arg;
            return std::nullopt;
        } else if (!haveDirectory) {
            cl.gameDirectory = arg;
            haveDirectory = true;
        } else {
            error = "only one game folder may be given";
            return std::nullopt;
        }
    }
    if (!cl.testPlay.battle.empty() && cl.testPlay.startEvent) {
        error = "--battle and --start-event cannot be given together";
        return std::nullopt;
    }
    return cl;
}

} // namespace vorn
