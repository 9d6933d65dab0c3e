// One stored icon image as it ends up in a tile: decoded, fitted to the
// size it is shown at, drawn onto the cell's background. The first byte
// picks the background, the surface size (the 33 x 33 preview, the 32 x 32
// cell or a smaller one) and the size the image is fitted to (32, 48, 64 or
// 16); the rest is the image.

#include "fuzz_png.h"
#include "icons/icon_drawing.h"
#include "icons/icon_image.h"
#include "icons/icon_scaling.h"
#include "icons/image_choice.h"
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

    static constexpr int ShownSizes[] = {LargeIconSize, 48, 64, 16};
    const int shown = ShownSizes[(choice >> 4) & 3];
    const IconBitmap fitted = fitIconToSize(*image, shown, shown);
    fuzz::checkBitmap(fitted, shown);
    if (fitted.width != shown || fitted.height != shown)
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
