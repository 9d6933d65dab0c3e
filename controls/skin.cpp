#include "controls/skin.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace orvu {
namespace {

constexpr QRgb CommandBorder = qRgb(0, 60, 116);
constexpr QRgb DisabledBorder = qRgb(201, 199, 186);
constexpr QRgb FaceTop = qRgb(255, 255, 255);
constexpr QRgb FaceBottom = qRgb(236, 235, 230);
constexpr QRgb FaceShade = qRgb(214, 208, 197);
constexpr QRgb PressedTop = qRgb(226, 225, 218);
constexpr QRgb PressedBottom = qRgb(240, 239, 234);
constexpr QRgb DisabledFace = qRgb(245, 244, 234);
constexpr QRgb HoverRimTop = qRgb(255, 240, 207);
constexpr QRgb HoverRimBottom = qRgb(248, 179, 48);
constexpr QRgb FocusRimTop = qRgb(206, 231, 255);
constexpr QRgb FocusRimBottom = qRgb(105, 130, 238);
constexpr QRgb CaptionText = qRgb(0, 0, 0);
constexpr QRgb DisabledText = qRgb(172, 168, 153);

constexpr QRgb MarkBorder = qRgb(28, 81, 128);
constexpr QRgb MarkFaceDark = qRgb(220, 220, 215);
constexpr QRgb MarkFaceLight = qRgb(255, 255, 255);
constexpr QRgb MarkPressed = qRgb(176, 176, 167);
constexpr QRgb DotLight = qRgb(85, 213, 81);
constexpr QRgb DotDark = qRgb(33, 161, 33);
constexpr QRgb DisabledDot = qRgb(202, 200, 187);

struct TitleColours {
    QRgb top;
    QRgb bottom;
};

TitleColours titleColours(ButtonLook look, TitleTone tone) {
    if (tone == TitleTone::Red) {
        switch (look) {
        case ButtonLook::Hover:
            return {qRgb(245, 160, 136), qRgb(216, 90, 56)};
        case ButtonLook::Pressed:
            return {qRgb(168, 50, 26), qRgb(213, 90, 58)};
        case ButtonLook::Disabled:
            return {qRgb(230, 180, 166), qRgb(222, 166, 150)};
        case ButtonLook::Normal:
            break;
        }
        return {qRgb(230, 125, 95), qRgb(195, 64, 31)};
    }
    switch (look) {
    case ButtonLook::Hover:
        return {qRgb(127, 174, 255), qRgb(58, 109, 240)};
    case ButtonLook::Pressed:
        return {qRgb(27, 71, 184), qRgb(62, 110, 224)};
    case ButtonLook::Disabled:
        return {qRgb(170, 190, 232), qRgb(157, 181, 230)};
    case ButtonLook::Normal:
        break;
    }
    return {qRgb(92, 141, 246), qRgb(30, 80, 216)};
}

QLinearGradient vertical(const QRectF& rect, QRgb top, QRgb bottom) {
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, QColor(top));
    gradient.setColorAt(1, QColor(bottom));
    return gradient;
}

} // namespace

ButtonLook buttonLook(bool enabled, bool down, bool hovered) {
    if (!enabled)
        return ButtonLook::Disabled;
    if (down)
        return ButtonLook::Pressed;
    return hovered ? ButtonLook::Hover : ButtonLook::Normal;
}

QFont designFont() {
    QFont font;
    // SimSun under its Chinese name first, as Chinese Windows lists it.
    font.setFamilies({QStringLiteral("\u5B8B\u4F53"), QStringLiteral("SimSun"),
                      QStringLiteral("NSimSun"), QStringLiteral("WenQuanYi Zen Hei Mono"),
                      QStringLiteral("Noto Sans Mono CJK SC"),
                      QStringLiteral("WenQuanYi Zen Hei")});
    // 9 points at 96 dots per inch, fixed in pixels so that the layout holds
    // whatever the screen's resolution.
    font.setPixelSize(12);
    font.setWeight(QFont::Normal);
    font.setStyleStrategy(QFont::PreferDefault);
    return font;
}

