#pragma once

#include "controls/skinned_button.h"

class QFontMetrics;
class QPainter;

namespace orvu {

// A push button's size for `caption`, and the button drawn in `rect`: for
// push buttons painted by a view of their own as well.
QSize pushButtonSize(const QFontMetrics& metrics, const QString& caption);
void paintPushButton(QPainter& painter, const QRect& rect, const QString& caption, ButtonLook look,
                     bool focused);

// Skinned push button: a rounded face with its caption centred.
class PushButton : public SkinnedButton {
    Q_OBJECT

public:
    explicit PushButton(QWidget* parent = nullptr);
    explicit PushButton(const QString& caption, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace orvu
