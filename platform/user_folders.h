#pragma once

#include <filesystem>

namespace orvu {

// The folder an environment variable names, where it names a folder that
// exists; empty otherwise.
std::filesystem::path environmentFolder(const char* variable);
// The user's home folder: HOME (USERPROFILE on Windows), or where that is
// not set, the root folder.
std::filesystem::path homeFolder();
// The root folder of the file system the program runs in: "/", or the
// current drive's on Windows ("C:\").
std::filesystem::path rootFolder();

} // namespace orvu
