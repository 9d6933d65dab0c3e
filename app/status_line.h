#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

namespace orvu {

// The status line: a transparent, single-line text painted on the window's
// surface in its WindowText colour. A folder scan may set a new path
// thousands of times a second, far faster than anyone can read, so the line
// repaints at most every MinimumRepaintInterval; text() is always the latest.
class StatusLine : public QWidget {
    Q_OBJECT

public:
    static constexpr int MinimumRepaintInterval = 20; // milliseconds

    explicit StatusLine(QWidget* parent = nullptr);

    void setText(const QString& text);
    const QString& text() const { return m_text; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    QElapsedTimer m_sinceRepaint;
    QTimer m_repaintLater;
};

} // namespace orvu
