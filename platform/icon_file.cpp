#include "icon_file.h"

#include "reader_limits.h"

namespace orvu {

std::unique_ptr<IconFile> IconFile::open(ByteSource&, ByteView head) {
    const auto header = parseIconFileHeader(head);
    if (!header)
        return nullptr;
    return std::unique_ptr<IconFile>(new IconFile(header->count));
}

std::optional<IconGroup> IconFile::group(ByteSource& source, std::uint32_t k) const {
    if (k != 0)
        return std::nullopt;
    const std::uint64_t length = m_count * IconFileEntrySize;
    const auto entries =
        source.read(GroupHeaderSize, length, limits::MaxGroupEntries * IconFileEntrySize);
    if (!entries)
        return std::nullopt;
    return parseIconFileEntries(ByteView(*entries), m_count);
}

std::optional<std::vector<std::uint8_t>> IconFile::imageBytes(ByteSource& source,
                                                              const GroupEntry& entry) const {
    return source.read(entry.location, entry.bytesInResource, limits::MaxImageBytes);
}

} // namespace orvu
