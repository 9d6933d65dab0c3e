// IconLibrary's cursors and animated cursors.

#include "icons/icon_image.h"
#include "icons/icon_library.h"
#include "icons/icon_scaling.h"
#include "icons/image_choice.h"
#include "icons/limits.h"

#include <algorithm>

namespace orvu {
namespace {

// A hotspot given for an image of `from` pixels, where the image is loaded
// at `to`: Windows scales it with the image, rounding toward 0.
Hotspot scaledHotspot(Hotspot hotspot, int fromWidth, int fromHeight, int toWidth, int toHeight) {
    if (fromWidth == toWidth && fromHeight == toHeight)
        return hotspot;
    return {hotspot.x * toWidth / fromWidth, hotspot.y * toHeight / fromHeight};
}

} // namespace

Result<IconLibrary::KeyedGroup> IconLibrary::keyedGroup(GroupRef ref) {
    if (ref.kind == GroupKind::Animated) {
        auto animation = this->animation(ref.index);
        if (!animation)
            return animation.failure();
        auto group = frameGroup(*animation, animation->steps.front().frame);
        if (!group)
            return group.failure();
        auto keys = frameKeys(*animation, *group);
        return KeyedGroup{std::move(*group), std::move(keys), std::move(*animation)};
    }
    auto group = this->group(ref);
    if (!group)
        return group.failure();
    // A cursor file's keys are in its images' headers, as far as the file goes.
    std::vector<ChoiceKey> keys;
    for (const GroupEntry& entry : group->entries) {
        std::vector<std::uint8_t> head;
        if (keyedByImageHead(ref.kind, entry)) {
            const std::uint64_t size = m_source->size();
            if (entry.location >= size)
                break;
            auto read =
                m_source->read(entry.location, std::min(size - entry.location, ImageHeadSize),
                               ImageHeadSize, "image header");
            if (!read)
                return read.failure();
            head = std::move(*read);
        }
        const auto key = choiceKey(ref.kind, entry, ByteView(head));
        if (!key)
            break;
        keys.push_back(*key);
    }
    return KeyedGroup{std::move(*group), std::move(keys), std::nullopt};
}

Result<std::vector<ChoiceKey>> IconLibrary::choiceKeys(GroupRef group) {
    auto keyed = keyedGroup(group);
    if (!keyed)
        return keyed.failure();
    return std::move(keyed->keys);
}

Result<Animation> IconLibrary::animation(std::uint32_t k) {
    const GroupRef ref{GroupKind::Animated, k};
    if (const auto there = reachable(ref); !there)
        return there.failure();
    const auto stored = m_container->animation(*m_source, k);
    if (!stored)
        return stored.failure();
    auto bytes = m_source->read(stored->extent.offset, stored->extent.size,
                                limits::MaxAnimationBytes, "animated cursor");
    if (!bytes)
        return bytes.failure();
    return parseAnimation(std::move(*bytes), stored->icon);
}

Result<IconImages> IconLibrary::animatedImages(std::uint32_t k) {
    const auto first = keyedGroup({GroupKind::Animated, k});
    if (!first)
        return first.failure();
    IconImages result;
    for (std::size_t i = 0; i < first->group.entries.size(); ++i) {
        auto image = frameImage(*first->animation, first->group.entries[i]);
        if (image)
            result.images.push_back(std::move(*image));
        else
            result.missing.push_back({i, first->group.entries[i], image.failure()});
    }
    return result;
}

Result<LoadedCursor> IconLibrary::cursorAt(GroupRef group, int size) {
    if (group.kind == GroupKind::Animated) {
        const auto animation = this->animation(group.index);
        if (!animation)
            return animation.failure();
        return stepAt(*animation, 0, size);
    }
    const auto image = imageAt(group, size);
    if (!image)
        return image.failure();
    auto decoded = decodeWithinBudget(*image);
    if (!decoded)
        return decoded.failure();
    const Hotspot hotspot = group.kind == GroupKind::Icon
                                ? Hotspot{size / 2, size / 2}
                                : scaledHotspot(image->entry.hotspot.value_or(Hotspot{}),
                                                decoded->width, decoded->height, size, size);
    return LoadedCursor{fitIconToSize(std::move(*decoded), size, size), hotspot};
}

Result<LoadedCursor> IconLibrary::stepAt(const Animation& animation, std::size_t step, int size) {
    if (size < 1 || size > MaxShownSize)
        return Failure{Failure::Kind::OverLimit,
                       "cursors are shown at 1 to " + std::to_string(MaxShownSize) + " pixels"};
    if (step >= animation.steps.size())
        return Failure{Failure::Kind::NoSuchIcon, "step " + std::to_string(step + 1)};
    const auto group = frameGroup(animation, animation.steps[step].frame);
    if (!group)
        return group.failure();
    const auto chosen = chooseImageOfKind(GroupKind::Animated, frameKeys(animation, *group), size);
    if (!chosen)
        return damaged("a frame whose images' headers are missing");
    const GroupEntry& entry = group->entries[*chosen];
    const auto image = frameImage(animation, entry);
    if (!image)
        return image.failure();
    auto decoded = decodeWithinBudget(*image);
    if (!decoded)
        return decoded.failure();
    // The frame is loaded at the header's size, or else its entry's; a 0
    // there leaves the image's own.
    const bool headerSize = animation.width != 0 && animation.height != 0;
    const std::uint64_t width = headerSize ? animation.width : entry.width;
    const std::uint64_t height = headerSize ? animation.height : entry.height;
    const int frameWidth =
        width == 0 ? decoded->width
                   : static_cast<int>(std::min<std::uint64_t>(width, limits::MaxImageSide + 1));
    const int frameHeight =
        height == 0 ? decoded->height
                    : static_cast<int>(std::min<std::uint64_t>(height, limits::MaxImageSide + 1));
    if (frameWidth > limits::MaxImageSide || frameHeight > limits::MaxImageSide)
        return Failure{Failure::Kind::OverLimit, "frames of " + std::to_string(width) + " x " +
                                                     std::to_string(height) + " pixels"};
    const Hotspot hotspot = animation.icon
                                ? Hotspot{frameWidth / 2, frameHeight / 2}
                                : scaledHotspot(entry.hotspot.value_or(Hotspot{}), decoded->width,
                                                decoded->height, frameWidth, frameHeight);
    IconBitmap frame = fitIconToSize(std::move(*decoded), frameWidth, frameHeight);
    return LoadedCursor{fitIconToSize(std::move(frame), size, size), hotspot};
}

} // namespace orvu
