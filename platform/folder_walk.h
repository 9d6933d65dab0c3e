#pragma once

#include "icons/result.h"
#include "platform/folder_listing.h"

#include <filesystem>
#include <optional>
#include <vector>

namespace orvu {

// The walk over a tree that the window's folder harvest and the command-line
// tool take: depth first, a folder's files before its subfolders, each in
// case-insensitive name order, every folder once however many links lead to
// it. Only the folders being walked are held, never the tree.
class FolderWalk {
public:
    explicit FolderWalk(std::filesystem::path root);

    // A folder entered, with its files or why it can't be listed (its
    // subfolders are the walk's to enter next); or a folder left, once
    // everything below it has been walked. Every folder entered is left.
    struct Step {
        enum class Kind { Enter, Leave };
        Kind kind = Kind::Enter;
        std::filesystem::path folder;
        Result<FolderListing> listing = FolderListing{}; // on entering
    };
    // The next step; nullopt once the root has been left.
    std::optional<Step> next();

    // Leaves `folder` out of the rest of the walk, by whatever path it is
    // reached (FolderLister::passOver).
    void passOver(const std::filesystem::path& folder) { m_lister.passOver(folder); }

    const std::filesystem::path& root() const { return m_root; }

private:
    Step enter(std::filesystem::path folder);

    struct Level {
        std::filesystem::path folder;
        std::vector<std::filesystem::path> subfolders; // still to enter, the next one last
    };

    std::filesystem::path m_root;
    FolderLister m_lister;
    std::vector<Level> m_levels;
    bool m_started = false;
};

} // namespace orvu
