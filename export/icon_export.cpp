#include "export/icon_export.h"

#include "icons/icon_choice.h"
#include "icons/icon_file_writer.h"
#include "png/png_encoder.h"

namespace orvu {
Result<std::vector<std::uint8_t>> iconFileOf(IconLibrary& library, std::uint32_t k) {
    const auto images = library.images(k);
    if (!images)
        return images.failure();
    return writeIconFile(*images);
}

Result<std::vector<std::uint8_t>> pngOf(IconLibrary& library, std::uint32_t k,
                                        std::optional<int> size) {
    const auto group = library.group(k);
    if (!group)
        return group.failure();
    const auto chosen = size ? chooseImage(*group, *size) : largestImage(*group);
    if (!chosen)
        return damaged("an icon group without images");
    const auto image = library.image(group->entries[*chosen]);
    if (!image)
        return image.failure();
    const auto decoded = library.decode(*image);
    if (!decoded)
        return decoded.failure();
    return encodePng(*decoded);
}

} // namespace orvu
