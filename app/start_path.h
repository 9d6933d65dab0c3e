#pragma once

#include <filesystem>

namespace orvu {

// The PATH of `orvu-icons [OPTION]... [PATH]` as the file system names it:
// its bytes as they came (a name need not be text, `\xff.exe` included),
// made absolute so that a running instance elsewhere finds it. Empty where
// no PATH is given. The options, which take no value, are checked by the
// command-line parser before; "--" ends them.
std::filesystem::path startPath(int argc, char** argv);

} // namespace orvu
