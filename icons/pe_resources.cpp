#include "icons/pe_resources.h"

#include "icons/limits.h"
#include "icons/utf8.h"

#include <algorithm>

namespace orvu {
namespace {

// The records of a PE file that lead to its icons, as offsets of their
// fields. Names follow winnt.h.

// IMAGE_FILE_HEADER, after the 4-byte signature "PE\0\0".
namespace FileHeader {
constexpr std::uint64_t At = 4; // from the signature
constexpr std::uint64_t NumberOfSections = 2;
constexpr std::uint64_t SizeOfOptionalHeader = 16;
constexpr std::uint64_t Size = 20;
} // namespace FileHeader

// IMAGE_OPTIONAL_HEADER32 and IMAGE_OPTIONAL_HEADER64, after the file header.
namespace OptionalHeader {
constexpr std::uint64_t Magic = 0;
constexpr std::uint16_t Pe32Magic = 0x10B;
constexpr std::uint16_t Pe32PlusMagic = 0x20B;
constexpr std::uint64_t DataDirectoryPe32 = 96;
constexpr std::uint64_t DataDirectoryPe32Plus = 112;
} // namespace OptionalHeader

// IMAGE_DATA_DIRECTORY, one of an array in the optional header.
namespace DataDirectory {
constexpr std::uint64_t VirtualAddress = 0;
constexpr std::uint64_t Size = 8;
constexpr std::uint64_t ResourceIndex = 2; // IMAGE_DIRECTORY_ENTRY_RESOURCE
} // namespace DataDirectory

// IMAGE_SECTION_HEADER.
namespace SectionHeader {
constexpr std::uint64_t VirtualAddress = 12;
constexpr std::uint64_t SizeOfRawData = 16;
constexpr std::uint64_t PointerToRawData = 20;
constexpr std::uint64_t Characteristics = 36;
constexpr std::uint64_t Size = 40;
constexpr std::uint32_t UninitialisedData = 0x80; // IMAGE_SCN_CNT_UNINITIALIZED_DATA
} // namespace SectionHeader

// IMAGE_RESOURCE_DIRECTORY, followed by its named entries, then its numbered
// ones in ascending order.
namespace ResourceDirectory {
constexpr std::uint64_t NumberOfNamedEntries = 12;
constexpr std::uint64_t NumberOfIdEntries = 14;
constexpr std::uint64_t Size = 16;
} // namespace ResourceDirectory

// IMAGE_RESOURCE_DIRECTORY_ENTRY.
namespace ResourceEntry {
constexpr std::uint64_t Name = 0;         // an id in the low 16 bits, or a name's offset
constexpr std::uint64_t OffsetToData = 4; // from the root; the top bit marks a directory
constexpr std::uint64_t Size = 8;
constexpr std::uint32_t OffsetMask = 0x7FFFFFFF;
constexpr std::uint32_t IdMask = 0xFFFF;
constexpr std::uint32_t NameIsString = 0x80000000; // then the low bits are the name's offset
} // namespace ResourceEntry

// IMAGE_RESOURCE_DIR_STRING_U: a resource's name, UTF-16 with its length first.
namespace ResourceName {
constexpr std::uint64_t Length = 0; // in UTF-16 code units
constexpr std::uint64_t Text = 2;
} // namespace ResourceName

// IMAGE_RESOURCE_DATA_ENTRY.
namespace ResourceData {
constexpr std::uint64_t OffsetToData = 0; // an RVA
constexpr std::uint64_t DataSize = 4;
constexpr std::uint64_t Size = 16;
} // namespace ResourceData

constexpr std::uint16_t RtCursor = 1;
constexpr std::uint16_t RtIcon = 3;
constexpr std::uint16_t RtGroupCursor = 12;
constexpr std::uint16_t RtGroupIcon = 14;
constexpr std::uint16_t RtAniCursor = 21;
constexpr std::uint16_t RtAniIcon = 22;

const char* typeName(std::uint16_t type) {
    switch (type) {
    case RtGroupCursor:
        return "RT_GROUP_CURSOR";
    case RtGroupIcon:
        return "RT_GROUP_ICON";
    case RtAniCursor:
        return "RT_ANICURSOR";
    case RtAniIcon:
        return "RT_ANIICON";
    default:
        return "resource";
    }
}

struct DirectoryHeader {
    std::uint16_t named = 0;
    std::uint16_t numbered = 0;
    std::uint32_t total() const { return std::uint32_t{named} + numbered; }
};

Result<DirectoryHeader> readDirectoryHeader(ByteSource& source, std::uint64_t at) {
    auto bytes =
        source.read(at, ResourceDirectory::Size, ResourceDirectory::Size, "resource directory");
    if (!bytes)
        return bytes.failure();
    const ByteView record(*bytes);
    return DirectoryHeader{*record.u16(ResourceDirectory::NumberOfNamedEntries),
                           *record.u16(ResourceDirectory::NumberOfIdEntries)};
}

struct DirectoryEntry {
    std::uint32_t name = 0;
    std::uint32_t offset = 0; // relative to the resource root
};

// The entry's fields as stored.
Result<ResourceEntryFields> readRawEntry(ByteSource& source, std::uint64_t directory,
                                         std::uint32_t index) {
    auto bytes = source.read(directory + ResourceDirectory::Size + index * ResourceEntry::Size,
                             ResourceEntry::Size, ResourceEntry::Size, "resource directory entry");
    if (!bytes)
        return bytes.failure();
    const ByteView record(*bytes);
    return ResourceEntryFields{*record.u32(ResourceEntry::Name),
                               *record.u32(ResourceEntry::OffsetToData)};
}

Result<DirectoryEntry> readDirectoryEntry(ByteSource& source, std::uint64_t directory,
                                          std::uint32_t index) {
    const auto raw = readRawEntry(source, directory, index);
    if (!raw)
        return raw.failure();
    return DirectoryEntry{raw->name, raw->offsetToData & ResourceEntry::OffsetMask};
}

// The first entry of a name's language directory at file offset `at`.
Result<DirectoryEntry> firstLanguage(ByteSource& source, std::uint64_t at) {
    const auto header = readDirectoryHeader(source, at);
    if (!header)
        return header.failure();
    if (header->total() == 0)
        return damaged("the language directory at " + hexOffset(at) + " is empty");
    return readDirectoryEntry(source, at, 0);
}

// Whether the root directory at `root` has a type named "MUI" (in any
// letter case). Only the named entries, which come first, are looked at,
// and no more of them than limits::MaxNamedTypesLooked.
bool hasMuiType(ByteSource& source, std::uint64_t root) {
    const auto header = readDirectoryHeader(source, root);
    if (!header)
        return false;
    const std::uint32_t named = std::min<std::uint32_t>(header->named, limits::MaxNamedTypesLooked);
    for (std::uint32_t i = 0; i < named; ++i) {
        const auto entry = readDirectoryEntry(source, root, i);
        if (!entry)
            return false;
        if (!(entry->name & ResourceEntry::NameIsString))
            continue;
        const auto name = source.read(root + (entry->name & ResourceEntry::OffsetMask), 8, 8,
                                      "resource type name");
        if (!name)
            continue;
        const ByteView text(*name);
        if (text.u16(ResourceName::Length) != 3)
            continue;
        bool mui = true;
        for (std::uint64_t c = 0; c < 3; ++c) {
            const std::uint16_t unit = *text.u16(ResourceName::Text + 2 * c);
            mui = mui && (unit == "MUI"[c] || unit == "mui"[c]);
        }
        if (mui)
            return true;
    }
    return false;
}

Result<SectionMap> readSectionTable(ByteSource& source, std::uint64_t at, std::uint16_t count) {
    auto table = source.read(at, count * SectionHeader::Size,
                             limits::MaxPeSections * SectionHeader::Size, "section table");
    if (!table)
        return table.failure();
    const ByteView sections(*table);
    std::vector<SectionMap::Section> parsed;
    parsed.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const ByteView header = *sections.sub(i * SectionHeader::Size, SectionHeader::Size);
        parsed.push_back(
            {*header.u32(SectionHeader::VirtualAddress), *header.u32(SectionHeader::SizeOfRawData),
             *header.u32(SectionHeader::PointerToRawData),
             (*header.u32(SectionHeader::Characteristics) & SectionHeader::UninitialisedData) !=
                 0});
    }
    return SectionMap(std::move(parsed));
}

} // namespace

