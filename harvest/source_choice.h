#pragma once

#include "icons/result.h"

#include <filesystem>

namespace orvu {

// A source handed to the window from outside: dropped on it, or named when
// the program was started.
struct SourceChoice {
    enum class Mode { File, Folder };
    Mode mode = Mode::File;
    std::filesystem::path path;
};

// A folder is a folder harvest, a file (anything but a folder, even one that
// holds no icons) a single-file one. A path that names nothing that exists
// is no choice: the failure says why.
Result<SourceChoice> chooseSource(const std::filesystem::path& path);

// The path with the blanks at both its ends taken away (spaces, tabs, line
// breaks and the other white space of Unicode), as the file picker takes
// its dialog's answer.
std::filesystem::path trimBlanks(const std::filesystem::path& path);

} // namespace orvu
