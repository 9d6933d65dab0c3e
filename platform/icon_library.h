#pragma once

#include "byte_source.h"
#include "file_source.h"
#include "icon_bitmap.h"
#include "icon_container.h"
#include "png_decoder.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvu {

// One stored image of an icon: its group entry and its bytes as stored.
struct IconImage {
    GroupEntry entry;
    std::vector<std::uint8_t> bytes;
};

// The icons of one file as the Windows shell extracts them: how many there
// are, icon k at the large size, and every stored image of icon k. A file
// that can't be read, or isn't an executable or icon file, has no icons.
class IconLibrary {
public:
    // `png` decodes PNG images; it may be null, and must outlive the library.
    static IconLibrary open(const std::filesystem::path& path, const PngDecoder* png);
    // The file `name` in a folder held open (see FileSource::open).
    static IconLibrary open(const OpenFolder& folder, const std::filesystem::path& name,
                            FileSource::Listed listed, const PngDecoder* png);
    // A library over bytes in memory (tests, fuzzing).
    static IconLibrary fromBytes(std::vector<std::uint8_t> bytes, const PngDecoder* png);

    IconLibrary(IconLibrary&&) noexcept;
    IconLibrary& operator=(IconLibrary&&) noexcept;
    ~IconLibrary();

    // Why the file could not be read; empty when it could (whether or not
    // it holds icons).
    const std::string& readError() const { return m_readError; }
    std::uint32_t count() const;
    // Icon k loaded at LargeIconSize x LargeIconSize, ready to draw; nullopt
    // where Windows gives a null handle (no such icon, invalid group, missing
    // or undecodable image), and once the file's images have used up
    // limits::MaxDecodedPixelsPerFile.
    std::optional<IconBitmap> largeIcon(std::uint32_t k);
    // The stored image that icon k shows at the large size.
    std::optional<IconImage> largeImage(std::uint32_t k);
    // Every stored image of icon k, in directory order.
    std::optional<std::vector<IconImage>> images(std::uint32_t k);

    // Closes the file once everything wanted from it has been read: the
    // count and the read error stay, the icons and images are no longer had.
    void closeFile() { m_source.reset(); }

private:
    IconLibrary(std::unique_ptr<ByteSource> source, const PngDecoder* png, std::string readError);

    std::unique_ptr<ByteSource> m_source;
    std::unique_ptr<IconContainer> m_container;
    const PngDecoder* m_png = nullptr;
    std::string m_readError;
    std::uint64_t m_pixelsDecoded = 0; // against limits::MaxDecodedPixelsPerFile
};

} // namespace orvu
