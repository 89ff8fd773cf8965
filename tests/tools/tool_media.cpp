#include "tool_media.h"

#include "commands.h"

#include "platform/encoding.h"
#include "platform/picture.h"

#include <fstream>
#include <sstream>

namespace vorn::datatool {

namespace fs = std::filesystem;

void supplyMedia(const fs::path& dataRoot, const fs::path& into)
{
    std::ostringstream out;
    checkGame(dataRoot, into, out);
    std::istringstream lines(out.str());
    std::string line;
    while (std::getline(lines, line)) {
        std::string name;
        if (line.rfind("error: FONT.BMP:", 0) == 0) {
            name = "FONT.BMP";
        } else if (auto end = line.rfind(" is missing"); end != std::string::npos && end + 11 == line.size()) {
            auto start = line.rfind(": ", end);
            name = line.substr(start + 2, end - start - 2);
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
