#include "png/libpng_decoder.h"

#include "icons/limits.h"
#include "png/libpng_quiet.h"

#include <bit>
#include <csetjmp>
#include <cstring>
#include <png.h>

namespace orvu {
namespace {

struct Input {
    const std::uint8_t* bytes = nullptr;
    std::size_t size = 0;
    std::size_t at = 0;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* input = static_cast<Input*>(png_get_io_ptr(png));
    if (length > input->size - input->at)
        png_error(png, "truncated");
    std::memcpy(out, input->bytes + input->at, length);
    input->at += length;
}

// Everything between setjmp and a possible long jump back to it happens here,
// in a frame without C++ objects, and writes only through `bitmap`.
bool readImage(png_structp png, png_infop info, bool cutSamples, IconBitmap& bitmap) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_user_limits(png, limits::MaxImageSide, limits::MaxImageSide);
    png_read_info(png, info);

    // To 8-bit samples in the byte order that makes each pixel 0xAARRGGBB.
    png_set_expand(png); // palette, grey below 8 bits, tRNS
    if (cutSamples)
        png_set_strip_16(png);
    else
        png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    if constexpr (std::endian::native == std::endian::little) {
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
        png_set_bgr(png);
    } else {
        png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);
        png_set_swap_alpha(png);
    }
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != png_get_image_width(png, info) * 4)
        return false;

    bitmap.width = static_cast<int>(png_get_image_width(png, info));
    bitmap.height = static_cast<int>(png_get_image_height(png, info));
    bitmap.pixels.resize(static_cast<std::size_t>(bitmap.width) *
                         static_cast<std::size_t>(bitmap.height));
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < bitmap.height; ++y) {
            auto* row = reinterpret_cast<png_bytep>(bitmap.pixels.data() +
                                                    static_cast<std::size_t>(y) *
                                                        static_cast<std::size_t>(bitmap.width));
            png_read_row(png, row, nullptr);
        }
    }
    return true;
}

Result<IconBitmap> decodePng(ByteView data, bool cutSamples) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, libpng::failQuietly,
                                             libpng::ignoreWarning);
    if (!png)
        return undecodablePng();
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return undecodablePng();
    }
    Input input{data.bytes().data(), data.size(), 0};
    png_set_read_fn(png, &input, readFromMemory);

    IconBitmap bitmap;
    const bool read = readImage(png, info, cutSamples, bitmap);
    png_destroy_read_struct(&png, &info, nullptr);
    if (!read)
        return undecodablePng();
    return bitmap;
}

} // namespace

Result<IconBitmap> LibpngDecoder::decode(ByteView data) const {
    return decodePng(data, false);
}

Result<IconBitmap> LibpngDecoder::decodeCuttingSamples(ByteView data) const {
    return decodePng(data, true);
}

} // namespace orvu
