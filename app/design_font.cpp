#include "app/design_font.h"

#include <QStringList>

namespace orvu {

QFont designFont() {
    QFont font;
    font.setFamilies(QStringList{"SimSun", "NSimSun", "WenQuanYi Zen Hei Mono",
                                 "Noto Sans Mono CJK SC", "WenQuanYi Zen Hei"});
    // 9 points at 96 dots per inch, fixed in pixels so that the layout holds
    // whatever the screen's resolution.
    font.setPixelSize(12);
    font.setWeight(QFont::Normal);
    font.setStyleStrategy(QFont::PreferDefault);
    return font;
}

} // namespace orvu
