#include "icons/cursor_at_size.h"

namespace orvu {

Result<DrawnCursor> drawCursorAt(IconLibrary& library, GroupRef group, int size,
                                 std::uint32_t background) {
    const auto cursor = library.cursorAt(group, size);
    if (!cursor)
        return cursor.failure();
    DrawnCursor drawn{Surface::filled(size, size, background), cursor->hotspot};
    drawIcon(drawn.surface, cursor->bitmap);
    return drawn;
}

} // namespace orvu
