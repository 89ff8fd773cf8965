// Errors raised while loading the game's data files.
#pragma once

#include <stdexcept>

namespace vorn {

// A data file is missing or holds a field that cannot be read where its layout expects one. The
// start-up code turns it into the file error dialog, after which the game ends.
struct FileError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

} // namespace vorn
