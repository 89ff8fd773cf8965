// Live reload of a test play: the game's source folder is watched while the game runs; when a
// source file is saved, the game folder is rebuilt from it and the running game takes the new
// data in place, keeping where the player stands, the flags and the party.
#pragma once

#include <string>

namespace vorn {

struct Context;

// Starts watching ctx.testPlay.watch.folder (its rebuild call set): builds the game folder from
// the source once, so that the game starts with the data the source makes, and notes the source
// files as they are. A build that fails leaves the game folder as it was; its first error is shown
// over the game from the start.
void startWatching(Context& ctx);

// Looks at the source files once every 250 ms of the platform clock. When one was saved (or added
// or removed) since the last look, rebuilds the game folder: a build with errors shows its first
// error over the game and the game goes on with the data it has; a build that succeeds is taken
// in (reloadGame). True when the map was reloaded.
bool lookAtWatchedSource(Context& ctx);

// Takes the rebuilt game folder into the running game: the database tables read anew with what
// a saved game keeps carried over (the party and roster, gold, flags, visited towns, the player's
// place), then the current map reloaded in place. Returns why it could not ("" when it did); the
// game is then as it was.
std::string reloadGame(Context& ctx);

} // namespace vorn
