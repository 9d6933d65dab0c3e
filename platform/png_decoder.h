#pragma once

#include "byte_view.h"
#include "icon_bitmap.h"

#include <optional>

namespace orvu {

// Decodes PNG icon images. The core recognises them and checks their size;
// the decoding itself is left to an implementation outside the core.
class PngDecoder {
public:
    virtual ~PngDecoder() = default;
    // An image of at most limits::MaxImageSide a side, alpha not premultiplied;
    // nullopt when the data can't be decoded.
    virtual std::optional<IconBitmap> decode(ByteView png) const = 0;
};

struct PngHeader {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

bool isPng(ByteView data);
// The size from the IHDR chunk, or nullopt when it is missing, zero or larger
// than limits::MaxImageSide: such an image is refused before it is decoded.
std::optional<PngHeader> readPngHeader(ByteView data);

} // namespace orvu
