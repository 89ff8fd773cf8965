// The three commands of vorn-data, callable from tests. Each writes its messages to `out` and
// returns the exit code.
#pragma once

#include <filesystem>
#include <ostream>

namespace vorn::datatool {

int buildCommand(const std::filesystem::path& sourceDir, const std::filesystem::path& gameDir, std::ostream& out);
int dumpCommand(const std::filesystem::path& gameDir, const std::filesystem::path& sourceDir, std::ostream& out);
// One line per problem; 0 when no error was found, 1 otherwise.
int checkCommand(const std::filesystem::path& gameDir, std::ostream& out);

} // namespace vorn::datatool
