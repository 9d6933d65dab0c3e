#pragma once

#include "icons/byte_view.h"
#include "icons/difference_hash.h"
#include "icons/png_decoder.h"
#include "icons/result.h"

#include <cstdint>

namespace orvu {

// What an .ico file of one image says of that image beside its bytes.
struct IcoEntryFields {
    std::uint16_t bitCount = 0;
    std::uint32_t bytesInResource = 0;
};

// Stored icon image `image`, written into an .ico file of its own as its
// only image (the entry first, the image at offset 22), then opened with
// the Python imaging library Pillow 9.4 and converted to grey ("L", the
// alpha channel left out): the picture that the fingerprints of malware
// sandboxes are taken of (see sandbox_icon_hash.h). It is read Pillow's way,
// not Windows': a bitmap by Pillow's BMP reader (a top-down bitmap, larger
// headers and bit-field layouts as Pillow takes them; 16-bit channels
// widened as v * 255 / 31; palette indices past the palette grey),
// a PNG image with its 16-bit samples cut to 8 bits. It fails wherever
// Pillow raises an error: a header or bit depth it doesn't take, rows that
// run past the data, or an AND mask (or, where the entry says 32 bits, an
// alpha channel) that runs past it, where the entry's byte count puts the
// mask. Images over limits::MaxImageSide a side are refused, which Pillow
// reads, as are run-length-encoded bitmaps and 16-bit grey PNG images.
Result<GreyPicture> greyAsPillowReads(ByteView image, IcoEntryFields entry, const PngDecoder* png);

} // namespace orvu
