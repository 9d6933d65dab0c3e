#pragma once

#include "icons/icon_bitmap.h"
#include "platform/windows_api.h"

#include <cstdint>
#include <vector>

namespace orvu::win32 {

// A picture as other programs take it from the clipboard or a drop: a
// 32-bit CF_DIBV5 with its alpha channel (straight, rows from the bottom,
// bit fields for each channel), and the PNG file's own bytes under the
// registered format "PNG", which keeps it exactly.
namespace pictureData {

std::vector<std::uint8_t> dibV5(const IconBitmap& picture);
UINT pngFormat();
// The bytes in a global memory block, as clipboard and drop data are handed over.
HGLOBAL global(const std::vector<std::uint8_t>& bytes);

// Puts the picture on the clipboard in both formats; false where the
// clipboard can't be opened.
bool copy(HWND owner, const IconBitmap& picture, const std::vector<std::uint8_t>& png);

} // namespace pictureData
} // namespace orvu::win32
