#include "icon_group.h"

#include "reader_limits.h"

#include <algorithm>

namespace orvu {
namespace {

// The 12 bytes that both entry layouts share.
GroupEntry readCommonEntryFields(ByteView entry) {
    GroupEntry result;
    result.width = *entry.u8(0);
    result.height = *entry.u8(1);
    result.colourCount = *entry.u8(2);
    result.reserved = *entry.u8(3);
    result.planes = *entry.u16(4);
    result.bitCount = *entry.u16(6);
    result.bytesInResource = *entry.u32(8);
    return result;
}

} // namespace

std::optional<IconGroup> parseResourceGroup(ByteView data) {
    const auto reserved = data.u16(0);
    const auto type = data.u16(2);
    const auto count = data.u16(4);
    if (!reserved || !type || !count || *reserved != 0 || (*type & 3) == 0 || *count == 0)
        return std::nullopt;

    const std::uint64_t fitting = (data.size() - GroupHeaderSize) / ResourceGroupEntrySize;
    const auto usable = std::min<std::uint64_t>({*count, fitting, limits::MaxGroupEntries});
    if (usable == 0)
        return std::nullopt;

    IconGroup group;
    group.entries.reserve(static_cast<std::size_t>(usable));
    for (std::uint64_t i = 0; i < usable; ++i) {
        const ByteView entry =
            *data.sub(GroupHeaderSize + i * ResourceGroupEntrySize, ResourceGroupEntrySize);
        GroupEntry parsed = readCommonEntryFields(entry);
        parsed.location = *entry.u16(12);
        group.entries.push_back(parsed);
    }
    return group;
}

std::optional<IconFileHeader> parseIconFileHeader(ByteView header) {
    const auto reserved = header.u16(0);
    const auto type = header.u16(2);
    const auto count = header.u16(4);
    if (!reserved || !type || !count || *reserved != 0 || *type != 1 || *count == 0)
        return std::nullopt;
    return IconFileHeader{*count};
}

std::optional<IconGroup> parseIconFileEntries(ByteView entryBytes, std::uint16_t count) {
    if (entryBytes.size() < std::uint64_t{count} * IconFileEntrySize)
        return std::nullopt;
    IconGroup group;
    group.entries.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const ByteView entry = *entryBytes.sub(i * IconFileEntrySize, IconFileEntrySize);
        GroupEntry parsed = readCommonEntryFields(entry);
        parsed.location = *entry.u32(12);
        group.entries.push_back(parsed);
    }
    return group;
}

} // namespace orvu
