#include "export/icon_export.h"

#include "icons/cursor_choice.h"
#include "icons/icon_choice.h"
#include "icons/icon_file_writer.h"
#include "png/png_encoder.h"

namespace orvu {
namespace {

Failure noImageHeld() {
    return {Failure::Kind::NoSuchIcon, "the file holds none of the icon's images"};
}

// What Windows chooses a group's image at a size by, among the images the
// file holds.
std::optional<std::size_t> chosenAt(GroupKind kind, const std::vector<IconImage>& images,
                                    int size) {
    IconGroup held;
    for (const IconImage& image : images)
        held.entries.push_back(image.entry);
    if (kind == GroupKind::Icon)
        return chooseImage(held, size);
    // A cursor file's and a frame's keys are in their images' headers.
    std::vector<ChoiceKey> keys;
    for (const IconImage& image : images) {
        const auto key = image.entry.cursorSize
                             ? std::optional<ChoiceKey>(directoryKeys({{image.entry}}).front())
                             : fileEntryKey(image.entry, ByteView(image.bytes));
        if (!key)
            break;
        keys.push_back(*key);
    }
    return kind == GroupKind::Cursor ? chooseCursorImage(keys, size)
                                     : chooseNearestImage(keys, size, DisplayBitsPerPixel);
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
    IconGroup held;
    for (const IconImage& image : images->images)
        held.entries.push_back(image.entry);
    const auto chosen = size ? chosenAt(group.kind, images->images, *size) : largestImage(held);
    if (!chosen)
        return images->missing.empty() ? damaged("an icon group without images") : noImageHeld();
    const IconImage& image = images->images[*chosen];
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
