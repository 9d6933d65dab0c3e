#include "controls/help_button.h"
#include "controls/option_button.h"
#include "controls/push_button.h"
#include "controls/title_button.h"

#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace orvu {
namespace {

int lightness(QRgb pixel) {
    return QColor(pixel).lightness();
}

// The darkest lightness in the image (0 black, 255 white).
int darkest(const QImage& image) {
    int result = 255;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            result = std::min(result, lightness(image.pixel(x, y)));
    return result;
}

QImage shot(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

void hover(QWidget& widget) {
    QEnterEvent enter(QPointF(5, 5), widget.mapToGlobal(QPointF(5, 5)),
                      widget.mapToGlobal(QPointF(5, 5)));
    QCoreApplication::sendEvent(&widget, &enter);
}

void unhover(QWidget& widget) {
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&widget, &leave);
}

// Every skinned button: the window's handlers run once per click, never for
// a disabled button.
template <typename Button> class SkinnedButtonClicks : public ::testing::Test {
protected:
    void SetUp() override {
        m_window.resize(200, 100);
        m_button = new Button(&m_window);
        m_button->setGeometry(10, 10, 91, 23);
        m_window.show();
    }

    QWidget m_window;
    Button* m_button = nullptr;
};

using SkinnedButtonTypes = ::testing::Types<PushButton, OptionButton, TitleButton, HelpButton>;
TYPED_TEST_SUITE(SkinnedButtonClicks, SkinnedButtonTypes);

TYPED_TEST(SkinnedButtonClicks, oneClick_raisesOneClicked) {
    QSignalSpy clicked(this->m_button, &QAbstractButton::clicked);
    QTest::mouseClick(this->m_button, Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 1);
}

TYPED_TEST(SkinnedButtonClicks, threeClicks_raiseThreeClicked) {
    QSignalSpy clicked(this->m_button, &QAbstractButton::clicked);
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(this->m_button, Qt::LeftButton, {}, QPoint(5 + i, 5), 50);
    EXPECT_EQ(clicked.count(), 3);
}

TYPED_TEST(SkinnedButtonClicks, disabled_raisesNoClicked) {
    this->m_button->setEnabled(false);
    QSignalSpy clicked(this->m_button, &QAbstractButton::clicked);
    QTest::mouseClick(this->m_button, Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 0);
}

TYPED_TEST(SkinnedButtonClicks, enabledAgain_raisesClickedAgain) {
    this->m_button->setEnabled(false);
    this->m_button->setEnabled(true);
    QSignalSpy clicked(this->m_button, &QAbstractButton::clicked);
    QTest::mouseClick(this->m_button, Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 1);
}

TYPED_TEST(SkinnedButtonClicks, rightClick_raisesNoClicked) {
    QSignalSpy clicked(this->m_button, &QAbstractButton::clicked);
    QTest::mouseClick(this->m_button, Qt::RightButton);
    EXPECT_EQ(clicked.count(), 0);
}

TYPED_TEST(SkinnedButtonClicks, pressReleasedOutside_raisesNoClicked) {
    QSignalSpy clicked(this->m_button, &QAbstractButton::clicked);
    QTest::mousePress(this->m_button, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(this->m_button, Qt::LeftButton, {}, QPoint(150, 80));
    EXPECT_EQ(clicked.count(), 0);
}

TEST(PushButton, caption_isDarkWhenEnabledAndGreyWhenDisabled) {
    PushButton button(QStringLiteral("开 始"));
    button.resize(89, 25);
    EXPECT_LT(darkest(shot(button)), 60);

    button.setEnabled(false);
    EXPECT_GT(darkest(shot(button)), 120);
}

TEST(PushButton, caption_usesTheDesignedCjkMetrics) {
    // 9 points at 96 dpi: 12-pixel ideographs, 6-pixel Latin letters.
    PushButton button(QStringLiteral("开 始"));
    const QFontMetrics metrics(button.font());
    EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral("开")), 12);
    EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral("a")), 6);
}

