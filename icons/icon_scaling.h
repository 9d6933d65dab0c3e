#pragma once

#include "icons/icon_bitmap.h"

namespace orvu {

// Windows loads an icon at the size it will be shown at, so an image of
// another size is resampled once, when it is loaded. Enlarging repeats
// pixels (an exact 2x enlargement doubles every pixel); shrinking averages
// the covered area, weighting colours by their opacity. A masked image
// that shrinks becomes an alpha image unless it inverts the background
// somewhere, which only pixel sampling can keep.
IconBitmap fitIconToSize(IconBitmap image, int width, int height);

} // namespace orvu
