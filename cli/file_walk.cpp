#include "cli/file_walk.h"

#include "cli/command_line.h"
#include "cli/output.h"
#include "platform/folder_walk.h"
#include "platform/icon_files.h"
#include "platform/icon_reference.h"
#include "platform/like_pattern.h"
#include "platform/path_text.h"

#include <system_error>
#include <utility>

namespace orvu::cli {
namespace fs = std::filesystem;

namespace {

// A file found in a folder, its .mun redirect followed.
Input foundFile(const fs::path& path, Result<IconLibrary> library, const WindowsPaths& paths,
                const PngDecoder* png) {
    Input input{path, false, std::move(library), path, path};
    if (input.library) {
        ReferencedIcons icons{std::move(*input.library), path, path, std::nullopt};
        followMunRedirect(icons, paths, png);
        input.library = std::move(icons.library);
        input.source = icons.source;
    }
    return input;
}

// A PATH that is not a folder: a file, a reference or a shortcut.
Input namedFile(const std::string& argument, const WindowsPaths& paths, const PngDecoder* png) {
    const fs::path path = pathFromArgument(argument);
    auto referenced = openIconReference(textOfPath(path), paths, png);
    if (!referenced)
        return Input{path, true, referenced.failure(), path, path};
    return Input{path,
                 true,
                 std::move(referenced->library),
                 referenced->file,
                 referenced->source,
                 referenced->icon};
}

void walkTree(const fs::path& root, const NamePattern& pattern, const WindowsPaths& paths,
              const PngDecoder* png, const std::function<void(Input&)>& visit,
              const std::optional<fs::path>& passOver) {
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
            Input input{step->folder, step->folder == root, step->listing.failure(), step->folder,
                        step->folder};
            visit(input);
            continue;
        }
        const FolderListing& listing = *step->listing;
        for (const ListedFile& file : listing.files) {
            if (!pattern.matches(file.name))
                continue;
            Input input = foundFile(file.path,
                                    openIconLibrary(*listing.folder, file.fileName(),
                                                    file.regular ? FileSource::Listed::AsRegularFile
                                                                 : FileSource::Listed::Unknown,
                                                    png),
                                    paths, png);
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
                const WindowsPaths& windowsPaths, const PngDecoder* png,
                const std::optional<fs::path>& passOver, const std::function<void(Input&)>& visit) {
    const NamePattern namePattern(pattern);
    for (const std::string& argument : paths) {
        const fs::path path = pathFromArgument(argument);
        std::error_code error;
        if (fs::is_directory(path, error)) {
            walkTree(path, namePattern, windowsPaths, png, visit, passOver);
            continue;
        }
        Input input = namedFile(argument, windowsPaths, png);
        visit(input);
    }
}

std::optional<WindowsPaths> windowsPathsOf(const std::optional<std::string>& windowsRoot) {
    if (!windowsRoot)
        return WindowsPaths();
    const fs::path root = pathFromArgument(*windowsRoot);
    std::error_code error;
    if (!fs::is_directory(root, error)) {
        complain("--windows-root " + displayText(root) + ": " +
                 (error ? error.message() : "not a folder"));
        return std::nullopt;
    }
    return WindowsPaths(root);
}

} // namespace orvu::cli
