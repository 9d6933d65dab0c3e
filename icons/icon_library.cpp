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

std::uint32_t IconLibrary::count(GroupKind kind) const {
    return m_container ? m_container->count(kind) : 0;
}

Result<void> IconLibrary::reachable(GroupRef group) const {
    if (group.kind == GroupKind::Icon)
        return reachable(group.index);
    if (!m_container || group.index >= count(group.kind))
        return noSuchGroup(group);
    if (!m_source)
        return Failure{Failure::Kind::NoSuchIcon, "the file was closed"};
    return {};
}

Result<IconGroup> IconLibrary::group(std::uint32_t k) {
    if (const auto there = reachable(k); !there)
        return there.failure();
    return m_container->group(*m_source, k);
}

Result<IconGroup> IconLibrary::group(GroupRef group) {
    if (const auto there = reachable(group); !there)
        return there.failure();
    switch (group.kind) {
    case GroupKind::Icon:
        return m_container->group(*m_source, group.index);
    case GroupKind::Cursor:
        return m_container->cursorGroup(*m_source, group.index);
    case GroupKind::Animated:
        break;
    }
    auto first = firstFrame(group.index);
    if (!first)
        return first.failure();
    return std::move(first->group);
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

Result<std::vector<std::uint8_t>> IconLibrary::groupData(std::uint32_t k) {
    if (const auto there = reachable(k); !there)
        return there.failure();
    return m_container->groupData(*m_source, k);
}

Result<IconName> IconLibrary::name(GroupRef group) {
    if (const auto there = reachable(group); !there)
        return there.failure();
    return m_container->groupName(*m_source, group);
}

Result<IconImage> IconLibrary::image(const GroupEntry& entry) {
    if (!m_container || !m_source)
        return Failure{Failure::Kind::NoSuchIcon, "the file is closed or has no icons"};
    return m_container->storedImage(*m_source, entry);
}

Result<IconImage> IconLibrary::imageAt(std::uint32_t k, int size) {
    return imageAt(GroupRef{GroupKind::Icon, k}, size);
}

Result<IconImage> IconLibrary::imageAt(GroupRef group, int size) {
    if (size < 1 || size > MaxShownSize)
        return Failure{Failure::Kind::OverLimit,
                       "icons are shown at 1 to " + std::to_string(MaxShownSize) + " pixels"};
    if (group.kind == GroupKind::Animated) {
        if (const auto there = reachable(group); !there)
            return there.failure();
        auto first = firstFrame(group.index);
        if (!first)
            return first.failure();
        const auto chosen = chooseNearestImage(frameKeys(first->animation, first->group), size,
                                               DisplayBitsPerPixel);
        if (!chosen)
            return damaged("a frame whose images' headers are missing");
        return frameImage(first->animation, first->group.entries[*chosen]);
    }
    auto entries = this->group(group);
    if (!entries)
        return entries.failure();
    std::optional<std::size_t> chosen;
    if (group.kind == GroupKind::Icon) {
        chosen = chooseImage(*entries, size);
    } else {
        const auto keys = cursorKeys(*entries);
        if (!keys)
            return keys.failure();
        chosen = chooseCursorImage(*keys, size);
    }
    if (!chosen)
        return damaged("an icon group without images");
    return image(entries->entries[*chosen]);
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
    return describe(GroupRef{GroupKind::Icon, k});
}

Result<IconDescription> IconLibrary::describe(GroupRef ref) {
    if (ref.kind == GroupKind::Animated)
        return describeAnimated(ref.index);
    auto group = this->group(ref);
    if (!group)
        return group.failure();
    auto name = this->name(ref);
    if (!name)
        return name.failure();
    IconDescription description{ref.index, std::move(*name), {}, std::nullopt, ref.kind};
    if (ref.kind == GroupKind::Icon) {
        description.large = chooseImage(*group);
    } else if (const auto keys = cursorKeys(*group)) {
        description.large = chooseCursorImage(*keys, LargeIconSize);
    }
    for (const GroupEntry& entry : group->entries) {
        ImageDescription image{entry.pixelWidth(), entry.pixelHeight(),  entry.bitCount,
                               entry.colourCount,  ImageFormat::Missing, 0,
                               entry.hotspot};
        // A cursor file's entry holds the hotspot where the depth would be.
        if (ref.kind == GroupKind::Cursor && !entry.cursorSize)
            image.bitCount = 0;
        // An executable's cursor entry has no colour count: those bytes are
        // its 16-bit width.
        if (entry.cursorSize)
            image.colourCount = 0;
        // Enough of the image to tell its format and depth (and the hotspot
        // an executable's cursor image starts with).
        const auto extent = m_container->imageExtent(*m_source, entry);
        if (extent) {
            const std::uint64_t prefix = extent->startsWithHotspot ? CursorImageHotspot::Size : 0;
            const auto head =
                m_source->read(extent->offset, std::min<std::uint64_t>(extent->size, 40 + prefix),
                               40 + prefix, "image header");
            const auto stored =
                head ? imageFromStored(entry, *extent, *head) : Result<IconImage>(head.failure());
            if (stored) {
                const ByteView header(stored->bytes);
                image.bytes = extent->size - prefix;
                image.hotspot = stored->entry.hotspot;
                image.format = isPng(header) ? ImageFormat::Png : ImageFormat::Dib;
                if (image.bitCount == 0)
                    image.bitCount = imageHeader(header).bitCount;
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
    return images(GroupRef{GroupKind::Icon, k});
}

Result<IconImages> IconLibrary::images(GroupRef ref) {
    if (ref.kind == GroupKind::Animated)
        return animatedImages(ref.index);
    const auto group = this->group(ref);
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
        if (extent && extent->startsWithHotspot && extent->size < CursorImageHotspot::Size)
            extent = damaged("cursor image at " + hexOffset(extent->offset) + " (" +
                             std::to_string(extent->size) + " bytes) is too short for its hotspot");
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
        std::vector<std::uint8_t> bytes;
        if (span) {
            const auto from = span->begin() + static_cast<std::ptrdiff_t>(extent.offset - first);
            bytes.assign(from, from + static_cast<std::ptrdiff_t>(extent.size));
        } else {
            auto read = m_source->read(extent.offset, extent.size, limits::MaxImageBytes, "image");
            if (!read)
                return read.failure();
            bytes = std::move(*read);
        }
        auto image = imageFromStored(*entry, extent, std::move(bytes));
        if (!image)
            return image.failure();
        result.images.push_back(std::move(*image));
    }
    return result;
}

} // namespace orvu
