#pragma once

#include "icons/result.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace orvu {

// Writes `bytes` into the file at `path` itself, for a program that made
// that file, holds it open and reads back what is written into it (the file
// managers' thumbnail services): an existing regular file stays the same
// file (the same inode), truncated, filled and flushed to the disk; a missing
// one is created as createFileAtomically creates it. Where the writing fails
// once the file is truncated (a full disk), the file is left empty.
//
// Nothing is written, and the failure says why, where `path` names a
// symbolic link (never followed, even to a file: Failure::Kind::NotAFile),
// anything but a regular file (NotAFile), or the file `source` names, by
// whatever name or link (the same device and inode: Failure::Kind::Exists),
// so that the file the bytes were made from is never written over.
Result<void> writeFileInPlace(const std::filesystem::path& path,
                              const std::vector<std::uint8_t>& bytes,
                              const std::filesystem::path& source);

} // namespace orvu
