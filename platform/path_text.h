#pragma once

#include <filesystem>
#include <string>

namespace orvu {

// A path as UTF-8 text for people to read. Bytes of a name that are not
// valid UTF-8 show as U+FFFD; use the path itself, never this text, to
// reach the file.
std::string displayText(const std::filesystem::path& path);

} // namespace orvu
