// Speed and memory of the headless harvest.
//
//   orvu-harvest-bench scan DIR [--pattern GLOB] [--repeat N]
//       The folder harvest of DIR, N times (default 10): files, icons, and
//       the best and median seconds.
//   orvu-harvest-bench baseline DIR [--repeat N]
//       What any reader must do for the same files: open each, read its
//       headers, its resource directories and its chosen images, nothing more.
//   orvu-harvest-bench memory FILE...
//       For each file, in a fresh process: the peak resident memory after
//       harvesting every icon of it, in KiB.
//   orvu-harvest-bench draw FILE [--repeat N]
//       Every icon of FILE drawn as Windows draws it at 32, 48 and 64 pixels
//       (a tile at 1, 1.5 and 2 device pixels a pixel), the file opened
//       afresh each time, the sizes taken in turn N times (default 20): the
//       best and median milliseconds of each size and their ratio to 32.
//   orvu-harvest-bench make-large FILE [MEGABYTES]
//       Writes an executable of about that size (default 96) with three icons
//       and a large resource that is not an icon, for the memory check.

#include "harvest/folder_scan.h"
#include "icons/icon_at_size.h"
#include "platform/folder_listing.h"
#include "platform/icon_files.h"
#include "platform/like_pattern.h"
#include "platform/text_case.h"
#include "png/default_decoder.h"
#include "support/headless_window.h"
#include "support/icon_builders.h"
#include "support/test_files.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Without Qt, as the command-line tool reads: a run of the whole program
// (compare-with-wrestool.sh) then costs no toolkit's loading.
const orvu::PngDecoder* const Png = orvu::defaultPngDecoder();

struct Timing {
    double best = 0;
    double median = 0;
};

Timing timeRuns(int repeat, const std::function<void()>& run) {
    std::vector<double> seconds;
    for (int i = 0; i < repeat; ++i) {
        const auto start = Clock::now();
        run();
        seconds.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    }
    std::sort(seconds.begin(), seconds.end());
    return {seconds.front(), seconds[seconds.size() / 2]};
}

int scan(const fs::path& folder, const std::string& pattern, int repeat) {
    std::uint64_t files = 0;
    std::size_t icons = 0;
    const Timing timing = timeRuns(repeat, [&] {
        orvu::HeadlessWindow window;
        window.setKeepStatusHistory(false);
        orvu::FolderKeys keys;
        orvu::FolderScan scan(window, keys, Png);
        scan.run(folder, pattern);
        files = scan.filesMatched();
        icons = window.tiles().size();
    });
    std::printf("harvest: %llu files, %zu icons, best %.2f ms, median %.2f ms\n",
                static_cast<unsigned long long>(files), icons, timing.best * 1e3,
                timing.median * 1e3);
    return 0;
}

void collectFiles(orvu::FolderLister& lister, const fs::path& folder, std::vector<fs::path>& out) {
    const auto listing = lister.list(folder);
    if (!listing)
        return;
    for (const orvu::ListedFile& file : listing->files)
        out.push_back(file.path);
    for (const fs::path& subfolder : listing->subfolders)
        collectFiles(lister, subfolder, out);
}

int baseline(const fs::path& folder, int repeat) {
    std::vector<fs::path> files;
    orvu::FolderLister lister;
    collectFiles(lister, folder, files);
    std::size_t images = 0;
    std::uint64_t bytes = 0;
    const Timing timing = timeRuns(repeat, [&] {
        images = 0;
        bytes = 0;
        for (const fs::path& file : files) {
            auto library = orvu::openIconLibrary(file, nullptr);
            for (std::uint32_t k = 0; library && k < library->count(); ++k) {
                if (const auto image =
                        library->imageAt({orvu::GroupKind::Icon, k}, orvu::LargeIconSize)) {
                    ++images;
                    bytes += image->bytes.size();
                }
            }
        }
    });
    std::printf(
        "baseline: %zu files, %zu chosen images (%llu bytes), best %.2f ms, median %.2f ms\n",
        files.size(), images, static_cast<unsigned long long>(bytes), timing.best * 1e3,
        timing.median * 1e3);
    return 0;
}

