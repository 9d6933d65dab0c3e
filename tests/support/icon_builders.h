#pragma once

// Builders of icon images, icon files and executables for tests, fuzz seeds
// and the Windows comparison: small, well-formed files that a test can then
// damage on purpose.

#include "icons/icon_group.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace orvu::test {

using ByteVector = std::vector<std::uint8_t>;

// A DIB icon image. `pixels` holds, per pixel from the top-left: a palette
// index for 1, 4 and 8 bpp, a 5-5-5 value for 16 bpp, 0x00RRGGBB for 24 bpp
// and 0xAARRGGBB for 32 bpp. `mask` holds 1 where the AND bit is set; empty
// for an all-clear mask. Without `withMask` the mask rows are left out.
struct DibDescription {
    int width = 32;
    int height = 32;
    int bitCount = 32;
    std::vector<std::uint32_t> palette; // 0x00RRGGBB
    std::vector<std::uint32_t> pixels;
    std::vector<std::uint8_t> mask;
    bool withMask = true;
};
ByteVector encodeDib(const DibDescription& dib);

// A solid square image of the given depth: every pixel the colour `rgb`
// (through a palette for <= 8 bpp), fully opaque.
ByteVector solidDib(int size, int bitCount, std::uint32_t rgb);

// A group entry describing `image` as the given size and depth.
GroupEntry groupEntry(int width, int height, int bitCount, std::uint32_t location,
                      std::uint32_t bytes = 0);

// The group entry that some resource compilers (Delphi's, and so Inno
// Setup's) write for a PNG image: they read the PNG's first bytes as a
// BITMAPINFOHEADER, so that an image of any size is listed as 13 x 0 with
// planes 0x4849 and 21 060 bits a pixel.
GroupEntry entryListingPngByItsHeader(const ByteVector& png);

struct StoredImage {
    // location is ignored; the builder fills it in. A cursor image's hotspot
    // (none: 0, 0) goes where its file or resource keeps it.
    GroupEntry entry;
    ByteVector bytes;
};

// An .ico file holding the images in order.
ByteVector buildIconFile(const std::vector<StoredImage>& images);
// An .ico file whose directory lists the one image `times` times, every
// entry pointing at the same bytes.
ByteVector iconFileRepeating(const StoredImage& image, std::uint16_t times);
// A .cur file holding the images in order, each entry with its image's
// hotspot in place of planes and bit count.
ByteVector buildCursorFile(const std::vector<StoredImage>& images);

// An animated cursor (.ani, or the data of an RT_ANICURSOR resource): a RIFF
// "ACON" form with an "anih" header, "rate" and "seq " where given, and the
// frames in a "LIST" "fram". Zeros where a count may be left to the builder.
struct AnimationDescription {
    std::vector<ByteVector> frames = {};          // each a whole .ico or .cur
    std::vector<std::uint32_t> sequence = {};     // empty: no "seq " chunk
    std::vector<std::uint32_t> rates = {};        // empty: no "rate" chunk
    std::optional<std::uint32_t> frameCount = {}; // none: frames.size()
    std::optional<std::uint32_t> stepCount = {};  // none: sequence.size(), or else frames.size()
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t displayRate = 10;
    std::optional<std::uint32_t> flags = {};    // none: AF_ICON, and AF_SEQUENCE with a sequence
    std::optional<std::uint32_t> riffSize = {}; // none: the true size
    bool titled = false;     // a LIST INFO with a title before "anih", as many tools write
    bool headerLast = false; // "rate" and "seq " before "anih", as RIFF allows
};
ByteVector buildAnimation(const AnimationDescription& animation);

// A group directory (GRPICONDIR) of the entries as given, each naming the
// RT_ICON id in its location: for GroupResource::rawGroup.
ByteVector groupDirectory(const std::vector<GroupEntry>& entries);
// A cursor directory (RT_GROUP_CURSOR): each entry's cursorSize, or where it
// has none its width and doubled height, in 16 bits each.
ByteVector cursorDirectory(const std::vector<GroupEntry>& entries);

// A resource name: a number, or a name (upper case, as resource compilers store it).
using ResourceName = std::variant<std::uint16_t, std::u16string>;

// What a group resource is.
enum class GroupType {
    Icon,           // RT_GROUP_ICON, its images RT_ICON
    Cursor,         // RT_GROUP_CURSOR, its images RT_CURSOR, each after its hotspot
    AnimatedCursor, // RT_ANICURSOR holding `animation`
    AnimatedIcon,   // RT_ANIICON holding `animation`
};

struct GroupResource {
    ResourceName name;
    std::vector<StoredImage> images;         // each becomes an RT_ICON (RT_CURSOR) resource
    std::vector<std::uint16_t> languages{0}; // the group (and its images) in each
    // When set, stored instead of the GRPICONDIR made from `images` (whose
    // RT_ICON resources are still added).
    std::variant<std::monostate, ByteVector> rawGroup;
    GroupType type = GroupType::Icon;
    ByteVector animation; // the data of an animated one
};

// An icon as those compilers store one: 16, 32 and 48 pixel DIBs, red,
// green and blue, and a 256 x 256 PNG of the colour `pngArgb` listed by
// entryListingPngByItsHeader.
GroupResource iconListingPngByItsHeader(std::uint32_t pngArgb = 0xFFFFFF00);

// A resource of any type, beside the groups: a version block, a Windows
// system file's "MUI" resource.
struct OtherResource {
    ResourceName type; // a number, or a name ("MUI")
    ResourceName name;
    ByteVector data;
};

struct PeOptions {
    bool pe32Plus = true;
    std::uint32_t sectionRva = 0x1000;
    std::uint32_t sectionFileOffset = 0x400;
    // Bytes of padding before the resource root inside its section.
    std::uint32_t rootOffsetInSection = 0;
    std::vector<OtherResource> others = {};
};

// A PE file with a single .rsrc section holding the groups; RT_ICON ids, and
// apart from them RT_CURSOR ids, are given out from 1 in order of appearance.
ByteVector buildPe(const std::vector<GroupResource>& groups, const PeOptions& options = {});

// Where buildPe put things, for tests that damage the file.
struct PeLayout {
    std::uint64_t peHeader = 0; // "PE\0\0"
    std::uint64_t sectionTable = 0;
    std::uint64_t resourceRoot = 0;       // file offset of the root directory
    std::uint64_t groupTypeDirectory = 0; // file offset of the RT_GROUP_ICON directory
    std::uint64_t iconTypeDirectory = 0;  // file offset of the RT_ICON directory
    std::vector<std::uint64_t> groupData; // file offset of each group's GRPICONDIR
};
PeLayout peLayout(const std::vector<GroupResource>& groups, const PeOptions& options = {});

// How a builder stores resources whose bytes are the same: each in a place
// of its own, as resource compilers do, or once for all of them (a file
// whose thousands of resources all lead to the same bytes).
enum class RepeatedData { Apart, Shared };

// A 16-bit NE file with the groups (icons and cursors), resource offsets in
// units of 2^shift bytes.
ByteVector buildNe(const std::vector<GroupResource>& groups, int alignmentShift = 4,
                   RepeatedData repeated = RepeatedData::Apart);

void putU16(ByteVector& bytes, std::uint64_t at, std::uint16_t value);
void putU32(ByteVector& bytes, std::uint64_t at, std::uint32_t value);

} // namespace orvu::test
