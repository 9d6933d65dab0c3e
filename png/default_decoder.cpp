#include "png/default_decoder.h"

#ifdef _WIN32
#include "png/wic_png_decoder.h"
#else
#include "png/libpng_decoder.h"
#endif

namespace orvu {

const PngDecoder* defaultPngDecoder() {
#ifdef _WIN32
    static const WicPngDecoder decoder;
#else
    static const LibpngDecoder decoder;
#endif
    return &decoder;
}

} // namespace orvu
