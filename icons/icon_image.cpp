#include "icons/icon_image.h"

#include "icons/dib_decoder.h"

namespace orvu {

Result<IconBitmap> decodeIconImage(ByteView data, const PngDecoder* png) {
    if (!isPng(data))
        return decodeDib(data);
    const auto header = readPngHeader(data);
    if (!header)
        return header.failure();
    if (!png)
        return Failure{Failure::Kind::NoSuchIcon, "PNG images can't be decoded here"};
    auto bitmap = png->decode(data);
    if (!bitmap)
        return bitmap.failure();
    if (bitmap->width != static_cast<int>(header->width) ||
        bitmap->height != static_cast<int>(header->height) ||
        bitmap->pixels.size() !=
            static_cast<std::size_t>(bitmap->width) * static_cast<std::size_t>(bitmap->height))
        return damaged("the PNG image decodes to another size than its header gives");
    bitmap->mask.clear();
    bitmap->hasAlpha = anyAlpha(bitmap->pixels);
    return bitmap;
}

std::uint64_t claimedPixels(ByteView data) {
    if (isPng(data)) {
        const auto header = readPngHeader(data);
        return header ? std::uint64_t{header->width} * header->height : 0;
    }
    return dibPixels(data);
}

int storedBitCount(ByteView data) {
    if (isPng(data)) {
        const auto header = readPngHeader(data);
        return header ? header->bitsPerPixel : 0;
    }
    return dibBitCount(data);
}

} // namespace orvu
