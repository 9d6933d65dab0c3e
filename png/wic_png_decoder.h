#pragma once

#include "icons/png_decoder.h"

namespace orvu {

// PNG decoding through the Windows Imaging Component, for Windows builds
// without Qt. Each call initialises COM on the calling thread for as long
// as it needs it (or uses what the thread already has), so it may be called
// from any thread.
class WicPngDecoder final : public PngDecoder {
public:
    Result<IconBitmap> decode(ByteView png) const override;
};

} // namespace orvu
