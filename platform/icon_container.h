#pragma once

#include "byte_source.h"
#include "icon_group.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace orvu {

// A file that carries icons: a PE or NE executable, or an icon file. It
// knows how many icons there are, the group directory of each, and where
// each image of a group is stored. Every read goes through the ByteSource.
class IconContainer {
public:
    virtual ~IconContainer() = default;

    virtual std::uint32_t iconCount() const = 0;
    // The group directory of icon k (0-based); nullopt when it is missing or invalid.
    virtual std::optional<IconGroup> group(ByteSource& source, std::uint32_t k) const = 0;
    // The stored bytes of one image of a group; nullopt when they are missing.
    virtual std::optional<std::vector<std::uint8_t>> imageBytes(ByteSource& source,
                                                                const GroupEntry& entry) const = 0;
};

// The icon container that the file's bytes describe, or nullptr when the
// file holds no icons (not an executable, truncated, corrupt).
std::unique_ptr<IconContainer> openIconContainer(ByteSource& source);

} // namespace orvu
