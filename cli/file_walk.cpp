#include "cli/file_walk.h"

#include "cli/command_line.h"
#include "cli/ordered_work.h"
#include "platform/folder_listing.h"
#include "platform/icon_files.h"
#include "platform/like_pattern.h"
#include "platform/text_case.h"

#include <algorithm>
#include <deque>
#include <memory>
#include <system_error>

namespace orvu::cli {
namespace fs = std::filesystem;

namespace {

// Files opened (and prepared) ahead of the visits, at most.
constexpr std::size_t FilesAhead = 32;

// Hands the inputs to the workers in walk order and visits them in the same
// order once they are ready.
class InputQueue {
public:
    InputQueue(const std::function<void(Input&)>& prepare, const std::function<void(Input&)>& visit)
        : m_prepare(prepare), m_visit(visit) {}

    // An input that `open` reads on a worker; without `open`, one whose
    // library (a failure) is already known.
    void add(std::unique_ptr<Input> input, std::function<Result<IconLibrary>()> open) {
        if (m_inputs.size() == FilesAhead)
            visitOldest();
        Input* ready = input.get();
        m_inputs.push_back(std::move(input));
        m_work.submit([this, ready, open = std::move(open)] {
            if (open)
                ready->library = open();
            if (m_prepare)
                m_prepare(*ready);
        });
    }

    void finish() {
        while (!m_inputs.empty())
            visitOldest();
    }

private:
    void visitOldest() {
        m_work.finishOldest();
        m_visit(*m_inputs.front());
        m_inputs.pop_front();
    }

    const std::function<void(Input&)>& m_prepare;
    const std::function<void(Input&)>& m_visit;
    std::deque<std::unique_ptr<Input>> m_inputs; // submitted, not yet visited
    OrderedWork m_work{defaultWorkers()};        // after m_inputs, so it ends first
};

Failure notYetRead() {
    return {Failure::Kind::System, "not read"};
}

void walkTree(const fs::path& root, const std::u32string& upperPattern, const PngDecoder* png,
              InputQueue& queue) {
    FolderLister lister;
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
        if (!listing) {
            queue.add(std::make_unique<Input>(Input{folder, folder == root, listing.failure(), {}}),
                      nullptr);
            continue;
        }
        for (const ListedFile& file : listing->files) {
            if (!likeMatch(toUpper(decodeUtf8Lenient(file.name)), upperPattern))
                continue;
            const FileSource::Listed listed =
                file.regular ? FileSource::Listed::AsRegularFile : FileSource::Listed::Unknown;
            queue.add(std::make_unique<Input>(Input{file.path, false, notYetRead(), {}}),
                      [folder = listing->folder, name = file.fileName(), listed, png] {
                          return openIconLibrary(*folder, name, listed, png);
                      });
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
                const PngDecoder* png, const std::function<void(Input&)>& prepare,
                const std::function<void(Input&)>& visit) {
    const std::u32string upperPattern = toUpper(decodeUtf8Lenient(pattern));
    InputQueue queue(prepare, visit);
    for (const std::string& argument : paths) {
        const fs::path path = pathFromArgument(argument);
        std::error_code error;
        if (fs::is_directory(path, error)) {
            walkTree(path, upperPattern, png, queue);
            continue;
        }
        queue.add(std::make_unique<Input>(Input{path, true, notYetRead(), {}}),
                  [path, png] { return openIconLibrary(path, png); });
    }
    queue.finish();
}

} // namespace orvu::cli
