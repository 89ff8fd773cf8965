// Screens compared with reference pictures kept under tests/.
#pragma once

#include "platform/picture.h"

#include <filesystem>
#include <string>

namespace vorn::test {

// Compares a picture with the PNG file; with VORN_UPDATE_GOLDEN=1 in the environment writes the
// file instead. Returns an empty string when they match, else why not.
std::string compareWithGoldenFile(const Picture& picture, const std::filesystem::path& path);

} // namespace vorn::test
