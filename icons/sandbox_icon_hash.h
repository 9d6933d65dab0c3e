#pragma once

#include "icons/difference_hash.h"
#include "icons/icon_library.h"

#include <optional>

namespace orvu {

// The fingerprint that the malware sandboxes CAPEv2 and IntelOwl give a
// program's icon ("dhash" in their reports), bit for bit as they compute it
// with pefile and Pillow 9.4:
//  1. the first icon group of a PE file's resource directory, in its first
//     language, its entries as stored: of these, the last one whose width,
//     height and bit count (raw: a 256-pixel image has width 0, and so
//     usually loses) are each at least the best so far's;
//  2. that entry's RT_ICON resource, in its first language, as the one
//     image of an .ico file, read by Pillow and made grey
//     (greyAsPillowReads);
//  3. its difference hash (differenceHash).
// Nullopt where they give none: a file that is no PE file, without icon
// groups or RT_ICON resources, a group shorter than the entries it counts or
// without any, no RT_ICON of the chosen id, or an image Pillow doesn't read.
// Beyond what greyAsPillowReads leaves out, the resources are found as
// Windows finds them, which on a damaged file (resource data outside its
// section, an unsorted directory) may not be where pefile looks.
std::optional<DifferenceHash> sandboxIconHash(IconLibrary& library, const PngDecoder* png);

} // namespace orvu
