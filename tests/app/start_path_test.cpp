// orvu-icons PATH: the path as the file system names it, made absolute.

#include "app/start_path.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace orvu {
namespace {

TEST(StartPath, isThePathArgumentAsItsBytesMadeAbsolute) {
    const std::filesystem::path here = std::filesystem::current_path();
    const struct {
        std::vector<std::string> arguments; // after the program's name
        std::filesystem::path path;
    } cases[] = {
        {{"\xff.exe"}, here / "\xff.exe"},
        {{"/data/\xfe dir/a.exe"}, "/data/\xfe dir/a.exe"},
        {{"--", "-named-like-an-option.exe"}, here / "-named-like-an-option.exe"},
        {{"-"}, here / "-"},
        {{}, {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> storage{"orvu-icons"};
        storage.insert(storage.end(), c.arguments.begin(), c.arguments.end());
        std::vector<char*> argv;
        for (std::string& argument : storage)
            argv.push_back(argument.data());
        EXPECT_EQ(startPath(static_cast<int>(argv.size()), argv.data()).native(), c.path.native())
            << c.path;
    }
}

} // namespace
} // namespace orvu
