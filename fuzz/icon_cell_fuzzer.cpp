// One stored icon image as it ends up in a tile: decoded, fitted to the
// large size, drawn onto the cell's background. The first byte picks the
// background and the surface size (the 33 x 33 preview, the 32 x 32 cell or
// a smaller one); the rest is the image.

#include "fuzz_png.h"
#include "icons/icon_choice.h"
#include "icons/icon_drawing.h"
#include "icons/icon_image.h"
#include "icons/icon_scaling.h"
#include "icons/limits.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvu;
    if (size < 1)
        return 0;
    const std::uint8_t choice = data[0];
    const ByteView bytes(Bytes(data + 1, size - 1));
    const auto image = decodeIconImage(bytes, fuzz::pngDecoder());
    if (!image)
        return 0;
    fuzz::checkBitmap(*image, limits::MaxImageSide);

    const IconBitmap fitted = fitIconToSize(*image, LargeIconSize, LargeIconSize);
    fuzz::checkBitmap(fitted, LargeIconSize);
    if (fitted.width != LargeIconSize || fitted.height != LargeIconSize)
        __builtin_trap();

    static constexpr std::uint32_t Backgrounds[] = {0xFFFFFF, 0x000000, 0x808080, 0x123456};
    static constexpr int Sides[] = {33, 32, 16, 1};
    const std::uint32_t background = Backgrounds[choice & 3];
    const int side = Sides[(choice >> 2) & 3];
    Surface surface = Surface::filled(side, side, background);
    drawIcon(surface, fitted);
    for (std::uint32_t pixel : surface.pixels) {
        if (pixel > 0xFFFFFF)
            __builtin_trap();
    }
    // The image as decoded, before fitting, drawn straight onto a small surface.
    Surface small = Surface::filled(side, side, background);
    drawIcon(small, *image);
    return 0;
}
