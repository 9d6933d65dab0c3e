#pragma once

#include "byte_view.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace orvu {

// One image of an icon as its group directory describes it.
struct GroupEntry {
    std::uint8_t width = 0; // 0 together with a 0 height means 256
    std::uint8_t height = 0;
    std::uint8_t colourCount = 0;
    std::uint8_t reserved = 0;
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t bytesInResource = 0;
    // Where the image lies: the RT_ICON id in an executable, the file offset in an icon file.
    std::uint32_t location = 0;

    int pixelWidth() const { return width == 0 && height == 0 ? 256 : width; }
    int pixelHeight() const { return width == 0 && height == 0 ? 256 : height; }
};

// The entries of one icon, in the order the directory stores them.
struct IconGroup {
    std::vector<GroupEntry> entries;
};

// GRPICONDIR as stored in executables: 6-byte header, then 14-byte entries
// ending in a 16-bit RT_ICON id. Nullopt for an invalid group (reserved not
// 0, a type that is neither icon nor cursor, no entries). Entries that the
// data does not hold are dropped.
std::optional<IconGroup> parseResourceGroup(ByteView data);

// ICONDIR as stored at the start of an .ico file: 16-byte entries ending in
// a 32-bit file offset. Only the 6-byte header must be in `header`; the
// entries are read by the caller through `entryBytes`.
struct IconFileHeader {
    std::uint16_t count = 0;
};
std::optional<IconFileHeader> parseIconFileHeader(ByteView header);
std::optional<IconGroup> parseIconFileEntries(ByteView entryBytes, std::uint16_t count);

inline constexpr std::uint64_t GroupHeaderSize = 6;
inline constexpr std::uint64_t ResourceGroupEntrySize = 14;
inline constexpr std::uint64_t IconFileEntrySize = 16;

} // namespace orvu
