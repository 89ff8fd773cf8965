// The party: roster entries 0 to partyLast of the character table.
#pragma once

#include "data/database.h"

namespace vorn {

// Index of the party's last member, kept within the roster so that a loop up to it never leaves
// the character table.
int partyLast(const Database& db);

} // namespace vorn
