#pragma once

#include "icons/icon_bitmap.h"
#include "icons/icon_drawing.h"
#include "platform/windows_api.h"
#include "win32/gdi_objects.h"

#include <cstdint>
#include <optional>

namespace orvu::win32 {

// Pictures between the layers below, which hold pixels, and GDI.

// A top-down 32-bit DIB section of a surface, every pixel opaque.
Bitmap dibOf(const Surface& surface);
// Draws a surface into `to`, each pixel repeated where `to` is larger.
void drawSurface(HDC dc, const RECT& to, const Surface& surface);
// The surface enlarged to size x size, each pixel repeated (a cell shown on
// a denser screen before it is drawn for it).
Surface enlarged(const Surface& surface, int size);
// An image with its alpha over a colour (0x00RRGGBB), as an opaque surface.
Surface composed(const IconBitmap& image, std::uint32_t background);

// A picture among the program's resources: a BITMAP resource, or an image
// file (JPEG, PNG, …) stored as RCDATA, decoded by the Windows Imaging
// Component.
Bitmap resourceBitmap(const wchar_t* name);
std::optional<IconBitmap> resourcePicture(const wchar_t* name);

// A bitmap drawn into `to`, scaled smoothly where sizes differ (the skin's
// background on a denser screen).
void drawBitmap(HDC dc, const RECT& to, HBITMAP bitmap, const RECT& from);

} // namespace orvu::win32
