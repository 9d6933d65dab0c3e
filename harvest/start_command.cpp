#include "start_command.h"

#include "folder_scan.h"
#include "icon_cell.h"
#include "icon_library.h"
#include "icon_list.h"
#include "path_text.h"

namespace orvu {

StartCommand::StartCommand(HarvestWindow& window, HarvestCounters& counters, const PngDecoder* png)
    : m_window(window), m_counters(counters), m_png(png) {}

void StartCommand::run(const std::filesystem::path& file, const std::filesystem::path& folder) {
    m_window.setImageSize(CellSize, CellSize);
    m_window.setStartEnabled(false);
    m_window.clearTiles();
    if (!file.empty() && !harvestFile(file))
        return;
    if (!folder.empty())
        FolderScan(m_window, m_counters, m_png).run(folder);
}

bool StartCommand::harvestFile(const std::filesystem::path& file) {
    IconLibrary library = IconLibrary::open(file, m_png);
    if (!library.readError().empty()) {
        m_window.reportProblem("无法读取文件“" + displayText(file) + "”：" + library.readError());
        return true;
    }
    const std::uint32_t count = library.count();
    for (std::uint32_t k = 0; k < count; ++k) {
        const IconCell cell = renderIconCell(m_window, library.largeIcon(k));
        const std::string key = "my" + std::to_string(k);
        if (!m_window.addImage(key, cell)) {
            m_window.reportProblem("图像关键字“" + key + "”已经存在，提取在“" + displayText(file) +
                                   "”处停止。");
            return false;
        }
    }
    rebuildIconList(m_window);
    return true;
}

} // namespace orvu
