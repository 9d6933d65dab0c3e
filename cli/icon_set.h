#pragma once

#include "cli/file_walk.h"
#include "cli/output.h"

#include <filesystem>
#include <optional>
#include <set>
#include <string>

namespace orvu::cli {

// extract --hicolor: an icon as an application's icon set in a
// freedesktop.org icon theme folder, one PNG a size (see themePictures),
// named after the file or as given.
class IconSetWriter {
public:
    // `root` is the theme folder (made where it is missing); `name` the
    // icon's name in the theme, or none for each file's name without its
    // extension. Without `replace`, a set some of whose files are there
    // already is not written.
    IconSetWriter(std::filesystem::path root, std::optional<std::string> name, bool replace)
        : m_root(std::move(root)), m_name(std::move(name)), m_replace(replace) {}

    // Writes icon k of the input as a set, printing each file's path, then
    // the line "Icon=NAME" that a desktop entry names it by. False when it
    // fails the command, each reason named on standard error.
    bool write(Input& input, std::uint32_t k, Output& out);

private:
    std::filesystem::path m_root;
    std::optional<std::string> m_name;
    bool m_replace = false;
    std::set<std::string> m_written; // the names of the sets written in this run
};

} // namespace orvu::cli
