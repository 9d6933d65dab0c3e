#include "app/status_line.h"

#include <QPainter>

namespace orvu {

StatusLine::StatusLine(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    m_repaintLater.setSingleShot(true);
    connect(&m_repaintLater, &QTimer::timeout, this, qOverload<>(&QWidget::update));
}

void StatusLine::setText(const QString& text) {
    m_text = text;
    if (!m_sinceRepaint.isValid() || m_sinceRepaint.elapsed() >= MinimumRepaintInterval)
        update();
    else if (!m_repaintLater.isActive())
        m_repaintLater.start(MinimumRepaintInterval - static_cast<int>(m_sinceRepaint.elapsed()));
}

QSize StatusLine::sizeHint() const {
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(m_text), metrics.height()};
}

void StatusLine::paintEvent(QPaintEvent*) {
    m_sinceRepaint.start();
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_text);
}

} // namespace orvu
