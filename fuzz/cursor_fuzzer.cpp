// The cursor readers (RT_GROUP_CURSOR and RT_CURSOR in executables, .cur
// files), as the exports and the cells drive them: the cursor count, every
// cursor loaded and drawn at 32 x 32 with its hotspot, its description,
// every stored image decoded, and the cursor written as a .cur file, which
// must read back with the same images and hotspots.

#include "fuzz_png.h"
#include "icons/cursor_at_size.h"
#include "icons/icon_file_writer.h"
#include "icons/icon_library.h"
#include "icons/limits.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvu;
    IconLibrary library =
        IconLibrary::fromBytes(std::vector<std::uint8_t>(data, data + size), fuzz::pngDecoder());
    const std::uint32_t count = library.count(GroupKind::Cursor);
    for (std::uint32_t k = 0; k < count; ++k) {
        const GroupRef cursor{GroupKind::Cursor, k};
        if (const auto loaded = library.cursorAt(cursor, LargeIconSize))
            fuzz::checkBitmap(loaded->bitmap, LargeIconSize);
        if (const auto drawn = drawCursorAt(library, cursor, LargeIconSize, 0xFFFFFF)) {
            if (drawn->surface.pixels.size() != LargeIconSize * LargeIconSize)
                __builtin_trap();
        }
        // The choice at the smallest and the largest size shown.
        for (const int size : {1, MaxShownSize})
            static_cast<void>(library.imageAt(cursor, size));
        const auto description = library.describe(cursor);
        if (description && description->large && *description->large >= description->images.size())
            __builtin_trap();
        const auto held = library.images(cursor);
        if (!held)
            continue;
        const std::vector<IconImage>& images = held->images;
        // What each image is, and the order a thumbnail tries them in.
        std::vector<ImageSize> sizes;
        for (const IconImage& image : images)
            sizes.push_back(ownSize(GroupKind::Cursor, image.entry, ByteView(image.bytes)));
        if (pictureOrder(sizes, MaxShownSize).size() != sizes.size() ||
            largestImage(sizes) >= sizes.size())
            __builtin_trap();
        for (const IconImage& image : images) {
            if (image.bytes.size() > limits::MaxImageBytes)
                __builtin_trap();
            if (const auto decoded = library.decode(image))
                fuzz::checkBitmap(*decoded, limits::MaxImageSide);
        }
        if (images.empty())
            continue;
        const auto file = writeCursorFile(images);
        if (!file)
            __builtin_trap(); // what was read can always be written
        if (file->size() > limits::MaxBytesPerFile / 2)
            continue;
        IconLibrary reread = IconLibrary::fromBytes(*file, nullptr);
        const auto again = reread.images({GroupKind::Cursor, 0});
        if (reread.count(GroupKind::Cursor) != 1 || !again ||
            again->images.size() != images.size() || !again->missing.empty())
            __builtin_trap();
        for (std::size_t i = 0; i < images.size(); ++i) {
            const Hotspot was = images[i].entry.hotspot.value_or(Hotspot{});
            const Hotspot is = again->images[i].entry.hotspot.value_or(Hotspot{-1, -1});
            if (again->images[i].bytes != images[i].bytes || is.x != (was.x & 0xFFFF) ||
                is.y != (was.y & 0xFFFF))
                __builtin_trap();
        }
    }
    if (library.cursorAt({GroupKind::Cursor, count}, LargeIconSize))
        __builtin_trap();
    return 0;
}
