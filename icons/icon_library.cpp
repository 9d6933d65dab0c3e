#include "icons/icon_library.h"

#include "icons/icon_image.h"
#include "icons/icon_scaling.h"
#include "icons/image_choice.h"
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

void IconLibrary::startRequest() {
    if (m_source)
        m_source->startRequest();
    m_pixelsDecoded = 0;
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
    auto first = keyedGroup(group);
    if (!first)
        return first.failure();
    return std::move(first->group);
}

Result<ResourceEntryFields> IconLibrary::resourceEntry(std::uint32_t k) {
    if (const auto there = reachable(k); !there)
        return there.failure();
    return m_container->resourceEntry(*m_source, k);
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

Result<IconImage> IconLibrary::imageAt(GroupRef group, int size) {
    if (size < 1 || size > MaxShownSize)
        return Failure{Failure::Kind::OverLimit,
                       "icons are shown at 1 to " + std::to_string(MaxShownSize) + " pixels"};
    const auto keyed = keyedGroup(group);
    if (!keyed)
        return keyed.failure();
    const auto chosen = chooseImageOfKind(group.kind, keyed->keys, size);
    if (!chosen)
        return damaged(keyed->group.entries.empty() ? "an icon group without images"
                                                    : "a group whose images' headers are missing");
    const GroupEntry& entry = keyed->group.entries[*chosen];
    return keyed->animation ? frameImage(*keyed->animation, entry) : image(entry);
}

Result<IconBitmap> IconLibrary::decodeWithinBudget(const IconImage& image) {
    // Charged before decoding, whether or not the decoding then succeeds.
    const ByteView bytes(image.bytes);
    const std::uint64_t pixels = imageHeader(bytes).pixels;
    if (pixels > limits::MaxDecodedPixelsPerFile - m_pixelsDecoded)
        return Failure{Failure::Kind::OverLimit,
                       "the images exceed MaxDecodedPixelsPerFile, the " +
                           std::to_string(limits::MaxDecodedPixelsPerFile) +
                           " pixels that one request may decode of a file"};
    m_pixelsDecoded += pixels;
    return decodeIconImage(bytes, m_png);
}

Result<IconBitmap> IconLibrary::iconAt(std::uint32_t k, int size) {
    const auto image = imageAt(GroupRef{GroupKind::Icon, k}, size);
    if (!image)
        return image.failure();
    auto decoded = decodeWithinBudget(*image);
    if (!decoded)
        return decoded.failure();
    return fitIconToSize(std::move(*decoded), size, size);
}

Result<IconDescription> IconLibrary::describe(GroupRef ref) {
    auto keyed = keyedGroup(ref);
    if (!keyed)
        return keyed.failure();
    auto name = this->name(ref);
    if (!name)
        return name.failure();
    IconDescription description{ref.index, std::move(*name), {}, std::nullopt, ref.kind};
    description.large = chooseImageOfKind(ref.kind, keyed->keys, LargeIconSize);
    for (const GroupEntry& entry : keyed->group.entries) {
        const ImageSize listed = listedSize(ref.kind, entry);
        // An executable's cursor entry has no colour count: those bytes are
        // its 16-bit width.
        ImageDescription image{listed.width,         listed.height,
                               listed.bitCount,      entry.cursorSize ? 0 : entry.colourCount,
                               ImageFormat::Missing, 0,
                               entry.hotspot,        std::nullopt};
        if (const auto head = imageHead(*keyed, entry)) {
            const ByteView bytes(head->image.bytes);
            const ImageSize own = ownSize(ref.kind, entry, bytes);
            image.width = own.width;
            image.height = own.height;
            image.bitCount = own.bitCount;
            image.format = isPng(bytes) ? ImageFormat::Png : ImageFormat::Dib;
            image.bytes = head->storedBytes;
            image.hotspot = head->image.entry.hotspot;
            if (own.width != listed.width || own.height != listed.height ||
                (listed.bitCount != 0 && listed.bitCount != own.bitCount))
                image.listed = listed;
        }
        description.images.push_back(image);
    }
    return description;
}

Result<IconLibrary::ImageHead> IconLibrary::imageHead(const KeyedGroup& keyed,
                                                      const GroupEntry& entry) {
    if (keyed.animation) {
        auto image = frameImage(*keyed.animation, entry);
        if (!image)
            return image.failure();
        const std::uint64_t stored = image->bytes.size();
        return ImageHead{std::move(*image), stored};
    }
    const auto extent = m_container->imageExtent(*m_source, entry);
    if (!extent)
        return extent.failure();
    // Enough of the image to tell its format, size and depth (and the
    // hotspot an executable's cursor image starts with).
    const std::uint64_t prefix = extent->startsWithHotspot ? CursorImageHotspot::Size : 0;
    auto head = m_source->read(extent->offset,
                               std::min<std::uint64_t>(extent->size, ImageHeadSize + prefix),
                               ImageHeadSize + prefix, "image header");
    if (!head)
        return head.failure();
    auto image = imageFromStored(entry, *extent, std::move(*head));
    if (!image)
        return image.failure();
    return ImageHead{std::move(*image), extent->size - prefix};
}

Result<IconBitmap> IconLibrary::decode(const IconImage& image) {
    auto decoded = decodeWithinBudget(image);
    if (!decoded)
        return decoded.failure();
    return withAlphaChannel(std::move(*decoded));
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
