#pragma once

#include "icons/icon_library.h"
#include "icons/png_decoder.h"
#include "platform/windows_paths.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

namespace orvu {

// The icons that an icon reference leads to.
struct ReferencedIcons {
    IconLibrary library;
    // The file the reference leads to, and the one the icons are read from:
    // the same, or for a system file whose icons are kept apart, its .mun.
    std::filesystem::path file;
    std::filesystem::path source;
    // The icon the reference names, by its index among the file's icons;
    // none where it names the file as a whole.
    std::optional<std::uint32_t> icon;
};

// Opens what `reference` (UTF-8 on Windows, the file system's bytes
// elsewhere) names, as the Windows shell finds an icon:
//  - a file that exists by that name is that file, whatever the name holds
//    (a comma, a % sign), as a whole;
//  - "FILE,N" (N >= 0) is the icon at index N of FILE, counted from 0;
//    "FILE,-ID" the icon group with resource id ID (",-1" is id 1);
//  - FILE may hold %VARIABLES% and be a Windows path ("C:\...",
//    "%SystemRoot%\..."), found through `paths`;
//  - a shortcut (.lnk), Internet shortcut (.url) or folder settings file
//    (desktop.ini) is followed to the one icon it shows, through further
//    shortcuts and into folders (their desktop.ini) at most
//    limits::MaxReferenceDepth deep; paths in it are Windows', relative
//    ones from its own folder;
//  - a system file without icons but with an "MUI" resource has them in the
//    file of its name plus ".mun" in the SystemResources folder beside its
//    own or inside it (C:\Windows\SystemResources\shell32.dll.mun for
//    C:\Windows\System32\shell32.dll), names found in any letter case.
// A file named as a whole that has no icons, or isn't an executable or icon
// file, opens with its library's problem; where one icon is named, that
// fails. Fails (Unresolved) for a reference that can't be followed,
// (NoSuchIcon) where the icon named isn't there.
Result<ReferencedIcons> openIconReference(std::string_view reference, const WindowsPaths& paths,
                                          const PngDecoder* png);

// The .mun redirect for icons already opened (a file found in a folder):
// where `icons.source` has no icons but an "MUI" resource and its .mun file
// is there, `icons` is read from that file instead.
void followMunRedirect(ReferencedIcons& icons, const WindowsPaths& paths, const PngDecoder* png);

} // namespace orvu
