#pragma once

#include <cstdint>

namespace orvu {

// The main window's running numbers for folder harvests: IconTotal counts
// the icons harvested by folder scans since the program started, IconNumber
// is the number of the icon in work, from which its image key is made. Both
// start at 0 and are never reset. 64 bits: no tree can make them overflow.
struct HarvestCounters {
    std::int64_t IconTotal = 0;
    std::int64_t IconNumber = 0;
};

} // namespace orvu
