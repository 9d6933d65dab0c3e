#include "icons/ne_resources.h"

#include "icons/limits.h"
#include "icons/utf8.h"

#include <algorithm>

namespace orvu {
namespace {

// The records of an NE file that lead to its icons, as offsets of their fields.

// IMAGE_OS2_HEADER: where the resource table lies, from the "NE" signature.
namespace NeHeader {
constexpr std::uint64_t ResourceTable = 0x24;     // ne_rsrctab
constexpr std::uint64_t ResidentNameTable = 0x26; // ne_restab, which follows it
constexpr std::uint64_t Size = 0x28;
} // namespace NeHeader

// The resource table: an alignment shift, then type blocks until a type of 0.
namespace ResourceTable {
constexpr std::uint64_t AlignmentShift = 0; // rscAlignShift
constexpr std::uint64_t TypesAt = 2;
} // namespace ResourceTable

// NE_TYPEINFO, followed by `count` NE_NAMEINFO records.
namespace TypeInfo {
constexpr std::uint64_t TypeId = 0;
constexpr std::uint64_t Count = 2;
constexpr std::uint64_t Size = 8;
constexpr std::uint16_t Cursor = 0x8001;
constexpr std::uint16_t Icon = 0x8003;
constexpr std::uint16_t GroupCursor = 0x800C;
constexpr std::uint16_t GroupIcon = 0x800E;
} // namespace TypeInfo

// NE_NAMEINFO; offset and length in units of 2^shift bytes.
namespace NameInfo {
constexpr std::uint64_t Offset = 0;
constexpr std::uint64_t Length = 2;
constexpr std::uint64_t Id = 6;
constexpr std::uint64_t Size = 12;
constexpr std::uint16_t IntegerId = 0x8000; // integer ids carry the top bit
} // namespace NameInfo

// Larger shifts can only point past any file.
constexpr std::uint16_t MaxAlignmentShift = 24;

// Resource names in NE files are 8-bit text, taken here as Latin-1.
std::string latin1ToUtf8(const std::vector<std::uint8_t>& text) {
    std::string utf8;
    for (const std::uint8_t c : text)
        appendUtf8(utf8, c);
    return utf8;
}

// Sorted by id for look-ups, so that a group of thousands of entries doesn't
// walk thousands of images for each. Where ids repeat, the last resource
// with the id counts.
template <typename Resource> void keepLastOfEachId(std::vector<Resource>& images) {
    std::stable_sort(images.begin(), images.end(),
                     [](const Resource& a, const Resource& b) { return a.id < b.id; });
    std::size_t kept = 0;
    for (std::size_t i = 0; i < images.size(); ++i) {
        if (i + 1 == images.size() || images[i + 1].id != images[i].id)
            images[kept++] = images[i];
    }
    images.resize(kept);
}

} // namespace

// Lengths are rounded up to the alignment, so the stored length may run past
// the end of the file by less than one unit: what of it the file holds.
Extent NeResources::storedExtent(const ByteSource& source, const Resource& resource) {
    const std::uint64_t available =
        resource.offset < source.size() ? source.size() - resource.offset : 0;
    return Extent{resource.offset, std::min(resource.length, available)};
}

Result<std::unique_ptr<IconContainer>> NeResources::open(ByteSource& source,
                                                         std::uint32_t neHeader) {
    auto header = source.read(neHeader, NeHeader::Size, NeHeader::Size, "NE header");
    if (!header)
        return header.failure();
    const ByteView view(*header);
    const std::uint16_t resourceTable = *view.u16(NeHeader::ResourceTable);
    const std::uint16_t residentNames = *view.u16(NeHeader::ResidentNameTable);
    // A resource table too small to hold one type block means no resources.
    if (int{residentNames} - int{resourceTable} <= static_cast<int>(TypeInfo::Size))
        return std::unique_ptr<IconContainer>(new EmptyContainer);

    const std::uint64_t table = std::uint64_t{neHeader} + resourceTable;
    auto shiftBytes = source.read(table + ResourceTable::AlignmentShift, 2, 2, "alignment shift");
    if (!shiftBytes)
        return shiftBytes.failure();
    const std::uint16_t shift = *ByteView(*shiftBytes).u16(0);
    if (shift > MaxAlignmentShift)
        return damaged("alignment shift " + std::to_string(shift) + " at " + hexOffset(table));

    auto result = std::unique_ptr<NeResources>(new NeResources);
    result->m_table = table;
    Blocks& icons = result->m_icons;
    Blocks& cursors = result->m_cursors;
    std::uint64_t at = table + ResourceTable::TypesAt;
    for (std::uint32_t block = 0; block < limits::MaxNeTypeBlocks; ++block) {
        // Once the icons are whole, a damaged table past them only costs cursors.
        const bool iconsWhole = icons.haveGroups && icons.haveImages;
        if (iconsWhole && cursors.haveGroups && cursors.haveImages)
            break;
        auto typeBytes = source.read(at, TypeInfo::Size, TypeInfo::Size, "resource type block");
        if (!typeBytes) {
            if (iconsWhole)
                break;
            return typeBytes.failure();
        }
        const ByteView typeInfo(*typeBytes);
        const std::uint16_t type = *typeInfo.u16(TypeInfo::TypeId);
        const std::uint16_t count = *typeInfo.u16(TypeInfo::Count);
        if (type == 0)
            break;
        at += TypeInfo::Size;

        std::vector<Resource>* target = nullptr;
        const auto claim = [&target](bool& have, std::vector<Resource>& resources) {
            if (!have) {
                have = true;
                target = &resources;
            }
        };
        if (type == TypeInfo::GroupIcon)
            claim(icons.haveGroups, icons.groups);
        else if (type == TypeInfo::Icon)
            claim(icons.haveImages, icons.images);
        else if (type == TypeInfo::GroupCursor)
            claim(cursors.haveGroups, cursors.groups);
        else if (type == TypeInfo::Cursor)
            claim(cursors.haveImages, cursors.images);
        if (target) {
            auto names = source.read(at, count * NameInfo::Size, 0xFFFF * NameInfo::Size,
                                     "resource name table");
            if (!names) {
                if (iconsWhole)
                    break;
                return names.failure();
            }
            const ByteView nameView(*names);
            target->reserve(count);
            for (std::uint32_t i = 0; i < count; ++i) {
                const ByteView name = *nameView.sub(i * NameInfo::Size, NameInfo::Size);
                target->push_back(Resource{std::uint64_t{*name.u16(NameInfo::Offset)} << shift,
                                           std::uint64_t{*name.u16(NameInfo::Length)} << shift,
                                           *name.u16(NameInfo::Id)});
            }
        }
        at += count * NameInfo::Size;
    }
    if (!(icons.haveGroups && icons.haveImages) && cursors.count() == 0)
        return std::unique_ptr<IconContainer>(new EmptyContainer);
    keepLastOfEachId(icons.images);
    keepLastOfEachId(cursors.images);
    return std::unique_ptr<IconContainer>(std::move(result));
}

Result<IconGroup> NeResources::group(ByteSource& source, std::uint32_t k) const {
    if (k >= m_icons.count())
        return Failure{Failure::Kind::NoSuchIcon, "icon " + std::to_string(k + 1)};
    const Extent stored = storedExtent(source, m_icons.groups[k]);
    auto data = source.read(stored.offset, std::min(stored.size, LargestGroup), LargestGroup,
                            "group icon resource");
    if (!data)
        return data.failure();
    return parseResourceGroup(ByteView(*data));
}

Result<IconGroup> NeResources::cursorGroup(ByteSource& source, std::uint32_t k) const {
    if (k >= m_cursors.count())
        return noSuchGroup({GroupKind::Cursor, k});
    const Extent stored = storedExtent(source, m_cursors.groups[k]);
    auto data = source.read(stored.offset, std::min(stored.size, LargestGroup), LargestGroup,
                            "group cursor resource");
    if (!data)
        return data.failure();
    return parseCursorResourceGroup(ByteView(*data));
}

Result<IconName> NeResources::name(ByteSource& source, std::uint32_t k) const {
    if (k >= m_icons.count())
        return Failure{Failure::Kind::NoSuchIcon, "icon " + std::to_string(k + 1)};
    return nameOf(source, m_icons.groups[k]);
}

Result<IconName> NeResources::groupName(ByteSource& source, GroupRef group) const {
    if (group.kind == GroupKind::Cursor && group.index < m_cursors.count())
        return nameOf(source, m_cursors.groups[group.index]);
    if (group.kind == GroupKind::Icon)
        return name(source, group.index);
    return noSuchGroup(group);
}

std::uint32_t NeResources::count(GroupKind kind) const {
    switch (kind) {
    case GroupKind::Icon:
        return m_icons.count();
    case GroupKind::Cursor:
        return m_cursors.count();
    case GroupKind::Animated:
        break;
    }
    return 0;
}

Result<IconName> NeResources::nameOf(ByteSource& source, const Resource& group) const {
    const std::uint16_t id = group.id;
    if (id & NameInfo::IntegerId)
        return IconName{static_cast<std::uint16_t>(id & ~NameInfo::IntegerId), {}, std::nullopt};
    // Otherwise the offset, from the table's start, of a length byte and the name.
    auto length = source.read(m_table + id, 1, 1, "resource name length");
    if (!length)
        return length.failure();
    auto text = source.read(m_table + id + 1, (*length)[0], 255, "resource name");
    if (!text)
        return text.failure();
    return IconName{std::nullopt, latin1ToUtf8(*text), std::nullopt};
}

Result<Extent> NeResources::imageIn(const ByteSource& source, const std::vector<Resource>& images,
                                    std::uint32_t location, const char* noun) {
    const auto id = static_cast<std::uint16_t>((location | NameInfo::IntegerId) & 0xFFFF);
    const auto at = std::lower_bound(
        images.begin(), images.end(), id,
        [](const Resource& image, std::uint16_t wanted) { return image.id < wanted; });
    if (at == images.end() || at->id != id)
        return Failure{Failure::Kind::NoSuchIcon,
                       std::string("no ") + noun + " resource " + std::to_string(location)};
    return storedExtent(source, *at);
}

Result<Extent> NeResources::imageExtent(ByteSource& source, const GroupEntry& entry) const {
    if (!entry.cursorSize)
        return imageIn(source, m_icons.images, entry.location, "icon");
    auto extent = imageIn(source, m_cursors.images, entry.location, "cursor");
    if (extent)
        extent->startsWithHotspot = true;
    return extent;
}

} // namespace orvu
