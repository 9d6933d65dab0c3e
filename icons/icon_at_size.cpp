#include "icons/icon_at_size.h"

namespace orvu {

Result<Surface> drawIconAt(IconLibrary& library, std::uint32_t k, int size,
                           std::uint32_t background) {
    const auto icon = library.iconAt(k, size);
    if (!icon)
        return icon.failure();
    Surface surface = Surface::filled(size, size, background);
    drawIcon(surface, *icon);
    return surface;
}

} // namespace orvu
