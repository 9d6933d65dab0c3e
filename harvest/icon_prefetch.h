#pragma once

#include "icon_bitmap.h"
#include "icon_library.h"
#include "png_decoder.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace orvu {

// A file opened for the harvest, with the large images of its first icons
// already read and decoded; any further icons are read from `library` when
// they are wanted.
struct PrefetchedFile {
    IconLibrary library;
    std::vector<std::optional<IconBitmap>> icons;
};

// Reads the files a folder scan is about to harvest on worker threads, a few
// files ahead of it, so that the scan itself only draws and lists. Files are
// handed out strictly in the order they were submitted; what the scan
// leaves untaken when it stops is dropped. Without spare processors the
// scan reads each file itself when it takes it.
class IconPrefetch {
public:
    static constexpr std::size_t FilesAhead = 64;
    static constexpr std::uint32_t IconsAhead = 256; // per file; the rest on demand

    IconPrefetch(const PngDecoder* png, unsigned workers);
    ~IconPrefetch();
    IconPrefetch(const IconPrefetch&) = delete;
    IconPrefetch& operator=(const IconPrefetch&) = delete;

    // Queues a file; returns its ticket.
    std::size_t submit(std::filesystem::path path);
    // The file of the oldest ticket not yet taken, which must be `ticket`.
    PrefetchedFile take(std::size_t ticket);

    // Workers for a machine: one for each processor, within reason.
    static unsigned defaultWorkers();

private:
    struct Job {
        std::filesystem::path path;
        bool started = false;
        std::optional<PrefetchedFile> result;
    };

    void work();
    PrefetchedFile popFront(PrefetchedFile file, std::unique_lock<std::mutex>& lock);
    PrefetchedFile read(const std::filesystem::path& path) const;

    const PngDecoder* m_png = nullptr;
    std::mutex m_mutex;
    std::condition_variable m_workAvailable; // for the workers
    std::condition_variable m_resultReady;   // for the scan
    bool m_scanWaiting = false;
    unsigned m_idleWorkers = 0;
    std::deque<Job> m_jobs;        // from the oldest untaken ticket on
    std::size_t m_firstTicket = 0; // the ticket of m_jobs.front()
    std::size_t m_nextToStart = 0;
    std::atomic<bool> m_stopping{false};
    std::vector<std::thread> m_workers;
};

} // namespace orvu
