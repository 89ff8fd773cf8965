#include "app/command_line.h"

#include <charconv>

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
  --help, --version
window and sound settings are also read from $XDG_CONFIG_HOME/vorn/player.ini (scale, fullscreen,
music-volume, sound-volume, mute, text-speed; one "name = value" a line); F11 or Alt+Enter remember full screen
there. Keys of the player's own: F1 list of keys, F11 / Alt+Enter full screen, F12 screenshot,
Tab held fast-forward; a game controller's d-pad or stick, A, B and start work as the arrows,
decide, cancel and Space.
exit codes: 0 normal end; 1 ended by the file error dialog; 2 by the event error dialog;
            3 bad command line or input file; 4 an `expect` ran out of time
)";

namespace {

    template <typename T>
    bool parseNumber(const std::string& text, T& value)
    {
        auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        return ec == std::errc() && ptr == text.data() + text.size();
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
    return cl;
}

} // namespace vorn
