#include "cli/file_walk.h"

#include "cli/command_line.h"
#include "platform/folder_walk.h"
#include "platform/icon_files.h"
#include "platform/like_pattern.h"

#include <system_error>
#include <utility>

namespace orvu::cli {
namespace fs = std::filesystem;

namespace {

void walkTree(const fs::path& root, const NamePattern& pattern, const PngDecoder* png,
              const std::function<void(Input&)>& visit, const std::optional<fs::path>& passOver) {
    FolderWalk walk(root);
    bool rootListed = false;
    while (auto step = walk.next()) {
        if (step->kind != FolderWalk::Step::Kind::Enter)
            continue;
        // The root is walked even where it is the folder to pass over: it
        // was named, and is listed before anything is written into it.
        if (passOver && !std::exchange(rootListed, true))
            walk.passOver(*passOver);
        if (!step->listing) {
            Input input{step->folder, step->folder == root, step->listing.failure()};
            visit(input);
            continue;
        }
        const FolderListing& listing = *step->listing;
        for (const ListedFile& file : listing.files) {
            if (!pattern.matches(file.name))
                continue;
            Input input{file.path, false,
                        openIconLibrary(*listing.folder, file.fileName(),
                                        file.regular ? FileSource::Listed::AsRegularFile
                                                     : FileSource::Listed::Unknown,
                                        png)};
            visit(input);
        }
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
    const NamePattern namePattern(pattern);
    for (const std::string& argument : paths) {
        const fs::path path = pathFromArgument(argument);
        std::error_code error;
        if (fs::is_directory(path, error)) {
            walkTree(path, namePattern, png, visit, passOver);
            continue;
        }
        Input input{path, true, openIconLibrary(path, png)};
        visit(input);
    }
}

} // namespace orvu::cli
