#include "export/icon_export.h"

#include "icons/icon_file_writer.h"
#include "icons/image_choice.h"
#include "png/png_encoder.h"

namespace orvu {
namespace {

Failure noImageHeld() {
    return {Failure::Kind::NoSuchIcon, "the file holds none of the icon's images"};
}

// Among the images the file holds, the one Windows chooses at `size`, or
// with no size the largest.
std::optional<std::size_t> chosen(GroupKind kind, const std::vector<IconImage>& images,
                                  std::optional<int> size) {
    if (!size) {
        std::vector<ImageSize> sizes;
        for (const IconImage& image : images)
            sizes.push_back(ownSize(kind, image.entry, ByteView(image.bytes)));
        return largestImage(sizes);
    }
    std::vector<ChoiceKey> keys;
    for (const IconImage& image : images) {
        const auto key = choiceKey(kind, image.entry, ByteView(image.bytes));
        if (!key)
            break;
        keys.push_back(*key);
    }
    return chooseImageOfKind(kind, keys, *size);
}

} // namespace

Result<ExportedIcon> groupFileOf(IconLibrary& library, GroupRef group) {
    if (group.kind == GroupKind::Animated) {
        const auto animation = library.animation(group.index);
        if (!animation)
            return animation.failure();
        return ExportedIcon{*animation->bytes, {}};
    }
    auto images = library.images(group);
    if (!images)
        return images.failure();
    if (images->images.empty() && !images->missing.empty())
        return noImageHeld();
    auto file = group.kind == GroupKind::Cursor ? writeCursorFile(images->images)
                                                : writeIconFile(images->images);
    if (!file)
        return file.failure();
    return ExportedIcon{std::move(*file), std::move(images->missing)};
}

Result<ExportedIcon> pngOf(IconLibrary& library, GroupRef group, std::optional<int> size) {
    auto images = library.images(group);
    if (!images)
        return images.failure();
    const auto chosenImage = chosen(group.kind, images->images, size);
    if (!chosenImage)
        return images->missing.empty() ? damaged("an icon group without images") : noImageHeld();
    const IconImage& image = images->images[*chosenImage];
    const auto decoded = library.decode(image);
    if (!decoded)
        return decoded.failure();
    auto png =
        pngOfImage(*decoded, group.kind != GroupKind::Icon ? image.entry.hotspot : std::nullopt);
    if (!png)
        return png.failure();
    return ExportedIcon{std::move(*png), std::move(images->missing)};
}

Result<std::vector<std::uint8_t>> pngOfImage(const IconBitmap& image,
                                             const std::optional<Hotspot>& hotspot) {
    std::vector<PngText> texts;
    if (hotspot)
        texts.push_back({"hotspot", std::to_string(hotspot->x) + "," + std::to_string(hotspot->y)});
    return encodePng(image, texts);
}

} // namespace orvu
