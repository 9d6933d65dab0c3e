#pragma once

#include "icons/byte_source.h"
#include "icons/byte_view.h"
#include "icons/result.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvu {

// What a shell link (a .lnk shortcut) says of its icon and of its target,
// as the shell reads it (the Shell Link Binary File Format, MS-SHLLINK).
// Texts are UTF-8 as the link holds them: Windows paths, possibly with
// %VARIABLES%; "ANSI" ones are read as Latin-1.
struct ShellLink {
    // The header's IconIndex: the icon's number in the icon file, as Windows
    // numbers icons (see IconLocation::number).
    std::int32_t iconIndex = 0;
    // The icon file: the IconEnvironmentDataBlock's path, where the link
    // has one (HasExpIcon), and the ICON_LOCATION string (HasIconLocation).
    std::optional<std::string> iconEnvironment;
    std::optional<std::string> iconLocation;
    // The target: the EnvironmentVariableDataBlock's path (HasExpString),
    // LinkInfo's local path (LocalBasePath and CommonPathSuffix) or network
    // path (\\server\share and the suffix), the path the LinkTargetIDList
    // spells (a drive and the names of its file items), and RELATIVE_PATH,
    // from the link's own folder.
    std::optional<std::string> targetEnvironment;
    std::optional<std::string> linkInfoPath;
    std::optional<std::string> idListPath;
    std::optional<std::string> relativePath;

    // The icon files to try, in the order Windows prefers them.
    std::vector<std::string> iconFiles() const;
    // The target's paths to try, in the order Windows prefers them: the
    // relative path comes last.
    std::vector<std::string> targets() const;
};

// Whether the bytes start as a shell link does: a 76-byte header of that
// size with the shell link's class id.
bool isShellLinkHeader(ByteView head);

// The link in `source`, read whole (at most limits::MaxShortcutBytes). Fails
// where a structure runs past the end of its data or holds a size no link
// has; the ExtraData blocks are read as far as they are whole.
Result<ShellLink> readShellLink(ByteSource& source);

} // namespace orvu
