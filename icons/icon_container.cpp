#include "icons/icon_container.h"

#include "icons/animation.h"
#include "icons/animation_file.h"
#include "icons/icon_file.h"
#include "icons/limits.h"
#include "icons/ne_resources.h"
#include "icons/pe_resources.h"

#include <algorithm>

namespace orvu {
namespace {

// IMAGE_DOS_HEADER: what tells the kind of file.
namespace DosHeader {
constexpr std::uint64_t Magic = 0;        // e_magic
constexpr std::uint64_t NewHeader = 0x3C; // e_lfanew: the PE or NE header
constexpr std::uint64_t Size = 64;
constexpr std::uint16_t MzMagic = 0x5A4D; // "MZ"
} // namespace DosHeader

constexpr std::uint32_t PeSignature = 0x4550; // "PE\0\0"
constexpr std::uint16_t NeSignature = 0x454E; // "NE"

} // namespace

Failure noSuchGroup(GroupRef group) {
    return {Failure::Kind::NoSuchIcon, std::string(kindName(group.kind)) + " " +
                                           std::to_string(std::uint64_t{group.index} + 1)};
}

Result<IconGroup> IconContainer::cursorGroup(ByteSource&, std::uint32_t k) const {
    return noSuchGroup({GroupKind::Cursor, k});
}

Result<IconName> IconContainer::groupName(ByteSource& source, GroupRef group) const {
    if (group.kind == GroupKind::Icon)
        return name(source, group.index);
    return noSuchGroup(group);
}

Result<StoredAnimation> IconContainer::animation(ByteSource&, std::uint32_t k) const {
    return noSuchGroup({GroupKind::Animated, k});
}

Result<IconImage> IconContainer::storedImage(ByteSource& source, const GroupEntry& entry) const {
    const auto extent = imageExtent(source, entry);
    if (!extent)
        return extent.failure();
    auto bytes = source.read(extent->offset, extent->size, limits::MaxImageBytes, "image");
    if (!bytes)
        return bytes.failure();
    return imageFromStored(entry, *extent, std::move(*bytes));
}

Result<IconImage> imageFromStored(const GroupEntry& entry, const Extent& extent,
                                  std::vector<std::uint8_t> bytes) {
    IconImage image{entry, std::move(bytes)};
    if (!extent.startsWithHotspot)
        return image;
    const ByteView view(image.bytes);
    const auto x = view.u16(CursorImageHotspot::X);
    const auto y = view.u16(CursorImageHotspot::Y);
    if (!x || !y)
        return damaged("cursor image at " + hexOffset(extent.offset) + " (" +
                       std::to_string(extent.size) + " bytes) is too short for its hotspot");
    image.entry.hotspot = Hotspot{static_cast<std::int16_t>(*x), static_cast<std::int16_t>(*y)};
    image.bytes.erase(image.bytes.begin(),
                      image.bytes.begin() + static_cast<std::ptrdiff_t>(CursorImageHotspot::Size));
    return image;
}

Result<ResourceEntryFields> IconContainer::resourceEntry(ByteSource&, std::uint32_t k) const {
    return Failure{Failure::Kind::NoSuchIcon,
                   "icon " + std::to_string(std::uint64_t{k} + 1) + " has no PE resource entry"};
}

Result<std::vector<std::uint8_t>> IconContainer::groupData(ByteSource&, std::uint32_t k) const {
    return Failure{Failure::Kind::NoSuchIcon,
                   "icon " + std::to_string(std::uint64_t{k} + 1) + " is not a PE resource"};
}

Result<std::unique_ptr<IconContainer>> openIconContainer(ByteSource& source) {
    auto start =
        source.read(0, std::min(source.size(), DosHeader::Size), DosHeader::Size, "file header");
    if (!start)
        return start.failure();
    const ByteView head(*start);

    if (head.u16(DosHeader::Magic) != DosHeader::MzMagic) {
        if (isIconFileHeader(head) || isCursorFileHeader(head))
            return IconFile::open(head);
        if (isAnimationHeader(head))
            return std::unique_ptr<IconContainer>(new AnimationFile(source.size()));
        return Failure{Failure::Kind::NotIconFile, {}};
    }

    const auto newHeader = head.u32(DosHeader::NewHeader);
    if (!newHeader || *newHeader >= source.size())
        return damaged("e_lfanew points past the end of the file");
    auto signature = source.read(*newHeader, std::min<std::uint64_t>(4, source.size() - *newHeader),
                                 4, "new header signature");
    if (!signature)
        return signature.failure();
    const ByteView sig(*signature);
    if (sig.u32(0) == PeSignature)
        return PeResources::open(source, *newHeader);
    if (sig.u16(0) == NeSignature)
        return NeResources::open(source, *newHeader);
    return Failure{Failure::Kind::NotIconFile, "an MZ executable that is neither PE nor NE"};
}

} // namespace orvu
