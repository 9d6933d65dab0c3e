#pragma once

#include "icons/result.h"

#include <filesystem>
#include <vector>

namespace orvu {

// A source handed to the window from outside: dropped on it, or named when
// the program was started.
struct SourceChoice {
    enum class Mode { File, Folder };
    Mode mode = Mode::File;
    std::filesystem::path path;
};

// One folder is a folder harvest, one file (anything but a folder, even one
// that holds no icons) a single-file one. Nothing, several things, or a path
// that names nothing that exists, is no choice: the failure says which.
Result<SourceChoice> chooseSource(const std::vector<std::filesystem::path>& paths);

} // namespace orvu
