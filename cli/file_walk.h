#pragma once

#include "icons/icon_library.h"
#include "icons/png_decoder.h"
#include "icons/result.h"

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
// time, in order. A folder met inside a walk that is `passOver` (extract's
// output folder, which fills as the walk goes) is left out. A folder's tree is walked as the scan
// walks it: a folder's files first, then its subfolders, each in case-insensitive name order, every
// folder once however many links lead to it, and only the files whose names match `pattern` (a Like
// pattern, in any letter case) are read. Files named on the command line are read whatever their
// names. Only the folders being walked are held in memory, never the tree, and only the file being
// visited is open.
//
// The files are read one after the other: reading ahead on worker threads,
// as the window's scan does, measured slower here, where a file's whole
// work is a few system calls and handing it over costs as much.
void walkInputs(const std::vector<std::string>& paths, const std::string& pattern,
                const PngDecoder* png, const std::optional<std::filesystem::path>& passOver,
                const std::function<void(Input&)>& visit);

} // namespace orvu::cli
