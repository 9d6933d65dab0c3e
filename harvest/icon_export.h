#pragma once

#include "harvest_window.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace orvu {

// A picture as a Windows bitmap file: 24 bits per pixel, rows bottom-up.
std::vector<std::uint8_t> encodeBitmapFile(const Surface& picture);

// SavePicture: writes the picture to the path as a Windows bitmap, whatever
// the name's extension, replacing any file there only once the whole picture
// is written. Returns why it could not be saved, or nullopt.
std::optional<std::string> savePicture(const Surface& picture, const std::filesystem::path& path);

} // namespace orvu
