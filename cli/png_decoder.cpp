#include "cli/png_decoder.h"

#ifdef _WIN32
#include "png/wic_png_decoder.h"
#else
#include "png/libpng_decoder.h"
#endif

namespace orvu::cli {

const PngDecoder* pngDecoder() {
#ifdef _WIN32
    static const WicPngDecoder decoder;
#else
    static const LibpngDecoder decoder;
#endif
    return &decoder;
}

} // namespace orvu::cli
