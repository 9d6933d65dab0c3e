#pragma once

#include "icons/png_decoder.h"

namespace orvu {

// PNG decoding with libpng, for programs that shouldn't load a GUI toolkit to
// read one icon. It applies the same transformations as Qt's PNG reader
// (expansion to 8-bit RGBA, 16-bit samples rounded, no gamma correction), so
// the pixels are the ones the window shows.
class LibpngDecoder final : public PngDecoder {
public:
    Result<IconBitmap> decode(ByteView png) const override;
    Result<IconBitmap> decodeCuttingSamples(ByteView png) const override;
};

} // namespace orvu
