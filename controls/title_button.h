#pragma once

#include "controls/skinned_button.h"

namespace orvu {

// Skinned 21 x 21 title-bar button that closes (a red face with a cross) or
// minimises (a blue face with a bar).
class TitleButton : public SkinnedButton {
    Q_OBJECT

public:
    enum class Kind { Close, Minimise };

    explicit TitleButton(QWidget* parent = nullptr);
    explicit TitleButton(Kind kind, QWidget* parent = nullptr);

    Kind kind() const { return m_kind; }
    void setKind(Kind kind);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Kind m_kind = Kind::Close;
};

} // namespace orvu