int draw(const fs::path& file, int repeat) {
    constexpr int Sizes[] = {32, 48, 64};
    std::vector<double> seconds[std::size(Sizes)];
    std::uint32_t icons = 0;
    std::uint32_t drawn = 0;
    for (int run = 0; run < repeat; ++run) {
        for (std::size_t s = 0; s < std::size(Sizes); ++s) {
            const auto start = Clock::now();
            auto library = orvu::openIconLibrary(file, Png);
            icons = library ? library->count() : 0;
            drawn = 0;
            for (std::uint32_t k = 0; k < icons; ++k)
                drawn += orvu::drawIconAt(*library, k, Sizes[s], 0xFFFFFF) ? 1 : 0;
            seconds[s].push_back(std::chrono::duration<double>(Clock::now() - start).count());
        }
    }
    std::printf("%s: %u icons, %u drawn\n", file.c_str(), icons, drawn);
    double median32 = 0;
    for (std::size_t s = 0; s < std::size(Sizes); ++s) {
        std::sort(seconds[s].begin(), seconds[s].end());
        const double median = seconds[s][seconds[s].size() / 2];
        if (s == 0)
            median32 = median;
        std::printf("  at %d: best %.2f ms, median %.2f ms (%.2f x the median at 32)\n", Sizes[s],
                    seconds[s].front() * 1e3, median * 1e3, median / median32);
    }
    return drawn == icons ? 0 : 1;
}

long peakKibAfterHarvest(const fs::path& file) {
    int channel[2];
    if (::pipe(channel) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        auto library = orvu::openIconLibrary(file, Png);
        for (std::uint32_t k = 0; library && k < library->count(); ++k)
            (void)library->largeIcon(k);
        struct rusage usage {};
        ::getrusage(RUSAGE_SELF, &usage);
        const long peak = usage.ru_maxrss;
        (void)!::write(channel[1], &peak, sizeof peak);
        ::_exit(0);
    }
    ::close(channel[1]);
    long peak = -1;
    if (::read(channel[0], &peak, sizeof peak) != sizeof peak)
        peak = -1;
    ::close(channel[0]);
    ::waitpid(child, nullptr, 0);
    return peak;
}

int memory(const std::vector<fs::path>& files) {
    for (const fs::path& file : files) {
        std::error_code error;
        std::printf("%s: %llu bytes, peak %ld KiB\n", file.c_str(),
                    static_cast<unsigned long long>(fs::file_size(file, error)),
                    peakKibAfterHarvest(file));
    }
    return 0;
}

int makeLarge(const fs::path& file, int megabytes) {
    using namespace orvu::test;
    std::vector<GroupResource> groups;
    for (std::uint16_t id = 1; id <= 3; ++id) {
        GroupResource group;
        group.name = id;
        group.images = {{groupEntry(32, 32, 32, 0), solidDib(32, 32, 0x3060C0u * id)},
                        {groupEntry(16, 16, 32, 0), solidDib(16, 32, 0x3060C0u * id)}};
        groups.push_back(group);
    }
    // The bulk: a last group whose second image is huge and never chosen.
    GroupResource bulk;
    bulk.name = std::uint16_t{4};
    ByteVector filler(static_cast<std::size_t>(megabytes) * 1024 * 1024, 0x5A);
    bulk.images = {{groupEntry(32, 32, 32, 0), solidDib(32, 32, 0x808080)},
                   {groupEntry(64, 64, 8, 0), std::move(filler)}};
    groups.push_back(std::move(bulk));
    writeFile(file, buildPe(groups));
    std::printf("%s: %llu bytes\n", file.c_str(),
                static_cast<unsigned long long>(fs::file_size(file)));
    return 0;
}

int repeatFrom(const std::vector<std::string>& arguments, int fallback) {
    const auto at = std::find(arguments.begin(), arguments.end(), "--repeat");
    return at != arguments.end() && at + 1 != arguments.end() ? std::max(1, std::stoi(*(at + 1)))
                                                              : fallback;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.size() >= 2 && arguments[0] == "scan") {
        const auto at = std::find(arguments.begin(), arguments.end(), "--pattern");
        const std::string pattern = at != arguments.end() && at + 1 != arguments.end()
                                        ? *(at + 1)
                                        : orvu::ExecutablePattern;
        return scan(arguments[1], pattern, repeatFrom(arguments, 10));
    }
    if (arguments.size() >= 2 && arguments[0] == "baseline")
        return baseline(arguments[1], repeatFrom(arguments, 10));
    if (arguments.size() >= 2 && arguments[0] == "memory")
        return memory({arguments.begin() + 1, arguments.end()});
    if (arguments.size() >= 2 && arguments[0] == "draw")
        return draw(arguments[1], repeatFrom(arguments, 20));
    if (arguments.size() >= 2 && arguments[0] == "make-large")
        return makeLarge(arguments[1], arguments.size() > 2 ? std::stoi(arguments[2]) : 96);
    std::fprintf(stderr, "usage: orvu-harvest-bench scan DIR [--pattern GLOB] [--repeat N] | "
                         "baseline DIR [--repeat N] | memory FILE... | draw FILE [--repeat N] | "
                         "make-large FILE [MB]\n");
    return 2;
}
