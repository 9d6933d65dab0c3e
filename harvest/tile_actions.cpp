#include "harvest/tile_actions.h"

#include "export/bitmap_file.h"
#include "export/export_names.h"
#include "platform/icon_files.h"

namespace orvu {
namespace {

// Whether icon `index` of the library, drawn anew, is the cell a tile shows.
bool sameIcon(IconLibrary& library, std::uint32_t index, const IconCell& cell,
              std::uint32_t background) {
    if (index >= library.count())
        return false;
    const auto icon = library.largeIcon(index);
    Surface preview = Surface::filled(PreviewSize, PreviewSize, background);
    return renderCell(preview, background, icon ? &*icon : nullptr).pixels == cell.pixels;
}

} // namespace

Result<ExportedIcon> tileFileBytes(const Tile& tile, SaveFormat format, const PngDecoder* png) {
    const IconOrigin& origin = tile.origin;
    if (!tile.cell)
        return Failure{Failure::Kind::NoSuchIcon, "the tile has no cell"};
    const IconCell& cell = *tile.cell;
    if (format == SaveFormat::Bmp)
        return ExportedIcon{encodeBitmapFile(cell), {}};
    if (!origin.file)
        return Failure{Failure::Kind::NoSuchIcon, "the tile has no file"};
    auto library = openIconLibrary(*origin.file, png);
    if (!library)
        return library.failure();
    if (!sameIcon(*library, origin.index, cell, tile.background))
        return Failure{Failure::Kind::Changed, {}};
    return format == SaveFormat::Ico ? iconFileOf(*library, origin.index)
                                     : pngOf(*library, origin.index);
}

SaveSubject tileSubject(const Tile& tile, const PngDecoder* png) {
    return SaveSubject{{SaveFormat::Ico, SaveFormat::Png, SaveFormat::Bmp},
                       {},
                       tile.origin,
                       [tile, png](SaveFormat format) { return tileFileBytes(tile, format, png); }};
}

std::vector<std::filesystem::path> writeIconFiles(const std::vector<Tile>& tiles,
                                                  const std::filesystem::path& folder,
                                                  const PngDecoder* png) {
    std::vector<std::filesystem::path> written;
    ExportNames names(folder, extensionOf(SaveFormat::Ico), ExistingFiles::KeepWithCounter);
    for (const Tile& tile : tiles) {
        const auto bytes = tileFileBytes(tile, SaveFormat::Ico, png);
        if (!bytes || !tile.origin.file)
            continue;
        const auto file =
            names.write(tile.origin.file->stem(), tile.origin.index + 1, bytes->bytes);
        if (file.result)
            written.push_back(file.path);
    }
    return written;
}

} // namespace orvu
