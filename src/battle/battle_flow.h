// Steps of the battle flow shared by the battle's own files (and tests).
#pragma once

namespace vorn {

struct Context;

// Fills the enemy slots: the scripted enemies, or a random group from the map's table. Returns
// false when not even one enemy of the table fits the map's group size (no battle then).
bool ChooseEnemyGroup(Context& ctx);
// Everything before the first action: music, battle copies, group, pictures, "が現れた！！".
// Returns false when no enemy could be placed.
bool setUpBattle(Context& ctx);
// The start of a round: acted flags and the count of actions.
void startRound(Context& ctx);
// The round loop from the first action of a fresh battle, or (`resumed`) from the break counter
// of the action a suspended battle stopped at; returns when the battle ended or was suspended.
void runRounds(Context& ctx, bool resumed);
// The end the result asks for: the victory (WinBattle), the clean-up after a flight, the game
// over of a lost random battle or the clean-up of a lost scripted one; nothing when suspended.
void finishBattle(Context& ctx);
// The enemy-target cursor over the enemy row: the chosen slot, or -1 when cancelled.
int chooseEnemyTarget(Context& ctx);

} // namespace vorn
