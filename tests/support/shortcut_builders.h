#pragma once

// Builders of the files that name an icon kept elsewhere, for tests and fuzz
// seeds: shell links (.lnk) laid out as the shell writes them, and the text
// of Internet shortcuts (.url) and desktop.ini files in the encodings
// Windows writes them in.

#include "support/icon_builders.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace orvu::test {

// What a shell link holds. Texts are UTF-8; each part is written where it
// is set, with the flag that says it is there.
struct ShellLinkDescription {
    std::int32_t iconIndex = 0;
    std::optional<std::string> iconLocation;      // StringData ICON_LOCATION
    std::optional<std::string> iconEnvironment;   // IconEnvironmentDataBlock (HasExpIcon)
    std::optional<std::string> targetEnvironment; // EnvironmentVariableDataBlock (HasExpString)
    // LinkInfo: a local path (LocalBasePath and CommonPathSuffix) or a
    // network share's name with the suffix; the paths also in UTF-16 where
    // `unicodeLinkInfo` (a header of 0x24 bytes, a network part of 0x1C).
    std::optional<std::string> localBasePath;
    std::optional<std::string> networkShare;
    std::string commonPathSuffix;
    bool unicodeLinkInfo = false;
    // LinkTargetIDList: "My Computer", a volume item for the drive ("C:\"),
    // then a file entry item for each name, its long name in a 0xBEEF0004
    // block of version `idListVersion` and its primary name the name cut to
    // 8.3 in upper case.
    std::optional<std::string> idListDrive;
    std::vector<std::string> idListNames;
    std::uint16_t idListVersion = 9;
    std::optional<std::string> relativePath; // StringData RELATIVE_PATH
    std::optional<std::string> name;         // StringData NAME_STRING
    std::optional<std::string> arguments;    // StringData COMMAND_LINE_ARGUMENTS
    bool unicode = true;                     // IsUnicode: StringData in UTF-16, else Latin-1
    bool forceNoLinkInfo = false;
};

// The link's bytes, and where its parts start, for tests that damage it.
struct BuiltShellLink {
    ByteVector bytes;
    std::uint64_t idList = 0;     // the IDListSize field
    std::uint64_t linkInfo = 0;   // the LinkInfoSize field
    std::uint64_t strings = 0;    // the first StringData's count
    std::uint64_t iconString = 0; // ICON_LOCATION's count
    std::uint64_t extraData = 0;  // the first ExtraData block's size
};
BuiltShellLink buildShellLink(const ShellLinkDescription& link);

// How a settings file's text is stored.
enum class TextEncoding { Utf8, Utf8WithMark, Utf16WithMark, Latin1 };

// `text` (UTF-8, lines ending in "\n") as Windows stores it: lines ending
// in CR LF, in the encoding given (Latin-1 for text that fits in it).
ByteVector settingsText(const std::string& text, TextEncoding encoding = TextEncoding::Utf8);

// A Windows system file whose icons are kept in its .mun file: a PE file
// without icon groups, with an "MUI" resource.
ByteVector muiStub();

// A PE file with one icon group for each id, in that order, each a solid
// 32 x 32 image of its own colour (0x010000 * id + 0x80).
ByteVector peWithIconIds(const std::vector<std::uint16_t>& ids);

// A Windows installation's drive C: in miniature, and shortcuts to it kept
// elsewhere, as writeReferenceTree lays them out under a folder:
//   drive_c/Windows/System32/shell32.dll        icons with ids 1, 4, 16
//   drive_c/Windows/System32/imageres.dll       no icons, an MUI resource
//   drive_c/Windows/SystemResources/imageres.dll.mun   icons with ids 2, 3, 5
//   drive_c/Program Files/App/App.exe           icons with ids 100, 101
//   drive_c/Users/Public/Music/desktop.ini      IconResource=%SystemRoot%\system32\imageres.dll,-3
//   links/App.lnk       its target App.exe (LinkInfo, ID list, relative path), no icon
//   links/Shell.lnk     icon %SystemRoot%\System32\shell32.dll, number -16
//   links/Expanded.lnk  icon %ProgramFiles%\App\App.exe (environment block), 1;
//                       its ICON_LOCATION C:\Missing\gone.dll
//   links/Music.lnk     its target the folder C:\Users\Public\Music
//   links/Site.url      IconFile=C:\WINDOWS\system32\SHELL32.DLL, IconIndex=1
//   links/Chain.lnk     its target .\Shell.lnk
struct ReferenceTree {
    std::filesystem::path root;  // drive_c
    std::filesystem::path links; // links
};
ReferenceTree writeReferenceTree(const std::filesystem::path& folder);

} // namespace orvu::test
