#include "icons/sandbox_icon_hash.h"

#include "icons/pillow_icon_image.h"

namespace orvu {

std::optional<DifferenceHash> sandboxIconHash(IconLibrary& library, const PngDecoder* png) {
    if (library.count() == 0)
        return std::nullopt;
    const auto stored = library.groupData(0);
    if (!stored)
        return std::nullopt;
    // Only the count of the directory's header is looked at.
    const ByteView group(*stored);
    const auto count = group.u16(IconDirectory::Count);
    if (!count || *count == 0 ||
        !group.contains(IconDirectory::HeaderSize,
                        std::uint64_t{*count} * IconDirectoryEntry::ResourceEntrySize))
        return std::nullopt;
    GroupEntry best;
    for (std::uint64_t i = 0; i < *count; ++i) {
        const ByteView entry =
            *group.sub(IconDirectory::HeaderSize + i * IconDirectoryEntry::ResourceEntrySize,
                       IconDirectoryEntry::ResourceEntrySize);
        const GroupEntry candidate{*entry.u8(IconDirectoryEntry::Width),
                                   *entry.u8(IconDirectoryEntry::Height),
                                   *entry.u8(IconDirectoryEntry::ColourCount),
                                   *entry.u8(IconDirectoryEntry::Reserved),
                                   *entry.u16(IconDirectoryEntry::Planes),
                                   *entry.u16(IconDirectoryEntry::BitCount),
                                   *entry.u32(IconDirectoryEntry::BytesInResource),
                                   *entry.u16(IconDirectoryEntry::Location),
                                   std::nullopt,
                                   std::nullopt};
        if (i == 0 || (candidate.width >= best.width && candidate.height >= best.height &&
                       candidate.bitCount >= best.bitCount))
            best = candidate;
    }
    const auto image = library.image(best);
    if (!image)
        return std::nullopt;
    const auto grey =
        greyAsPillowReads(ByteView(image->bytes), {best.bitCount, best.bytesInResource}, png);
    if (!grey)
        return std::nullopt;
    return differenceHash(*grey);
}

} // namespace orvu