TEST(PushButton, hoverAndPress_changeTheLookAndLeavingRestoresIt) {
    QWidget window;
    auto* button = new PushButton(QStringLiteral("....."), &window);
    button->setGeometry(0, 0, 25, 17);
    window.show();
    const QImage normal = shot(*button);

    hover(*button);
    const QImage hovered = shot(*button);
    EXPECT_NE(hovered, normal);

    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 5));
    const QImage pressed = shot(*button);
    EXPECT_NE(pressed, normal);
    EXPECT_NE(pressed, hovered);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(5, 5));

    unhover(*button);
    button->clearFocus();
    EXPECT_EQ(shot(*button), normal);
}

class OptionButtons : public ::testing::Test {
protected:
    void SetUp() override {
        m_window.resize(200, 60);
        m_file = new OptionButton(QStringLiteral("请选择文件名："), &m_window);
        m_file->setGeometry(40, 8, 97, 17);
        m_folder = new OptionButton(QStringLiteral("请选择文件夹："), &m_window);
        m_folder->setGeometry(40, 32, 97, 17);
        m_window.show();
    }

    QWidget m_window;
    OptionButton* m_file = nullptr;
    OptionButton* m_folder = nullptr;
};

TEST_F(OptionButtons, atStart_neitherIsSelected) {
    EXPECT_FALSE(m_file->isChecked());
    EXPECT_FALSE(m_folder->isChecked());
}

TEST_F(OptionButtons, click_selectsTheOptionAndClearsItsSibling) {
    QTest::mouseClick(m_file, Qt::LeftButton);
    EXPECT_TRUE(m_file->isChecked());
    EXPECT_FALSE(m_folder->isChecked());

    QTest::mouseClick(m_folder, Qt::LeftButton);
    EXPECT_TRUE(m_folder->isChecked());
    EXPECT_FALSE(m_file->isChecked());
}

TEST_F(OptionButtons, clickOnTheSelectedOption_keepsItSelectedAndRaisesClicked) {
    QTest::mouseClick(m_file, Qt::LeftButton);
    QSignalSpy clicked(m_file, &QAbstractButton::clicked);
    QTest::mouseClick(m_file, Qt::LeftButton, {}, QPoint(6, 6), 50);
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_TRUE(m_file->isChecked());
    EXPECT_FALSE(m_folder->isChecked());
}

TEST_F(OptionButtons, clickOnTheCaption_selectsTheOption) {
    QTest::mouseClick(m_folder, Qt::LeftButton, {}, QPoint(80, 8));
    EXPECT_TRUE(m_folder->isChecked());
}

TEST_F(OptionButtons, disabledOption_cannotBeSelected) {
    m_folder->setEnabled(false);
    QTest::mouseClick(m_folder, Qt::LeftButton);
    EXPECT_FALSE(m_folder->isChecked());
}

TEST_F(OptionButtons, optionsOfAnotherParent_areNotCleared) {
    QWidget other(&m_window);
    auto* elsewhere = new OptionButton(QStringLiteral("x"), &other);
    other.show();
    QTest::mouseClick(elsewhere, Qt::LeftButton);
    ASSERT_TRUE(elsewhere->isChecked());
    QTest::mouseClick(m_file, Qt::LeftButton);
    EXPECT_TRUE(elsewhere->isChecked());
    EXPECT_TRUE(m_file->isChecked());
}

TEST_F(OptionButtons, face_isFilledWithTheBackColour) {
    const QColor panel(208, 225, 255);
    m_file->setBackColor(panel);
    const QImage image = shot(*m_file);
    // The far right and the corners hold neither the mark nor the caption.
    EXPECT_EQ(QColor(image.pixel(image.width() - 1, 0)), panel);
    EXPECT_EQ(QColor(image.pixel(image.width() - 1, image.height() - 1)), panel);
    EXPECT_EQ(QColor(image.pixel(0, 0)), panel);
}

