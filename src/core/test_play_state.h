// Records of a test play's tools: the F9 overlay with the actions an author asks of it, and the
// game's source watched for changes. None of it is game state: it is never saved, and it changes
// the game only through the actions asked for.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace vorn {

// What the overlay is doing with the keys: showing (only its own letters are taken; the game
// keeps the others), choosing and changing a flag of the current map, or taking a teleport's
// place.
enum class OverlayMode { Closed,
    Showing,
    Flags,
    Teleport };

// An action asked of the overlay. Carried out between two field passes, when no step is being
// walked, so that it never lands in the middle of an event, a menu or a battle.
struct TestPlayAction {
    enum class Kind { SetFlag,
        Teleport,
        Heal,
        ToggleEncounters,
        ToggleWalls };
    Kind kind = Kind::Heal;
    int map = 0, index = 0; // SetFlag: flag (map, index); Teleport: map and (index unused)
    int column = 0, row = 0; // Teleport
    float value = 0; // SetFlag
};

// What rebuilding the game folder from its source gave: whether the new data is in place, and
// the builder's messages, one a line ("error: FILE:LINE:COLUMN: ..." for each error).
struct SourceBuild {
    bool built = false;
    std::string messages;
};

struct WatchedSource {
    std::filesystem::path folder; // the game's source; empty: nothing is watched
    // Rebuilds the game folder from the source; a failed build leaves the game folder as it was.
    std::function<SourceBuild()> rebuild;
    // The source files' paths, modification times and sizes at the last look, in path order.
    struct File {
        std::string path;
        std::filesystem::file_time_type time;
        std::uintmax_t size = 0;
        bool operator==(const File&) const = default;
    };
    std::vector<File> files;
    std::uint64_t nextLookMs = 0; // platform clock
    std::string error; // the first error of the last build, shown over the game; empty when it built
};

struct TestPlayState {
    OverlayMode mode = OverlayMode::Closed;
    int flagCursor = 0; // the flag (current map, flagCursor) chosen in the flags mode
    std::string typed; // what was typed in the flags or teleport mode (digits, "-", blanks)
    std::string said; // the overlay's last line: what the last action did, or why it did not
    std::vector<TestPlayAction> pending;
    WatchedSource watch;
};

} // namespace vorn
