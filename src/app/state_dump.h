// The game state as JSON, for the headless timeline's `dump` and for tests.
#pragma once

#include <filesystem>
#include <nlohmann/json.hpp>

namespace vorn {

struct Context;

nlohmann::json stateToJson(const Context& ctx);
// Writes stateToJson to a file; a failure is reported on stderr and the game goes on.
void writeStateDump(const Context& ctx, const std::filesystem::path& path);

} // namespace vorn
