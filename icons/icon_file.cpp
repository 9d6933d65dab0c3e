#include "icons/icon_file.h"

#include "icons/limits.h"

namespace orvu {

Result<std::unique_ptr<IconContainer>> IconFile::open(ByteView head) {
    const auto header = parseIconFileHeader(head);
    if (!header)
        return header.failure();
    return std::unique_ptr<IconContainer>(new IconFile(header->count, header->type));
}

Result<IconGroup> IconFile::entries(ByteSource& source) const {
    auto entries =
        source.read(IconDirectory::HeaderSize, m_count * IconDirectoryEntry::FileEntrySize,
                    limits::MaxGroupEntries * IconDirectoryEntry::FileEntrySize, "icon directory");
    if (!entries)
        return entries.failure();
    return parseIconFileEntries(ByteView(*entries), m_count, m_type);
}

Result<IconGroup> IconFile::group(ByteSource& source, std::uint32_t k) const {
    if (k >= iconCount())
        return Failure{Failure::Kind::NoSuchIcon, "icon " + std::to_string(k + 1)};
    return entries(source);
}

Result<IconGroup> IconFile::cursorGroup(ByteSource& source, std::uint32_t k) const {
    if (k >= count(GroupKind::Cursor))
        return noSuchGroup({GroupKind::Cursor, k});
    return entries(source);
}

std::uint32_t IconFile::count(GroupKind kind) const {
    if (kind == GroupKind::Icon)
        return iconCount();
    return kind == GroupKind::Cursor && m_type == IconDirectory::CursorType ? 1 : 0;
}

Result<IconName> IconFile::groupName(ByteSource&, GroupRef group) const {
    if (group.index >= count(group.kind))
        return noSuchGroup(group);
    return IconName{};
}

Result<Extent> IconFile::imageExtent(ByteSource&, const GroupEntry& entry) const {
    return Extent{entry.location, entry.bytesInResource};
}

} // namespace orvu
