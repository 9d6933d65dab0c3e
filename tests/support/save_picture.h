#pragma once

// For the tests of the export layer only: it links export/ and platform/.

#include "export/bitmap_file.h"
#include "icons/result.h"
#include "platform/atomic_file.h"

#include <filesystem>

namespace orvu::test {

// Writes the picture to the path as a Windows bitmap, replacing any file
// there only once the whole picture is written.
inline Result<void> savePicture(const Surface& picture, const std::filesystem::path& path) {
    return replaceFileAtomically(path, encodeBitmapFile(picture));
}

} // namespace orvu::test
