#include "icon_image.h"

#include "dib_decoder.h"

namespace orvu {

std::optional<IconBitmap> decodeIconImage(ByteView data, const PngDecoder* png) {
    if (!isPng(data))
        return decodeDib(data);
    const auto header = readPngHeader(data);
    if (!png || !header)
        return std::nullopt;
    auto bitmap = png->decode(data);
    if (!bitmap || bitmap->width != static_cast<int>(header->width) ||
        bitmap->height != static_cast<int>(header->height) ||
        bitmap->pixels.size() !=
            static_cast<std::size_t>(bitmap->width) * static_cast<std::size_t>(bitmap->height))
        return std::nullopt;
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

} // namespace orvu
