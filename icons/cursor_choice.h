#pragma once

#include "icons/byte_view.h"
#include "icons/group_kind.h"
#include "icons/icon_group.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace orvu {

// What Windows compares of one image when it chooses among a group's images.
struct ChoiceKey {
    int width = 0;
    int height = 0;
    int bitCount = 0;
};

// The keys of an executable's group directory: each entry's size and bit
// count as the directory gives them (GroupEntry::pixelWidth, pixelHeight).
std::vector<ChoiceKey> directoryKeys(const IconGroup& group);

// The key of an entry of a file's directory (a cursor file, a frame of an
// animated cursor), as Windows reads it: the width and height bytes as they
// are (a 0 stays 0), the bit count from the image's own header (the entry's
// planes and bit count hold a cursor's hotspot); for a PNG image, the size
// its header gives and 32 bits for RGBA, 24 for any other colour type.
// `imageHead` holds the image's first bytes, as many as the file has up to
// 40. Nullopt where they don't hold the header: Windows reads no entry past
// such a one.
std::optional<ChoiceKey> fileEntryKey(const GroupEntry& entry, ByteView imageHead);

// The image Windows loads for a cursor shown at size x size
// (LookupIconIdFromDirectoryEx with fIcon FALSE, and LoadImage of a cursor):
//  1. of the images no larger than the size either way, the largest: an
//     image replaces the one found so far when it is at least as wide and
//     at least as high, and where it is exactly as large, only when it has
//     more bits a pixel; so the first of equal ones stays;
//  2. where there is none, by the same steps the smallest of those at most
//     255 pixels either way: an image replaces the one found so far when it
//     is at most as wide and at most as high (again, one of equal size only
//     with more bits a pixel);
//  3. where there is none either, the first.
// The bit count of the display plays no part. Nullopt only without keys.
std::optional<std::size_t> chooseCursorImage(const std::vector<ChoiceKey>& keys, int size);

// The image Windows loads for an icon shown at size x size on a display of
// `displayBits`: the nearest size, then the nearest depth (see chooseImage,
// which applies it to an executable's directory). An animated cursor's frame
// is chosen by this rule too. Nullopt only without keys.
std::optional<std::size_t> chooseNearestImage(const std::vector<ChoiceKey>& keys, int size,
                                              int displayBits);

// The image Windows loads for a group of `kind` shown at size x size on a
// display of 32 bits a pixel: a cursor's by chooseCursorImage, an icon's and
// an animated one's frame's by chooseNearestImage.
std::optional<std::size_t> chooseImageOfKind(GroupKind kind, const std::vector<ChoiceKey>& keys,
                                             int size);

} // namespace orvu
