#pragma once

#include "icons/png_decoder.h"

namespace orvu {

// PNG decoding through Qt's image reader. The core has already checked the
// size in the header; the reader checks it again before it allocates.
class QtPngDecoder final : public PngDecoder {
public:
    Result<IconBitmap> decode(ByteView png) const override;
};

} // namespace orvu
