// A group as a file of its kind, its images as pixels or PNG, and the group drawn.

#include "export/icon_export.h"
#include "icons/cursor_at_size.h"
#include "icons/icon_at_size.h"
#include "library/handles.h"
#include "png/png_encoder.h"

#include <cstdlib>

using namespace orvu;
using namespace orvu::c_api;

namespace {

Failure noSuchImage(std::size_t index, std::size_t count) {
    return {Failure::Kind::NoSuchIcon,
            "image " + std::to_string(index) + " of " + std::to_string(count)};
}

// Image `index` (in directory order) of a cursor or animated group, from
// the images the group holds.
Result<IconImage> groupImage(IconLibrary& library, GroupRef group, std::size_t index) {
    auto images = library.images(group);
    if (!images)
        return images.failure();
    std::size_t held = index;
    for (const MissingImage& missing : images->missing) {
        if (missing.position == index)
            return missing.failure;
        if (missing.position < index)
            --held;
    }
    if (held >= images->images.size())
        return noSuchImage(index, images->images.size() + images->missing.size());
    return std::move(images->images[held]);
}

// Image `index` of a group decoded, its transparency in its alpha channel.
Result<IconBitmap> decodedImage(IconLibrary& library, GroupRef ref, std::size_t index) {
    Result<IconImage> image = Failure{Failure::Kind::NoSuchIcon, ""};
    if (ref.kind == GroupKind::Icon) {
        const auto group = library.group(ref);
        if (!group)
            return group.failure();
        if (index >= group->entries.size())
            return noSuchImage(index, group->entries.size());
        image = library.image(group->entries[index]);
    } else {
        image = groupImage(library, ref, index);
    }
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
    return orvu_icons_kind_file(file, ORVU_ICONS_KIND_ICON, icon, data, size);
}

orvu_icons_status orvu_icons_kind_file(orvu_icons_file* file, orvu_icons_kind kind, uint32_t index,
                                       uint8_t** data, size_t* size) {
    return guarded([&] {
        if (!file || !data || !size)
            return invalidArgument("orvu_icons_ico: a null argument");
        const auto groups = groupKind(kind);
        if (!groups)
            return invalidArgument("orvu_icons_kind_file: no such kind");
        const auto held = file->call();
        const auto exported = groupFileOf(file->library, {*groups, index});
        if (!exported)
            return fail(exported.failure());
        return handOver(exported->bytes, data, size);
    });
}

orvu_icons_status orvu_icons_image_rgba(orvu_icons_file* file, uint32_t icon, size_t image,
                                        uint8_t** pixels, uint32_t* width, uint32_t* height) {
    return orvu_icons_kind_image_rgba(file, ORVU_ICONS_KIND_ICON, icon, image, pixels, width,
                                      height);
}

orvu_icons_status orvu_icons_kind_image_rgba(orvu_icons_file* file, orvu_icons_kind kind,
                                             uint32_t index, size_t image, uint8_t** pixels,
                                             uint32_t* width, uint32_t* height) {
    return guarded([&] {
        if (!file || !pixels || !width || !height)
            return invalidArgument("orvu_icons_image_rgba: a null argument");
        const auto groups = groupKind(kind);
        if (!groups)
            return invalidArgument("orvu_icons_kind_image_rgba: no such kind");
        const auto held = file->call();
        const auto decoded = decodedImage(file->library, {*groups, index}, image);
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
    return orvu_icons_kind_image_png(file, ORVU_ICONS_KIND_ICON, icon, image, data, size);
}

orvu_icons_status orvu_icons_kind_image_png(orvu_icons_file* file, orvu_icons_kind kind,
                                            uint32_t index, size_t image, uint8_t** data,
                                            size_t* size) {
    return guarded([&] {
        if (!file || !data || !size)
            return invalidArgument("orvu_icons_image_png: a null argument");
        const auto groups = groupKind(kind);
        if (!groups)
            return invalidArgument("orvu_icons_kind_image_png: no such kind");
        const auto held = file->call();
        const auto decoded = decodedImage(file->library, {*groups, index}, image);
        if (!decoded)
            return fail(decoded.failure());
        return handOverFile(encodePng(*decoded), data, size);
    });
}

orvu_icons_status orvu_icons_png_for_size(orvu_icons_file* file, uint32_t icon, int size,
                                          uint8_t** data, size_t* bytes) {
    return orvu_icons_kind_png_for_size(file, ORVU_ICONS_KIND_ICON, icon, size, data, bytes);
}

orvu_icons_status orvu_icons_kind_png_for_size(orvu_icons_file* file, orvu_icons_kind kind,
                                               uint32_t index, int size, uint8_t** data,
                                               size_t* bytes) {
    return guarded([&] {
        if (!file || !data || !bytes)
            return invalidArgument("orvu_icons_png_for_size: a null argument");
        if (size != 0 && !shownSize(size))
            return invalidArgument("icons are shown at 1 to 256 pixels");
        const auto groups = groupKind(kind);
        if (!groups)
            return invalidArgument("orvu_icons_kind_png_for_size: no such kind");
        const auto held = file->call();
        const auto png = pngOf(file->library, {*groups, index},
                               size == 0 ? std::nullopt : std::optional<int>(size));
        if (!png)
            return fail(png.failure());
        return handOver(png->bytes, data, bytes);
    });
}

orvu_icons_status orvu_icons_draw(orvu_icons_file* file, uint32_t icon, int size,
                                  uint32_t background, uint8_t** pixels) {
    std::int32_t x = 0;
    std::int32_t y = 0;
    return orvu_icons_kind_draw(file, ORVU_ICONS_KIND_ICON, icon, size, background, pixels, &x, &y);
}

orvu_icons_status orvu_icons_kind_draw(orvu_icons_file* file, orvu_icons_kind kind, uint32_t index,
                                       int size, uint32_t background, uint8_t** pixels,
                                       int32_t* hotspot_x, int32_t* hotspot_y) {
    return guarded([&] {
        if (!file || !pixels || !hotspot_x || !hotspot_y)
            return invalidArgument("orvu_icons_draw: a null argument");
        if (!shownSize(size))
            return invalidArgument("icons are shown at 1 to 256 pixels");
        const auto groups = groupKind(kind);
        if (!groups)
            return invalidArgument("orvu_icons_kind_draw: no such kind");
        const auto held = file->call();
        orvu_icons_status status;
        Hotspot hotspot{size / 2, size / 2};
        if (*groups == GroupKind::Icon) {
            const auto drawn = drawIconAt(file->library, index, size, background & 0xFFFFFF);
            if (!drawn)
                return fail(drawn.failure());
            status = handOverPixels(drawn->pixels, true, pixels);
        } else {
            const auto drawn =
                drawCursorAt(file->library, {*groups, index}, size, background & 0xFFFFFF);
            if (!drawn)
                return fail(drawn.failure());
            hotspot = drawn->hotspot;
            status = handOverPixels(drawn->surface.pixels, true, pixels);
        }
        if (status == ORVU_ICONS_OK) {
            *hotspot_x = hotspot.x;
            *hotspot_y = hotspot.y;
        }
        return status;
    });
}

} // extern "C"
