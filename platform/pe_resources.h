#pragma once

#include "icon_container.h"

#include <vector>

namespace orvu {

// The icon resources of a PE32 or PE32+ file: the RT_GROUP_ICON and RT_ICON
// directories of its resource tree, found without reading anything else.
class PeResources final : public IconContainer {
public:
    // `peHeader` is the file offset of the "PE\0\0" signature.
    static std::unique_ptr<PeResources> open(ByteSource& source, std::uint32_t peHeader);

    std::uint32_t iconCount() const override { return m_iconCount; }
    std::optional<IconGroup> group(ByteSource& source, std::uint32_t k) const override;
    std::optional<std::vector<std::uint8_t>> imageBytes(ByteSource& source,
                                                        const GroupEntry& entry) const override;

private:
    struct Section {
        std::uint32_t virtualAddress = 0;
        std::uint32_t rawSize = 0;
        std::uint32_t rawOffset = 0;
    };

    std::optional<std::uint64_t> fileOffsetOf(std::uint32_t rva, std::uint32_t size) const;
    std::optional<std::uint32_t> findById(ByteSource& source, std::uint32_t directory,
                                          std::uint16_t id) const;
    struct Extent {
        std::uint64_t offset = 0;
        std::uint32_t size = 0;
    };
    std::optional<Extent> firstLanguageData(ByteSource& source, std::uint32_t nameDirectory) const;

    std::vector<Section> m_sections;
    std::uint64_t m_root = 0;           // file offset of the resource root directory
    std::uint32_t m_groupDirectory = 0; // offsets below are relative to the root
    std::uint32_t m_iconCount = 0;
    std::optional<std::uint32_t> m_iconDirectory;
};

} // namespace orvu
