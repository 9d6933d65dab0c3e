#include "platform/icon_prefetch.h"

#include "platform/icon_files.h"

#include <algorithm>
#include <cassert>

namespace orvu {

IconPrefetch::IconPrefetch(const PngDecoder* png, unsigned workers) : m_png(png) {
    for (unsigned i = 0; i < workers; ++i)
        m_workers.emplace_back([this] { work(); });
}

IconPrefetch::~IconPrefetch() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_workAvailable.notify_all();
    for (std::thread& worker : m_workers)
        worker.join();
}

unsigned IconPrefetch::defaultWorkers() {
    const unsigned processors = std::thread::hardware_concurrency();
    return processors <= 1 ? 0 : std::min(processors - 1, 3u);
}

FileToRead FileToRead::at(const std::filesystem::path& path) {
    return {OpenFolder::open(path.parent_path()), path.filename(), FileSource::Listed::Unknown};
}

void IconPrefetch::submit(std::vector<FileToRead> files) {
    bool wake = false;
    {
        std::lock_guard lock(m_mutex);
        for (FileToRead& file : files)
            m_jobs.push_back(Job{std::move(file), std::nullopt});
        wake = m_idleWorkers > 0 && !files.empty();
    }
    if (wake)
        m_workAvailable.notify_all();
}

PrefetchedFile IconPrefetch::take() {
    Lock lock(m_mutex);
    assert(!m_jobs.empty());
    while (!m_jobs.front().result) {
        if (const auto next = startNext(lock)) {
            complete(*next, lock);
            continue;
        }
        m_scanWaiting = true;
        m_resultReady.wait(lock, [&] { return m_jobs.front().result.has_value(); });
        m_scanWaiting = false;
    }
    PrefetchedFile file = std::move(*m_jobs.front().result);
    m_jobs.pop_front();
    ++m_firstTicket;
    m_iconsWaiting -= file.icons.size();
    // Sleeping workers are woken once half the room ahead has come free, not
    // for every file.
    const bool wake = m_idleWorkers > 0 && m_nextToStart < m_firstTicket + m_jobs.size() &&
                      m_nextToStart <= m_firstTicket + FilesAhead / 2 &&
                      m_iconsWaiting <= IconsWaiting / 2;
    lock.unlock();
    if (wake)
        m_workAvailable.notify_all();
    return file;
}

std::optional<std::size_t> IconPrefetch::startNext(const Lock&) {
    const std::size_t end = m_firstTicket + std::min(m_jobs.size(), FilesAhead);
    m_nextToStart = std::max(m_nextToStart, m_firstTicket);
    // Icons wait only in results of begun jobs, and the front job is begun
    // first: the job the scan wants is never held back by this.
    if (m_nextToStart < end && m_iconsWaiting < IconsWaiting)
        return m_nextToStart++;
    return std::nullopt;
}

void IconPrefetch::complete(std::size_t ticket, Lock& lock) {
    // Jobs stay where they are in the queue while others are added and taken,
    // and this one can't be taken before it has its result.
    const FileToRead& toRead = m_jobs[ticket - m_firstTicket].file;
    lock.unlock();
    PrefetchedFile file = read(toRead);
    lock.lock();
    m_iconsWaiting += file.icons.size();
    m_jobs[ticket - m_firstTicket].result = std::move(file);
    if (m_scanWaiting && ticket == m_firstTicket)
        m_resultReady.notify_one();
}

void IconPrefetch::work() {
    Lock lock(m_mutex);
    while (!m_stopping) {
        if (const auto next = startNext(lock)) {
            complete(*next, lock);
            continue;
        }
        ++m_idleWorkers;
        m_workAvailable.wait(lock);
        --m_idleWorkers;
    }
}

PrefetchedFile IconPrefetch::read(const FileToRead& toRead) const {
    PrefetchedFile file{openIconLibrary(*toRead.folder, toRead.name, toRead.listed, m_png), {}};
    if (!file.library)
        return file;
    IconLibrary& library = *file.library;
    const std::uint32_t ahead = std::min(library.count(), IconsAhead);
    file.icons.reserve(ahead);
    for (std::uint32_t k = 0; k < ahead && !m_stopping; ++k)
        file.icons.push_back(library.largeIcon(k));
    // Closed here rather than by the scan, when nothing more is wanted of it.
    if (file.icons.size() == library.count())
        library.closeFile();
    return file;
}

} // namespace orvu
