#pragma once

#include "icons/result.h"
#include "platform/open_folder.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace orvu {

struct ListedFile {
    std::string name; // the name without its folder, in the file system's own bytes
    std::filesystem::path path;
    // False for FIFOs, sockets, devices and broken links: they are listed
    // with the files, but must never be opened.
    bool regular = true;

    // The name as a path of one part, for opening the file in its folder.
    std::filesystem::path fileName() const;
};

// One folder's entries, each group in case-insensitive name order.
struct FolderListing {
    std::vector<ListedFile> files;                 // everything that is not a folder
    std::vector<std::filesystem::path> subfolders; // not yet listed by this lister
    std::shared_ptr<const OpenFolder> folder;      // the folder, held open to read the files
};

// Lists the folders of one walk. Each folder is listed at most once, however
// many links lead to it, so a walk over links that form a cycle ends.
class FolderLister {
public:
    // Fails when the folder can't be listed (it doesn't exist, access is
    // denied, it vanished meanwhile).
    Result<FolderListing> list(const std::filesystem::path& folder);
    // Leaves `folder` out of the walk from now on, as if it had been listed,
    // by whatever path it is reached: where a command writes its files.
    void passOver(const std::filesystem::path& folder);

private:
    using Identity = std::pair<std::uint64_t, std::uint64_t>;
    std::optional<Identity> identityOf(const std::filesystem::path& folder) const;
    bool firstVisit(const std::filesystem::path& folder);

    std::set<Identity> m_listed;
    std::set<std::filesystem::path> m_listedPaths; // where the system has no identity
};

} // namespace orvu
