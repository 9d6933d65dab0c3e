#pragma once

#include "icons/result.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace orvu {

// Writes `bytes` to `path` so that the path ends up naming either the file it
// named before or the whole new one, never a part: the bytes go to a
// temporary file in the same folder, which replaces the target only once it
// is complete. A link is written through to the file it names; a path naming
// anything but a regular file (a folder, a device) is refused.
Result<void> replaceFileAtomically(const std::filesystem::path& path,
                                   const std::vector<std::uint8_t>& bytes);

// Writes `bytes` to a new file at `path`, which must name nothing yet: where
// anything is there (a file, a folder, a link, even a broken one), it fails
// with Failure::Kind::Exists and leaves it alone, however late that thing
// appeared. Other programs see no file or the whole new one, never a part.
// Unlike replaceFileAtomically it doesn't wait for the bytes to reach the
// disk: no earlier file is at stake, and a batch of new files would
// otherwise wait for the disk once per file.
Result<void> createFileAtomically(const std::filesystem::path& path,
                                  const std::vector<std::uint8_t>& bytes);

} // namespace orvu