std::optional<std::uint64_t> SectionMap::resourceRoot(std::uint32_t rva) const {
    for (const Section& section : m_sections) {
        if (!section.uninitialisedData && rva >= section.virtualAddress &&
            rva - section.virtualAddress < section.rawSize)
            return std::uint64_t{section.rawOffset} + (rva - section.virtualAddress);
    }
    return std::nullopt;
}

std::optional<std::uint64_t> SectionMap::resourceData(std::uint32_t rva, std::uint32_t size) const {
    std::optional<std::uint64_t> found;
    for (const Section& section : m_sections) {
        const std::uint64_t end = std::uint64_t{section.virtualAddress} + section.rawSize;
        if (rva >= section.virtualAddress && std::uint64_t{rva} + size <= end)
            found = std::uint64_t{section.rawOffset} + (rva - section.virtualAddress);
    }
    return found;
}

Result<std::unique_ptr<IconContainer>> PeResources::open(ByteSource& source,
                                                         std::uint32_t peHeader) {
    const std::uint64_t fileHeader = std::uint64_t{peHeader} + FileHeader::At;
    const std::uint64_t optionalHeader = fileHeader + FileHeader::Size;
    auto headers =
        source.read(fileHeader, FileHeader::Size + 2, FileHeader::Size + 2, "PE file header");
    if (!headers)
        return headers.failure();
    const ByteView header(*headers);
    const std::uint16_t sectionCount = *header.u16(FileHeader::NumberOfSections);
    const std::uint16_t optionalSize = *header.u16(FileHeader::SizeOfOptionalHeader);
    const std::uint16_t magic = *header.u16(FileHeader::Size + OptionalHeader::Magic);
    if (sectionCount > limits::MaxPeSections)
        return Failure{Failure::Kind::OverLimit,
                       std::to_string(sectionCount) + " sections in the PE file header"};

    std::uint64_t dataDirectory = 0;
    if (magic == OptionalHeader::Pe32Magic)
        dataDirectory = optionalHeader + OptionalHeader::DataDirectoryPe32;
    else if (magic == OptionalHeader::Pe32PlusMagic)
        dataDirectory = optionalHeader + OptionalHeader::DataDirectoryPe32Plus;
    else
        return damaged("unknown optional header magic " + hexOffset(magic) + " at " +
                       hexOffset(optionalHeader));

    auto resourceEntry =
        source.read(dataDirectory + DataDirectory::ResourceIndex * DataDirectory::Size,
                    DataDirectory::Size, DataDirectory::Size, "resource data directory");
    if (!resourceEntry)
        return resourceEntry.failure();
    const std::uint32_t resourceRva = *ByteView(*resourceEntry).u32(DataDirectory::VirtualAddress);
    if (resourceRva == 0)
        return std::unique_ptr<IconContainer>(new EmptyContainer);

    auto sections = readSectionTable(source, optionalHeader + optionalSize, sectionCount);
    if (!sections)
        return sections.failure();
    const auto root = sections->resourceRoot(resourceRva);
    if (!root)
        return damaged("resource directory address " + hexOffset(resourceRva) +
                       " lies in no section");
    auto result = std::unique_ptr<PeResources>(new PeResources(std::move(*sections), *root));
    result->m_muiResource = hasMuiType(source, *root);

    const auto icons = result->typeDirectory(source, RtGroupIcon);
    if (icons) {
        result->m_iconGroups = *icons;
        if (const auto images = result->findById(source, 0, RtIcon))
            result->m_iconDirectory = *images;
    } else if (icons.failure().kind != Failure::Kind::NoSuchIcon) {
        return icons.failure();
    }
    // Cursors and animated ones are read only as far as they are whole.
    if (const auto cursors = result->typeDirectory(source, RtGroupCursor)) {
        result->m_cursorGroups = *cursors;
        if (const auto images = result->findById(source, 0, RtCursor))
            result->m_cursorDirectory = *images;
    }
    if (const auto animated = result->typeDirectory(source, RtAniCursor))
        result->m_animatedCursors = *animated;
    if (const auto animated = result->typeDirectory(source, RtAniIcon))
        result->m_animatedIcons = *animated;
    if (!icons && result->count(GroupKind::Cursor) == 0 && result->count(GroupKind::Animated) == 0)
        return std::unique_ptr<IconContainer>(new EmptyContainer(result->m_muiResource));
    return std::unique_ptr<IconContainer>(std::move(result));
}

