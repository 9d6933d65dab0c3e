#pragma once

#include "controls/skinned_button.h"

namespace orvu {

// Skinned push button: a rounded face with its caption centred.
class XPCommandButton : public SkinnedButton {
    Q_OBJECT

public:
    explicit XPCommandButton(QWidget* parent = nullptr);
    explicit XPCommandButton(const QString& caption, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace orvu
