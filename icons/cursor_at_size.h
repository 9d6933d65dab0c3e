#pragma once

#include "icons/group_kind.h"
#include "icons/icon_drawing.h"
#include "icons/icon_library.h"
#include "icons/result.h"

#include <cstdint>

namespace orvu {

// A cursor as Windows draws it (DrawIconEx, DI_NORMAL) at a size, and the
// hotspot GetIconInfo reports for it.
struct DrawnCursor {
    Surface surface;
    Hotspot hotspot;
};

// Group `group` loaded at size x size as Windows loads it
// (IconLibrary::cursorAt: an animated one at its first step) and drawn
// through its mask or alpha onto a size x size surface of `background`
// (0x00RRGGBB). Fails where cursorAt fails.
Result<DrawnCursor> drawCursorAt(IconLibrary& library, GroupRef group, int size,
                                 std::uint32_t background);

} // namespace orvu
