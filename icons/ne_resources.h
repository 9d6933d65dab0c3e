#pragma once

#include "icons/icon_container.h"

#include <vector>

namespace orvu {

// The icon resources of a 16-bit NE executable: the group-icon (0x800E) and
// icon (0x8003) blocks of its resource table. Icons count only when both
// blocks exist.
class NeResources final : public IconContainer {
public:
    // `neHeader` is the file offset of the "NE" signature.
    static Result<std::unique_ptr<IconContainer>> open(ByteSource& source, std::uint32_t neHeader);

    std::uint32_t iconCount() const override { return static_cast<std::uint32_t>(m_groups.size()); }
    Result<IconGroup> group(ByteSource& source, std::uint32_t k) const override;
    // A number, or a name from the resource table; NE files have no languages.
    Result<IconName> name(ByteSource& source, std::uint32_t k) const override;
    Result<Extent> imageExtent(ByteSource& source, const GroupEntry& entry) const override;

private:
    struct Resource {
        std::uint64_t offset = 0;
        std::uint64_t length = 0;
        std::uint16_t id = 0;
    };
    static Extent storedExtent(const ByteSource& source, const Resource& resource);

    std::uint64_t m_table = 0; // the resource table, where names are found from
    std::vector<Resource> m_groups;
    std::vector<Resource> m_icons; // by id, one per id: the last the table lists
};

} // namespace orvu
