#pragma once

#include "controls/skinned_button.h"

namespace orvu {

// Skinned option (radio) button: a round mark with the caption to its right,
// on a face filled with the back colour. Exclusive among the option buttons
// with the same parent (not those inside its child widgets, which form
// groups of their own); none is selected at first, and once one is the user
// can only move the selection, not clear it. Every click raises clicked(),
// also on the option that is already selected.
class OptionButton : public SkinnedButton {
    Q_OBJECT

public:
    explicit OptionButton(QWidget* parent = nullptr);
    explicit OptionButton(const QString& caption, QWidget* parent = nullptr);

    // The face colour; until set, the parent's window colour.
    QColor backColor() const;
    void setBackColor(const QColor& colour);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void nextCheckState() override;

private:
    static constexpr int CaptionGap = 4;

    void clearSiblings();

    QColor m_backColor;
};

} // namespace orvu
