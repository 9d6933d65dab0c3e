#include "pe_resources.h"

#include "reader_limits.h"

#include <algorithm>

namespace orvu {
namespace {

constexpr std::uint16_t Pe32Magic = 0x10B;
constexpr std::uint16_t Pe32PlusMagic = 0x20B;
constexpr std::uint32_t ResourceDataDirectory = 2;
constexpr std::uint32_t UninitialisedData = 0x80; // IMAGE_SCN_CNT_UNINITIALIZED_DATA
constexpr std::uint16_t RtIcon = 3;
constexpr std::uint16_t RtGroupIcon = 14;

constexpr std::uint64_t FileHeaderSize = 20;
constexpr std::uint64_t SectionHeaderSize = 40;
constexpr std::uint64_t DirectoryHeaderSize = 16;
constexpr std::uint64_t DirectoryEntrySize = 8;
constexpr std::uint64_t DataEntrySize = 16;
constexpr std::uint32_t OffsetMask = 0x7FFFFFFF; // without the "is a directory" bit

struct DirectoryHeader {
    std::uint16_t named = 0;
    std::uint16_t numbered = 0;
    std::uint32_t total() const { return std::uint32_t{named} + numbered; }
};

std::optional<DirectoryHeader> readDirectoryHeader(ByteSource& source, std::uint64_t at) {
    const auto bytes = source.read(at, DirectoryHeaderSize, DirectoryHeaderSize);
    if (!bytes)
        return std::nullopt;
    const ByteView view(*bytes);
    return DirectoryHeader{*view.u16(12), *view.u16(14)};
}

struct DirectoryEntry {
    std::uint32_t name = 0;
    std::uint32_t offset = 0; // relative to the resource root
};

std::optional<DirectoryEntry> readDirectoryEntry(ByteSource& source, std::uint64_t directory,
                                                 std::uint32_t index) {
    const auto bytes = source.read(directory + DirectoryHeaderSize + index * DirectoryEntrySize,
                                   DirectoryEntrySize, DirectoryEntrySize);
    if (!bytes)
        return std::nullopt;
    const ByteView view(*bytes);
    return DirectoryEntry{*view.u32(0), *view.u32(4) & OffsetMask};
}

} // namespace

std::unique_ptr<PeResources> PeResources::open(ByteSource& source, std::uint32_t peHeader) {
    const std::uint64_t fileHeader = std::uint64_t{peHeader} + 4;
    const auto header = source.read(fileHeader, FileHeaderSize + 2, FileHeaderSize + 2);
    if (!header)
        return nullptr;
    const ByteView fileView(*header);
    const std::uint16_t sectionCount = *fileView.u16(2);
    const std::uint16_t optionalSize = *fileView.u16(16);
    const std::uint16_t magic = *fileView.u16(FileHeaderSize);
    if (sectionCount > limits::MaxPeSections)
        return nullptr;

    std::uint64_t directoriesAt = 0;
    if (magic == Pe32Magic)
        directoriesAt = 96;
    else if (magic == Pe32PlusMagic)
        directoriesAt = 112;
    else
        return nullptr;

    const std::uint64_t optionalHeader = fileHeader + FileHeaderSize;
    const auto resourceEntry =
        source.read(optionalHeader + directoriesAt + ResourceDataDirectory * 8, 8, 8);
    if (!resourceEntry)
        return nullptr;
    const std::uint32_t resourceRva = *ByteView(*resourceEntry).u32(0);
    if (resourceRva == 0)
        return nullptr;

    auto result = std::unique_ptr<PeResources>(new PeResources);
    const auto table = source.read(optionalHeader + optionalSize, sectionCount * SectionHeaderSize,
                                   limits::MaxPeSections * SectionHeaderSize);
    if (!table)
        return nullptr;
    const ByteView sections(*table);
    std::optional<std::uint64_t> root;
    for (std::uint32_t i = 0; i < sectionCount; ++i) {
        const ByteView section = *sections.sub(i * SectionHeaderSize, SectionHeaderSize);
        const Section parsed{*section.u32(12), *section.u32(16), *section.u32(20)};
        result->m_sections.push_back(parsed);
        const std::uint32_t characteristics = *section.u32(36);
        if (!root && (characteristics & UninitialisedData) == 0 &&
            resourceRva >= parsed.virtualAddress &&
            resourceRva - parsed.virtualAddress < parsed.rawSize)
            root = std::uint64_t{parsed.rawOffset} + (resourceRva - parsed.virtualAddress);
    }
    if (!root)
        return nullptr;
    result->m_root = *root;

    const auto groups = result->findById(source, 0, RtGroupIcon);
    if (!groups)
        return nullptr;
    const std::uint64_t groupDirectory = result->m_root + *groups;
    const auto groupHeader = readDirectoryHeader(source, groupDirectory);
    if (!groupHeader)
        return nullptr;
    // The count is taken from the header, but only when every entry it
    // counts is in the file: a few bytes claiming 131 070 icons hold none.
    const std::uint64_t entriesEnd =
        groupDirectory + DirectoryHeaderSize + groupHeader->total() * DirectoryEntrySize;
    if (entriesEnd > source.size() || groupHeader->total() > limits::MaxIconsPerFile)
        return nullptr;
    result->m_groupDirectory = *groups;
    result->m_iconCount = groupHeader->total();
    result->m_iconDirectory = result->findById(source, 0, RtIcon);
    return result;
}

std::optional<std::uint64_t> PeResources::fileOffsetOf(std::uint32_t rva,
                                                       std::uint32_t size) const {
    std::optional<std::uint64_t> found;
    for (const Section& section : m_sections) {
        const std::uint64_t end = std::uint64_t{section.virtualAddress} + section.rawSize;
        if (rva >= section.virtualAddress && std::uint64_t{rva} + size <= end)
            found = std::uint64_t{section.rawOffset} + (rva - section.virtualAddress);
    }
    return found;
}

// Binary search among the numbered entries, which a resource directory keeps
// in ascending order after the named ones. Returns the entry's offset.
std::optional<std::uint32_t> PeResources::findById(ByteSource& source, std::uint32_t directory,
                                                   std::uint16_t id) const {
    const std::uint64_t at = m_root + directory;
    const auto header = readDirectoryHeader(source, at);
    if (!header)
        return std::nullopt;
    std::int64_t low = 0;
    std::int64_t high = std::int64_t{header->numbered} - 1;
    while (low <= high) {
        const std::int64_t middle = (low + high) / 2;
        const auto entry =
            readDirectoryEntry(source, at, header->named + static_cast<std::uint32_t>(middle));
        if (!entry)
            return std::nullopt;
        const std::uint32_t entryId = entry->name & 0xFFFF;
        if (entryId == id)
            return entry->offset;
        if (entryId > id)
            high = middle - 1;
        else
            low = middle + 1;
    }
    return std::nullopt;
}

// Where a name's data lies in its first language: name directory → first
// language entry → data entry → file extent.
std::optional<PeResources::Extent>
PeResources::firstLanguageData(ByteSource& source, std::uint32_t nameDirectory) const {
    const std::uint64_t languages = m_root + nameDirectory;
    const auto header = readDirectoryHeader(source, languages);
    if (!header || header->total() == 0)
        return std::nullopt;
    const auto first = readDirectoryEntry(source, languages, 0);
    if (!first)
        return std::nullopt;
    const auto dataEntry = source.read(m_root + first->offset, DataEntrySize, DataEntrySize);
    if (!dataEntry)
        return std::nullopt;
    const ByteView data(*dataEntry);
    const std::uint32_t rva = *data.u32(0);
    const std::uint32_t size = *data.u32(4);
    const auto offset = fileOffsetOf(rva, size);
    if (!offset)
        return std::nullopt;
    return Extent{*offset, size};
}

std::optional<IconGroup> PeResources::group(ByteSource& source, std::uint32_t k) const {
    if (k >= m_iconCount)
        return std::nullopt;
    const auto entry = readDirectoryEntry(source, m_root + m_groupDirectory, k);
    if (!entry)
        return std::nullopt;
    const auto extent = firstLanguageData(source, entry->offset);
    if (!extent)
        return std::nullopt;
    // A group never needs more than its largest possible directory.
    constexpr std::uint64_t largestGroup =
        GroupHeaderSize + limits::MaxGroupEntries * ResourceGroupEntrySize;
    const auto data = source.read(
        extent->offset, std::min<std::uint64_t>(extent->size, largestGroup), largestGroup);
    if (!data)
        return std::nullopt;
    return parseResourceGroup(ByteView(*data));
}

std::optional<std::vector<std::uint8_t>> PeResources::imageBytes(ByteSource& source,
                                                                 const GroupEntry& entry) const {
    if (!m_iconDirectory || entry.location > 0xFFFF)
        return std::nullopt;
    const auto image =
        findById(source, *m_iconDirectory, static_cast<std::uint16_t>(entry.location));
    if (!image)
        return std::nullopt;
    const auto extent = firstLanguageData(source, *image);
    if (!extent)
        return std::nullopt;
    return source.read(extent->offset, extent->size, limits::MaxImageBytes);
}

} // namespace orvu
