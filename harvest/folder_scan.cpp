#include "harvest/folder_scan.h"

#include "harvest/file_harvest.h"
#include "icons/icon_at_size.h"
#include "platform/folder_walk.h"
#include "platform/icon_files.h"
#include "platform/system_failure.h"

namespace orvu {

FolderScan::FolderScan(HarvestWindow& window, FolderKeys& keys, const PngDecoder* png)
    : m_window(window), m_keys(keys), m_png(png), m_pace(window) {}

bool FolderScan::run(const std::filesystem::path& folder, const std::string& pattern) {
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        m_window.reportProblem(messages::folderNotFound(
            folder, error ? systemFailure(error) : Failure{Failure::Kind::NotAFolder, {}}));
        return false;
    }
    m_pattern.emplace(pattern);
    m_prefetch = std::make_unique<IconPrefetch>(m_png, IconPrefetch::defaultWorkers());
    FolderWalk walk(folder);
    while (auto step = walk.next()) {
        if (step->kind == FolderWalk::Step::Kind::Enter) {
            if (!scanFiles(step->folder, std::move(step->listing))) {
                m_stopped = true;
                break;
            }
            continue;
        }
        m_window.showStatus(std::string(messages::idlePrompt()));
        // Back in the folder above, which shows the subfolder it finished.
        if (step->folder != walk.root())
            m_window.showStatus(step->folder);
    }
    m_prefetch.reset();
    if (!m_stopped && !m_skipped.empty())
        m_window.reportProblem(messages::skippedEntries(m_skipped));
    return !m_stopped;
}

bool FolderScan::scanFiles(const std::filesystem::path& folder, Result<FolderListing> listing) {
    if (!listing) {
        m_skipped.push_back({folder, listing.failure()});
        return true;
    }
    std::vector<bool> matches(listing->files.size());
    std::vector<FileToRead> matching;
    for (std::size_t i = 0; i < listing->files.size(); ++i) {
        const ListedFile& file = listing->files[i];
        matches[i] = m_pattern->matches(file.name);
        if (matches[i]) {
            matching.push_back(
                {listing->folder, file.fileName(),
                 file.regular ? FileSource::Listed::AsRegularFile : FileSource::Listed::Unknown});
        }
    }
    m_prefetch->submit(std::move(matching));

    for (std::size_t i = 0; i < listing->files.size(); ++i) {
        const ListedFile& file = listing->files[i];
        if (matches[i]) {
            ++m_filesMatched;
            m_window.showStatus(file.path);
            harvestFile(file, m_prefetch->take());
            if (m_stopped)
                return false;
        }
        if (!m_pace.yield())
            return false;
    }
    return true;
}

void FolderScan::harvestFile(const ListedFile& file, PrefetchedFile prefetched) {
    if (!prefetched.library) {
        m_skipped.push_back({file.path, prefetched.library.failure()});
        return;
    }
    IconLibrary& library = *prefetched.library;
    const auto shared = std::make_shared<const std::filesystem::path>(file.path);
    const FileIcons icons{shared, library.count(),
                          [&](std::uint32_t k) {
                              return k < prefetched.icons.size() ? std::move(prefetched.icons[k])
                                                                 : library.largeIcon(k);
                          },
                          [&](std::uint32_t k, int size, std::uint32_t background) {
                              return drawIconAt(library, k, size, background);
                          },
                          [&](std::uint32_t) { return m_keys.next(); }};
    if (!harvestIcons(m_window, m_pace, icons)) {
        m_stopped = true;
        return;
    }
    // Each program's cursors right after its icons. Its reader has let go
    // of the file once the icons were read; the cursors are read anew.
    if (!m_window.includesCursors() ||
        library.count(GroupKind::Cursor) + library.count(GroupKind::Animated) == 0)
        return;
    auto again = openIconLibrary(file.path, m_png);
    if (!again) {
        m_skipped.push_back({file.path, again.failure()});
        return;
    }
    if (!harvestCursors(m_window, m_pace, shared, *again))
        m_stopped = true;
}

} // namespace orvu
