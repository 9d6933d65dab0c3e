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

} // namespace orvu
