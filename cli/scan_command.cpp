// orvu-icons-cli scan: the window's folder harvest without a window, timed.

#include "cli/command_line.h"
#include "cli/commands.h"
#include "export/icon_cell.h"
#include "platform/folder_walk.h"
#include "platform/icon_prefetch.h"
#include "platform/like_pattern.h"
#include "platform/path_text.h"
#include "png/default_decoder.h"

#include <chrono>
#include <cstdio>
#include <utility>

namespace orvu::cli {
namespace {

constexpr std::string_view Help = R"(usage: orvu-icons-cli scan DIR [--pattern GLOB]

For tests and timing. Walks DIR as the window's folder harvest does and
reads every icon of every file whose name matches GLOB (default *.exe, in any
letter case); the last line gives the files matched, the icons and the
seconds: "N files matched, M icons, S seconds".
)";

constexpr std::uint32_t White = 0xFFFFFF;

struct Scan {
    std::uint64_t filesMatched = 0;
    std::uint64_t icons = 0;
    std::vector<std::pair<std::filesystem::path, Failure>> skipped;
};

// What the window's folder harvest does with each file: its files read
// ahead on worker threads, every icon drawn on the preview surface.
Scan scanTree(const std::filesystem::path& root, const NamePattern& pattern) {
    Scan scan;
    IconPrefetch prefetch(defaultPngDecoder(), IconPrefetch::defaultWorkers());
    Surface preview = Surface::filled(PreviewSize, PreviewSize, White);
    FolderWalk walk(root);
    while (auto step = walk.next()) {
        if (step->kind != FolderWalk::Step::Kind::Enter)
            continue;
        if (!step->listing) {
            scan.skipped.emplace_back(step->folder, step->listing.failure());
            continue;
        }
        std::vector<const ListedFile*> matching;
        std::vector<FileToRead> reads;
        for (const ListedFile& file : step->listing->files) {
            if (!pattern.matches(file.name))
                continue;
            matching.push_back(&file);
            reads.push_back(
                {step->listing->folder, file.fileName(),
                 file.regular ? FileSource::Listed::AsRegularFile : FileSource::Listed::Unknown});
        }
        prefetch.submit(std::move(reads));
        for (const ListedFile* file : matching) {
            ++scan.filesMatched;
            PrefetchedFile read = prefetch.take();
            if (!read.library) {
                scan.skipped.emplace_back(file->path, read.library.failure());
                continue;
            }
            const std::uint32_t count = read.library->count();
            for (std::uint32_t k = 0; k < count; ++k) {
                const auto icon =
                    k < read.icons.size() ? std::move(read.icons[k]) : read.library->largeIcon(k);
                renderCell(preview, White, icon ? &*icon : nullptr);
            }
            scan.icons += count;
        }
    }
    return scan;
}

int runScan(const Arguments& arguments, Output& out) {
    if (arguments.operands().size() != 1)
        throw UsageError("scan needs one DIR");
    const std::string& folder = arguments.operands()[0];
    const NamePattern pattern(arguments.value("--pattern").value_or(ExecutablePattern));
    const std::filesystem::path root = pathFromArgument(folder);
    std::error_code error;
    if (!std::filesystem::is_directory(root, error)) {
        complain("not a folder: " + folder);
        return SomeInputsFailed;
    }
    const auto start = std::chrono::steady_clock::now();
    const Scan scan = scanTree(root, pattern);
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    for (const auto& [path, failure] : scan.skipped)
        complain("skipped " + displayText(path) + ": " + describe(failure));
    char summary[128];
    std::snprintf(summary, sizeof summary, "%llu files matched, %llu icons, %.6f seconds\n",
                  static_cast<unsigned long long>(scan.filesMatched),
                  static_cast<unsigned long long>(scan.icons), seconds.count());
    out.write(summary);
    return scan.skipped.empty() ? Succeeded : SomeInputsFailed;
}

} // namespace

const Command ScanCommand{
    "scan",
    "scan DIR [--pattern GLOB]\n"
    "      (for timing) reads a tree as the window does, counts files and icons",
    Help,
    {{"--pattern", "", true}},
    runScan,
    true,
    false,
};

} // namespace orvu::cli
