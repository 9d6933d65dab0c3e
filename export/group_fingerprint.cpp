#include "export/group_fingerprint.h"

#include "icons/cursor_at_size.h"
#include "icons/icon_at_size.h"
#include "icons/icon_file_writer.h"
#include "icons/sha256.h"

namespace orvu {
namespace {

constexpr std::uint32_t White = 0xFFFFFF;

GreyPicture greyPictureOf(const Surface& surface) {
    GreyPicture picture{surface.width, surface.height, {}};
    picture.levels.reserve(surface.pixels.size());
    for (const std::uint32_t pixel : surface.pixels)
        picture.levels.push_back(greyOf(pixel));
    return picture;
}

std::vector<std::optional<std::string>> hashesOf(const IconImages& images) {
    std::vector<std::optional<std::string>> hashes(images.images.size() + images.missing.size());
    std::vector<bool> missing(hashes.size());
    for (const MissingImage& image : images.missing) {
        if (image.position < missing.size())
            missing[image.position] = true;
    }
    std::size_t held = 0;
    for (std::size_t i = 0; i < hashes.size() && held < images.images.size(); ++i) {
        if (!missing[i])
            hashes[i] = sha256Hex(images.images[held++].bytes);
    }
    return hashes;
}

Result<std::string> fileHashOf(IconLibrary& library, GroupRef group, const IconImages& images) {
    if (group.kind == GroupKind::Animated) {
        const auto animation = library.animation(group.index);
        if (!animation)
            return animation.failure();
        return sha256Hex(*animation->bytes);
    }
    if (images.images.empty())
        return Failure{Failure::Kind::NoSuchIcon, "the file holds none of the group's images"};
    const auto file = group.kind == GroupKind::Cursor ? writeCursorFile(images.images)
                                                      : writeIconFile(images.images);
    if (!file)
        return file.failure();
    return sha256Hex(*file);
}

} // namespace

Result<DifferenceHash> pictureHash(IconLibrary& library, GroupRef group) {
    if (group.kind == GroupKind::Icon) {
        const auto drawn = drawIconAt(library, group.index, LargeIconSize, White);
        if (!drawn)
            return drawn.failure();
        return differenceHash(greyPictureOf(*drawn));
    }
    const auto drawn = drawCursorAt(library, group, LargeIconSize, White);
    if (!drawn)
        return drawn.failure();
    return differenceHash(greyPictureOf(drawn->surface));
}

Result<std::string> groupSha256(IconLibrary& library, GroupRef group) {
    const auto images = library.images(group);
    if (!images)
        return images.failure();
    return fileHashOf(library, group, *images);
}

Result<std::vector<std::optional<std::string>>> imageSha256s(IconLibrary& library, GroupRef group) {
    const auto images = library.images(group);
    if (!images)
        return images.failure();
    return hashesOf(*images);
}

GroupFingerprint fingerprintOf(IconLibrary& library, GroupRef group) {
    GroupFingerprint fingerprint;
    if (const auto hash = pictureHash(library, group))
        fingerprint.dhash32 = *hash;
    const auto images = library.images(group);
    if (!images)
        return fingerprint;
    fingerprint.images = hashesOf(*images);
    if (const auto file = fileHashOf(library, group, *images))
        fingerprint.sha256 = *file;
    return fingerprint;
}

} // namespace orvu
