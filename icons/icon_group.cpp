#include "icons/icon_group.h"

#include <algorithm>

namespace orvu {
namespace {

// The 12 bytes that both entry layouts share.
GroupEntry readCommonEntryFields(ByteView entry) {
    namespace Field = IconDirectoryEntry;
    GroupEntry result;
    result.width = *entry.u8(Field::Width);
    result.height = *entry.u8(Field::Height);
    result.colourCount = *entry.u8(Field::ColourCount);
    result.reserved = *entry.u8(Field::Reserved);
    result.planes = *entry.u16(Field::Planes);
    result.bitCount = *entry.u16(Field::BitCount);
    result.bytesInResource = *entry.u32(Field::BytesInResource);
    return result;
}

// The first `usable` 14-byte entries of an executable's group directory
// (GRPICONDIRENTRY), of a cursor directory where `cursor` is set.
IconGroup readResourceEntries(ByteView data, std::uint64_t usable, bool cursor) {
    IconGroup group;
    group.entries.reserve(static_cast<std::size_t>(usable));
    for (std::uint64_t i = 0; i < usable; ++i) {
        const ByteView entry =
            *data.sub(IconDirectory::HeaderSize + i * IconDirectoryEntry::ResourceEntrySize,
                      IconDirectoryEntry::ResourceEntrySize);
        GroupEntry parsed = readCommonEntryFields(entry);
        parsed.location = *entry.u16(IconDirectoryEntry::Location);
        if (cursor)
            parsed.cursorSize = CursorSize{*entry.u16(CursorDirectoryEntry::Width),
                                           *entry.u16(CursorDirectoryEntry::Height)};
        group.entries.push_back(parsed);
    }
    return group;
}

} // namespace

Result<IconGroup> parseResourceGroup(ByteView data) {
    const auto reserved = data.u16(IconDirectory::Reserved);
    const auto type = data.u16(IconDirectory::Type);
    const auto count = data.u16(IconDirectory::Count);
    if (!reserved || !type || !count)
        return damaged("the group directory is shorter than its header");
    // Type 2 (cursors) is taken as well: Windows tests the two low bits.
    if (*reserved != 0 || (*type & 3) == 0 || *count == 0)
        return damaged("invalid group directory header (reserved " + std::to_string(*reserved) +
                       ", type " + std::to_string(*type) + ", " + std::to_string(*count) +
                       " entries)");

    const std::uint64_t fitting =
        (data.size() - IconDirectory::HeaderSize) / IconDirectoryEntry::ResourceEntrySize;
    const auto usable = std::min<std::uint64_t>({*count, fitting, limits::MaxGroupEntries});
    if (usable == 0)
        return damaged("the group directory holds none of its entries");

    return readResourceEntries(data, usable, false);
}

Result<IconGroup> parseCursorResourceGroup(ByteView data) {
    const auto count = data.u16(IconDirectory::Count);
    if (!count)
        return damaged("the cursor directory is shorter than its header");
    const std::uint64_t fitting =
        (data.size() - IconDirectory::HeaderSize) / IconDirectoryEntry::ResourceEntrySize;
    const auto usable = std::min<std::uint64_t>({*count, fitting, limits::MaxGroupEntries});
    if (usable == 0)
        return damaged("the cursor directory holds none of its " + std::to_string(*count) +
                       " entries");

    return readResourceEntries(data, usable, true);
}

bool isIconFileHeader(ByteView head) {
    return head.u16(IconDirectory::Type) == IconDirectory::IconType;
}

bool isCursorFileHeader(ByteView head) {
    return head.u16(IconDirectory::Type) == IconDirectory::CursorType;
}

Result<IconFileHeader> parseIconFileHeader(ByteView header) {
    const auto reserved = header.u16(IconDirectory::Reserved);
    const auto type = header.u16(IconDirectory::Type);
    const auto count = header.u16(IconDirectory::Count);
    if (!reserved || !type || !count)
        return damaged("the icon file is shorter than its header");
    if (*reserved != 0 ||
        (*type != IconDirectory::IconType && *type != IconDirectory::CursorType) || *count == 0)
        return damaged("invalid icon file header (reserved " + std::to_string(*reserved) +
                       ", type " + std::to_string(*type) + ", " + std::to_string(*count) +
                       " images)");
    return IconFileHeader{*count, *type};
}

Result<IconGroup> parseIconFileEntries(ByteView entryBytes, std::uint16_t count,
                                       std::uint16_t type) {
    if (entryBytes.size() < std::uint64_t{count} * IconDirectoryEntry::FileEntrySize)
        return damaged("the icon directory runs past the end of the file");
    IconGroup group;
    group.entries.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const ByteView entry = *entryBytes.sub(i * IconDirectoryEntry::FileEntrySize,
                                               IconDirectoryEntry::FileEntrySize);
        GroupEntry parsed = readCommonEntryFields(entry);
        parsed.location = *entry.u32(IconDirectoryEntry::Location);
        if (type == IconDirectory::CursorType)
            parsed.hotspot = Hotspot{parsed.planes, parsed.bitCount};
        group.entries.push_back(parsed);
    }
    return group;
}

} // namespace orvu
