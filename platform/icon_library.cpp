#include "icon_library.h"

#include "file_source.h"
#include "icon_choice.h"
#include "icon_image.h"
#include "icon_scaling.h"
#include "reader_limits.h"

namespace orvu {

IconLibrary::IconLibrary(std::unique_ptr<ByteSource> source, const PngDecoder* png,
                         std::string readError)
    : m_source(std::move(source)), m_png(png), m_readError(std::move(readError)) {
    if (m_source)
        m_container = openIconContainer(*m_source);
}

IconLibrary::IconLibrary(IconLibrary&&) noexcept = default;
IconLibrary& IconLibrary::operator=(IconLibrary&&) noexcept = default;
IconLibrary::~IconLibrary() = default;

IconLibrary IconLibrary::open(const std::filesystem::path& path, const PngDecoder* png) {
    std::string why;
    auto source = FileSource::open(path, &why);
    return IconLibrary(std::move(source), png, std::move(why));
}

IconLibrary IconLibrary::open(const OpenFolder& folder, const std::filesystem::path& name,
                              FileSource::Listed listed, const PngDecoder* png) {
    std::string why;
    auto source = FileSource::open(folder, name, listed, &why);
    return IconLibrary(std::move(source), png, std::move(why));
}

IconLibrary IconLibrary::fromBytes(std::vector<std::uint8_t> bytes, const PngDecoder* png) {
    return IconLibrary(std::make_unique<MemorySource>(std::move(bytes)), png, {});
}

std::uint32_t IconLibrary::count() const {
    return m_container ? m_container->iconCount() : 0;
}

std::optional<IconImage> IconLibrary::largeImage(std::uint32_t k) {
    if (!m_container || !m_source || k >= count())
        return std::nullopt;
    auto group = m_container->group(*m_source, k);
    if (!group)
        return std::nullopt;
    const auto chosen = chooseImage(*group);
    if (!chosen)
        return std::nullopt;
    const GroupEntry& entry = group->entries[*chosen];
    auto bytes = m_container->imageBytes(*m_source, entry);
    if (!bytes)
        return std::nullopt;
    return IconImage{entry, std::move(*bytes)};
}

std::optional<IconBitmap> IconLibrary::largeIcon(std::uint32_t k) {
    const auto image = largeImage(k);
    if (!image)
        return std::nullopt;
    // Charged before decoding, whether or not the decoding then succeeds.
    const ByteView bytes(image->bytes);
    const std::uint64_t pixels = claimedPixels(bytes);
    if (pixels > limits::MaxDecodedPixelsPerFile - m_pixelsDecoded)
        return std::nullopt;
    m_pixelsDecoded += pixels;
    auto decoded = decodeIconImage(bytes, m_png);
    if (!decoded)
        return std::nullopt;
    return fitIconToSize(std::move(*decoded), LargeIconSize, LargeIconSize);
}

std::optional<std::vector<IconImage>> IconLibrary::images(std::uint32_t k) {
    if (!m_container || !m_source || k >= count())
        return std::nullopt;
    const auto group = m_container->group(*m_source, k);
    if (!group)
        return std::nullopt;
    std::vector<IconImage> result;
    for (const GroupEntry& entry : group->entries) {
        auto bytes = m_container->imageBytes(*m_source, entry);
        if (!bytes)
            return std::nullopt;
        result.push_back(IconImage{entry, std::move(*bytes)});
    }
    return result;
}

} // namespace orvu
