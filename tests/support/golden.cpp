#include "support/golden.h"

#include <cstdlib>

namespace vorn::test {

std::string compareWithGoldenFile(const Picture& picture, const std::filesystem::path& path)
{
    const char* update = std::getenv("VORN_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        std::error_code ignored;
        std::filesystem::create_directories(path.parent_path(), ignored);
        if (!savePng(picture, path.string()))
            return "cannot write " + path.string();
        return {};
    }
    Picture golden;
    if (!loadPng(path.string(), golden))
        return "missing golden file " + path.string() + " (make it with VORN_UPDATE_GOLDEN=1)";
    if (golden.width != picture.width || golden.height != picture.height)
        return "size differs from " + path.string();
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            if (golden.at(x, y) != picture.at(x, y))
                return "first difference at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
        }
    }
    return {};
}

} // namespace vorn::test
