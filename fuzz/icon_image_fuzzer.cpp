// One stored icon image, DIB or PNG, decoded as the reader decodes it, then
// with its transparency in its alpha channel and written as PNG; PNG images
// also through the command-line tool's decoder; and read as Pillow reads it
// for the sandboxes' icon hash, under an entry that says 32 bits or fewer
// and any byte count.

#include "fuzz_png.h"
#include "icons/icon_image.h"
#include "icons/limits.h"
#include "icons/pillow_icon_image.h"
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
    for (const IcoEntryFields entry : {IcoEntryFields{32, static_cast<std::uint32_t>(size)},
                                       IcoEntryFields{8, static_cast<std::uint32_t>(size / 2)}}) {
        if (const auto grey = greyAsPillowReads(bytes, entry, fuzz::pngDecoder())) {
            if (grey->width < 1 || grey->height < 1 || grey->width > limits::MaxImageSide ||
                grey->height > limits::MaxImageSide ||
                grey->levels.size() !=
                    static_cast<std::size_t>(grey->width) * static_cast<std::size_t>(grey->height))
                __builtin_trap();
            differenceHash(*grey);
        }
    }
    if (const PngDecoder* other = fuzz::otherPngDecoder(); other && isPng(bytes)) {
        if (const auto decoded = other->decode(bytes))
            fuzz::checkBitmap(*decoded, limits::MaxImageSide);
    }
    return 0;
}
