#include "icons/icon_file.h"

#include "icons/limits.h"

namespace orvu {

Result<std::unique_ptr<IconContainer>> IconFile::open(ByteView head) {
    const auto header = parseIconFileHeader(head);
    if (!header)
        return header.failure();
    return std::unique_ptr<IconContainer>(new IconFile(header->count));
}

Result<IconGroup> IconFile::group(ByteSource& source, std::uint32_t k) const {
    if (k != 0)
        return Failure{Failure::Kind::NoSuchIcon, "icon " + std::to_string(k + 1)};
    auto entries =
        source.read(IconDirectory::HeaderSize, m_count * IconDirectoryEntry::FileEntrySize,
                    limits::MaxGroupEntries * IconDirectoryEntry::FileEntrySize, "icon directory");
    if (!entries)
        return entries.failure();
    return parseIconFileEntries(ByteView(*entries), m_count);
}

Result<Extent> IconFile::imageExtent(ByteSource&, const GroupEntry& entry) const {
    return Extent{entry.location, entry.bytesInResource};
}

} // namespace orvu
