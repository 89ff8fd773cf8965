// libFuzzer target: a whole game database read from a game folder made of the input.
//
// The input is split at zero bytes into the eleven database files, in loading order (vornINI.DAT
// first); missing parts are empty files. The folder lives in memory (/dev/shm when there is one)
// and is rewritten for every input. A FileError is the expected answer to bad files; a crash, a
// sanitizer report or another exception is a finding.
#include "data/database.h"
#include "data/database_files.h"
#include "data/errors.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr std::array<const char*, 11> fileNames { "vornINI.DAT", "vornMAX.DAT", "vornPLY.DAT", "vornLEV.DAT",
    "vornCTY.DAT", "vornITM.DAT", "vornARM.DAT", "vornEAP.DAT", "vornATS.DAT", "vornMGC.DAT", "vornene.DAT" };

const fs::path& gameFolder()
{
    static const fs::path folder = [] {
        fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        fs::path path = base / ("vorn-fuzz-db-" + std::to_string(::getpid()));
        fs::create_directories(path / "DAT");
        return path;
    }();
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 1 << 18)
        return 0;
    std::string input(reinterpret_cast<const char*>(data), size);
    std::size_t start = 0;
    for (const char* name : fileNames) {
        std::size_t end = start <= input.size() ? input.find('\0', start) : std::string::npos;
        std::string part;
        if (start <= input.size())
            part = input.substr(start, end == std::string::npos ? std::string::npos : end - start);
        std::ofstream(gameFolder() / "DAT" / name, std::ios::binary | std::ios::trunc) << part;
        start = end == std::string::npos ? input.size() + 1 : end + 1;
    }
    // The tables hold about 2.3 MB, too much to allocate, clear or even copy for every input.
    // Each input loads through a scratch copy kept between inputs, and the tables are put back
    // as they were before it: a load that succeeds swaps the loaded tables with the scratch
    // copy, which then holds the tables it started from, and swapping again restores them. Only
    // what readIniFirst writes is assigned afresh; every 1,024th input checks that nothing else
    // was left over from the input before.
    static const auto fresh = std::make_unique<const vorn::Database>();
    static const auto db = std::make_unique<vorn::Database>(*fresh);
    static const auto scratch = std::make_unique<vorn::Database>();
    static unsigned inputs = 0;
    if (++inputs % 1024 == 0 && !(*db == *fresh))
        std::abort();
    try {
        vorn::readIniFirst(*db, gameFolder());
        vorn::loadDatabase(*db, gameFolder(), vorn::StoredValues::Replace, *scratch);
        std::swap(*db, *scratch);
    } catch (const vorn::FileError&) {
    }
    db->ini = fresh->ini;
    db->stored = fresh->stored;
    return 0;
}
