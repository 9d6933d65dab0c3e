// The executable and icon-file reader, as the harvest drives it: the icon
// count, then every icon at the large size, then every stored image of it.

#include "fuzz_png.h"
#include "icons/icon_choice.h"
#include "icons/icon_library.h"
#include "icons/limits.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvu;
    IconLibrary library =
        IconLibrary::fromBytes(std::vector<std::uint8_t>(data, data + size), fuzz::pngDecoder());
    const std::uint32_t count = library.count();
    for (std::uint32_t k = 0; k < count; ++k) {
        if (const auto icon = library.largeIcon(k)) {
            fuzz::checkBitmap(*icon, LargeIconSize);
            if (icon->width != LargeIconSize || icon->height != LargeIconSize)
                __builtin_trap();
        }
        if (const auto images = library.images(k)) {
            for (const IconImage& image : *images) {
                if (image.bytes.size() > limits::MaxImageBytes)
                    __builtin_trap();
            }
        }
    }
    // Past the last icon there is nothing, whatever the file says.
    if (library.largeIcon(count) || library.images(count))
        __builtin_trap();
    return 0;
}
