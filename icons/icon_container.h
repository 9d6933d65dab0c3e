#pragma once

#include "icons/byte_source.h"
#include "icons/icon_group.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace orvu {

// A file that carries icons: a PE or NE executable, or an icon file. It
// knows how many icons there are, the group directory of each, and where
// each image of a group is stored. Every read goes through the ByteSource.
class IconContainer {
public:
    virtual ~IconContainer() = default;

    virtual std::uint32_t iconCount() const = 0;
    // The group directory of icon k (0-based).
    virtual Result<IconGroup> group(ByteSource& source, std::uint32_t k) const = 0;
    // The stored bytes of one image of a group.
    virtual Result<std::vector<std::uint8_t>> imageBytes(ByteSource& source,
                                                         const GroupEntry& entry) const = 0;
};

// An executable without icon resources.
class EmptyContainer final : public IconContainer {
public:
    std::uint32_t iconCount() const override { return 0; }
    Result<IconGroup> group(ByteSource&, std::uint32_t) const override { return noIcon(); }
    Result<std::vector<std::uint8_t>> imageBytes(ByteSource&, const GroupEntry&) const override {
        return noIcon();
    }

private:
    static Failure noIcon() { return {Failure::Kind::NoSuchIcon, "the file has no icons"}; }
};

// The icon container that the file's bytes describe. Fails for a file that
// is neither an executable nor an icon file, and for one whose headers are
// damaged; an executable without icons is an empty container.
Result<std::unique_ptr<IconContainer>> openIconContainer(ByteSource& source);

} // namespace orvu
