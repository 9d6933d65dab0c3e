#include "icon_prefetch.h"

#include <algorithm>
#include <stdexcept>

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
    return processors <= 1 ? 0 : std::min(processors, 4u);
}

std::size_t IconPrefetch::submit(std::filesystem::path path) {
    std::size_t ticket = 0;
    {
        std::lock_guard lock(m_mutex);
        ticket = m_firstTicket + m_jobs.size();
        m_jobs.push_back(Job{std::move(path), false, std::nullopt});
        if (m_idleWorkers == 0)
            return ticket;
    }
    m_workAvailable.notify_one();
    return ticket;
}

PrefetchedFile IconPrefetch::take(std::size_t ticket) {
    std::unique_lock lock(m_mutex);
    if (m_jobs.empty() || ticket != m_firstTicket)
        throw std::logic_error("prefetched files are taken in the order they were submitted");
    Job& job = m_jobs.front();
    if (!job.started) {
        // No worker has got to it: read it here rather than wait.
        job.started = true;
        m_nextToStart = std::max(m_nextToStart, ticket + 1);
        const std::filesystem::path path = job.path;
        lock.unlock();
        PrefetchedFile file = read(path);
        lock.lock();
        return popFront(std::move(file), lock);
    }
    m_scanWaiting = true;
    m_resultReady.wait(lock, [&] { return m_jobs.front().result.has_value(); });
    m_scanWaiting = false;
    PrefetchedFile file = std::move(*m_jobs.front().result);
    return popFront(std::move(file), lock);
}

PrefetchedFile IconPrefetch::popFront(PrefetchedFile file, std::unique_lock<std::mutex>& lock) {
    m_jobs.pop_front();
    ++m_firstTicket;
    // Room for one more file ahead: wake a worker only if one is waiting for it.
    const bool wake = m_idleWorkers > 0;
    lock.unlock();
    if (wake)
        m_workAvailable.notify_one();
    return file;
}

void IconPrefetch::work() {
    std::unique_lock lock(m_mutex);
    while (true) {
        ++m_idleWorkers;
        m_workAvailable.wait(lock, [&] {
            return m_stopping || (m_nextToStart < m_firstTicket + m_jobs.size() &&
                                  m_nextToStart < m_firstTicket + FilesAhead);
        });
        --m_idleWorkers;
        if (m_stopping)
            return;
        const std::size_t ticket = std::max(m_nextToStart, m_firstTicket);
        m_nextToStart = ticket + 1;
        Job& job = m_jobs[ticket - m_firstTicket];
        if (job.started)
            continue;
        job.started = true;
        const std::filesystem::path path = job.path;
        lock.unlock();
        PrefetchedFile file = read(path);
        lock.lock();
        // The job stays queued until it is taken, which waits for this result.
        m_jobs[ticket - m_firstTicket].result = std::move(file);
        if (m_scanWaiting && ticket == m_firstTicket)
            m_resultReady.notify_one();
    }
}

PrefetchedFile IconPrefetch::read(const std::filesystem::path& path) const {
    PrefetchedFile file{IconLibrary::open(path, m_png), {}};
    const std::uint32_t ahead = std::min(file.library.count(), IconsAhead);
    file.icons.reserve(ahead);
    for (std::uint32_t k = 0; k < ahead && !m_stopping; ++k)
        file.icons.push_back(file.library.largeIcon(k));
    return file;
}

} // namespace orvu
