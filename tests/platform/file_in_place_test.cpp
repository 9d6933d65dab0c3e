// Writing into a file that a thumbnail service made and reads back.

#include "platform/file_in_place.h"
#include "support/test_files.h"

#include <functional>
#include <gtest/gtest.h>

namespace orvu {
namespace {

namespace fs = std::filesystem;

// The file a picture is made from is refused by any name that leads to it;
// another file takes the picture. Rows that need links come last: a system
// without them skips the rest.
TEST(FileInPlace, neverWritesOverTheFileThePictureIsMadeFrom) {
    const std::vector<std::uint8_t> program = {'M', 'Z', 0, 1, 2, 3};
    const std::vector<std::uint8_t> picture = {0x89, 'P', 'N', 'G'};
    struct Case {
        const char* what;
        std::function<void(const test::TempDir&)> plant; // a.exe is there already
        const char* output;
        const char* source;
        bool refused;
    };
    const std::vector<Case> cases = {
        {"the source itself", [](auto&) {}, "a.exe", "a.exe", true},
        {"another file",
         [&](auto& d) { test::writeFile(d / "out.png", std::vector<std::uint8_t>(64, 'x')); },
         "out.png", "a.exe", false},
        {"a hard link to the source",
         [](auto& d) { fs::create_hard_link(d / "a.exe", d / "out.png"); }, "out.png", "a.exe",
         true},
        {"the source named through a link",
         [](auto& d) { fs::create_symlink(d / "a.exe", d / "in.exe"); }, "a.exe", "in.exe", true},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        test::writeFile(dir / "a.exe", program);
        try {
            c.plant(dir);
        } catch (const fs::filesystem_error& e) {
            GTEST_SKIP() << c.what << ": no such links here: " << e.what();
        }
        const auto written = writeFileInPlace(dir / c.output, picture, dir / c.source);
        EXPECT_EQ(test::readFile(dir / "a.exe"), program) << c.what;
        if (c.refused) {
            ASSERT_FALSE(written) << c.what;
            EXPECT_EQ(written.failure().kind, Failure::Kind::Exists) << c.what;
        } else {
            EXPECT_TRUE(written) << c.what;
            EXPECT_EQ(test::readFile(dir / c.output), picture) << c.what;
        }
    }
}

} // namespace
} // namespace orvu
