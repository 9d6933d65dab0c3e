#pragma once

#include "icons/icon_library.h"

#include <string>
#include <vector>

namespace orvu::cli {

// How list and extract name an icon whose file lacks some of its images:
// "incomplete: image 2 (16×16) missing", or for several
// "incomplete: images 2 (16×16), 5 (48×48) missing", naming at most five
// and counting the rest. Empty for an icon that lacks none.
std::string incompleteness(const std::vector<MissingImage>& missing);
std::string incompleteness(const IconDescription& icon);

} // namespace orvu::cli
