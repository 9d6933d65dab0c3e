#include "icons/icon_library.h"

#include "icons/icon_choice.h"
#include "icons/icon_image.h"
#include "icons/icon_scaling.h"
#include "icons/limits.h"

#include <algorithm>
#include <limits>

namespace orvu {
namespace {

// The most bytes between an icon's images that are read to read them in one go.
constexpr std::uint64_t SpanSlack = 4096;

} // namespace

IconLibrary::IconLibrary(std::unique_ptr<ByteSource> source, const PngDecoder* png)
    : m_source(std::move(source)), m_png(png) {
    auto container = openIconContainer(*m_source);
    if (container)
        m_container = std::move(*container);
    else
        m_problem = container.failure();
}

IconLibrary::IconLibrary(IconLibrary&&) noexcept = default;
IconLibrary& IconLibrary::operator=(IconLibrary&&) noexcept = default;
IconLibrary::~IconLibrary() = default;

IconLibrary IconLibrary::fromBytes(std::vector<std::uint8_t> bytes, const PngDecoder* png) {
    return IconLibrary(std::make_unique<MemorySource>(std::move(bytes)), png);
}

std::uint32_t IconLibrary::count() const {
    return m_container ? m_container->iconCount() : 0;
}

Result<void> IconLibrary::reachable(std::uint32_t k) const {
    if (!m_container || k >= count())
        return Failure{Failure::Kind::NoSuchIcon, "icon " + std::to_string(std::uint64_t{k} + 1)};
    if (!m_source)
        return Failure{Failure::Kind::NoSuchIcon, "the file was closed"};
    return {};
}

Result<IconGroup> IconLibrary::group(std::uint32_t k) {
    if (const auto there = reachable(k); !there)
        return there.failure();
    return m_container->group(*m_source, k);
}

Result<IconName> IconLibrary::name(std::uint32_t k) {
    if (const auto there = reachable(k); !there)
        return there.failure();
    return m_container->name(*m_source, k);
}

Result<ResourceEntryFields> IconLibrary::resourceEntry(std::uint32_t k) {
    if (const auto there = reachable(k); !there)
        return there.failure();
    return m_container->resourceEntry(*m_source, k);
}

Result<IconImage> IconLibrary::image(const GroupEntry& entry) {
    if (!m_container || !m_source)
        return Failure{Failure::Kind::NoSuchIcon, "the file is closed or has no icons"};
    auto bytes = m_container->imageBytes(*m_source, entry);
    if (!bytes)
        return bytes.failure();
    return IconImage{entry, std::move(*bytes)};
}

Result<IconImage> IconLibrary::imageAt(std::uint32_t k, int size) {
    if (size < 1 || size > MaxShownSize)
        return Failure{Failure::Kind::OverLimit,
                       "icons are shown at 1 to " + std::to_string(MaxShownSize) + " pixels"};
    auto group = this->group(k);
    if (!group)
        return group.failure();
    const auto chosen = chooseImage(*group, size);
    if (!chosen)
        return damaged("an icon group without images");
    return image(group->entries[*chosen]);
}

Result<IconBitmap> IconLibrary::decodeWithinBudget(const IconImage& image) {
    // Charged before decoding, whether or not the decoding then succeeds.
    const ByteView bytes(image.bytes);
    const std::uint64_t pixels = imageHeader(bytes).pixels;
    if (pixels > limits::MaxDecodedPixelsPerFile - m_pixelsDecoded)
        return Failure{Failure::Kind::OverLimit,
                       "the file's images exceed MaxDecodedPixelsPerFile, the " +
                           std::to_string(limits::MaxDecodedPixelsPerFile) +
                           " pixels that are decoded of one file"};
    m_pixelsDecoded += pixels;
    return decodeIconImage(bytes, m_png);
}

Result<IconBitmap> IconLibrary::iconAt(std::uint32_t k, int size) {
    const auto image = imageAt(k, size);
    if (!image)
        return image.failure();
    auto decoded = decodeWithinBudget(*image);
    if (!decoded)
        return decoded.failure();
    return fitIconToSize(std::move(*decoded), size, size);
}

Result<IconDescription> IconLibrary::describe(std::uint32_t k) {
    auto group = this->group(k);
    if (!group)
        return group.failure();
    auto name = this->name(k);
    if (!name)
        return name.failure();
    IconDescription description{k, std::move(*name), {}, chooseImage(*group)};
    for (const GroupEntry& entry : group->entries) {
        ImageDescription image{entry.pixelWidth(), entry.pixelHeight(),  entry.bitCount,
                               entry.colourCount,  ImageFormat::Missing, 0};
        // Enough of the image to tell its format and depth.
        const auto extent = m_container->imageExtent(*m_source, entry);
        if (extent) {
            if (const auto head =
                    m_source->read(extent->offset, std::min<std::uint64_t>(extent->size, 40), 40,
                                   "image header")) {
                image.bytes = extent->size;
                image.format = isPng(ByteView(*head)) ? ImageFormat::Png : ImageFormat::Dib;
                if (image.bitCount == 0)
                    image.bitCount = imageHeader(ByteView(*head)).bitCount;
            }
        }
        description.images.push_back(image);
    }
    return description;
}

Result<IconBitmap> IconLibrary::decode(const IconImage& image) {
    auto decoded = decodeWithinBudget(image);
    if (!decoded)
        return decoded.failure();
    return withAlphaChannel(std::move(*decoded));
}

Result<IconImages> IconLibrary::images(std::uint32_t k) {
    const auto group = this->group(k);
    if (!group)
        return group.failure();
    IconImages result;
    // Where each image the file holds lies.
    std::vector<std::pair<const GroupEntry*, Extent>> held;
    std::uint64_t first = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t end = 0;
    std::uint64_t total = 0;
    for (std::size_t i = 0; i < group->entries.size(); ++i) {
        const GroupEntry& entry = group->entries[i];
        auto extent = m_container->imageExtent(*m_source, entry);
        if (extent &&
            (extent->offset > m_source->size() || extent->size > m_source->size() - extent->offset))
            extent =
                damaged("image at " + hexOffset(extent->offset) + " (" +
                        std::to_string(extent->size) + " bytes) runs past the end of the file");
        if (!extent) {
            const Failure::Kind kind = extent.failure().kind;
            if (kind != Failure::Kind::NoSuchIcon && kind != Failure::Kind::Damaged)
                return extent.failure();
            result.missing.push_back({i, entry, extent.failure()});
            continue;
        }
        if (extent->size > limits::MaxImageBytes)
            return Failure{Failure::Kind::OverLimit, "image at " + hexOffset(extent->offset) +
                                                         " (" + std::to_string(extent->size) +
                                                         " bytes)"};
        first = std::min(first, extent->offset);
        end = std::max(end, extent->offset + extent->size);
        total += extent->size;
        held.emplace_back(&entry, *extent);
    }
    // Resource compilers store an icon's images one after the other, so they
    // are usually read in one go. Images that share bytes (a directory that
    // lists one image many times) are read one by one instead: each counts
    // against the file's byte budget as often as it is listed.
    std::optional<std::vector<std::uint8_t>> span;
    if (!held.empty() && total <= end - first && end - first <= total + SpanSlack) {
        if (auto read = m_source->read(first, end - first, limits::MaxBytesPerFile, "images"))
            span = std::move(*read);
    }
    result.images.reserve(held.size());
    for (const auto& [entry, extent] : held) {
        if (span) {
            const auto from = span->begin() + static_cast<std::ptrdiff_t>(extent.offset - first);
            result.images.push_back(
                {*entry, {from, from + static_cast<std::ptrdiff_t>(extent.size)}});
            continue;
        }
        auto bytes = m_source->read(extent.offset, extent.size, limits::MaxImageBytes, "image");
        if (!bytes)
            return bytes.failure();
        result.images.push_back({*entry, std::move(*bytes)});
    }
    return result;
}

} // namespace orvu
