// A loadable module with the Qt PNG decoder, for programs that only
// sometimes meet a PNG icon and shouldn't pay for loading Qt at every start.

#include "qt_png_decoder.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT const orvu::PngDecoder* orvu_png_decoder() {
    static const orvu::QtPngDecoder decoder;
    return &decoder;
}
