#pragma once

#include <png.h>

namespace orvu::libpng {

// libpng reports errors by a long jump and warnings by printing; an icon
// reader or writer wants neither on its console.
inline void failQuietly(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
inline void ignoreWarning(png_structp, png_const_charp) {}

} // namespace orvu::libpng
