// The player's command line.
#pragma once

#include "app/test_play.h"
#include "platform/player_settings.h"

#include <cstdint>
#include <optional>
#include <string>

namespace vorn {

struct CommandLine {
    std::string gameDirectory = "."; // the game's folder; the program works inside it
    // Window and sound settings given on the command line; they override the player settings
    // file for this run.
    PlayerSettings player;
    bool headless = false;
    bool stats = false; // the window's pacing figures on stderr
    bool showPasses = false; // passes/s and the frame time shown over the game (F3 toggles them)
    std::string inputFile; // input timeline; empty for none
    std::optional<std::uint32_t> seed;
    std::string transcriptFile; // empty for none
    std::string shotsDirectory = ".";
    std::string saveDirectory; // settings file and saved games; empty: the game folder
    std::string recordFile; // where the play is recorded as an input timeline; empty for none
    std::string endDumpFile; // the game state written at the end of the run; empty for none
    TestPlayOptions testPlay;
    // The translation to play with: a name (GAME/Language/NAME.po) or a path to a .po file;
    // empty for the game's own texts.
    std::string language;
    bool help = false;
    bool version = false;
};

// Parses argv; on a bad command line returns nothing and sets `error`.
std::optional<CommandLine> parseCommandLine(int argc, const char* const* argv, std::string& error);

extern const char* const usageText;

} // namespace vorn
