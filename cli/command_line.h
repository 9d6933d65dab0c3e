#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace orvu::cli {

// The program's arguments as UTF-8, its name first. On Windows they come
// from the wide command line, since main's own arguments come in the ANSI
// code page, which can't hold every file name; output then goes out as UTF-8
// with plain line feeds, the same bytes as on other systems.
std::vector<std::string> commandLine(int argc, char** argv);

// The file an argument names.
std::filesystem::path pathFromArgument(const std::string& argument);

} // namespace orvu::cli
