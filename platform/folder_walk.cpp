#include "platform/folder_walk.h"

#include <algorithm>

namespace orvu {

FolderWalk::FolderWalk(std::filesystem::path root) : m_root(std::move(root)) {}

std::optional<FolderWalk::Step> FolderWalk::next() {
    if (!m_started) {
        m_started = true;
        return enter(m_root);
    }
    if (m_levels.empty())
        return std::nullopt;
    Level& level = m_levels.back();
    if (!level.subfolders.empty()) {
        std::filesystem::path subfolder = std::move(level.subfolders.back());
        level.subfolders.pop_back();
        return enter(std::move(subfolder));
    }
    Step left{Step::Kind::Leave, std::move(level.folder)};
    m_levels.pop_back();
    return left;
}

FolderWalk::Step FolderWalk::enter(std::filesystem::path folder) {
    Step step{Step::Kind::Enter, folder, m_lister.list(folder)};
    Level level{std::move(folder), {}};
    if (step.listing) {
        level.subfolders = std::move(step.listing->subfolders);
        std::reverse(level.subfolders.begin(), level.subfolders.end());
        step.listing->subfolders.clear();
    }
    m_levels.push_back(std::move(level));
    return step;
}

} // namespace orvu
