#pragma once

#include "icons/result.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace orvu {

// What happens to a file already on disk under a name an export would take.
enum class ExistingFiles {
    Replace,         // the user agreed, once for the whole batch, that it is replaced
    KeepWithCounter, // it stays, and the export takes the next free name
};

// The names of a batch of exported icons in one folder: `<stem>_<K><ext>`,
// after the file's name without its extension and the icon's position K
// (from 1), such as notepad_1.ico. A name that this batch has given out
// already, or (with KeepWithCounter) that something in the folder holds,
// gets a counter instead: notepad_1-2.ico, notepad_1-3.ico, and so on.
// Names are compared ignoring letter case, so that a batch comes out the
// same on file systems that ignore it. A name longer than the file system
// takes loses the end of its stem, never its position or counter.
//
// The folder is listed once, at the first name asked for, and each stem
// and position remembers where its counter stands: a batch of thousands of
// setup.exe into a folder that holds their names already costs a lookup a
// name, not a look at the disk per name tried.
//
// A name is only a proposal: when writing under it finds that something took
// it meanwhile, ask next() again for the same icon, and it gives the next one.
// write() does all of that.
class ExportNames {
public:
    // `extension` with its dot: ".ico".
    ExportNames(std::filesystem::path folder, std::string extension, ExistingFiles existing);

    // The path to write icon `position` of the file named `stem` to.
    std::filesystem::path next(const std::filesystem::path& stem, std::uint32_t position);

    // Writes `bytes` as icon `position` of the file named `stem`: a new file
    // under the next free name, or with Replace, a file that replaces what is
    // there (the link itself where that is a link, never the file it names).
    // A name that something took meanwhile, or that a folder or device holds,
    // passes to the next one. The path written, or the last one tried with
    // why writing failed.
    struct Written {
        std::filesystem::path path;
        Result<void> result;
    };
    Written write(const std::filesystem::path& stem, std::uint32_t position,
                  const std::vector<std::uint8_t>& bytes);

private:
    // The name for a counter, cut to the longest name the folder takes.
    std::filesystem::path nameFor(const std::filesystem::path& stem, const std::string& suffix);
    bool taken(const std::string& key);

    std::filesystem::path m_folder;
    std::string m_extension;
    ExistingFiles m_existing;
    std::optional<std::size_t> m_longestName;
    // The case-insensitive keys of the names in the folder (KeepWithCounter),
    // of the names given out, and per stem and position the last counter given.
    std::optional<std::unordered_set<std::string>> m_onDisk;
    std::unordered_set<std::string> m_given;
    std::unordered_map<std::string, std::uint64_t> m_counters;
};

} // namespace orvu