TEST_F(OptionButtons, caption_standsRightOfTheMark) {
    m_file->setBackColor(Qt::white);
    const QImage image = shot(*m_file);
    const QImage mark = image.copy(0, 0, OptionMarkSize + 1, image.height());
    const QImage caption =
        image.copy(OptionMarkSize + 2, 0, image.width() - OptionMarkSize - 2, image.height());
    EXPECT_LT(darkest(caption), 60);
    EXPECT_GT(darkest(mark), 60); // the mark's border is blue, not black text
}

TEST_F(OptionButtons, selecting_putsAGreenDotInTheMark) {
    const auto markCentre = [this] {
        const QImage image = shot(*m_file);
        return QColor(image.pixel(OptionMarkSize / 2, image.height() / 2));
    };
    const QColor before = markCentre();
    EXPECT_FALSE(before.green() > before.red() + 40);

    QTest::mouseClick(m_file, Qt::LeftButton);
    const QColor after = markCentre();
    EXPECT_GT(after.green(), after.red() + 40);
    EXPECT_GT(after.green(), after.blue() + 40);
}

TEST(TitleButton, isTheCloseButtonUnlessMadeTheMinimiseButton) {
    EXPECT_EQ(TitleButton().kind(), TitleButton::Kind::Close);
    EXPECT_EQ(TitleButton(TitleButton::Kind::Minimise).kind(), TitleButton::Kind::Minimise);
}

TEST(TitleButton, sizeHint_is21By21) {
    EXPECT_EQ(TitleButton().sizeHint(), QSize(21, 21));
    EXPECT_EQ(HelpButton().sizeHint(), QSize(21, 21));
}

bool isGlyph(QRgb pixel) {
    return qRed(pixel) > 225 && qGreen(pixel) > 225 && qBlue(pixel) > 225;
}

TEST(TitleButton, closeButton_showsACrossOnRed) {
    TitleButton button(TitleButton::Kind::Close);
    button.resize(21, 21);
    const QImage image = shot(button);
    EXPECT_TRUE(isGlyph(image.pixel(10, 10))); // where the strokes cross
    EXPECT_TRUE(isGlyph(image.pixel(7, 7)));   // an arm
    EXPECT_FALSE(isGlyph(image.pixel(10, 6))); // between the arms
    const QColor face(image.pixel(3, 10));
    EXPECT_GT(face.red(), face.blue() + 60);
}

TEST(TitleButton, minimiseButton_showsALowBarOnBlue) {
    TitleButton button(TitleButton::Kind::Minimise);
    button.resize(21, 21);
    const QImage image = shot(button);
    EXPECT_FALSE(isGlyph(image.pixel(10, 10)));
    EXPECT_TRUE(isGlyph(image.pixel(7, 14)));
    const QColor face(image.pixel(16, 10));
    EXPECT_GT(face.blue(), face.red() + 60);
}

TEST(TitleButton, changingTheKind_changesTheGlyph) {
    TitleButton button;
    button.resize(21, 21);
    const QImage close = shot(button);
    button.setKind(TitleButton::Kind::Minimise);
    EXPECT_NE(shot(button), close);
}

TEST(HelpButton, showsAQuestionMarkOnBlue) {
    HelpButton button;
    button.resize(21, 21);
    const QImage image = shot(button);
    EXPECT_TRUE(isGlyph(image.pixel(10, 16)));  // the dot
    EXPECT_FALSE(isGlyph(image.pixel(10, 14))); // the gap above it
    EXPECT_TRUE(isGlyph(image.pixel(14, 8)));   // the hook
    EXPECT_FALSE(isGlyph(image.pixel(10, 9)));  // inside the hook
    const QColor face(image.pixel(3, 16));
    EXPECT_GT(face.blue(), face.red() + 60);
}

} // namespace
} // namespace orvu
