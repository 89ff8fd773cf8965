// Loading and writing the game database files under DAT.
#pragma once

#include "data/database.h"
#include "data/errors.h"

#include <filesystem>

namespace vorn {

// The first read of DAT\vornINI.DAT at start-up: the walk step, the window caption and the data
// version (200 when the version line is missing or unreadable). Throws FileError.
void readIniFirst(Database&, const std::filesystem::path& gameRoot);

// Reads the settings a second time and the ten other database files, in the order and at the
// data version (`Ini.dataVersion`, set by readIniFirst) the game uses; fills in the old-format
// defaults, forms the correction sums, clears the event flags of every map and makes
// `Db.lastCharacter` the party's last index (the roster's moves to `Db.lastCharacterSaved`).
// Table sizes beyond what the tables hold are a FileError, like a missing file or a field that
// cannot be read. On failure the database is left as it was.
void loadDatabase(Database&, const std::filesystem::path& gameRoot);

// Writes the eleven database files into gameRoot\DAT (made if missing) in the layout the loader
// reads at `dataVersion`: one record per line, a comma after every value, CR LF line ends, and
// strings quoted only where they must be. The database is taken in its loaded form: the roster's
// last index is `Db.lastCharacterSaved` (`Db.lastCharacter` is not written; `Ini.partyLast` is).
// Trailers are written as held. Throws FileError when a file cannot be written or a value cannot
// be represented (a size beyond capacity, a number that is not finite, a string that would not
// read back); nothing is written then.
void writeDatabase(const Database&, const std::filesystem::path& gameRoot, int dataVersion);

} // namespace vorn
