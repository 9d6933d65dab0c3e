#include "png/libpng_quiet.h"
#include "png/png_encoder.h"
#include "png/png_text.h"

#include <bit>
#include <csetjmp>
#include <png.h>

namespace orvu {
namespace {

void writeToMemory(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}
void flushNothing(png_structp) {}

// Everything between setjmp and a possible long jump back to it happens here,
// in a frame without C++ objects of its own.
bool writeImage(png_structp png, png_infop info, const IconBitmap& image,
                std::vector<png_text>& texts) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
                 static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!texts.empty())
        png_set_text(png, info, texts.data(), static_cast<int>(texts.size()));
    png_write_info(png, info);
    // Each pixel is 0xAARRGGBB in memory order.
    if constexpr (std::endian::native == std::endian::little) {
        png_set_bgr(png);
    } else {
        png_set_swap_alpha(png);
    }
    for (int y = 0; y < image.height; ++y) {
        const std::uint32_t* row = image.pixels.data() + static_cast<std::size_t>(y) *
                                                             static_cast<std::size_t>(image.width);
        png_write_row(png, reinterpret_cast<png_const_bytep>(row));
    }
    png_write_end(png, nullptr);
    return true;
}

} // namespace

Result<std::vector<std::uint8_t>> encodePng(const IconBitmap& image,
                                            const std::vector<PngText>& texts) {
    if (!image.whole())
        return damaged("an image without pixels");
    if (const auto refused = checkTexts(texts); !refused)
        return refused.failure();
    std::vector<png_text> chunks(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        chunks[i].compression = PNG_TEXT_COMPRESSION_NONE;
        chunks[i].key = const_cast<char*>(texts[i].keyword.c_str());
        chunks[i].text = const_cast<char*>(texts[i].text.c_str());
        chunks[i].text_length = texts[i].text.size();
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, libpng::failQuietly,
                                              libpng::ignoreWarning);
    if (!png)
        return Failure{Failure::Kind::System, "libpng could not start"};
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return Failure{Failure::Kind::System, "libpng could not start"};
    }
    std::vector<std::uint8_t> out;
    png_set_write_fn(png, &out, writeToMemory, flushNothing);
    const bool written = writeImage(png, info, image, chunks);
    png_destroy_write_struct(&png, &info);
    if (!written)
        return Failure{Failure::Kind::System, "libpng could not write the image"};
    return out;
}

} // namespace orvu
