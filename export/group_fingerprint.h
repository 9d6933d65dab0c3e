#pragma once

#include "icons/difference_hash.h"
#include "icons/icon_library.h"

#include <optional>
#include <string>
#include <vector>

namespace orvu {

// What identifies one group (an icon, a cursor, an animated one) wherever
// it turns up again.
struct GroupFingerprint {
    // The SHA-256 of the group as a file of its kind (groupSha256); none
    // where it can't be exported.
    std::optional<std::string> sha256;
    // The difference hash of the picture Windows shows at 32 x 32
    // (pictureHash); none where it can't be drawn.
    std::optional<DifferenceHash> dhash32;
    // The SHA-256 of each image (imageSha256s); empty where the images can't
    // be read.
    std::vector<std::optional<std::string>> images;
};

// All three, each image read once.
GroupFingerprint fingerprintOf(IconLibrary& library, GroupRef group);

// The SHA-256 of the group as a file of its kind, the bytes groupFileOf
// gives (.ico, .cur, .ani), as 64 hex digits.
Result<std::string> groupSha256(IconLibrary& library, GroupRef group);

// Per image, in directory order, the SHA-256 of its bytes as the group's
// file holds them (an executable's cursor image without the hotspot it
// starts with); none for an image the file lacks.
Result<std::vector<std::optional<std::string>>> imageSha256s(IconLibrary& library, GroupRef group);

// The difference hash (differenceHash) of the picture Windows shows for
// the group at 32 x 32, drawn on white as a tile shows it.
Result<DifferenceHash> pictureHash(IconLibrary& library, GroupRef group);

} // namespace orvu
