#pragma once

#include "icons/icon_library.h"
#include "platform/file_source.h"

#include <filesystem>

namespace orvu {

// The icons of the file at `path`, read through a FileSource. Fails only
// when the file can't be opened; a file that opens but carries no icons is a
// library without icons (IconLibrary::problem says why).
Result<IconLibrary> openIconLibrary(const std::filesystem::path& path, const PngDecoder* png);

// The file `name` in a folder held open (see FileSource::open).
Result<IconLibrary> openIconLibrary(const OpenFolder& folder, const std::filesystem::path& name,
                                    FileSource::Listed listed, const PngDecoder* png);

} // namespace orvu
