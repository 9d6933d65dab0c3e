#include "support/headless_window.h"

#include "platform/path_text.h"

namespace orvu {

HeadlessWindow::HeadlessWindow()
    : m_preview(Surface::filled(PreviewSize, PreviewSize, PreviewBackground)) {}

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
