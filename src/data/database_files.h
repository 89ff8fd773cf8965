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
//
// With StoredValues::Keep the fields a file holds keep the values read even where the old-format
// defaults would replace them (attributes, usable flags and battle backgrounds at versions 206 to
// 210, item effect codes up to 210): the files as stored, for the data tool. Fields a file of its
// version does not hold get the defaults either way. Every load keeps the fields the game reads
// past and the bytes after each file's layout in `Db.stored`.
enum class StoredValues { Replace,
    Keep };
void loadDatabase(Database&, const std::filesystem::path& gameRoot, StoredValues = StoredValues::Replace);
// The same, loading into `scratch` (a copy of the tables is assigned over it first) and swapping it
// with the tables on success: a caller that loads again and again keeps the 2 MB of tables'
// storage instead of allocating and clearing it for every load. On success `scratch` holds the
// old tables; on failure the tables are as they were.
void loadDatabase(Database&, const std::filesystem::path& gameRoot, StoredValues, Database& scratch);

// Writes the eleven database files into gameRoot\DAT (made if missing) in the layout the loader
// reads at `dataVersion`: one record per line, a comma after every value, CR LF line ends, and
// strings quoted only where they must be. The database is taken in its loaded form: the roster's
// last index is `Db.lastCharacterSaved` (`Db.lastCharacter` is not written; `Ini.partyLast` is).
// Trailers are written as held, and so is `Db.stored` (read-past fields, the version line of a
// version-200 file, the bytes after each layout). Throws FileError when a file cannot be written or a value cannot
// be represented (a size beyond capacity, a number that is not finite, a string that would not
// read back); nothing is written then.
void writeDatabase(const Database&, const std::filesystem::path& gameRoot, float dataVersion);

} // namespace vorn