Result<PeResources::TypeDirectory> PeResources::typeDirectory(ByteSource& source,
                                                              std::uint16_t type) const {
    const auto found = findById(source, 0, type);
    if (!found)
        return found.failure();
    const std::uint64_t at = m_root + *found;
    const auto header = readDirectoryHeader(source, at);
    if (!header)
        return header.failure();
    // The count is taken from the header, but only when every entry it
    // counts is in the file: a few bytes claiming 131 070 icons hold none.
    const std::uint64_t entriesEnd =
        at + ResourceDirectory::Size + header->total() * ResourceEntry::Size;
    const std::string named = std::string(typeName(type)) + " directory at " + hexOffset(at);
    if (header->total() > limits::MaxIconsPerFile)
        return Failure{Failure::Kind::OverLimit,
                       std::to_string(header->total()) +
                           (type == RtGroupIcon ? " icons in the " : " groups in the ") + named};
    if (entriesEnd > source.size())
        return damaged("the " + named + " runs past the end of the file");
    return TypeDirectory{*found, header->total()};
}

// Binary search among the numbered entries, which a resource directory keeps
// in ascending order after the named ones. Returns the entry's offset.
Result<std::uint32_t> PeResources::findById(ByteSource& source, std::uint32_t directory,
                                            std::uint16_t id) const {
    const std::uint64_t at = m_root + directory;
    const auto header = readDirectoryHeader(source, at);
    if (!header)
        return header.failure();
    std::int64_t low = 0;
    std::int64_t high = std::int64_t{header->numbered} - 1;
    while (low <= high) {
        const std::int64_t middle = (low + high) / 2;
        const auto entry =
            readDirectoryEntry(source, at, header->named + static_cast<std::uint32_t>(middle));
        if (!entry)
            return entry.failure();
        const std::uint32_t entryId = entry->name & ResourceEntry::IdMask;
        if (entryId == id)
            return entry->offset;
        if (entryId > id)
            high = middle - 1;
        else
            low = middle + 1;
    }
    return Failure{Failure::Kind::NoSuchIcon,
                   "no resource " + std::to_string(id) + " in the directory at " + hexOffset(at)};
}

