#include "harvest/headless_window.h"

#include "platform/path_text.h"

namespace orvu {

HeadlessWindow::HeadlessWindow()
    : m_preview(Surface::filled(PreviewSize, PreviewSize, PreviewBackground)) {}

void HeadlessWindow::setImageSize(int width, int height) {
    m_imageWidth = width;
    m_imageHeight = height;
}

bool HeadlessWindow::addImage(const std::string& key, const IconCell& cell,
                              const IconOrigin& origin) {
    if (!m_keys.insert(key).second)
        return false;
    m_images.push_back({key, m_keepCells ? cell : IconCell{}, m_keepCells ? origin : IconOrigin{}});
    return true;
}

void HeadlessWindow::addTile(const std::string& text, std::size_t image) {
    m_tiles.push_back({text, image});
}

void HeadlessWindow::showStatus(const std::string& text) {
    if (m_keepStatusHistory)
        m_statusHistory.push_back(text);
}

void HeadlessWindow::showStatus(const std::filesystem::path& path) {
    if (m_keepStatusHistory)
        m_statusHistory.push_back(displayText(path));
}

bool HeadlessWindow::yieldToEvents() {
    ++m_yields;
    return onYield ? onYield() : true;
}

} // namespace orvu
