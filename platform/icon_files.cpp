#include "platform/icon_files.h"

namespace orvu {
namespace {

Result<IconLibrary> libraryOver(Result<std::unique_ptr<FileSource>> source, const PngDecoder* png) {
    if (!source)
        return source.failure();
    return IconLibrary(std::move(*source), png);
}

} // namespace

Result<IconLibrary> openIconLibrary(const std::filesystem::path& path, const PngDecoder* png) {
    return libraryOver(FileSource::open(path), png);
}

Result<IconLibrary> openIconLibrary(const OpenFolder& folder, const std::filesystem::path& name,
                                    FileSource::Listed listed, const PngDecoder* png) {
    return libraryOver(FileSource::open(folder, name, listed), png);
}

} // namespace orvu
