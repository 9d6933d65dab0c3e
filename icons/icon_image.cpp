#include "icons/icon_image.h"

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
    if (!bitmap->whole() || bitmap->width != static_cast<int>(header->width) ||
        bitmap->height != static_cast<int>(header->height))
        return damaged("the PNG image decodes to another size than its header gives");
    bitmap->mask.clear();
    bitmap->hasAlpha = anyAlpha(bitmap->pixels);
    return bitmap;
}

ImageHeader imageHeader(ByteView data) {
    if (!isPng(data))
        return dibHeader(data);
    const auto header = readPngHeader(data);
    if (!header)
        return {};
    // Both sides are within limits::MaxImageSide here.
    return {static_cast<int>(header->width), static_cast<int>(header->height),
            std::uint64_t{header->width} * header->height, header->bitsPerPixel};
}

} // namespace orvu
