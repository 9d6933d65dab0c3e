#pragma once

#include <filesystem>
#include <memory>

namespace orvu {

// A folder held open while its files are read, so that each file is opened
// by its name alone: the system then looks up one name instead of walking
// the folder's whole path again for every file. Where a folder can't be held
// open (or the system has no way to open by name), files are opened by their
// full path as usual.
class OpenFolder {
public:
    static std::shared_ptr<const OpenFolder> open(const std::filesystem::path& folder);
    ~OpenFolder();
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // The folder's descriptor, or -1 (always, on Windows).
    int descriptor() const { return m_descriptor; }

private:
    OpenFolder(std::filesystem::path path, int descriptor);

    std::filesystem::path m_path;
    int m_descriptor = -1;
};

} // namespace orvu
