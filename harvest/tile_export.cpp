#include "harvest/tile_export.h"

#include "export/bitmap_file.h"
#include "export/icon_cell.h"
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

Result<ExportedIcon> tileFileBytes(const TileIcon& tile, SaveFormat format, const PngDecoder* png) {
    const IconOrigin& origin = tile.origin;
    const IconCell& cell = tile.cell;
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

} // namespace orvu
