#include "tool_media.h"

#include "commands.h"

#include "platform/encoding.h"
#include "platform/picture.h"

#include <fstream>

namespace vorn::datatool {

namespace fs = std::filesystem;

void supplyMedia(const fs::path& dataRoot, const fs::path& into)
{
    Report report;
    checkGame(dataRoot, into, report);
    for (const Diagnostic& d : report.diagnostics()) {
        std::string name;
        if (d.at.file == "FONT.BMP") {
            name = "FONT.BMP";
        } else if (auto end = d.text.find(" is missing"); end != std::string::npos) {
            name = d.text.substr(0, end);
        } else {
            continue;
        }
        for (char& c : name) {
            if (c == '\\')
                c = '/';
        }
        fs::path path = into / name;
        fs::create_directories(path.parent_path());
        std::string extension = path.extension().string();
        if (extension == ".BMP" || extension == ".bmp")
            saveBmpFile(Picture(512, 512), path.string());
        else
            std::ofstream(path, std::ios::binary) << "x";
    }
}

} // namespace vorn::datatool
