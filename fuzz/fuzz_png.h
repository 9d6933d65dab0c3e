#pragma once

// The PNG decoder the fuzz targets hand to the core: Qt's where the build
// has Qt, none otherwise (PNG images are then refused after the header check).
// The other one, libpng's, is fuzzed on its own where the build has it.

#include "icons/png_decoder.h"

#ifdef ORVU_FUZZ_WITH_LIBPNG
#include "png/libpng_decoder.h"
#endif
#ifdef ORVU_FUZZ_WITH_QT
#include "qt/qt_png_decoder.h"

#include <QtGlobal>
#endif

namespace orvu::fuzz {

inline const PngDecoder* pngDecoder() {
#ifdef ORVU_FUZZ_WITH_QT
    // Qt reports every broken PNG as a warning; millions of them only slow
    // the run down and bury the fuzzer's own output.
    static const bool quiet = [] {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        return true;
    }();
    (void)quiet;
    static const QtPngDecoder decoder;
    return &decoder;
#else
    return nullptr;
#endif
}

inline const PngDecoder* otherPngDecoder() {
#ifdef ORVU_FUZZ_WITH_LIBPNG
    static const LibpngDecoder decoder;
    return &decoder;
#else
    return nullptr;
#endif
}

// Stops the run where a decoded image breaks what every caller relies on:
// a size within the limits, one pixel per position, a mask that is either
// absent or one byte per pixel.
inline void checkBitmap(const IconBitmap& bitmap, int maxSide) {
    const bool sane = bitmap.width > 0 && bitmap.height > 0 && bitmap.width <= maxSide &&
                      bitmap.height <= maxSide &&
                      bitmap.pixels.size() == static_cast<std::size_t>(bitmap.width) *
                                                  static_cast<std::size_t>(bitmap.height) &&
                      (bitmap.mask.empty() || bitmap.mask.size() == bitmap.pixels.size());
    if (!sane)
        __builtin_trap();
}

} // namespace orvu::fuzz
