// An icon as an .ico file, its images as pixels or PNG, and the icon drawn.

#include "export/icon_export.h"
#include "icons/icon_at_size.h"
#include "library/handles.h"
#include "png/png_encoder.h"

#include <cstdlib>

using namespace orvu;
using namespace orvu::c_api;

namespace {

// Image `index` of icon k decoded, its transparency in its alpha channel.
Result<IconBitmap> decodedImage(IconLibrary& library, std::uint32_t k, std::size_t index) {
    const auto group = library.group(k);
    if (!group)
        return group.failure();
    if (index >= group->entries.size())
        return Failure{Failure::Kind::NoSuchIcon, "image " + std::to_string(index) + " of " +
                                                      std::to_string(group->entries.size())};
    const auto image = library.image(group->entries[index]);
    if (!image)
        return image.failure();
    return library.decode(*image);
}

// 0xAARRGGBB pixels as bytes R, G, B, A, in a buffer orvu_icons_free() frees;
// `opaque` for pixels whose alpha byte means nothing (0x00RRGGBB).
orvu_icons_status handOverPixels(const std::vector<std::uint32_t>& pixels, bool opaque,
                                 std::uint8_t** out) {
    auto* buffer = static_cast<std::uint8_t*>(std::malloc(pixels.size() * 4));
    if (!buffer)
        return fail(ORVU_ICONS_OUT_OF_MEMORY, "out of memory");
    std::uint8_t* to = buffer;
    for (const std::uint32_t pixel : pixels) {
        *to++ = static_cast<std::uint8_t>(pixel >> 16);
        *to++ = static_cast<std::uint8_t>(pixel >> 8);
        *to++ = static_cast<std::uint8_t>(pixel);
        *to++ = opaque ? 0xFF : static_cast<std::uint8_t>(pixel >> 24);
    }
    *out = buffer;
    return ORVU_ICONS_OK;
}

orvu_icons_status handOverFile(const Result<std::vector<std::uint8_t>>& file, std::uint8_t** data,
                               std::size_t* size) {
    if (!file)
        return fail(file.failure());
    return handOver(*file, data, size);
}

} // namespace

extern "C" {

orvu_icons_status orvu_icons_ico(orvu_icons_file* file, uint32_t icon, uint8_t** data,
                                 size_t* size) {
    return guarded([&] {
        if (!file || !data || !size)
            return invalidArgument("orvu_icons_ico: a null argument");
        const std::lock_guard lock(file->mutex);
        const auto exported = iconFileOf(file->library, icon);
        if (!exported)
            return fail(exported.failure());
        return handOver(exported->bytes, data, size);
    });
}

orvu_icons_status orvu_icons_image_rgba(orvu_icons_file* file, uint32_t icon, size_t image,
                                        uint8_t** pixels, uint32_t* width, uint32_t* height) {
    return guarded([&] {
        if (!file || !pixels || !width || !height)
            return invalidArgument("orvu_icons_image_rgba: a null argument");
        const std::lock_guard lock(file->mutex);
        const auto decoded = decodedImage(file->library, icon, image);
        if (!decoded)
            return fail(decoded.failure());
        const orvu_icons_status status = handOverPixels(decoded->pixels, false, pixels);
        if (status == ORVU_ICONS_OK) {
            *width = static_cast<std::uint32_t>(decoded->width);
            *height = static_cast<std::uint32_t>(decoded->height);
        }
        return status;
    });
}

orvu_icons_status orvu_icons_image_png(orvu_icons_file* file, uint32_t icon, size_t image,
                                       uint8_t** data, size_t* size) {
    return guarded([&] {
        if (!file || !data || !size)
            return invalidArgument("orvu_icons_image_png: a null argument");
        const std::lock_guard lock(file->mutex);
        const auto decoded = decodedImage(file->library, icon, image);
        if (!decoded)
            return fail(decoded.failure());
        return handOverFile(encodePng(*decoded), data, size);
    });
}

orvu_icons_status orvu_icons_png_for_size(orvu_icons_file* file, uint32_t icon, int size,
                                          uint8_t** data, size_t* bytes) {
    return guarded([&] {
        if (!file || !data || !bytes)
            return invalidArgument("orvu_icons_png_for_size: a null argument");
        if (size != 0 && !shownSize(size))
            return invalidArgument("icons are shown at 1 to 256 pixels");
        const std::lock_guard lock(file->mutex);
        const auto png =
            pngOf(file->library, icon, size == 0 ? std::nullopt : std::optional<int>(size));
        if (!png)
            return fail(png.failure());
        return handOver(png->bytes, data, bytes);
    });
}

orvu_icons_status orvu_icons_draw(orvu_icons_file* file, uint32_t icon, int size,
                                  uint32_t background, uint8_t** pixels) {
    return guarded([&] {
        if (!file || !pixels)
            return invalidArgument("orvu_icons_draw: a null argument");
        if (!shownSize(size))
            return invalidArgument("icons are shown at 1 to 256 pixels");
        const std::lock_guard lock(file->mutex);
        const auto drawn = drawIconAt(file->library, icon, size, background & 0xFFFFFF);
        if (!drawn)
            return fail(drawn.failure());
        return handOverPixels(drawn->pixels, true, pixels);
    });
}

} // extern "C"
