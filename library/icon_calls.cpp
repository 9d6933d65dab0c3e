// One icon's description: its name and its images, read once.

#include "icons/image_choice.h"
#include "library/handles.h"

#include <algorithm>

using namespace orvu;
using namespace orvu::c_api;

namespace {

orvu_icons_format formatOf(ImageFormat format) {
    switch (format) {
    case ImageFormat::Dib:
        return ORVU_ICONS_FORMAT_DIB;
    case ImageFormat::Png:
        return ORVU_ICONS_FORMAT_PNG;
    case ImageFormat::Missing:
        break;
    }
    return ORVU_ICONS_FORMAT_MISSING;
}

// Copies the fields of `info` that fit into the caller's `size` bytes.
void copyInto(orvu_icons_image_info* out, const orvu_icons_image_info& info, size_t size) {
    const size_t fits = std::min(size, sizeof info);
    const auto* from = reinterpret_cast<const unsigned char*>(&info);
    auto* to = reinterpret_cast<unsigned char*>(out);
    // struct_size stays the caller's.
    std::copy(from + sizeof info.struct_size, from + fits, to + sizeof info.struct_size);
}

} // namespace

extern "C" {

orvu_icons_status orvu_icons_describe(orvu_icons_file* file, uint32_t icon,
                                      orvu_icons_icon** description) {
    return orvu_icons_describe_kind(file, ORVU_ICONS_KIND_ICON, icon, description);
}

orvu_icons_status orvu_icons_describe_kind(orvu_icons_file* file, orvu_icons_kind kind,
                                           uint32_t index, orvu_icons_icon** description) {
    return guarded([&] {
        if (!file || !description)
            return invalidArgument("orvu_icons_describe: a null file or description");
        const auto groups = groupKind(kind);
        if (!groups)
            return invalidArgument("orvu_icons_describe_kind: no such kind");
        const GroupRef ref{*groups, index};
        const auto held = file->call();
        auto described = file->library.describe(ref);
        if (!described)
            return fail(described.failure());
        // Keys that can't be read leave the group without a choice by size,
        // as its description is without the image shown at 32 x 32.
        auto keys = file->library.choiceKeys(ref);
        *description = new orvu_icons_icon{index, ref.kind, std::move(described->name),
                                           keys ? std::move(*keys) : std::vector<ChoiceKey>{},
                                           std::move(described->images)};
        return ORVU_ICONS_OK;
    });
}

void orvu_icons_icon_free(orvu_icons_icon* description) {
    delete description;
}

uint32_t orvu_icons_icon_index(const orvu_icons_icon* description) {
    return description ? description->index : 0;
}

orvu_icons_kind orvu_icons_icon_kind(const orvu_icons_icon* description) {
    return kindValue(description ? description->kind : GroupKind::Icon);
}

int32_t orvu_icons_icon_id(const orvu_icons_icon* description) {
    return description && description->name.id ? *description->name.id : -1;
}

const char* orvu_icons_icon_name(const orvu_icons_icon* description) {
    if (!description || description->name.id || description->name.name.empty())
        return nullptr;
    return description->name.name.c_str();
}

int32_t orvu_icons_icon_language(const orvu_icons_icon* description) {
    return description && description->name.language ? *description->name.language : -1;
}

size_t orvu_icons_icon_image_count(const orvu_icons_icon* description) {
    return description ? description->images.size() : 0;
}

orvu_icons_status orvu_icons_icon_image(const orvu_icons_icon* description, size_t image,
                                        orvu_icons_image_info* info) {
    return guarded([&] {
        if (!description || !info || info->struct_size < sizeof info->struct_size)
            return invalidArgument("orvu_icons_icon_image: a null argument or no struct_size");
        if (image >= description->images.size())
            return fail(ORVU_ICONS_NO_SUCH_ICON, "image " + std::to_string(image) + " of " +
                                                     std::to_string(description->images.size()));
        const ImageDescription& described = description->images[image];
        orvu_icons_image_info filled{};
        filled.width = described.width;
        filled.height = described.height;
        filled.bits = described.bitCount;
        filled.colours = described.colourCount;
        filled.format = formatOf(described.format);
        filled.bytes = described.bytes;
        if (described.hotspot) {
            filled.has_hotspot = 1;
            filled.hotspot_x = described.hotspot->x;
            filled.hotspot_y = described.hotspot->y;
        }
        if (described.listed) {
            filled.is_listed_otherwise = 1;
            filled.listed_width = described.listed->width;
            filled.listed_height = described.listed->height;
            filled.listed_bits = described.listed->bitCount;
        }
        copyInto(info, filled, info->struct_size);
        return ORVU_ICONS_OK;
    });
}

orvu_icons_status orvu_icons_icon_image_for_size(const orvu_icons_icon* description, int size,
                                                 size_t* image) {
    return guarded([&] {
        if (!description || !image)
            return invalidArgument("orvu_icons_icon_image_for_size: a null argument");
        if (!shownSize(size))
            return invalidArgument("icons are shown at 1 to 256 pixels");
        const auto chosen = chooseImageOfKind(description->kind, description->keys, size);
        if (!chosen)
            return fail(ORVU_ICONS_NO_SUCH_ICON, "the icon has no images");
        *image = *chosen;
        return ORVU_ICONS_OK;
    });
}

} // extern "C"
