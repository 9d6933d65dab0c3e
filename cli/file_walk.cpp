#include "cli/file_walk.h"

#include "cli/command_line.h"
#include "platform/folder_listing.h"
#include "platform/icon_files.h"
#include "platform/like_pattern.h"
#include "platform/text_case.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace orvu::cli {
namespace fs = std::filesystem;

namespace {

void walkTree(const fs::path& root, const std::u32string& upperPattern, const PngDecoder* png,
              const std::function<void(Input&)>& visit, const std::optional<fs::path>& passOver) {
    FolderLister lister;
    bool rootListed = false;
    // The folders still to walk, a list per level, each list reversed so
    // that its next folder is at the back: depth first without recursion.
    std::vector<std::vector<fs::path>> pending{{root}};
    while (!pending.empty()) {
        if (pending.back().empty()) {
            pending.pop_back();
            continue;
        }
        const fs::path folder = std::move(pending.back().back());
        pending.back().pop_back();
        auto listing = lister.list(folder);
        // The root is walked even where it is the folder to pass over: it
        // was named, and is listed before anything is written into it.
        if (passOver && !std::exchange(rootListed, true))
            lister.passOver(*passOver);
        if (!listing) {
            Input input{folder, folder == root, listing.failure()};
            visit(input);
            continue;
        }
        for (const ListedFile& file : listing->files) {
            if (!likeMatch(toUpper(decodeUtf8Lenient(file.name)), upperPattern))
                continue;
            Input input{file.path, false,
                        openIconLibrary(*listing->folder, file.fileName(),
                                        file.regular ? FileSource::Listed::AsRegularFile
                                                     : FileSource::Listed::Unknown,
                                        png)};
            visit(input);
        }
        std::reverse(listing->subfolders.begin(), listing->subfolders.end());
        pending.push_back(std::move(listing->subfolders));
    }
}

} // namespace

std::optional<Failure> problemOf(const Input& input) {
    if (!input.library)
        return input.library.failure();
    return input.library->problem();
}

bool failsTheCommand(const Input& input, const Failure& problem) {
    if (input.named)
        return true;
    return problem.kind != Failure::Kind::NotIconFile && problem.kind != Failure::Kind::NotAFile;
}

void walkInputs(const std::vector<std::string>& paths, const std::string& pattern,
                const PngDecoder* png, const std::optional<fs::path>& passOver,
                const std::function<void(Input&)>& visit) {
    const std::u32string upperPattern = toUpper(decodeUtf8Lenient(pattern));
    for (const std::string& argument : paths) {
        const fs::path path = pathFromArgument(argument);
        std::error_code error;
        if (fs::is_directory(path, error)) {
            walkTree(path, upperPattern, png, visit, passOver);
            continue;
        }
        Input input{path, true, openIconLibrary(path, png)};
        visit(input);
    }
}

} // namespace orvu::cli
