#pragma once

#include "icons/icon_container.h"

namespace orvu {

// An .ico file: one icon whose images the ICONDIR at the file's start lists
// by offset and size.
class IconFile final : public IconContainer {
public:
    // `head` holds the file's first bytes (at least the 6-byte header when
    // the file has them). Fails unless reserved is 0, the type is 1 and there
    // is at least one entry.
    static Result<std::unique_ptr<IconContainer>> open(ByteView head);

    std::uint32_t iconCount() const override { return 1; }
    Result<IconGroup> group(ByteSource& source, std::uint32_t k) const override;
    // An icon file's one icon has neither a number nor a name.
    Result<IconName> name(ByteSource&, std::uint32_t) const override { return IconName{}; }
    Result<Extent> imageExtent(ByteSource& source, const GroupEntry& entry) const override;

private:
    explicit IconFile(std::uint16_t count) : m_count(count) {}
    std::uint16_t m_count = 0;
};

} // namespace orvu
