// Entry point of the test suites that need a QApplication. They run on the
// offscreen platform unless QT_QPA_PLATFORM names another (xcb under a real
// X server, for trying things by hand), in the C locale.

#include "support/c_locale.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    orvu::test::useTheCLocale();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
