#include "harvest/tile_names.h"

namespace orvu {
namespace {

std::filesystem::path stemOf(const Tile& tile) {
    return tile.origin.file ? tile.origin.file->stem() : std::filesystem::path("icon");
}

} // namespace

TileNames::TileNames(std::filesystem::path folder, ExistingFiles existing)
    : m_folder(std::move(folder)), m_existing(existing) {}

ExportNames& TileNames::namesFor(SaveFormat format) {
    const std::string extension(extensionOf(format));
    return m_names.try_emplace(extension, m_folder, extension, m_existing).first->second;
}

std::filesystem::path TileNames::next(const Tile& tile, SaveFormat format) {
    return namesFor(format).next(stemOf(tile), tile.origin.index + 1);
}

ExportNames::Written TileNames::write(const Tile& tile, SaveFormat format,
                                      const std::vector<std::uint8_t>& bytes) {
    return namesFor(format).write(stemOf(tile), tile.origin.index + 1, bytes);
}

} // namespace orvu
