#include "ne_resources.h"

#include "reader_limits.h"

#include <algorithm>

namespace orvu {
namespace {

constexpr std::uint16_t NeIcon = 0x8003;
constexpr std::uint16_t NeGroupIcon = 0x800E;
constexpr std::uint16_t IntegerId = 0x8000; // integer ids carry the top bit
constexpr std::uint64_t TypeInfoSize = 8;
constexpr std::uint64_t NameInfoSize = 12;
// Offsets and lengths are stored in units of 2^shift bytes; larger shifts
// can only point past any file.
constexpr std::uint16_t MaxAlignmentShift = 24;

} // namespace

std::unique_ptr<NeResources> NeResources::open(ByteSource& source, std::uint32_t neHeader) {
    const auto header = source.read(neHeader, 0x28, 0x28);
    if (!header)
        return nullptr;
    const ByteView view(*header);
    const std::uint16_t resourceTable = *view.u16(0x24);
    const std::uint16_t residentNames = *view.u16(0x26);
    // A resource table too small to hold one type block means no resources.
    if (int{residentNames} - int{resourceTable} <= static_cast<int>(TypeInfoSize))
        return nullptr;

    std::uint64_t at = std::uint64_t{neHeader} + resourceTable;
    const auto shiftBytes = source.read(at, 2, 2);
    if (!shiftBytes)
        return nullptr;
    const std::uint16_t shift = *ByteView(*shiftBytes).u16(0);
    if (shift > MaxAlignmentShift)
        return nullptr;
    at += 2;

    auto result = std::unique_ptr<NeResources>(new NeResources);
    bool haveGroups = false;
    bool haveIcons = false;
    for (std::uint32_t block = 0; block < limits::MaxNeTypeBlocks && !(haveGroups && haveIcons);
         ++block) {
        const auto typeBytes = source.read(at, TypeInfoSize, TypeInfoSize);
        if (!typeBytes)
            return nullptr;
        const ByteView typeInfo(*typeBytes);
        const std::uint16_t type = *typeInfo.u16(0);
        const std::uint16_t count = *typeInfo.u16(2);
        if (type == 0)
            break;
        at += TypeInfoSize;

        std::vector<Resource>* target = nullptr;
        if (type == NeGroupIcon && !haveGroups) {
            target = &result->m_groups;
            haveGroups = true;
        } else if (type == NeIcon && !haveIcons) {
            target = &result->m_icons;
            haveIcons = true;
        }
        if (target) {
            const auto names = source.read(at, count * NameInfoSize, 0xFFFF * NameInfoSize);
            if (!names)
                return nullptr;
            const ByteView nameView(*names);
            target->reserve(count);
            for (std::uint32_t i = 0; i < count; ++i) {
                const ByteView name = *nameView.sub(i * NameInfoSize, NameInfoSize);
                target->push_back(Resource{std::uint64_t{*name.u16(0)} << shift,
                                           std::uint64_t{*name.u16(2)} << shift, *name.u16(6)});
            }
        }
        at += count * NameInfoSize;
    }
    if (!haveGroups || !haveIcons)
        return nullptr;

    // Sorted by id for look-ups, so that a group of thousands of entries
    // doesn't walk thousands of icons for each. Where ids repeat, the last
    // resource with the id counts.
    auto& icons = result->m_icons;
    std::stable_sort(icons.begin(), icons.end(),
                     [](const Resource& a, const Resource& b) { return a.id < b.id; });
    std::size_t kept = 0;
    for (std::size_t i = 0; i < icons.size(); ++i) {
        if (i + 1 == icons.size() || icons[i + 1].id != icons[i].id)
            icons[kept++] = icons[i];
    }
    icons.resize(kept);
    return result;
}

std::optional<IconGroup> NeResources::group(ByteSource& source, std::uint32_t k) const {
    if (k >= m_groups.size())
        return std::nullopt;
    const Resource& resource = m_groups[k];
    constexpr std::uint64_t largestGroup =
        GroupHeaderSize + limits::MaxGroupEntries * ResourceGroupEntrySize;
    // Lengths are rounded up to the alignment, so the stored length may run
    // past the end of the file by less than one unit.
    const std::uint64_t available =
        resource.offset < source.size() ? source.size() - resource.offset : 0;
    const auto data = source.read(
        resource.offset, std::min({resource.length, largestGroup, available}), largestGroup);
    if (!data)
        return std::nullopt;
    return parseResourceGroup(ByteView(*data));
}

std::optional<std::vector<std::uint8_t>> NeResources::imageBytes(ByteSource& source,
                                                                 const GroupEntry& entry) const {
    const auto id = static_cast<std::uint16_t>((entry.location | IntegerId) & 0xFFFF);
    const auto at = std::lower_bound(
        m_icons.begin(), m_icons.end(), id,
        [](const Resource& icon, std::uint16_t wanted) { return icon.id < wanted; });
    if (at == m_icons.end() || at->id != id)
        return std::nullopt;
    const Resource* found = &*at;
    const std::uint64_t available =
        found->offset < source.size() ? source.size() - found->offset : 0;
    return source.read(found->offset, std::min(found->length, available), limits::MaxImageBytes);
}

} // namespace orvu
