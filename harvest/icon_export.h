#pragma once

#include "harvest/harvest_window.h"
#include "icons/result.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace orvu {

// A picture as a Windows bitmap file: 24 bits per pixel, rows bottom-up.
std::vector<std::uint8_t> encodeBitmapFile(const Surface& picture);

// Writes the picture to the path as a Windows bitmap, replacing any file
// there only once the whole picture is written.
Result<void> savePicture(const Surface& picture, const std::filesystem::path& path);

} // namespace orvu
