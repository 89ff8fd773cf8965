// Shared steps of the field tests: entering a fixture map at a cell and running passes.
#pragma once

#include "app/main_loop.h"
#include "core/context.h"
#include "field/field_ops.h"
#include "support/field_fixture.h"

#include <algorithm>
#include <string>
#include <vector>

namespace vorn::test {

// Enters map `number` with the player at (column, row) and runs the main loop's entry.
inline void enterAt(Context& ctx, int number, int column, int row)
{
    ctx.game.map = static_cast<float>(number);
    ctx.game.startX = static_cast<float>(column);
    ctx.game.startY = static_cast<float>(row);
    ctx.game.useMapEntry = 0;
    enterMap(ctx);
    mainLoopEntry(ctx);
}

// Runs up to `passes` passes of the main loop; returns true when a new map was entered (its loop
// entry is run).
inline bool runPasses(Context& ctx, int passes)
{
    for (int i = 0; i < passes; ++i) {
        if (mainLoopPass(ctx) == FieldOutcome::MapEntered) {
            mainLoopEntry(ctx);
            return true;
        }
    }
    return false;
}

inline bool anyContains(const std::vector<std::string>& lines, const std::string& text)
{
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(text) != std::string::npos; });
}

} // namespace vorn::test
