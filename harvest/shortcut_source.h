#pragma once

#include "icons/png_decoder.h"
#include "icons/result.h"
#include "platform/icon_reference.h"

#include <filesystem>
#include <optional>

namespace orvu {

// A shortcut chosen as the window's file (a .lnk, a .url, a desktop.ini),
// followed to the one icon it shows; nullopt where `file` is no shortcut (or
// can't be read, which the harvest of the file itself says).
//
// Windows paths in the shortcut are found under the Windows drive it lies
// on, where it lies on one (below a Wine prefix's drive_c, or in a folder
// that holds Windows\System32); in a Windows program, on the system itself.
std::optional<Result<ReferencedIcons>> followShortcut(const std::filesystem::path& file,
                                                      const PngDecoder* png);

// The Windows drive C: that `file` lies on, as a folder of this system: its
// nearest folder named drive_c, or that holds Windows\System32 (names in any
// letter case); nullopt where there is none.
std::optional<std::filesystem::path> windowsDriveAbove(const std::filesystem::path& file);

} // namespace orvu
