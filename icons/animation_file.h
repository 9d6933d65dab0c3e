#pragma once

#include "icons/icon_container.h"

namespace orvu {

// An .ani file: one animated cursor, the whole file.
class AnimationFile final : public IconContainer {
public:
    explicit AnimationFile(std::uint64_t size) : m_size(size) {}

    std::uint32_t iconCount() const override { return 0; }
    Result<IconGroup> group(ByteSource&, std::uint32_t k) const override {
        return noSuchGroup({GroupKind::Icon, k});
    }
    Result<IconName> name(ByteSource&, std::uint32_t k) const override {
        return noSuchGroup({GroupKind::Icon, k});
    }
    Result<Extent> imageExtent(ByteSource&, const GroupEntry&) const override {
        return noSuchGroup({GroupKind::Icon, 0});
    }

    std::uint32_t count(GroupKind kind) const override { return kind == GroupKind::Animated; }
    // The file's one animated cursor has neither a number nor a name.
    Result<IconName> groupName(ByteSource&, GroupRef group) const override {
        if (group.index >= count(group.kind))
            return noSuchGroup(group);
        return IconName{};
    }
    Result<StoredAnimation> animation(ByteSource&, std::uint32_t k) const override {
        if (k != 0)
            return noSuchGroup({GroupKind::Animated, k});
        return StoredAnimation{{0, m_size}, false};
    }

private:
    std::uint64_t m_size = 0;
};

} // namespace orvu
