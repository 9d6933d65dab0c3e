#pragma once

#include "icons/icon_bitmap.h"
#include "icons/icon_library.h"
#include "icons/png_decoder.h"
#include "platform/file_source.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace orvu {

// A file for the scan to read: a name in a folder held open.
struct FileToRead {
    std::shared_ptr<const OpenFolder> folder;
    std::filesystem::path name;
    FileSource::Listed listed = FileSource::Listed::Unknown;

    // The file at `path`, with its folder opened for it alone.
    static FileToRead at(const std::filesystem::path& path);
};

// A file opened for the harvest, with the large images of its first icons
// already read and decoded; any further icons are read from `library` when
// they are wanted.
struct PrefetchedFile {
    Result<IconLibrary> library;
    std::vector<Result<IconBitmap>> icons;
};

// Reads the files a folder scan is about to harvest on worker threads, a few
// files ahead of it, so that the scan itself mostly draws and lists. Files
// are handed out strictly in the order they were submitted; what the scan
// leaves untaken when it stops is dropped. Rather than wait for a worker, the
// scan reads a file itself: the one it wants if no worker has begun it, or
// else the next one nobody has begun. Without spare processors the scan
// reads every file itself.
class IconPrefetch {
public:
    // Files begun ahead of the scan, at most: enough that one slow file (a
    // library of hundreds of icons) doesn't hold the other readers up.
    static constexpr std::size_t FilesAhead = 256;
    // Icons read ahead of each file; the rest are read when the scan wants them.
    static constexpr std::uint32_t IconsAhead = 256;
    // Decoded icons waiting for the scan (about 5 KB each): no further file
    // is begun while this many wait.
    static constexpr std::size_t IconsWaiting = 2048;

    IconPrefetch(const PngDecoder* png, unsigned workers);
    ~IconPrefetch();
    IconPrefetch(const IconPrefetch&) = delete;
    IconPrefetch& operator=(const IconPrefetch&) = delete;

    // Queues files, to be taken in the same order.
    void submit(std::vector<FileToRead> files);
    // The oldest file submitted and not yet taken; there must be one.
    PrefetchedFile take();

    // Workers for a machine: one for each processor besides the scan's own,
    // within reason.
    static unsigned defaultWorkers();

private:
    struct Job {
        FileToRead file;
        std::optional<PrefetchedFile> result;
    };
    using Lock = std::unique_lock<std::mutex>;

    void work();
    // Begins the oldest job within reach that nobody has begun: its ticket.
    std::optional<std::size_t> startNext(const Lock& lock);
    // Reads the begun job `ticket` with the lock released, and stores the result.
    void complete(std::size_t ticket, Lock& lock);
    PrefetchedFile read(const FileToRead& file) const;

    const PngDecoder* m_png = nullptr;
    std::mutex m_mutex;
    std::condition_variable m_workAvailable; // for the workers
    std::condition_variable m_resultReady;   // for the scan
    bool m_scanWaiting = false;
    unsigned m_idleWorkers = 0;
    std::deque<Job> m_jobs;         // from the oldest untaken file on
    std::size_t m_firstTicket = 0;  // the ticket of m_jobs.front(); tickets count files submitted
    std::size_t m_nextToStart = 0;  // jobs are begun in ticket order: this one is next
    std::size_t m_iconsWaiting = 0; // in the results not yet taken
    std::atomic<bool> m_stopping{false};
    std::vector<std::thread> m_workers;
};

} // namespace orvu
