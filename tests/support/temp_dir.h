// A unique temporary folder for a test, removed with everything in it at scope end.
#pragma once

#include <filesystem>
#include <string>

namespace vorn::test {

class TempDir {
public:
    // Creates a new empty folder under the system's temporary folder.
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // The path of `name` inside the folder.
    std::filesystem::path file(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

} // namespace vorn::test
