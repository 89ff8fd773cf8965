// Test games need the pictures, sounds and music their data names, since a build is checked
// against them: this writes a stand-in for each one a game folder's data names and lacks.
#pragma once

#include <filesystem>

namespace vorn::datatool {

// Checks the data under `dataRoot` against the files under `into` and writes each missing one
// there: a 512 x 512 black BMP for pictures, a one-byte file for the rest.
void supplyMedia(const std::filesystem::path& dataRoot, const std::filesystem::path& into);

} // namespace vorn::datatool
