// Test play: an author starts the game at the scene being tested instead of at the title, with
// the flags, gold, party and levels that scene needs, or fights one battle and quits with its
// outcome. Given on the command line; applied once, to the first game of the run.
#pragma once

#include <optional>
#include <utility>
#include <string>
#include <vector>

namespace vorn {

struct Context;

struct TestPlayOptions {
    struct Start {
        int map = 0;
        int column = 0, row = 0;
        std::optional<float> facing; // Field.facing: 0 up, 2 right, 4 down, 6 left
    };
    // Flag (map, index) of the flag table set to value.
    struct Flag {
        int map = 0, index = 0;
        float value = 0;
    };
    std::optional<Start> start;
    std::optional<int> startEvent; // map event run right after the start map is entered
    std::vector<Flag> flags;
    std::optional<float> gold;
    std::vector<int> party; // roster entries that make up the party, in order; empty: the game's own
    std::optional<int> level; // every party member raised to this level
    bool noEncounters = false;
    bool overlay = false; // F9 shows what the game holds over it (--test-play)
    std::optional<int> loadSlot; // the saved game (1 to 9) the run starts from
    std::vector<int> battle; // enemy numbers of a battle fought at once; empty: none
    std::string watchSource; // the game's source folder, rebuilt and reloaded when saved; empty: none

    // Whether the run goes straight into a game: every option but --no-encounters sets up the
    // game it starts, so the opening script and the title are passed over.
    bool skipsTitle() const;
    // Whether any test-play option was given: the run is a test play.
    bool any() const { return skipsTitle() || noEncounters || overlay || !watchSource.empty(); }
};

// Thrown when the game cannot take a test-play option (a map, roster entry, enemy or slot it does
// not have); the program ends with the message and the bad command line's exit code.
struct TestPlayRefused {
    std::string message;
};

// Starts the test-play game: the saved game or a new game, the options applied over it, then the
// map entered and the main loop (or the battle, which ends the program). Throws TestPlayRefused
// when the game lacks what an option names.
[[noreturn]] void startTestPlay(Context& ctx, const TestPlayOptions& options);

// Why the game cannot be placed on map `map` (at the cell, when given, and with the map event,
// of --start-event, when given), or "" when it can: the map's files must read, the cell lie
// inside it, the event be one of its events. `option` begins the text ("--start", "teleport").
std::string placeProblem(const Context& ctx, const std::string& option, int map, std::optional<std::pair<int, int>> cell,
    std::optional<int> event);

// The lines of the F9 overlay (none while it is closed): the map, the player's cell and the event
// before it, the cell and event under the pointer, the flags of the current map's row of the flag
// table, ten a line, then the keys of what it does and what it did last.
std::vector<std::string> testPlayOverlay(const Context& ctx);
// A key pressed (Platform::setOverlay): F9 opens and closes the overlay; while it is open it takes
// its own keys, which change only what it shows or ask for an action, carried out later by
// testPlayBetweenPasses. True when the overlay took the key.
bool testPlayOverlayKey(Context& ctx, int virtualKey);
// Between two field passes (no step under way): carries out the actions asked of the overlay and
// looks at the watched source, rebuilding and reloading the game when it changed. True when the
// map was entered or reloaded (the loop entry comes next).
bool testPlayBetweenPasses(Context& ctx);

} // namespace vorn
