#include "harvest/tile_actions.h"

#include "export/export_names.h"
#include "harvest/tile_names.h"
#include "platform/icon_files.h"

namespace orvu {
namespace {

// Whether the tile's icon or cursor, drawn anew from the library, is the
// cell the tile shows.
bool sameIcon(IconLibrary& library, const IconOrigin& origin, const IconCell& cell,
              std::uint32_t background) {
    const GroupRef group = origin.group();
    if (group.index >= library.count(group.kind))
        return false;
    Surface preview = Surface::filled(PreviewSize, PreviewSize, background);
    if (group.kind == GroupKind::Icon) {
        const auto icon = library.largeIcon(group.index);
        return renderCell(preview, background, icon ? &*icon : nullptr).pixels == cell.pixels;
    }
    const auto cursor = library.cursorAt(group, CellSize);
    return renderCell(preview, background, cursor ? &cursor->bitmap : nullptr).pixels ==
           cell.pixels;
}

} // namespace

Result<ExportedIcon> tileFileBytes(const Tile& tile, SaveFormat format, const PngDecoder* png) {
    const IconOrigin& origin = tile.origin;
    if (!tile.cell)
        return Failure{Failure::Kind::NoSuchIcon, "the tile has no cell"};
    const IconCell& cell = *tile.cell;
    const SaveFormatRow& row = rowOf(formatFor(origin.kind, format));
    if (row.ofCell)
        return ExportedIcon{row.ofCell(cell), {}};
    if (!origin.file)
        return Failure{Failure::Kind::NoSuchIcon, "the tile has no file"};
    auto library = openIconLibrary(*origin.file, png);
    if (!library)
        return library.failure();
    if (!sameIcon(*library, origin, cell, tile.background))
        return Failure{Failure::Kind::Changed, {}};
    return exportAs(row.format, *library, origin.group());
}

SaveSubject tileSubject(const Tile& tile, const PngDecoder* png) {
    return SaveSubject{formatsOffered(tile.origin.kind),
                       {},
                       tile.origin,
                       [tile, png](SaveFormat format) { return tileFileBytes(tile, format, png); }};
}

std::vector<std::filesystem::path> writeIconFiles(const std::vector<Tile>& tiles,
                                                  const std::filesystem::path& folder,
                                                  const PngDecoder* png) {
    std::vector<std::filesystem::path> written;
    TileNames names(folder, ExistingFiles::KeepWithCounter);
    for (const Tile& tile : tiles) {
        const SaveFormat format = wholeFormatOf(tile.origin.kind);
        const auto bytes = tileFileBytes(tile, format, png);
        if (!bytes || !tile.origin.file)
            continue;
        const auto file = names.write(tile, format, bytes->bytes);
        if (file.result)
            written.push_back(file.path);
    }
    return written;
}

} // namespace orvu
