// The dialogs open over their window, wholly on the screen, with room above
// for the title bar a window manager adds.

#include "qt/dialog_placement.h"
#include "qt/qt_asker.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace orvu {
namespace {

// Room a window manager's title bar takes at least.
constexpr int TitleBar = 20;

struct Placement {
    const char* where;
    QPoint window; // the owner's top-left corner
    bool centred;  // the screen has room for the dialog centred on its window
};

// Where the dialog ended up, within the screen's room.
void expectOverAndOnScreen(const QWidget& dialog, const QWidget& owner, const char* where,
                           bool centred) {
    const QRect room = owner.screen()->availableGeometry();
    const QRect placed = dialog.geometry();
    EXPECT_GE(placed.top(), room.top() + TitleBar) << where;
    EXPECT_LE(placed.bottom(), room.bottom()) << where;
    EXPECT_GE(placed.left(), room.left()) << where;
    EXPECT_LE(placed.right(), room.right()) << where;
    if (centred) {
        EXPECT_LE(std::abs(placed.center().x() - owner.frameGeometry().center().x()), 1) << where;
    }
}

TEST(DialogPlacement, aDialogOpensOverItsWindowWithinTheScreen) {
    for (const Placement& c : {Placement{"the design's place", {178, 71}, true},
                               Placement{"the top left", {0, 0}, false},
                               Placement{"far right and low", {700, 500}, false}}) {
        QWidget owner(nullptr, Qt::Window | Qt::FramelessWindowHint);
        owner.setGeometry(QRect(c.window, QSize(425, 362)));
        owner.show();
        QDialog dialog(&owner);
        dialog.resize(600, 460);
        placeOverOwner(dialog, &owner);
        expectOverAndOnScreen(dialog, owner, c.where, c.centred);
    }
}

// Once painted, a dialog that its person resizes by an edge stays where it is.
TEST(DialogPlacement, aShownDialogResizedStaysWhereItIs) {
    QWidget owner(nullptr, Qt::Window | Qt::FramelessWindowHint);
    owner.setGeometry(178, 71, 425, 362);
    owner.show();
    QDialog dialog(&owner);
    dialog.resize(300, 200);
    placeOverOwner(dialog, &owner);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.repaint();
    const QPoint corner = dialog.pos();
    dialog.resize(400, 300);
    EXPECT_EQ(dialog.pos(), corner);
    EXPECT_EQ(dialog.size(), QSize(400, 300));
}

// The asker's own dialogs are placed so.
TEST(DialogPlacement, theAskersDialogsArePlaced) {
    QWidget owner(nullptr, Qt::Window | Qt::FramelessWindowHint);
    owner.setGeometry(178, 71, 425, 362);
    owner.show();
    QtAsker asker;
    int checked = 0;
    std::vector<std::pair<QMessageBox::Icon, std::string>> boxes;
    const auto checkAndClose = [&] {
        QTimer::singleShot(0, [&] {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                expectOverAndOnScreen(*dialog, owner, dialog->metaObject()->className(), true);
                ++checked;
                if (const auto* box = qobject_cast<QMessageBox*>(dialog))
                    boxes.emplace_back(box->icon(), box->text().toStdString());
                dialog->close();
            }
        });
    };
    checkAndClose();
    EXPECT_FALSE(asker.openFile(ownerOf(&owner), {"open", {{"(*.exe)", "*.exe"}}, {}}));
    checkAndClose();
    EXPECT_FALSE(asker.chooseFolder(ownerOf(&owner), {"folder", {}, "as:", {"a", "b"}}));
    checkAndClose();
    EXPECT_EQ(asker.ask(ownerOf(&owner), "replace?", true), Reply::Cancel);
    checkAndClose();
    asker.tell(ownerOf(&owner), "cannot write");
    checkAndClose();
    asker.inform(ownerOf(&owner), "3 saved");
    EXPECT_EQ(checked, 5);
    const std::vector<std::pair<QMessageBox::Icon, std::string>> shown{
        {QMessageBox::Question, "replace?"},
        {QMessageBox::Warning, "cannot write"},
        {QMessageBox::Information, "3 saved"}};
    EXPECT_EQ(boxes, shown);
}

} // namespace
} // namespace orvu
