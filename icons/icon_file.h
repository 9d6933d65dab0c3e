#pragma once

#include "icons/icon_container.h"

namespace orvu {

// An .ico file, one icon, or a .cur file, one cursor: its images the
// directory at the file's start lists by offset and size (a cursor's with
// their hotspots).
class IconFile final : public IconContainer {
public:
    // `head` holds the file's first bytes (at least the 6-byte header when
    // the file has them). Fails unless reserved is 0, the type is 1 (icon) or
    // 2 (cursor) and there is at least one entry.
    static Result<std::unique_ptr<IconContainer>> open(ByteView head);

    std::uint32_t iconCount() const override { return m_type == IconDirectory::IconType ? 1 : 0; }
    Result<IconGroup> group(ByteSource& source, std::uint32_t k) const override;
    // An icon file's one icon has neither a number nor a name.
    Result<IconName> name(ByteSource&, std::uint32_t) const override { return IconName{}; }
    Result<Extent> imageExtent(ByteSource& source, const GroupEntry& entry) const override;

    std::uint32_t count(GroupKind kind) const override;
    Result<IconGroup> cursorGroup(ByteSource& source, std::uint32_t k) const override;
    Result<IconName> groupName(ByteSource& source, GroupRef group) const override;

private:
    IconFile(std::uint16_t count, std::uint16_t type) : m_count(count), m_type(type) {}
    Result<IconGroup> entries(ByteSource& source) const;

    std::uint16_t m_count = 0;
    std::uint16_t m_type = IconDirectory::IconType;
};

} // namespace orvu
