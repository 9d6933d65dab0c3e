#pragma once

#include "icons/byte_view.h"
#include "icons/limits.h"
#include "icons/result.h"

#include <cstdint>
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

// One stored image of an icon: its group entry and its bytes as stored.
struct IconImage {
    GroupEntry entry;
    std::vector<std::uint8_t> bytes;
};

// The two forms of an icon directory. Both start with the same 6-byte header
// (ICONDIR / GRPICONDIR) and have entries whose first 12 bytes agree; they
// differ in what ends an entry.
namespace IconDirectory {
constexpr std::uint64_t Reserved = 0;
constexpr std::uint64_t Type = 2; // 1 for icons, 2 for cursors
constexpr std::uint64_t Count = 4;
constexpr std::uint64_t HeaderSize = 6;
constexpr std::uint16_t IconType = 1;
} // namespace IconDirectory

// ICONDIRENTRY and GRPICONDIRENTRY.
namespace IconDirectoryEntry {
constexpr std::uint64_t Width = 0;
constexpr std::uint64_t Height = 1;
constexpr std::uint64_t ColourCount = 2;
constexpr std::uint64_t Reserved = 3;
constexpr std::uint64_t Planes = 4;
constexpr std::uint64_t BitCount = 6;
constexpr std::uint64_t BytesInResource = 8;
constexpr std::uint64_t Location = 12;          // ImageOffset (32-bit) or nID (16-bit)
constexpr std::uint64_t FileEntrySize = 16;     // ICONDIRENTRY: ends in a 32-bit file offset
constexpr std::uint64_t ResourceEntrySize = 14; // GRPICONDIRENTRY: ends in a 16-bit RT_ICON id
} // namespace IconDirectoryEntry

// The largest group directory a 16-bit count allows.
inline constexpr std::uint64_t LargestGroup =
    IconDirectory::HeaderSize + limits::MaxGroupEntries * IconDirectoryEntry::ResourceEntrySize;

// GRPICONDIR as stored in executables. Fails for an invalid group (reserved
// not 0, a type that is neither icon nor cursor, no entries). Entries that
// the data does not hold are dropped.
Result<IconGroup> parseResourceGroup(ByteView data);

// Whether a file's first bytes are those of an icon file: Windows looks at
// the type field alone.
bool isIconFileHeader(ByteView head);

// ICONDIR as stored at the start of an .ico file. Only the 6-byte header must
// be in `header`; the entries are read by the caller through `entryBytes`.
struct IconFileHeader {
    std::uint16_t count = 0;
};
Result<IconFileHeader> parseIconFileHeader(ByteView header);
Result<IconGroup> parseIconFileEntries(ByteView entryBytes, std::uint16_t count);

} // namespace orvu
