#pragma once

#include <filesystem>
#include <string_view>

namespace orvu::win32 {

// The PATH of `orvu-icons.exe [PATH]` ("Open with", or a path given in a
// shortcut) from the whole command line, as CommandLineToArgvW splits it:
// the first argument after the program's name that is not an option ("--"
// ends them), made absolute, so that a running instance elsewhere finds it.
// Empty where none is given.
std::filesystem::path startPath(std::wstring_view commandLine);

} // namespace orvu::win32
