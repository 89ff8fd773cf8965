// A small, complete game folder made in code: database files, the frame sheet FONT.BMP and the
// opening and ending script files. Tests build their fixture games with it.
#pragma once

#include "data/database.h"
#include "platform/picture.h"

#include <filesystem>
#include <string>

namespace vorn::gamegen {

struct StarterOptions {
    int dataVersion = 232;
    std::string titleUtf8 = "ヴォルンの小さな冒険";
    // Added to the trailer fields that make up the correction sums, so fixtures exercise them.
    float correctionBase = 0;
};

// A populated database: three characters, a few items, equipment, spells, enemies, maps.
Database makeStarterDatabase(const StarterOptions& options);

// The frame sheet: window corners, edges and fill, the page prompt and scroll marks, gauge
// pieces and colours, and the condition marks, each in its 16 x 16 cell.
Picture makeFrameSheet();

// Writes the whole game folder at `folder` (DAT, GRP, SAV, FONT.BMP). Throws FileError when a
// file cannot be written.
void writeStarterGame(const std::filesystem::path& folder, const StarterOptions& options = {});

} // namespace vorn::gamegen
