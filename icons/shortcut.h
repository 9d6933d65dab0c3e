#pragma once

#include "icons/byte_source.h"
#include "icons/byte_view.h"
#include "icons/result.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvu {

// The files that name an icon kept elsewhere: a shell link (.lnk), an
// Internet shortcut (.url), a folder's settings (desktop.ini).
enum class ShortcutKind { None, ShellLink, InternetShortcut, FolderSettings };

// What kind of shortcut the file named `fileName` (a name, without its
// folder) is: a shell link by its header, whatever its name; an Internet
// shortcut by its .url extension and folder settings by the name
// desktop.ini, each in any letter case.
ShortcutKind shortcutKind(std::string_view fileName, ByteView head);

// The icon a shortcut shows, as it names it. Paths are as the shortcut
// writes them: Windows paths, perhaps with %VARIABLES%, or paths relative to
// the shortcut's own folder.
struct ShortcutIcon {
    // The icon file's paths, in the order to try them, and the icon's number
    // there (see IconLocation::number).
    std::vector<std::string> iconFiles;
    std::int32_t number = 0;
    // Where it names no icon file: its target's paths, in the order to try
    // them; the first that exists shows its own icon (an executable its
    // first icon, a folder the icon its desktop.ini names, a shortcut the
    // icon it shows).
    std::vector<std::string> targets;
};

// Reads the shortcut in `source` (at most limits::MaxShortcutBytes). A
// shortcut that names neither an icon nor a target has neither.
Result<ShortcutIcon> readShortcut(ShortcutKind kind, ByteSource& source);

} // namespace orvu
