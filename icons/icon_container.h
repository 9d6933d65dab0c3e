#pragma once

#include "icons/byte_source.h"
#include "icons/group_kind.h"
#include "icons/icon_group.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvu {

// How a file names one of its icons: executables by a number or a name,
// each in a language; an icon file not at all.
struct IconName {
    std::optional<std::uint16_t> id; // a numbered resource
    std::string name;                // a named one (UTF-8), when it has no number
    std::optional<std::uint16_t> language;

    friend bool operator==(const IconName&, const IconName&) = default;
};

// The entry of a PE resource directory that names an icon, its two fields as
// stored (IMAGE_RESOURCE_DIRECTORY_ENTRY): Name, an id or with its top bit
// set a name's offset, and OffsetToData, with its top bit set for a
// subdirectory. Tools that look at a file through its raw resource tree
// (pefile) know icons by these values.
struct ResourceEntryFields {
    std::uint32_t name = 0;
    std::uint32_t offsetToData = 0;
};

// Where one stored image lies in the file.
struct Extent {
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
    // A cursor image of an executable: its first bytes are its hotspot
    // (CursorImageHotspot), the image follows.
    bool startsWithHotspot = false;
};

// Where an animated cursor or icon lies: its RIFF data, whole.
struct StoredAnimation {
    Extent extent;
    bool icon = false; // an RT_ANIICON: shown as an icon, its hotspot in the middle
};

// A file that carries icons or cursors: a PE or NE executable, an icon or
// cursor file, an animated cursor file. It knows how many groups of each
// kind there are, the name and group directory of each, and where each image
// of a group is stored. Every read goes through the ByteSource.
class IconContainer {
public:
    virtual ~IconContainer() = default;

    virtual std::uint32_t iconCount() const = 0;
    // The group directory of icon k (0-based).
    virtual Result<IconGroup> group(ByteSource& source, std::uint32_t k) const = 0;
    virtual Result<IconName> name(ByteSource& source, std::uint32_t k) const = 0;
    // The PE resource directory entry of icon k; other files have none.
    virtual Result<ResourceEntryFields> resourceEntry(ByteSource& source, std::uint32_t k) const;
    // The group directory resource of icon k as a PE file stores it, at
    // most LargestGroup bytes; other files have none.
    virtual Result<std::vector<std::uint8_t>> groupData(ByteSource& source, std::uint32_t k) const;
    // Where one image of an icon's or cursor's group is stored; nothing is
    // read of the image.
    virtual Result<Extent> imageExtent(ByteSource& source, const GroupEntry& entry) const = 0;

    // The groups of each kind; a container has no cursors or animated ones
    // unless it says so.
    virtual std::uint32_t count(GroupKind kind) const {
        return kind == GroupKind::Icon ? iconCount() : 0;
    }
    // The group directory of cursor k.
    virtual Result<IconGroup> cursorGroup(ByteSource& source, std::uint32_t k) const;
    // How the file names a group of any kind.
    virtual Result<IconName> groupName(ByteSource& source, GroupRef group) const;
    // Where animated group k lies.
    virtual Result<StoredAnimation> animation(ByteSource& source, std::uint32_t k) const;

    // Whether the file has a resource of the type named "MUI": a Windows
    // system file whose resources, icons included, may be kept in a file of
    // their own (see the .mun redirect in platform/icon_reference.h).
    virtual bool hasMuiResource() const { return false; }

    // One image of a group as stored (see IconImage).
    Result<IconImage> storedImage(ByteSource& source, const GroupEntry& entry) const;
};

// The image `entry` names, from the bytes stored at `extent`: a cursor image
// of an executable gives its leading hotspot to the entry. Fails for one too
// short to hold it.
Result<IconImage> imageFromStored(const GroupEntry& entry, const Extent& extent,
                                  std::vector<std::uint8_t> bytes);

// The failure for a group that a file doesn't hold.
Failure noSuchGroup(GroupRef group);

// An executable without icon resources.
class EmptyContainer final : public IconContainer {
public:
    explicit EmptyContainer(bool muiResource = false) : m_muiResource(muiResource) {}
    std::uint32_t iconCount() const override { return 0; }
    Result<IconGroup> group(ByteSource&, std::uint32_t) const override { return noIcon(); }
    Result<IconName> name(ByteSource&, std::uint32_t) const override { return noIcon(); }
    Result<Extent> imageExtent(ByteSource&, const GroupEntry&) const override { return noIcon(); }
    bool hasMuiResource() const override { return m_muiResource; }

private:
    static Failure noIcon() { return {Failure::Kind::NoSuchIcon, "the file has no icons"}; }

    bool m_muiResource = false;
};

// The icon container that the file's bytes describe. Fails for a file that
// is neither an executable nor an icon file, and for one whose headers are
// damaged; an executable without icons is an empty container.
Result<std::unique_ptr<IconContainer>> openIconContainer(ByteSource& source);

} // namespace orvu
