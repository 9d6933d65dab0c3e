#pragma once

#include "icons/byte_view.h"
#include "icons/limits.h"
#include "icons/result.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace orvu {

// The point of a cursor that is its position on the screen, from the image's
// top-left corner. Windows doesn't bound it: it may lie outside the image.
struct Hotspot {
    int x = 0;
    int y = 0;

    friend bool operator==(const Hotspot&, const Hotspot&) = default;
};

// A cursor directory in an executable gives each image a 16-bit width and a
// 16-bit height (usually twice the image's height, for the colour rows and
// the mask) where an icon directory has width, height, colour count and a
// reserved byte.
struct CursorSize {
    std::uint16_t width = 0;
    std::uint16_t height = 0;
};

// One image of an icon or cursor as its group directory describes it.
struct GroupEntry {
    std::uint8_t width = 0; // 0 together with a 0 height means 256
    std::uint8_t height = 0;
    std::uint8_t colourCount = 0;
    std::uint8_t reserved = 0;
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t bytesInResource = 0;
    // Where the image lies: the RT_ICON (RT_CURSOR) id in an executable, the
    // file offset in an icon (cursor) file.
    std::uint32_t location = 0;
    // Set for an entry of an executable's cursor directory, whose four bytes
    // of width, height, colour count and reserved byte are these two.
    std::optional<CursorSize> cursorSize;
    // A cursor image's hotspot: a cursor file's directory stores it where an
    // icon file's has planes and bit count; an executable's cursor image
    // starts with it, and reading the image fills it in.
    std::optional<Hotspot> hotspot;

    // An executable's cursor entry counts its height halved where it is twice
    // the width, as Windows does; a 0 stays 0 there.
    int pixelWidth() const {
        if (cursorSize)
            return cursorSize->width;
        return width == 0 && height == 0 ? 256 : width;
    }
    int pixelHeight() const {
        if (cursorSize)
            return cursorSize->height == 2 * cursorSize->width ? cursorSize->width
                                                               : cursorSize->height;
        return width == 0 && height == 0 ? 256 : height;
    }
};

// The entries of one icon (or cursor), in the order the directory stores them.
struct IconGroup {
    std::vector<GroupEntry> entries;
};

// One stored image of an icon: its group entry and its bytes as stored (a
// cursor image of an executable without the hotspot it starts with, which
// is then in the entry).
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
constexpr std::uint16_t CursorType = 2;
} // namespace IconDirectory

// ICONDIRENTRY and GRPICONDIRENTRY.
namespace IconDirectoryEntry {
constexpr std::uint64_t Width = 0;
constexpr std::uint64_t Height = 1;
constexpr std::uint64_t ColourCount = 2;
constexpr std::uint64_t Reserved = 3;
constexpr std::uint64_t Planes = 4;   // a cursor file's hotspot x
constexpr std::uint64_t BitCount = 6; // a cursor file's hotspot y
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

// CURSORDIR, the first four bytes of an entry of an executable's cursor
// directory (RT_GROUP_CURSOR); the rest is laid out as in GRPICONDIRENTRY.
namespace CursorDirectoryEntry {
constexpr std::uint64_t Width = 0;
constexpr std::uint64_t Height = 2; // usually doubled
} // namespace CursorDirectoryEntry

// The hotspot at the start of each cursor image of an executable (RT_CURSOR):
// two signed 16-bit numbers, then the image.
namespace CursorImageHotspot {
constexpr std::uint64_t X = 0;
constexpr std::uint64_t Y = 2;
constexpr std::uint64_t Size = 4;
} // namespace CursorImageHotspot

// An executable's cursor directory (RT_GROUP_CURSOR), as Windows loads a
// cursor from it: the reserved and type fields are not looked at. Fails for
// a directory without entries; entries the data doesn't hold are dropped.
Result<IconGroup> parseCursorResourceGroup(ByteView data);

// Whether a file's first bytes are those of an icon file: Windows looks at
// the type field alone.
bool isIconFileHeader(ByteView head);
// Whether they are those of a cursor file (.cur): the type field is 2.
bool isCursorFileHeader(ByteView head);

// ICONDIR as stored at the start of an .ico file. Only the 6-byte header must
// be in `header`; the entries are read by the caller through `entryBytes`.
struct IconFileHeader {
    std::uint16_t count = 0;
    std::uint16_t type = IconDirectory::IconType;
};
// Fails unless reserved is 0, the type is 1 (icons) or 2 (cursors) and there
// is at least one entry.
Result<IconFileHeader> parseIconFileHeader(ByteView header);
// The entries of a cursor file (type 2) carry their hotspots.
Result<IconGroup> parseIconFileEntries(ByteView entryBytes, std::uint16_t count,
                                       std::uint16_t type = IconDirectory::IconType);

} // namespace orvu
