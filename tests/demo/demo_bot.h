// A player bot for the demo game: it runs the real game headless in this process and, frame by
// frame, looks at what the game shows and where the hero stands, and presses keys as a player
// would: it walks the walkthrough's route by the shortest free path, talks to the people on it,
// pages through messages, answers the questions, fights with auto-battle (or runs), buys and
// equips at the shop, rests at the inn, saves and loads, and fights the boss.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vorn::test::demo {

struct BotOptions {
    std::uint32_t seed = 1;
    // A party that fights what it meets, shops and rests; otherwise it runs from every random
    // battle and spends nothing.
    bool fights = true;
    double minuteLimit = 120; // virtual minutes before the bot gives up
    bool verbose = false; // every decision to stderr
};

struct BotReport {
    bool endingReached = false; // the ending script ran after the boss was beaten
    bool gameOver = false;
    std::string stuck; // why the bot gave up, empty when it did not
    int randomBattles = 0, randomWon = 0, randomFled = 0, scriptedBattles = 0, victories = 0;
    int levelUps = 0, purchases = 0, innRests = 0, saves = 0, loads = 0;
    bool bossBeaten = false;
    std::vector<int> levels; // of the party members at the end (or when it stopped)
    float gold = 0;
    double minutes = 0; // virtual play time
    std::vector<std::string> route; // the route's goals, as they were reached
};

// Plays a copy of the demo game in `game` (settings and saves are written there).
BotReport playDemo(const std::filesystem::path& game, const BotOptions& options);

} // namespace vorn::test::demo