// Where a name's data lies in its first language: name directory → first
// language entry → data entry → file extent.
Result<Extent> PeResources::firstLanguageData(ByteSource& source,
                                              std::uint32_t nameDirectory) const {
    const auto first = firstLanguage(source, m_root + nameDirectory);
    if (!first)
        return first.failure();
    auto dataEntry = source.read(m_root + first->offset, ResourceData::Size, ResourceData::Size,
                                 "resource data entry");
    if (!dataEntry)
        return dataEntry.failure();
    const ByteView data(*dataEntry);
    const std::uint32_t rva = *data.u32(ResourceData::OffsetToData);
    const std::uint32_t size = *data.u32(ResourceData::DataSize);
    const auto offset = m_sections.resourceData(rva, size);
    if (!offset)
        return damaged("resource data at address " + hexOffset(rva) + " (" + std::to_string(size) +
                       " bytes) lies in no section");
    return Extent{*offset, size};
}

Result<Extent> PeResources::dataIn(ByteSource& source, const TypeDirectory& directory,
                                   std::uint32_t k) const {
    const auto entry = readDirectoryEntry(source, m_root + directory.offset, k);
    if (!entry)
        return entry.failure();
    return firstLanguageData(source, entry->offset);
}

Result<std::vector<std::uint8_t>> PeResources::groupData(ByteSource& source,
                                                         std::uint32_t k) const {
    if (k >= m_iconGroups.count)
        return Failure{Failure::Kind::NoSuchIcon, "icon " + std::to_string(k + 1)};
    const auto extent = dataIn(source, m_iconGroups, k);
    if (!extent)
        return extent.failure();
    // A group never needs more than its largest possible directory.
    return source.read(extent->offset, std::min(std::uint64_t{extent->size}, LargestGroup),
                       LargestGroup, "RT_GROUP_ICON data");
}

Result<IconGroup> PeResources::group(ByteSource& source, std::uint32_t k) const {
    const auto data = groupData(source, k);
    if (!data)
        return data.failure();
    return parseResourceGroup(ByteView(*data));
}

Result<IconGroup> PeResources::cursorGroup(ByteSource& source, std::uint32_t k) const {
    if (k >= m_cursorGroups.count)
        return noSuchGroup({GroupKind::Cursor, k});
    const auto extent = dataIn(source, m_cursorGroups, k);
    if (!extent)
        return extent.failure();
    auto data = source.read(extent->offset, std::min(std::uint64_t{extent->size}, LargestGroup),
                            LargestGroup, "RT_GROUP_CURSOR data");
    if (!data)
        return data.failure();
    return parseCursorResourceGroup(ByteView(*data));
}

