// IconLibrary's cursors and animated cursors.

#include "icons/cursor_choice.h"
#include "icons/icon_image.h"
#include "icons/icon_library.h"
#include "icons/icon_scaling.h"
#include "icons/limits.h"

#include <algorithm>

namespace orvu {
namespace {

constexpr std::uint64_t ImageHeadSize = 40;

// A hotspot given for an image of `from` pixels, where the image is loaded
// at `to`: Windows scales it with the image, rounding toward 0.
Hotspot scaledHotspot(Hotspot hotspot, int fromWidth, int fromHeight, int toWidth, int toHeight) {
    if (fromWidth == toWidth && fromHeight == toHeight)
        return hotspot;
    return {hotspot.x * toWidth / fromWidth, hotspot.y * toHeight / fromHeight};
}

} // namespace

Result<std::vector<ChoiceKey>> IconLibrary::cursorKeys(const IconGroup& group) {
    if (group.entries.empty() || group.entries.front().cursorSize)
        return directoryKeys(group);
    // A cursor file: each image's header, as far as the file goes.
    std::vector<ChoiceKey> keys;
    for (const GroupEntry& entry : group.entries) {
        const std::uint64_t size = m_source->size();
        if (entry.location >= size)
            break;
        const auto head =
            m_source->read(entry.location, std::min(size - entry.location, ImageHeadSize),
                           ImageHeadSize, "image header");
        if (!head)
            return head.failure();
        const auto key = fileEntryKey(entry, ByteView(*head));
        if (!key)
            break;
        keys.push_back(*key);
    }
    return keys;
}

Result<std::vector<ChoiceKey>> IconLibrary::choiceKeys(GroupRef group) {
    if (group.kind == GroupKind::Animated) {
        const auto first = firstFrame(group.index);
        if (!first)
            return first.failure();
        return frameKeys(first->animation, first->group);
    }
    const auto entries = this->group(group);
    if (!entries)
        return entries.failure();
    if (group.kind == GroupKind::Icon)
        return directoryKeys(*entries);
    return cursorKeys(*entries);
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

Result<IconLibrary::FirstFrame> IconLibrary::firstFrame(std::uint32_t k) {
    auto animation = this->animation(k);
    if (!animation)
        return animation.failure();
    auto group = frameGroup(*animation, animation->steps.front().frame);
    if (!group)
        return group.failure();
    return FirstFrame{std::move(*animation), std::move(*group)};
}

Result<IconDescription> IconLibrary::describeAnimated(std::uint32_t k) {
    const GroupRef ref{GroupKind::Animated, k};
    auto name = this->name(ref);
    if (!name)
        return name.failure();
    const auto first = firstFrame(k);
    if (!first)
        return first.failure();
    const Animation& animation = first->animation;
    IconDescription description{k, std::move(*name), {}, std::nullopt, ref.kind};
    description.large =
        chooseNearestImage(frameKeys(animation, first->group), LargeIconSize, DisplayBitsPerPixel);
    for (const GroupEntry& entry : first->group.entries) {
        const auto image = frameImage(animation, entry);
        const ByteView bytes = image ? ByteView(image->bytes) : ByteView();
        description.images.push_back(
            {entry.pixelWidth(), entry.pixelHeight(), imageHeader(bytes).bitCount,
             entry.colourCount,
             image ? (isPng(bytes) ? ImageFormat::Png : ImageFormat::Dib) : ImageFormat::Missing,
             bytes.size(), entry.hotspot});
    }
    return description;
}

Result<IconImages> IconLibrary::animatedImages(std::uint32_t k) {
    const auto first = firstFrame(k);
    if (!first)
        return first.failure();
    IconImages result;
    for (std::size_t i = 0; i < first->group.entries.size(); ++i) {
        auto image = frameImage(first->animation, first->group.entries[i]);
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
    const auto chosen = chooseNearestImage(frameKeys(animation, *group), size, DisplayBitsPerPixel);
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
