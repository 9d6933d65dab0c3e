#pragma once

#include "harvest_counters.h"
#include "harvest_window.h"
#include "png_decoder.h"

#include <filesystem>

namespace orvu {

// The Start command (the click of XPCommandButton3): sets the collection's
// image size, disables Start, empties the list, harvests the file named in
// Text1 (when there is one), then scans the folder named in Text2 (when
// there is one). Start stays disabled until a picker enables it again.
class StartCommand {
public:
    StartCommand(HarvestWindow& window, HarvestCounters& counters, const PngDecoder* png);

    // The texts of Text1 and Text2 as paths; an empty path is an empty box.
    void run(const std::filesystem::path& file, const std::filesystem::path& folder);

private:
    // Keys my0, my1, … by icon index; false when the command must stop.
    bool harvestFile(const std::filesystem::path& file);

    HarvestWindow& m_window;
    HarvestCounters& m_counters;
    const PngDecoder* m_png = nullptr;
};

} // namespace orvu
