#pragma once

#include "icons/icon_library.h"
#include "icons/png_decoder.h"
#include "icons/result.h"
#include "platform/windows_paths.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvu::cli {

// One path the walk reached: a file named on the command line or found in a
// folder, or a folder that could not be listed.
struct Input {
    std::filesystem::path path;
    bool named = false; // given on the command line, not found in a folder
    // The file's icons, or why the file (or the folder) can't be read.
    Result<IconLibrary> library;
    // The file whose icons they are: `path`, or the file a reference or
    // shortcut named on the command line leads to; and the one they are
    // read from: that file, or the .mun file it keeps them in.
    std::filesystem::path file = {};
    std::filesystem::path source = {};
    // The one icon a reference or shortcut names, by its index among the
    // icons; none for a file taken as a whole.
    std::optional<std::uint32_t> icon = {};
};

// Why the input shows no icons, where there is a reason: it could not be
// opened or listed, it is no executable or icon file, or it is damaged.
std::optional<Failure> problemOf(const Input& input);

// Whether that problem fails the command (exit status 1). It always does,
// except for a file found in a folder that simply is no executable or icon
// file, or no regular file (a FIFO, a socket, a device): that is only
// reported.
bool failsTheCommand(const Input& input, const Failure& problem);

// Visits the files the PATH arguments of list and extract name, one at a
// time, in order. A PATH that is no file or folder of that name may be an
// icon reference, FILE,N or FILE,-ID, FILE possibly a Windows path found
// through `paths`; a shortcut named (.lnk, .url, desktop.ini) leads to the
// icon it shows (see openIconReference). A system file whose icons are kept
// in its .mun file, named or found, is read from there. A folder met inside a walk that is
// `passOver` (extract's output folder, which fills as the walk goes) is left out. A folder's tree
// is walked as the scan walks it: a folder's files first, then its subfolders, each in
// case-insensitive name order, every folder once however many links lead to it, and only the files
// whose names match `pattern` (a Like pattern, in any letter case) are read. Files named on the
// command line are read whatever their names. Only the folders being walked are held in memory,
// never the tree, and only the file being visited is open.
//
// The files are read one after the other: reading ahead on worker threads,
// as the window's scan does, measured slower here, where a file's whole
// work is a few system calls and handing it over costs as much.
void walkInputs(const std::vector<std::string>& paths, const std::string& pattern,
                const WindowsPaths& windowsPaths, const PngDecoder* png,
                const std::optional<std::filesystem::path>& passOver,
                const std::function<void(Input&)>& visit);

// The Windows root that --windows-root names, checked to be a folder; where
// it isn't, says so on standard error and gives nullopt.
std::optional<WindowsPaths> windowsPathsOf(const std::optional<std::string>& windowsRoot);

// The --windows-root option's line in a command's help.
inline constexpr std::string_view WindowsRootHelp =
    "  --windows-root DIR the folder that holds a Windows installation's drive C:\n"
    "                     (a Wine prefix's drive_c, a mounted Windows partition),\n"
    "                     where Windows paths and %VARIABLES% in references and\n"
    "                     shortcuts are found, names in any letter case\n";

} // namespace orvu::cli
