// Entry point of the test suites that need no QApplication.

#include "support/c_locale.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    orvu::test::useTheCLocale();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
