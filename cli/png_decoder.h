#pragma once

#include "icons/png_decoder.h"

namespace orvu::cli {

// The decoder the tool reads PNG icon images with: libpng, or the Windows
// Imaging Component on Windows. It lives as long as the program.
const PngDecoder* pngDecoder();

} // namespace orvu::cli
