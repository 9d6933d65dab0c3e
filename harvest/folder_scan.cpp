#include "folder_scan.h"

#include "icon_cell.h"
#include "icon_library.h"
#include "icon_list.h"
#include "like_pattern.h"
#include "path_text.h"
#include "text_case.h"

#include <algorithm>

namespace orvu {
namespace {

constexpr std::size_t SkippedNamedInReport = 5;

} // namespace

FolderScan::FolderScan(HarvestWindow& window, HarvestCounters& counters, const PngDecoder* png)
    : m_window(window), m_counters(counters), m_png(png) {}

void FolderScan::run(const std::filesystem::path& folder, const std::string& pattern) {
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        m_window.reportProblem("找不到文件夹“" + displayText(folder) + "”" +
                               (error ? "：" + error.message() : std::string()) +
                               "。请重新选择要提取图标的文件夹。");
        m_stopped = true;
        return;
    }
    m_upperPattern = toUpper(decodeUtf8Lenient(pattern));
    m_prefetch = std::make_unique<IconPrefetch>(m_png, IconPrefetch::defaultWorkers());
    scanFolder(folder);
    m_prefetch.reset();
    if (!m_stopped)
        reportSkipped();
}

void FolderScan::scanFolder(const std::filesystem::path& folder) {
    m_counters.IconNumber = m_counters.IconTotal;
    auto listing = m_lister.list(folder);
    if (!listing) {
        m_skipped.push_back({folder, m_lister.lastError()});
        listing.emplace();
    }

    std::vector<bool> matches(listing->files.size());
    std::vector<FileToRead> matching;
    for (std::size_t i = 0; i < listing->files.size(); ++i) {
        const ListedFile& file = listing->files[i];
        matches[i] = likeMatch(toUpper(decodeUtf8Lenient(file.name)), m_upperPattern);
        if (matches[i]) {
            matching.push_back(
                {listing->folder, file.fileName(),
                 file.regular ? FileSource::Listed::AsRegularFile : FileSource::Listed::Unknown});
        }
    }
    std::size_t ticket = m_prefetch->submit(std::move(matching));

    for (std::size_t i = 0; i < listing->files.size(); ++i) {
        const ListedFile& file = listing->files[i];
        if (matches[i]) {
            ++m_filesMatched;
            m_window.showStatus(file.path);
            harvestFile(file, m_prefetch->take(ticket++));
            if (m_stopped)
                return;
        }
        if (!m_window.yieldToEvents()) {
            m_stopped = true;
            return;
        }
    }
    for (const std::filesystem::path& subfolder : listing->subfolders) {
        m_counters.IconNumber = m_counters.IconTotal;
        scanFolder(subfolder);
        if (m_stopped)
            return;
        m_window.showStatus(subfolder);
    }
    m_window.showStatus(std::string(IdlePrompt));
}

void FolderScan::harvestFile(const ListedFile& file, PrefetchedFile prefetched) {
    IconLibrary& library = prefetched.library;
    if (!library.readError().empty())
        m_skipped.push_back({file.path, library.readError()});
    const std::uint32_t count = library.count();
    for (std::uint32_t k = 0; k < count; ++k) {
        const IconCell cell = renderIconCell(
            m_window, k < prefetched.icons.size() ? prefetched.icons[k] : library.largeIcon(k));
        ++m_counters.IconNumber;
        m_counters.IconTotal = m_counters.IconNumber;
        const std::string key = "my" + std::to_string(m_counters.IconNumber);
        if (!m_window.addImage(key, cell)) {
            m_window.reportProblem("图像关键字“" + key + "”已经存在，提取在“" +
                                   displayText(file.path) + "”处停止。");
            m_stopped = true;
            return;
        }
    }
    rebuildIconList(m_window);
}

void FolderScan::reportSkipped() {
    if (m_skipped.empty())
        return;
    std::string message =
        "有 " + std::to_string(m_skipped.size()) + " 个文件夹或文件无法读取，已跳过：";
    const std::size_t named = std::min(m_skipped.size(), SkippedNamedInReport);
    for (std::size_t i = 0; i < named; ++i)
        message += "\n" + displayText(m_skipped[i].path) + "（" + m_skipped[i].reason + "）";
    if (m_skipped.size() > named)
        message += "\n……";
    m_window.reportProblem(message);
}

} // namespace orvu
