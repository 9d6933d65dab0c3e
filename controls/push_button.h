#pragma once

#include "controls/skinned_button.h"

namespace orvu {

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
