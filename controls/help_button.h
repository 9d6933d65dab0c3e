#pragma once

#include "controls/skinned_button.h"

namespace orvu {

// Skinned 21 x 21 title-bar button with a question mark.
class HelpButton : public SkinnedButton {
    Q_OBJECT

public:
    explicit HelpButton(QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace orvu
