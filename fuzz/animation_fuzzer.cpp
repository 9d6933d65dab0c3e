// The animated cursor reader (.ani files, RT_ANICURSOR and RT_ANIICON in
// executables): every animation, each of its first steps loaded at 32 x 32
// with its hotspot, and the first frame's description and images.

#include "fuzz_png.h"
#include "icons/icon_library.h"
#include "icons/limits.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvu;
    IconLibrary library =
        IconLibrary::fromBytes(std::vector<std::uint8_t>(data, data + size), fuzz::pngDecoder());
    const std::uint32_t count = library.count(GroupKind::Animated);
    for (std::uint32_t k = 0; k < count; ++k) {
        const GroupRef group{GroupKind::Animated, k};
        if (const auto animation = library.animation(k)) {
            if (animation->steps.empty() || animation->steps.size() > limits::MaxAnimationSteps)
                __builtin_trap();
            // Enough steps to reach every frame of a small file, not so many
            // that a hostile one with thousands makes each input slow.
            const std::size_t steps = std::min<std::size_t>(animation->steps.size(), 16);
            for (std::size_t step = 0; step < steps; ++step) {
                if (const auto loaded = library.stepAt(*animation, step, LargeIconSize))
                    fuzz::checkBitmap(loaded->bitmap, LargeIconSize);
            }
            if (library.stepAt(*animation, animation->steps.size(), LargeIconSize))
                __builtin_trap();
        }
        // The choice at the smallest and the largest size shown.
        for (const int size : {1, MaxShownSize})
            static_cast<void>(library.imageAt(group, size));
        const auto description = library.describe(group);
        if (description && description->large && *description->large >= description->images.size())
            __builtin_trap();
        if (const auto held = library.images(group)) {
            // What each image is, and the order a thumbnail tries them in.
            std::vector<ImageSize> sizes;
            for (const IconImage& image : held->images)
                sizes.push_back(ownSize(GroupKind::Animated, image.entry, ByteView(image.bytes)));
            if (pictureOrder(sizes, MaxShownSize).size() != sizes.size() ||
                largestImage(sizes) >= sizes.size())
                __builtin_trap();
            for (const IconImage& image : held->images) {
                if (const auto decoded = library.decode(image))
                    fuzz::checkBitmap(*decoded, limits::MaxImageSide);
            }
        }
    }
    if (library.animation(count))
        __builtin_trap();
    return 0;
}
