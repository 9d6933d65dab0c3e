// The executable and icon-file reader, as the harvest and the exports drive
// it: the icon count, every icon at the large size and drawn at 48 x 48 (a
// tile on a screen of 1.5 device pixels a pixel), its description, every
// stored image of it decoded at its natural size, and the icon written as an
// .ico file, which must read back with the same images.

#include "fuzz_png.h"
#include "icons/icon_at_size.h"
#include "icons/icon_file_writer.h"
#include "icons/icon_library.h"
#include "icons/image_choice.h"
#include "icons/limits.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvu;
    IconLibrary library =
        IconLibrary::fromBytes(std::vector<std::uint8_t>(data, data + size), fuzz::pngDecoder());
    const std::uint32_t count = library.count();
    for (std::uint32_t k = 0; k < count; ++k) {
        if (const auto icon = library.largeIcon(k)) {
            fuzz::checkBitmap(*icon, LargeIconSize);
            if (icon->width != LargeIconSize || icon->height != LargeIconSize)
                __builtin_trap();
        }
        if (const auto drawn = drawIconAt(library, k, 48, 0xFFFFFF)) {
            if (drawn->width != 48 || drawn->height != 48 || drawn->pixels.size() != 48 * 48)
                __builtin_trap();
        }
        const auto description = library.describe({GroupKind::Icon, k});
        if (description && description->large && *description->large >= description->images.size())
            __builtin_trap();
        const auto icon = library.images({GroupKind::Icon, k});
        if (!icon)
            continue;
        const std::vector<IconImage>& images = icon->images;
        // What each image is, and the order a thumbnail tries them in.
        std::vector<ImageSize> sizes;
        for (const IconImage& image : images)
            sizes.push_back(ownSize(GroupKind::Icon, image.entry, ByteView(image.bytes)));
        if (pictureOrder(sizes, MaxShownSize).size() != sizes.size() ||
            largestImage(sizes) >= sizes.size())
            __builtin_trap();
        if (description && description->images.size() != images.size() + icon->missing.size())
            __builtin_trap();
        for (const IconImage& image : images) {
            if (image.bytes.size() > limits::MaxImageBytes)
                __builtin_trap();
            if (const auto decoded = library.decode(image)) {
                fuzz::checkBitmap(*decoded, limits::MaxImageSide);
                if (!decoded->hasAlpha || !decoded->mask.empty())
                    __builtin_trap();
            }
        }
        if (images.empty())
            continue;
        const auto file = writeIconFile(images);
        if (!file)
            __builtin_trap(); // what was read can always be written
        // Read back within the byte budget of one file, which the copy takes
        // whole where the original took its images and a shorter directory.
        if (file->size() > limits::MaxBytesPerFile / 2)
            continue;
        IconLibrary reread = IconLibrary::fromBytes(*file, nullptr);
        const auto again = reread.images({GroupKind::Icon, 0});
        if (reread.count() != 1 || !again || again->images.size() != images.size() ||
            !again->missing.empty())
            __builtin_trap();
        for (std::size_t i = 0; i < images.size(); ++i) {
            if (again->images[i].bytes != images[i].bytes)
                __builtin_trap();
        }
    }
    // Past the last icon there is nothing, whatever the file says.
    if (library.largeIcon(count) || library.images({GroupKind::Icon, count}))
        __builtin_trap();
    return 0;
}
