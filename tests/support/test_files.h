#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace orvu::test {

// tests/data in the source tree.
std::filesystem::path dataDir();
// The unpacked reference packages (libwine, nsis-common), or an empty path
// when scripts/fetch-corpus.sh has not been run.
std::filesystem::path corpusDir();

std::vector<std::uint8_t> readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

// A fresh, empty folder below the system's temporary folder, removed with
// everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

} // namespace orvu::test
