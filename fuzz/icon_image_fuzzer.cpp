// One stored icon image, DIB or PNG, decoded as the reader decodes it, then
// with its transparency in its alpha channel and written as PNG; PNG images
// also through the command-line tool's decoder.

#include "fuzz_png.h"
#include "icons/icon_image.h"
#include "icons/limits.h"
#include "png/png_encoder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvu;
    const ByteView bytes(Bytes(data, size));
    const auto image = decodeIconImage(bytes, fuzz::pngDecoder());
    if (image) {
        fuzz::checkBitmap(*image, limits::MaxImageSide);
        // PNG images carry no mask; only 32-bpp DIBs and PNGs carry alpha.
        if (isPng(bytes) && !image->mask.empty())
            __builtin_trap();
        const IconBitmap rgba = withAlphaChannel(*image);
        fuzz::checkBitmap(rgba, limits::MaxImageSide);
        if (!rgba.hasAlpha || !rgba.mask.empty() || !encodePng(rgba))
            __builtin_trap();
    }
    // The whole-file check walks every chunk of what claims to be a PNG.
    if (isWholePng(bytes) && !isPng(bytes))
        __builtin_trap();
    // A size the header check refuses never reaches the decoder.
    if (image && isPng(bytes) && !readPngHeader(bytes))
        __builtin_trap();
    if (const PngDecoder* other = fuzz::otherPngDecoder(); other && isPng(bytes)) {
        if (const auto decoded = other->decode(bytes))
            fuzz::checkBitmap(*decoded, limits::MaxImageSide);
    }
    return 0;
}
