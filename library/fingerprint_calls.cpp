// What identifies an icon elsewhere, and the image to scale it from.

#include "export/group_fingerprint.h"
#include "icons/best_image.h"
#include "icons/sandbox_icon_hash.h"
#include "library/handles.h"
#include "png/default_decoder.h"

#include <cstring>

using namespace orvu;
using namespace orvu::c_api;

namespace {

// `hex` and its terminating zero into the caller's buffer.
orvu_icons_status handOverHex(const std::string& hex, char* out) {
    std::memcpy(out, hex.c_str(), hex.size() + 1);
    return ORVU_ICONS_OK;
}

} // namespace

extern "C" {

orvu_icons_status orvu_icons_kind_sha256(orvu_icons_file* file, orvu_icons_kind kind,
                                         uint32_t index, char* sha256) {
    return guarded([&] {
        if (!file || !sha256)
            return invalidArgument("orvu_icons_kind_sha256: a null argument");
        const auto groups = groupKind(kind);
        if (!groups)
            return invalidArgument("orvu_icons_kind_sha256: no such kind");
        const std::lock_guard lock(file->mutex);
        const auto hash = groupSha256(file->library, {*groups, index});
        if (!hash)
            return fail(hash.failure());
        return handOverHex(*hash, sha256);
    });
}

orvu_icons_status orvu_icons_kind_image_sha256(orvu_icons_file* file, orvu_icons_kind kind,
                                               uint32_t index, size_t image, char* sha256) {
    return guarded([&] {
        if (!file || !sha256)
            return invalidArgument("orvu_icons_kind_image_sha256: a null argument");
        const auto groups = groupKind(kind);
        if (!groups)
            return invalidArgument("orvu_icons_kind_image_sha256: no such kind");
        const std::lock_guard lock(file->mutex);
        const auto hashes = imageSha256s(file->library, {*groups, index});
        if (!hashes)
            return fail(hashes.failure());
        if (image >= hashes->size())
            return fail(ORVU_ICONS_NO_SUCH_ICON,
                        "image " + std::to_string(image) + " of " + std::to_string(hashes->size()));
        if (!(*hashes)[image])
            return fail(ORVU_ICONS_NO_SUCH_ICON,
                        "image " + std::to_string(image) + " is missing from the file");
        return handOverHex(*(*hashes)[image], sha256);
    });
}

orvu_icons_status orvu_icons_kind_dhash32(orvu_icons_file* file, orvu_icons_kind kind,
                                          uint32_t index, char* dhash) {
    return guarded([&] {
        if (!file || !dhash)
            return invalidArgument("orvu_icons_kind_dhash32: a null argument");
        const auto groups = groupKind(kind);
        if (!groups)
            return invalidArgument("orvu_icons_kind_dhash32: no such kind");
        const std::lock_guard lock(file->mutex);
        const auto hash = pictureHash(file->library, {*groups, index});
        if (!hash)
            return fail(hash.failure());
        return handOverHex(hexOf(*hash), dhash);
    });
}

orvu_icons_status orvu_icons_file_dhash(orvu_icons_file* file, char* dhash) {
    return guarded([&] {
        if (!file || !dhash)
            return invalidArgument("orvu_icons_file_dhash: a null argument");
        const std::lock_guard lock(file->mutex);
        const auto hash = sandboxIconHash(file->library, defaultPngDecoder());
        if (!hash)
            return fail(ORVU_ICONS_NO_SUCH_ICON, "the sandboxes give this file no icon hash");
        return handOverHex(hexOf(*hash), dhash);
    });
}

orvu_icons_status orvu_icons_icon_best_image(const orvu_icons_icon* description, int size,
                                             size_t* image) {
    return guarded([&] {
        if (!description || !image)
            return invalidArgument("orvu_icons_icon_best_image: a null argument");
        if (size < 1)
            return invalidArgument("orvu_icons_icon_best_image: a size below 1");
        const auto best = bestImageFor(description->images, size);
        if (!best)
            return fail(ORVU_ICONS_NO_SUCH_ICON, "the file holds none of the icon's images");
        *image = *best;
        return ORVU_ICONS_OK;
    });
}

} // extern "C"
