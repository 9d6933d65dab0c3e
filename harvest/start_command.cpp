#include "harvest/start_command.h"

#include "harvest/file_harvest.h"
#include "harvest/folder_scan.h"
#include "harvest/messages.h"
#include "harvest/shortcut_source.h"
#include "icons/icon_at_size.h"
#include "platform/icon_files.h"

namespace orvu {

StartCommand::StartCommand(HarvestWindow& window, FolderKeys& folderKeys, const PngDecoder* png)
    : m_window(window), m_folderKeys(folderKeys), m_png(png) {}

bool StartCommand::run(const std::filesystem::path& file, const std::filesystem::path& folder) {
    m_window.setStartEnabled(false);
    m_window.tiles().clear();
    if (!file.empty() && !harvestFile(file))
        return false;
    if (!folder.empty())
        return FolderScan(m_window, m_folderKeys, m_png).run(folder);
    return true;
}

bool StartCommand::harvestShortcut(const std::filesystem::path& file,
                                   Result<ReferencedIcons> followed) {
    if (!followed) {
        m_window.reportProblem(messages::cannotReadFile(file, followed.failure()));
        return true;
    }
    IconLibrary& library = followed->library;
    const std::uint32_t index = followed->icon.value_or(0);
    HarvestPace pace(m_window);
    const FileIcons icons{std::make_shared<const std::filesystem::path>(followed->source),
                          1,
                          [&](std::uint32_t k) { return library.largeIcon(k); },
                          [&](std::uint32_t k, int size, std::uint32_t background) {
                              return drawIconAt(library, k, size, background);
                          },
                          [](std::uint32_t k) { return TileCollection::Key{k}; },
                          index};
    if (!harvestIcons(m_window, pace, icons))
        return false;
    m_window.showSourceOfTiles(messages::iconFrom(index, followed->source));
    return true;
}

bool StartCommand::harvestFile(const std::filesystem::path& file) {
    if (auto followed = followShortcut(file, m_png))
        return harvestShortcut(file, std::move(*followed));
    auto library = openIconLibrary(file, m_png);
    if (!library) {
        m_window.reportProblem(messages::cannotReadFile(file, library.failure()));
        return true;
    }
    HarvestPace pace(m_window);
    const auto shared = std::make_shared<const std::filesystem::path>(file);
    const FileIcons icons{shared, library->count(),
                          [&](std::uint32_t k) { return library->largeIcon(k); },
                          [&](std::uint32_t k, int size, std::uint32_t background) {
                              return drawIconAt(*library, k, size, background);
                          },
                          [](std::uint32_t k) { return TileCollection::Key{k}; }};
    if (!harvestIcons(m_window, pace, icons))
        return false;
    return !harvestsCursorsOf(m_window, *library) ||
           harvestCursors(m_window, pace, shared, *library);
}

} // namespace orvu
