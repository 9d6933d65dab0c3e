// The names of exported icons, and new files that never replace anything.

#include "export/export_names.h"
#include "platform/atomic_file.h"
#include "platform/file_names.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

namespace orvu {
namespace {

namespace fs = std::filesystem;

struct NamingCase {
    const char* what;
    ExistingFiles existing;
    std::vector<std::string> onDisk;
    std::vector<std::pair<std::string, std::uint32_t>> asked; // stem, position
    std::vector<std::string> given;
};

TEST(ExportNames, takenNamesGetACounter) {
    const std::vector<NamingCase> cases = {
        {"plain names",
         ExistingFiles::KeepWithCounter,
         {},
         {{"notepad", 1}, {"notepad", 2}, {"shell32", 1}},
         {"notepad_1.ico", "notepad_2.ico", "shell32_1.ico"}},
        {"the same stem twice in a batch",
         ExistingFiles::KeepWithCounter,
         {},
         {{"app", 1}, {"app", 1}, {"app", 1}},
         {"app_1.ico", "app_1-2.ico", "app_1-3.ico"}},
        {"names that differ only in case collide",
         ExistingFiles::KeepWithCounter,
         {},
         {{"App", 1}, {"aPP", 1}},
         {"App_1.ico", "aPP_1-2.ico"}},
        {"a name on disk in other letters is taken too",
         ExistingFiles::KeepWithCounter,
         {"APP_1.ICO", "App_1-2.ico"},
         {{"app", 1}},
         {"app_1-3.ico"}},
        {"files on disk are kept",
         ExistingFiles::KeepWithCounter,
         {"app_1.ico", "app_1-2.ico"},
         {{"app", 1}, {"app", 2}},
         {"app_1-3.ico", "app_2.ico"}},
        {"a folder on disk is in the way too",
         ExistingFiles::KeepWithCounter,
         {"app_1.ico/"},
         {{"app", 1}},
         {"app_1-2.ico"}},
        {"replacing takes files on disk, never a name of the batch",
         ExistingFiles::Replace,
         {"app_1.ico", "app_1-2.ico"},
         {{"app", 1}, {"app", 1}, {"app", 1}},
         {"app_1.ico", "app_1-2.ico", "app_1-3.ico"}},
    };
    for (const NamingCase& c : cases) {
        test::TempDir dir;
        for (const std::string& name : c.onDisk) {
            if (name.ends_with('/'))
                fs::create_directory(dir / name);
            else
                test::writeFile(dir / name, {'x'});
        }
        ExportNames names(dir.path(), ".ico", c.existing);
        std::vector<std::string> given;
        for (const auto& [stem, position] : c.asked)
            given.push_back(names.next(stem, position).filename().string());
        EXPECT_EQ(given, c.given) << c.what;
    }
}

// A name given out is not given again, even when writing under it failed:
// the caller asks again and gets the next one.
TEST(ExportNames, askingAgainForTheSameIconGivesTheNextName) {
    test::TempDir dir;
    ExportNames names(dir.path(), ".png", ExistingFiles::Replace);
    EXPECT_EQ(names.next("a", 3), dir / "a_3.png");
    EXPECT_EQ(names.next("a", 3), dir / "a_3-2.png");
}

// Writing takes the next name past anything in the way that may not be
// replaced, and never writes through a link.
TEST(ExportNames, writeReplacesOnlyFilesAndLinksWhenAllowed) {
    struct Case {
        const char* what;
        ExistingFiles existing;
        const char* inTheWay; // "file", "folder" or "link" at app_1.ico
        const char* written;
    };
    const std::vector<Case> cases = {
        {"a file is kept", ExistingFiles::KeepWithCounter, "file", "app_1-2.ico"},
        {"a file is replaced", ExistingFiles::Replace, "file", "app_1.ico"},
        {"a folder is never replaced", ExistingFiles::Replace, "folder", "app_1-2.ico"},
#ifndef _WIN32
        {"a link is replaced itself", ExistingFiles::Replace, "link", "app_1.ico"},
#endif
    };
    const std::vector<std::uint8_t> icon{'n', 'e', 'w'};
    for (const Case& c : cases) {
        test::TempDir dir;
        test::writeFile(dir / "elsewhere", {'o', 'l', 'd'});
        const std::string inTheWay = c.inTheWay;
        if (inTheWay == "file")
            test::writeFile(dir / "app_1.ico", {'o', 'l', 'd'});
        else if (inTheWay == "folder")
            fs::create_directory(dir / "app_1.ico");
        else
            fs::create_symlink(dir / "elsewhere", dir / "app_1.ico");
        ExportNames names(dir.path(), ".ico", c.existing);
        const auto written = names.write("app", 1, icon);
        ASSERT_TRUE(written.result) << c.what;
        EXPECT_EQ(written.path, dir / c.written) << c.what;
        EXPECT_EQ(test::readFile(written.path), icon) << c.what;
        EXPECT_FALSE(fs::is_symlink(written.path)) << c.what;
        EXPECT_EQ(test::readFile(dir / "elsewhere"), (std::vector<std::uint8_t>{'o', 'l', 'd'}))
            << c.what;
    }
}

// Names as long as the file system allows (255 bytes here): a stem cut at
// a character so that position and counter fit, and files under such names
// created or replaced whole.
TEST(ExportNames, longNamesLoseTheEndOfTheirStemAndAreStillWritten) {
    test::TempDir dir;
    if (longestNameIn(dir.path()) != 255)
        GTEST_SKIP() << "names here are not limited to 255 bytes";
    const auto times = [](const std::string& text, std::size_t count) {
        std::string result;
        for (std::size_t i = 0; i < count; ++i)
            result += text;
        return result;
    };
    struct Case {
        const char* what;
        std::string stem;
        ExistingFiles existing;
        std::string onDisk;
        std::vector<std::string> written; // for the stem asked for twice
    };
    const std::vector<Case> cases = {
        {"a stem of 250 letters",
         times("a", 250),
         ExistingFiles::KeepWithCounter,
         "",
         {times("a", 249) + "_1.ico", times("a", 247) + "_1-2.ico"}},
#ifndef _WIN32 // where names count UTF-16 units, not bytes
        {"a stem of 100 three-byte characters",
         times("图", 100),
         ExistingFiles::KeepWithCounter,
         "",
         {times("图", 83) + "_1.ico", times("图", 82) + "_1-2.ico"}},
#endif
        {"a file of 255 bytes replaced",
         times("b", 250),
         ExistingFiles::Replace,
         times("b", 249) + "_1.ico",
         {times("b", 249) + "_1.ico", times("b", 247) + "_1-2.ico"}},
        {"a file of 255 bytes kept",
         times("c", 249),
         ExistingFiles::KeepWithCounter,
         times("c", 249) + "_1.ico",
         {times("c", 247) + "_1-2.ico", times("c", 247) + "_1-3.ico"}},
    };
    const std::vector<std::uint8_t> icon{'n', 'e', 'w'};
    for (const Case& c : cases) {
        test::TempDir out;
        if (!c.onDisk.empty())
            test::writeFile(out / c.onDisk, {'o', 'l', 'd'});
        ExportNames names(out.path(), ".ico", c.existing);
        for (const std::string& expected : c.written) {
            const auto written = names.write(c.stem, 1, icon);
            ASSERT_TRUE(written.result) << c.what << ": " << describe(written.result.failure());
            EXPECT_EQ(written.path.filename().string(), expected) << c.what;
            EXPECT_EQ(test::readFile(written.path), icon) << c.what;
        }
        const std::vector<std::uint8_t> old{'o', 'l', 'd'};
        if (!c.onDisk.empty()) {
            EXPECT_EQ(test::readFile(out / c.onDisk),
                      c.existing == ExistingFiles::Replace ? icon : old)
                << c.what;
        }
    }
}

TEST(CreateFileAtomically, writesANewFileWhole) {
    test::TempDir dir;
    const std::vector<std::uint8_t> bytes(70000, 0x5A);
    ASSERT_TRUE(createFileAtomically(dir / "new.ico", bytes));
    EXPECT_EQ(test::readFile(dir / "new.ico"), bytes);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
    // With the permissions any new file gets.
    test::writeFile(dir / "usual", {});
    EXPECT_EQ(fs::status(dir / "new.ico").permissions(), fs::status(dir / "usual").permissions());
}

TEST(CreateFileAtomically, leavesAnythingInTheWayAsItWas) {
    test::TempDir dir;
    test::writeFile(dir / "file.ico", {'o', 'l', 'd'});
    fs::create_directory(dir / "folder.ico");
    std::vector<std::string> names = {"file.ico", "folder.ico"};
#ifndef _WIN32
    fs::create_symlink(dir / "nowhere", dir / "broken.ico");
    names.push_back("broken.ico");
#endif
    for (const std::string& name : names) {
        const auto created = createFileAtomically(dir / name, {'n', 'e', 'w'});
        ASSERT_FALSE(created) << name;
        EXPECT_EQ(created.failure().kind, Failure::Kind::Exists) << name;
    }
    EXPECT_EQ(test::readFile(dir / "file.ico"), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    EXPECT_TRUE(fs::is_empty(dir / "folder.ico"));
    EXPECT_FALSE(fs::exists(dir / "nowhere"));
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()),
              static_cast<std::ptrdiff_t>(names.size()));
}

} // namespace
} // namespace orvu