QColor skinCaptionColour(ButtonLook look) {
    return QColor(look == ButtonLook::Disabled ? DisabledText : CaptionText);
}

void paintCommandFace(QPainter& painter, const QRectF& rect, ButtonLook look, bool focused) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF outer = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    constexpr qreal Radius = 3;

    QBrush face;
    switch (look) {
    case ButtonLook::Disabled:
        face = QColor(DisabledFace);
        break;
    case ButtonLook::Pressed:
        face = vertical(outer, PressedTop, PressedBottom);
        break;
    case ButtonLook::Normal:
    case ButtonLook::Hover: {
        QLinearGradient gradient = vertical(outer, FaceTop, FaceBottom);
        gradient.setColorAt(0.85, QColor(FaceBottom));
        gradient.setColorAt(1, QColor(FaceShade));
        face = gradient;
        break;
    }
    }
    painter.setPen(QPen(QColor(look == ButtonLook::Disabled ? DisabledBorder : CommandBorder), 1));
    painter.setBrush(face);
    painter.drawRoundedRect(outer, Radius, Radius);

    const QRectF rim = outer.adjusted(1.5, 1.5, -1.5, -1.5);
    if (look == ButtonLook::Hover) {
        painter.setPen(QPen(QBrush(vertical(rim, HoverRimTop, HoverRimBottom)), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(rim, Radius - 1, Radius - 1);
    } else if (focused && look == ButtonLook::Normal) {
        painter.setPen(QPen(QBrush(vertical(rim, FocusRimTop, FocusRimBottom)), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(rim, Radius - 1, Radius - 1);
    }
    painter.restore();
}

void paintOptionMark(QPainter& painter, const QPointF& topLeft, ButtonLook look, bool checked) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF circle(topLeft + QPointF(0.5, 0.5),
                        QSizeF(OptionMarkSize - 1, OptionMarkSize - 1));
    const bool disabled = look == ButtonLook::Disabled;

    QBrush face;
    if (disabled) {
        face = QColor(DisabledFace);
    } else if (look == ButtonLook::Pressed) {
        face = QColor(MarkPressed);
    } else {
        QLinearGradient gradient(circle.topLeft(), circle.bottomRight());
        gradient.setColorAt(0, QColor(MarkFaceDark));
        gradient.setColorAt(1, QColor(MarkFaceLight));
        face = gradient;
    }
    painter.setPen(QPen(QColor(disabled ? DisabledBorder : MarkBorder), 1));
    painter.setBrush(face);
    painter.drawEllipse(circle);

    if (look == ButtonLook::Hover) {
        const QRectF rim = circle.adjusted(1.5, 1.5, -1.5, -1.5);
        painter.setPen(QPen(QBrush(vertical(rim, HoverRimTop, HoverRimBottom)), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(rim);
    }
    if (checked) {
        const QRectF dot = circle.adjusted(3.5, 3.5, -3.5, -3.5);
        painter.setPen(Qt::NoPen);
        if (disabled) {
            painter.setBrush(QColor(DisabledDot));
        } else {
            QLinearGradient gradient(dot.topLeft(), dot.bottomRight());
            gradient.setColorAt(0, QColor(DotLight));
            gradient.setColorAt(1, QColor(DotDark));
            painter.setBrush(gradient);
        }
        painter.drawEllipse(dot);
    }
    painter.restore();
}

void paintTitleFace(QPainter& painter, const QRectF& rect, ButtonLook look, TitleTone tone) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF outer = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    const TitleColours colours = titleColours(look, tone);
    painter.setPen(QPen(QColor(255, 255, 255), 1));
    painter.setBrush(vertical(outer, colours.top, colours.bottom));
    painter.drawRoundedRect(outer, 3, 3);
    painter.restore();
}

QColor skinTitleGlyphColour(ButtonLook look) {
    return look == ButtonLook::Disabled ? QColor(235, 235, 245) : QColor(255, 255, 255);
}

} // namespace orvu
