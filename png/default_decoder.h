#pragma once

#include "icons/png_decoder.h"

namespace orvu {

// The PNG decoder of builds without a toolkit: libpng, or the Windows Imaging
// Component on Windows. It lives as long as the program.
const PngDecoder* defaultPngDecoder();

} // namespace orvu
