#pragma once

#include <cstdint>
#include <string>

namespace orvu {

// The running number behind the image keys of folder harvests: my1, my2, …
// for as long as the main window lives, never reset, so that every folder
// harvest keys its images after the last one. 64 bits: no tree can make it
// overflow.
struct FolderKeys {
    std::int64_t handedOut = 0;

    std::string next() { return "my" + std::to_string(++handedOut); }
};

} // namespace orvu