Result<IconName> PeResources::name(ByteSource& source, std::uint32_t k) const {
    if (k >= m_iconGroups.count)
        return Failure{Failure::Kind::NoSuchIcon, "icon " + std::to_string(k + 1)};
    return nameIn(source, m_iconGroups, k);
}

Result<IconName> PeResources::nameIn(ByteSource& source, const TypeDirectory& directory,
                                     std::uint32_t k) const {
    const auto entry = readDirectoryEntry(source, m_root + directory.offset, k);
    if (!entry)
        return entry.failure();
    IconName result;
    if (entry->name & ResourceEntry::NameIsString) {
        const std::uint64_t at = m_root + (entry->name & ResourceEntry::OffsetMask);
        auto length = source.read(at + ResourceName::Length, 2, 2, "resource name length");
        if (!length)
            return length.failure();
        auto text =
            source.read(at + ResourceName::Text, 2 * std::uint64_t{*ByteView(*length).u16(0)},
                        2 * 0xFFFF, "resource name");
        if (!text)
            return text.failure();
        result.name = utf16ToUtf8(ByteView(*text));
    } else {
        result.id = static_cast<std::uint16_t>(entry->name & ResourceEntry::IdMask);
    }
    // The name stands without its language.
    if (const auto first = firstLanguage(source, m_root + entry->offset))
        result.language = static_cast<std::uint16_t>(first->name & ResourceEntry::IdMask);
    return result;
}

Result<ResourceEntryFields> PeResources::resourceEntry(ByteSource& source, std::uint32_t k) const {
    if (k >= m_iconGroups.count)
        return Failure{Failure::Kind::NoSuchIcon, "icon " + std::to_string(k + 1)};
    return readRawEntry(source, m_root + m_iconGroups.offset, k);
}

std::uint32_t PeResources::count(GroupKind kind) const {
    switch (kind) {
    case GroupKind::Icon:
        return m_iconGroups.count;
    case GroupKind::Cursor:
        return m_cursorGroups.count;
    case GroupKind::Animated:
        return m_animatedCursors.count + m_animatedIcons.count;
    }
    return 0;
}

std::pair<const PeResources::TypeDirectory*, std::uint32_t>
PeResources::animatedEntry(std::uint32_t k) const {
    if (k < m_animatedCursors.count)
        return {&m_animatedCursors, k};
    return {&m_animatedIcons, k - m_animatedCursors.count};
}

Result<IconName> PeResources::groupName(ByteSource& source, GroupRef group) const {
    if (group.index >= count(group.kind))
        return noSuchGroup(group);
    switch (group.kind) {
    case GroupKind::Icon:
        return nameIn(source, m_iconGroups, group.index);
    case GroupKind::Cursor:
        return nameIn(source, m_cursorGroups, group.index);
    case GroupKind::Animated:
        break;
    }
    const auto [directory, k] = animatedEntry(group.index);
    return nameIn(source, *directory, k);
}

Result<StoredAnimation> PeResources::animation(ByteSource& source, std::uint32_t k) const {
    if (k >= count(GroupKind::Animated))
        return noSuchGroup({GroupKind::Animated, k});
    const auto [directory, index] = animatedEntry(k);
    const auto extent = dataIn(source, *directory, index);
    if (!extent)
        return extent.failure();
    return StoredAnimation{*extent, directory == &m_animatedIcons};
}

Result<Extent> PeResources::imageIn(ByteSource& source, const std::optional<std::uint32_t>& images,
                                    std::uint32_t id, const char* type) const {
    if (!images)
        return Failure{Failure::Kind::NoSuchIcon,
                       std::string("the file has no ") + type + " directory"};
    if (id > ResourceEntry::IdMask)
        return Failure{Failure::Kind::NoSuchIcon, std::string(type) + " " + std::to_string(id)};
    const auto image = findById(source, *images, static_cast<std::uint16_t>(id));
    if (!image)
        return image.failure();
    return firstLanguageData(source, *image);
}

Result<Extent> PeResources::imageExtent(ByteSource& source, const GroupEntry& entry) const {
    if (!entry.cursorSize)
        return imageIn(source, m_iconDirectory, entry.location, "RT_ICON");
    auto extent = imageIn(source, m_cursorDirectory, entry.location, "RT_CURSOR");
    if (extent)
        extent->startsWithHotspot = true;
    return extent;
}

} // namespace orvu
