#pragma once

#include "icons/byte_source.h"
#include "icons/icon_bitmap.h"
#include "icons/icon_container.h"
#include "icons/png_decoder.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace orvu {

// One stored image of an icon: its group entry and its bytes as stored.
struct IconImage {
    GroupEntry entry;
    std::vector<std::uint8_t> bytes;
};

// The icons of one file as the Windows shell extracts them: how many there
// are, icon k at the large size, and every stored image of icon k. A file
// that isn't an executable or icon file, or whose headers are damaged, has
// no icons. The library reads only the bytes it needs, through its source.
class IconLibrary {
public:
    // `png` decodes PNG images; it may be null, and must outlive the library.
    IconLibrary(std::unique_ptr<ByteSource> source, const PngDecoder* png);
    // A library over bytes in memory (tests, fuzzing).
    static IconLibrary fromBytes(std::vector<std::uint8_t> bytes, const PngDecoder* png);

    IconLibrary(IconLibrary&&) noexcept;
    IconLibrary& operator=(IconLibrary&&) noexcept;
    ~IconLibrary();

    std::uint32_t count() const;
    // Why the file holds no icons, where that is not simply an executable
    // without icons: it is no executable or icon file, or it is damaged.
    const std::optional<Failure>& problem() const { return m_problem; }

    // Icon k loaded at LargeIconSize x LargeIconSize, ready to draw. Fails
    // where Windows gives a null handle (no such icon, invalid group, missing
    // or undecodable image), and once the file's images have used up
    // limits::MaxDecodedPixelsPerFile.
    Result<IconBitmap> largeIcon(std::uint32_t k);
    // The stored image that icon k shows at the large size.
    Result<IconImage> largeImage(std::uint32_t k);
    // Every stored image of icon k, in directory order.
    Result<std::vector<IconImage>> images(std::uint32_t k);

    // Closes the file once everything wanted from it has been read: the
    // count stays, the icons and images are no longer had.
    void closeFile() { m_source.reset(); }

private:
    Result<IconGroup> group(std::uint32_t k);

    std::unique_ptr<ByteSource> m_source;
    std::unique_ptr<IconContainer> m_container;
    std::optional<Failure> m_problem;
    const PngDecoder* m_png = nullptr;
    std::uint64_t m_pixelsDecoded = 0; // against limits::MaxDecodedPixelsPerFile
};

} // namespace orvu
