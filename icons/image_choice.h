#pragma once

// Which image of a group is shown. Windows chooses the image for a size by
// what a key says of each image (ChoiceKey): an icon's and an executable
// cursor's directory entries, a cursor file's and an animation frame's image
// headers. Every choice by size goes through chooseImageOfKind; where one
// picture of the whole group is wanted, largestImage takes the largest, by
// what the images' own headers say.

#include "icons/byte_view.h"
#include "icons/group_kind.h"
#include "icons/icon_group.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace orvu {

inline constexpr int LargeIconSize = 32;
inline constexpr int DisplayBitsPerPixel = 32;
// The largest size an icon is loaded and drawn at: the largest an icon
// directory can describe.
inline constexpr int MaxShownSize = 256;

// What Windows compares of one image when it chooses among a group's images.
struct ChoiceKey {
    int width = 0;
    int height = 0;
    int bitCount = 0;
};

// Whether Windows reads the key of `entry`, in a group of `kind`, from the
// image's own header rather than from the entry: a cursor file's and an
// animation frame's entries, whose planes and bit count hold the hotspot.
bool keyedByImageHead(GroupKind kind, const GroupEntry& entry);

// The key Windows chooses `entry` of a group of `kind` by:
//  - an icon's entry, and a cursor's in an executable, as the directory
//    gives it (pixelWidth, pixelHeight and its bit count);
//  - otherwise as Windows reads an entry of a file's directory: the width
//    and height bytes as they are (a 0 stays 0), the bit count from the
//    image's own header; for a PNG image, the size its header gives and 32
//    bits for RGBA, 24 for any other colour type. `imageHead` holds the
//    image's first bytes, as many as the file has up to ImageHeadSize.
//    Nullopt where they don't hold the header: Windows reads no entry past
//    such a one.
std::optional<ChoiceKey> choiceKey(GroupKind kind, const GroupEntry& entry, ByteView imageHead);

// The image Windows loads for a group of `kind` shown at size x size on a
// display of 32 bits a pixel (DisplayBitsPerPixel), among the keys of its
// images in directory order. Nullopt only without keys.
//
// A cursor's (LookupIconIdFromDirectoryEx with fIcon FALSE, and LoadImage
// of a cursor):
//  1. of the images no larger than the size either way, the largest: an
//     image replaces the one found so far when it is at least as wide and
//     at least as high, and where it is exactly as large, only when it has
//     more bits a pixel; so the first of equal ones stays;
//  2. where there is none, by the same steps the smallest of those at most
//     255 pixels either way: an image replaces the one found so far when it
//     is at most as wide and at most as high (again, one of equal size only
//     with more bits a pixel);
//  3. where there is none either, the first.
// The bit count of the display plays no part.
//
// An icon's, and an animated one's frame's:
//  1. the smallest |w - size| + |h - size| fixes, through the first key
//     that reaches it, the pair (|w - size|, |h - size|);
//  2. among the keys with exactly that pair, the smallest
//     |displayBits - bitCount|, the first in directory order on a tie.
// The colour count is ignored. Sizes come from files (a PNG's header may
// claim 2^31 - 1 a side): distances are summed in 64 bits.
std::optional<std::size_t> chooseImageOfKind(GroupKind kind, const std::vector<ChoiceKey>& keys,
                                             int size);

// An image's size and depth.
struct ImageSize {
    int width = 0;
    int height = 0;
    int bitCount = 0; // 0 where it is not known

    friend bool operator==(const ImageSize&, const ImageSize&) = default;
};

// What the directory says of `entry` in a group of `kind`: its size
// (pixelWidth, pixelHeight), and its bit count where the entry holds one (an
// icon's, an executable cursor's; a cursor file's and a frame's entries
// hold the hotspot there).
ImageSize listedSize(GroupKind kind, const GroupEntry& entry);
// What the image is, where its own header makes an image (imageHeader):
// the size that header gives, and a DIB's bit count; a PNG's header gives
// no depth in the directory's sense (Windows decodes every PNG to 32 bits),
// so a PNG keeps the directory's bit count where that is a depth an image
// can have (1, 4, 8, 16, 24 or 32), and takes its own bits a pixel
// otherwise. Where the header makes no image, what the directory lists.
// Some resource compilers list a PNG image by bytes of its header (13 x 0,
// 21 060 bits for a 256 x 256 one): the image says what it is.
ImageSize ownSize(GroupKind kind, const GroupEntry& entry, ByteView imageHead);

// The image with the most pixels, the deepest colour among those, the first
// in order on a tie: the image to take when one picture of the whole group
// is wanted. Nullopt only without images.
std::optional<std::size_t> largestImage(const std::vector<ImageSize>& images);

// The order in which to try a group's images (each as ownSize says) for one
// picture of at most size x size, a thumbnail: Windows' own choice takes the
// nearest size, which for 128 picks a 48 x 48 image over a 256 x 256 one,
// where a thumbnail shrinks the larger one instead. So: the images at least
// `size` on their longer side, smallest first; then the others, largest
// first; among equal sides the most pixels, then the deepest colour, then
// directory order.
std::vector<std::size_t> pictureOrder(const std::vector<ImageSize>& images, int size);

} // namespace orvu
