#pragma once

#include "icons/result.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace orvu {

// The longest name a file in `folder` may have, in the units of a path's
// native text: bytes on POSIX (what the file system says, usually 255),
// UTF-16 code units on Windows (255).
std::size_t longestNameIn(const std::filesystem::path& folder);

// How long a name is in those units.
std::size_t nameLength(const std::filesystem::path& name);

// The first `length` units of a name at most, cut where a character begins
// (a whole UTF-8 sequence, a whole UTF-16 surrogate pair), so that the name
// never ends in part of a character.
std::filesystem::path cutName(const std::filesystem::path& name, std::size_t length);

// The names of everything in the folder, files, folders and links alike,
// in no order: the file system's own bytes on POSIX, UTF-8 on Windows.
// Fails when the folder can't be listed.
Result<std::vector<std::string>> namesIn(const std::filesystem::path& folder);

} // namespace orvu
