#pragma once

#include "icons/icon_container.h"

#include <vector>

namespace orvu {

// The icon and cursor resources of a 16-bit NE executable: the group-icon
// (0x800E) and icon (0x8003) blocks of its resource table, and the
// group-cursor (0x800C) and cursor (0x8001) blocks. Icons count only when
// both of their blocks exist, and so do cursors.
class NeResources final : public IconContainer {
public:
    // `neHeader` is the file offset of the "NE" signature.
    static Result<std::unique_ptr<IconContainer>> open(ByteSource& source, std::uint32_t neHeader);

    std::uint32_t iconCount() const override { return m_icons.count(); }
    Result<IconGroup> group(ByteSource& source, std::uint32_t k) const override;
    // A number, or a name from the resource table; NE files have no languages.
    Result<IconName> name(ByteSource& source, std::uint32_t k) const override;
    Result<Extent> imageExtent(ByteSource& source, const GroupEntry& entry) const override;

    std::uint32_t count(GroupKind kind) const override;
    Result<IconGroup> cursorGroup(ByteSource& source, std::uint32_t k) const override;
    Result<IconName> groupName(ByteSource& source, GroupRef group) const override;

private:
    struct Resource {
        std::uint64_t offset = 0;
        std::uint64_t length = 0;
        std::uint16_t id = 0;
    };
    // The blocks of one kind: its groups and its images.
    struct Blocks {
        std::vector<Resource> groups;
        std::vector<Resource> images; // by id, one per id: the last the table lists
        bool haveGroups = false;
        bool haveImages = false;

        std::uint32_t count() const {
            return haveGroups && haveImages ? static_cast<std::uint32_t>(groups.size()) : 0;
        }
    };
    static Extent storedExtent(const ByteSource& source, const Resource& resource);
    Result<IconName> nameOf(ByteSource& source, const Resource& group) const;
    static Result<Extent> imageIn(const ByteSource& source, const std::vector<Resource>& images,
                                  std::uint32_t location, const char* noun);

    std::uint64_t m_table = 0; // the resource table, where names are found from
    Blocks m_icons;
    Blocks m_cursors;
};

} // namespace orvu
