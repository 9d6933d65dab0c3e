#pragma once

#include "controls/skin.h"

#include <QAbstractButton>

namespace orvu {

// Common ground of the skinned buttons: the skin font, hover tracking and
// the look to draw in. Clicks and the enabled state are QAbstractButton's:
// one clicked() per click, none while disabled.
class SkinnedButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit SkinnedButton(QWidget* parent = nullptr);

    ButtonLook look() const;

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool m_hovered = false;
};

} // namespace orvu
