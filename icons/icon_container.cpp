#include "icons/icon_container.h"

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

Result<std::vector<std::uint8_t>> IconContainer::imageBytes(ByteSource& source,
                                                            const GroupEntry& entry) const {
    const auto extent = imageExtent(source, entry);
    if (!extent)
        return extent.failure();
    return source.read(extent->offset, extent->size, limits::MaxImageBytes, "image");
}

Result<ResourceEntryFields> IconContainer::resourceEntry(ByteSource&, std::uint32_t k) const {
    return Failure{Failure::Kind::NoSuchIcon,
                   "icon " + std::to_string(std::uint64_t{k} + 1) + " has no PE resource entry"};
}

Result<std::unique_ptr<IconContainer>> openIconContainer(ByteSource& source) {
    auto start =
        source.read(0, std::min(source.size(), DosHeader::Size), DosHeader::Size, "file header");
    if (!start)
        return start.failure();
    const ByteView head(*start);

    if (head.u16(DosHeader::Magic) != DosHeader::MzMagic) {
        if (isIconFileHeader(head))
            return IconFile::open(head);
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
