#include "support/temp_dir.h"

#include <atomic>
#include <random>
#include <stdexcept>
#include <system_error>
#include <unistd.h>

namespace vorn::test {

TempDir::TempDir()
{
    static std::atomic<unsigned> counter { 0 };
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = "vorn-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-"
            + std::to_string(random());
        std::error_code error;
        // create_directory reports false when the folder already exists, so the name is ours.
        if (std::filesystem::create_directory(base / name, error)) {
            m_path = base / name;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

} // namespace vorn::test
