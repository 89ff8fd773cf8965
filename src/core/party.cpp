#include "core/party.h"

#include "data/record.h"

#include <algorithm>

namespace vorn {

int partyLast(const Database& db) { return std::clamp(roundIndex(db.sizes.lastCharacter), 0, capacity::characters - 1); }

} // namespace vorn
