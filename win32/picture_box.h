#pragma once

#include "icons/icon_drawing.h"
#include "platform/windows_api.h"

namespace orvu::win32::pictureBox {

// The preview surface as a child window: its background colour, and a
// picture drawn at its top-left corner, each pixel repeated to fill
// `shownSize` pixels (a 32-pixel cell on a denser screen), or shown pixel
// for pixel where its size is `shownSize`. The picture belongs to the
// caller and must outlive the box or be replaced.
HWND create(HWND parent, int id);
// What the box shows when it is next painted.
void setPicture(HWND box, const Surface* picture, int shownSize, COLORREF background);
// Paints the box now, inside the work that changed its picture; or when the
// window next paints.
void refresh(HWND box);
void refreshLater(HWND box);

} // namespace orvu::win32::pictureBox
