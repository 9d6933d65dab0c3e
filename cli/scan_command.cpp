// orvu-icons-cli scan: the window's folder harvest without a window, timed.

#include "cli/command_line.h"
#include "cli/commands.h"
#include "harvest/folder_scan.h"
#include "harvest/headless_window.h"
#include "platform/path_text.h"
#include "png/default_decoder.h"

#include <chrono>
#include <cstdio>

namespace orvu::cli {
namespace {

constexpr std::string_view Help = R"(usage: orvu-icons-cli scan DIR [--pattern GLOB]

For tests and timing. Walks DIR as the window's folder harvest does and
reads every icon of every file whose name matches GLOB (default *.exe, in any
letter case); the last line gives the files matched, the icons and the
seconds: "N files matched, M icons, S seconds".
)";

int runScan(const Arguments& arguments, Output& out) {
    if (arguments.operands().size() != 1)
        throw UsageError("scan needs one DIR");
    const std::string& folder = arguments.operands()[0];
    const std::string pattern = arguments.value("--pattern").value_or(ExecutablePattern);
    const std::filesystem::path root = pathFromArgument(folder);
    std::error_code error;
    if (!std::filesystem::is_directory(root, error)) {
        complain("not a folder: " + folder);
        return SomeInputsFailed;
    }
    HeadlessWindow window;
    window.setKeepCells(false);
    window.setKeepStatusHistory(false);
    FolderKeys keys;
    FolderScan scan(window, keys, defaultPngDecoder());
    const auto start = std::chrono::steady_clock::now();
    scan.run(root, pattern);
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    for (const messages::Skipped& skipped : scan.skipped())
        complain("skipped " + displayText(skipped.path) + ": " + describe(skipped.failure));
    char summary[128];
    std::snprintf(summary, sizeof summary, "%llu files matched, %zu icons, %.6f seconds\n",
                  static_cast<unsigned long long>(scan.filesMatched()), window.imageCount(),
                  seconds.count());
    out.write(summary);
    return scan.skipped().empty() ? Succeeded : SomeInputsFailed;
}

} // namespace

const Command ScanCommand{
    "scan",
    "scan DIR [--pattern GLOB]\n"
    "      (for timing) reads a tree as the window does, counts files and icons",
    Help,
    {{"--pattern", "", true}},
    runScan,
};

} // namespace orvu::cli
