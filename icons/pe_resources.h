#pragma once

#include "icons/icon_container.h"

#include <vector>

namespace orvu {

// Where the icon extractor of Windows finds a resource address (an RVA) in a
// PE file. It reads the file itself instead of loading it, and maps addresses
// through the section table in two ways:
//  - the resource root, through the first section whose raw data holds the
//    root's first byte, skipping sections of uninitialised data;
//  - the data of a resource, through the last section whose raw data holds
//    the data's whole extent.
// Real files have overlapping sections where the two disagree; both rules are
// kept, so that such files show the icons Windows shows.
class SectionMap {
public:
    struct Section {
        std::uint32_t virtualAddress = 0;
        std::uint32_t rawSize = 0;
        std::uint32_t rawOffset = 0;
        bool uninitialisedData = false;
    };

    explicit SectionMap(std::vector<Section> sections) : m_sections(std::move(sections)) {}

    std::optional<std::uint64_t> resourceRoot(std::uint32_t rva) const;
    std::optional<std::uint64_t> resourceData(std::uint32_t rva, std::uint32_t size) const;

private:
    std::vector<Section> m_sections;
};

// The icon and cursor resources of a PE32 or PE32+ file: the RT_GROUP_ICON
// and RT_ICON directories of its resource tree, RT_GROUP_CURSOR and
// RT_CURSOR, RT_ANICURSOR and RT_ANIICON, found without reading anything
// else.
class PeResources final : public IconContainer {
public:
    // `peHeader` is the file offset of the "PE\0\0" signature. A file
    // without resources, or without groups of any kind, has no icons; one
    // whose headers or icon group directory run past its end is damaged. A
    // damaged cursor or animated directory holds no cursors and costs the
    // icons nothing.
    static Result<std::unique_ptr<IconContainer>> open(ByteSource& source, std::uint32_t peHeader);

    std::uint32_t iconCount() const override { return m_iconGroups.count; }
    Result<IconGroup> group(ByteSource& source, std::uint32_t k) const override;
    // A number or a name, in the group's first language.
    Result<IconName> name(ByteSource& source, std::uint32_t k) const override;
    Result<ResourceEntryFields> resourceEntry(ByteSource& source, std::uint32_t k) const override;
    Result<std::vector<std::uint8_t>> groupData(ByteSource& source, std::uint32_t k) const override;
    Result<Extent> imageExtent(ByteSource& source, const GroupEntry& entry) const override;

    std::uint32_t count(GroupKind kind) const override;
    Result<IconGroup> cursorGroup(ByteSource& source, std::uint32_t k) const override;
    Result<IconName> groupName(ByteSource& source, GroupRef group) const override;
    // RT_ANICURSOR resources first, then RT_ANIICON.
    Result<StoredAnimation> animation(ByteSource& source, std::uint32_t k) const override;
    bool hasMuiResource() const override { return m_muiResource; }

private:
    // A type's directory: its offset from the root, and its entries.
    struct TypeDirectory {
        std::uint32_t offset = 0;
        std::uint32_t count = 0;
    };

    PeResources(SectionMap sections, std::uint64_t root)
        : m_sections(std::move(sections)), m_root(root) {}
    Result<std::uint32_t> findById(ByteSource& source, std::uint32_t directory,
                                   std::uint16_t id) const;
    Result<Extent> firstLanguageData(ByteSource& source, std::uint32_t nameDirectory) const;
    // The directory of resource type `type`, checked to lie in the file.
    Result<TypeDirectory> typeDirectory(ByteSource& source, std::uint16_t type) const;
    // Entry k of a type directory: its name, and where its data lies.
    Result<IconName> nameIn(ByteSource& source, const TypeDirectory& directory,
                            std::uint32_t k) const;
    Result<Extent> dataIn(ByteSource& source, const TypeDirectory& directory,
                          std::uint32_t k) const;
    // Where the image resource `id` of directory `images` lies.
    Result<Extent> imageIn(ByteSource& source, const std::optional<std::uint32_t>& images,
                           std::uint32_t id, const char* type) const;
    // The animated group k: its directory and its index there.
    std::pair<const TypeDirectory*, std::uint32_t> animatedEntry(std::uint32_t k) const;

    SectionMap m_sections;
    std::uint64_t m_root = 0; // file offset of the resource root directory
    // Offsets below are relative to the root.
    TypeDirectory m_iconGroups;
    std::optional<std::uint32_t> m_iconDirectory;
    TypeDirectory m_cursorGroups;
    std::optional<std::uint32_t> m_cursorDirectory;
    TypeDirectory m_animatedCursors;
    TypeDirectory m_animatedIcons;
    bool m_muiResource = false;
};

} // namespace orvu
