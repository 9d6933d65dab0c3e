#include "export/icon_export.h"

#include "icons/icon_choice.h"
#include "icons/icon_file_writer.h"
#include "png/png_encoder.h"

namespace orvu {
namespace {

Failure noImageHeld() {
    return {Failure::Kind::NoSuchIcon, "the file holds none of the icon's images"};
}

} // namespace

Result<ExportedIcon> iconFileOf(IconLibrary& library, std::uint32_t k) {
    auto images = library.images(k);
    if (!images)
        return images.failure();
    if (images->images.empty() && !images->missing.empty())
        return noImageHeld();
    auto file = writeIconFile(images->images);
    if (!file)
        return file.failure();
    return ExportedIcon{std::move(*file), std::move(images->missing)};
}

Result<ExportedIcon> pngOf(IconLibrary& library, std::uint32_t k, std::optional<int> size) {
    auto images = library.images(k);
    if (!images)
        return images.failure();
    IconGroup held;
    for (const IconImage& image : images->images)
        held.entries.push_back(image.entry);
    const auto chosen = size ? chooseImage(held, *size) : largestImage(held);
    if (!chosen)
        return images->missing.empty() ? damaged("an icon group without images") : noImageHeld();
    const auto decoded = library.decode(images->images[*chosen]);
    if (!decoded)
        return decoded.failure();
    auto png = encodePng(*decoded);
    if (!png)
        return png.failure();
    return ExportedIcon{std::move(*png), std::move(images->missing)};
}

} // namespace orvu
