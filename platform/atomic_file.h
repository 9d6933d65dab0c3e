#pragma once

#include "icons/result.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace orvu {

// What replacing a path that names a symbolic link does: write through it to
// the file it names (a name the user chose), or replace the link itself (a
// name made up for them, in a folder others may write to, where a planted
// link must not lead the bytes elsewhere).
enum class Links { WriteThrough, ReplaceTheLink };

// Writes `bytes` to `path` so that the path ends up naming either the file it
// named before or the whole new one, never a part: the bytes go to a
// temporary file in the same folder, which replaces the target only once it
// is complete, and where there was a file, only once the bytes have reached
// the disk. A path naming anything but a regular file or a link (a folder, a
// device) is refused.
Result<void> replaceFileAtomically(const std::filesystem::path& path,
                                   const std::vector<std::uint8_t>& bytes,
                                   Links links = Links::WriteThrough);

// Writes `bytes` to a new file at `path`, which must name nothing yet: where
// anything is there (a file, a folder, a link, even a broken one), it fails
// with Failure::Kind::Exists and leaves it alone, however late that thing
// appeared. Other programs see no file or the whole new one, never a part.
// It doesn't wait for the bytes to reach the disk: no earlier file is at
// stake, and a batch of new files would otherwise wait for the disk once per
// file.
Result<void> createFileAtomically(const std::filesystem::path& path,
                                  const std::vector<std::uint8_t>& bytes);

} // namespace orvu
