// Icon references followed to the icons they name, as their users write
// them: files by index and resource id, Windows paths and environment
// variables under a Windows root in any letter case, shortcuts, Internet
// shortcuts and desktop.ini (one through the next), the .mun redirect, and
// the references that can't be followed, loops and hostile files among them.

#include "platform/icon_reference.h"
#include "support/shortcut_builders.h"
#include "support/test_files.h"

#include <functional>
#include <gtest/gtest.h>

namespace orvu {
namespace {

namespace fs = std::filesystem;
using test::ShellLinkDescription;

// Where the rows' files are: the tree of writeReferenceTree, and the files
// a row adds to links/ first.
class References : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_folder = new test::TempDir;
        test::writeReferenceTree(s_folder->path());
    }
    static void TearDownTestSuite() {
        delete s_folder;
        s_folder = nullptr;
    }
    static fs::path folder() { return s_folder->path(); }
    static fs::path links() { return folder() / "links"; }

    // `text` with {root} and {links} put in.
    static std::string expanded(std::string text) {
        for (const auto& [mark, path] :
             {std::pair<std::string, fs::path>{"{root}", folder() / "drive_c"},
              {"{links}", links()}}) {
            for (std::size_t at; (at = text.find(mark)) != std::string::npos;)
                text.replace(at, mark.size(), textOfPath(path));
        }
        return text;
    }

private:
    static inline test::TempDir* s_folder = nullptr;
};

// What a reference leads to: the file read (from the temporary folder), the
// icon named; or the failure and a word of its detail.
struct Row {
    const char* name;
    std::string reference;
    bool withRoot = true;
    std::string source = {};
    std::optional<std::uint32_t> icon = {};
    std::optional<Failure::Kind> failure = {};
    std::string detail = {};
    std::function<void(const fs::path& links)> setUp = {};
};

Row leadsTo(const char* name, std::string reference, std::string source,
            std::optional<std::uint32_t> icon, bool withRoot = true) {
    return {name, std::move(reference), withRoot, std::move(source), icon};
}

Row fails(const char* name, std::string reference, Failure::Kind failure, std::string detail,
          std::function<void(const fs::path&)> setUp = {}, bool withRoot = true) {
    return {name,    std::move(reference), withRoot,        {}, {},
            failure, std::move(detail),    std::move(setUp)};
}

void writeLink(const fs::path& path, const ShellLinkDescription& link) {
    test::writeFile(path, test::buildShellLink(link).bytes);
}

ShellLinkDescription linkTo(std::string relativePath) {
    ShellLinkDescription link;
    link.relativePath = std::move(relativePath);
    return link;
}

const std::string Shell32 = "drive_c/Windows/System32/shell32.dll";
const std::string App = "drive_c/Program Files/App/App.exe";
const std::string ImageresMun = "drive_c/Windows/SystemResources/imageres.dll.mun";

class ReferenceRows : public References, public testing::WithParamInterface<Row> {};

TEST_P(ReferenceRows, leadToTheIconTheyName) {
    const Row& row = GetParam();
    if (row.setUp)
        row.setUp(links());
#ifdef _WIN32
    // Here the test's folder has a drive letter, so a Windows root takes a
    // path in it that isn't a file as given for a path of its own.
    std::error_code missing;
    if (row.withRoot && row.reference.starts_with("{") &&
        !fs::exists(pathOfText(expanded(row.reference)), missing))
        GTEST_SKIP() << "a path of the test's folder with a number after it";
#endif
    const WindowsPaths paths(row.withRoot ? std::optional(folder() / "drive_c") : std::nullopt);
    const auto icons = openIconReference(expanded(row.reference), paths, nullptr);
    if (row.failure) {
        ASSERT_FALSE(icons) << "read from " << icons->source;
        EXPECT_EQ(icons.failure().kind, *row.failure) << describe(icons.failure());
        EXPECT_NE(icons.failure().detail.find(row.detail), std::string::npos)
            << describe(icons.failure());
        return;
    }
    ASSERT_TRUE(icons) << describe(icons.failure());
    std::error_code error;
    EXPECT_TRUE(fs::equivalent(icons->source, folder() / row.source, error)) << icons->source;
    EXPECT_EQ(icons->icon, row.icon);
    EXPECT_FALSE(icons->library.problem());
}

const auto RowName = [](const testing::TestParamInfo<Row>& row) {
    return std::string(row.param.name);
};

INSTANTIATE_TEST_SUITE_P(
    Files, ReferenceRows,
    testing::Values(
        leadsTo("wholeFile", "{root}/Windows/System32/shell32.dll", Shell32, std::nullopt),
        leadsTo("byIndex", "{root}/Windows/System32/shell32.dll,1", Shell32, 1),
        leadsTo("byResourceId", "{root}/Windows/System32/shell32.dll,-16", Shell32, 2),
        leadsTo("minusOneIsIdOne", "{root}/Windows/System32/shell32.dll,-1", Shell32, 0),
        leadsTo("windowsPathInAnyCase", "C:\\WINDOWS\\system32\\Shell32.DLL,-4", Shell32, 1),
        leadsTo("windowsPathWithSlashes", "c:/windows/system32/shell32.dll,0", Shell32, 0),
        leadsTo("windowsPathWithoutLengthLimit", "\\\\?\\C:\\Windows\\System32\\shell32.dll,0",
                Shell32, 0),
        leadsTo("windowsPathWithoutDrive", "\\Windows\\System32\\shell32.dll,0", Shell32, 0),
        leadsTo("variable", "%SystemRoot%\\System32\\shell32.dll,-16", Shell32, 2),
        leadsTo("variableInAnyCase", "%systemroot%\\system32\\shell32.dll,2", Shell32, 2),
        leadsTo("programFiles", "%ProgramFiles%\\App\\App.exe,-101", App, 1),
        leadsTo("quotedWithBlanks", "\"C:\\Program Files\\App\\App.exe\" , 1", App, 1),
        leadsTo("dotsStayInTheRoot", "C:\\..\\..\\Windows\\.\\System32\\shell32.dll,0", Shell32, 0),
        leadsTo("trailingDotAndBlank", "C:\\Windows\\System32 \\shell32.dll.,0", Shell32, 0),
        leadsTo("munRedirect", "C:\\Windows\\System32\\imageres.dll,-3", ImageresMun, 1),
        leadsTo("munRedirectAsAWhole", "{root}/Windows/System32/imageres.dll", ImageresMun,
                std::nullopt),
        leadsTo("linkToItsTarget", "{links}/App.lnk", App, 0),
        leadsTo("linkWithIconLocation", "{links}/Shell.lnk", Shell32, 2),
        leadsTo("linkWithIconEnvironmentBlock", "{links}/Expanded.lnk", App, 1),
        leadsTo("linkToAFolderWithDesktopIni", "{links}/Music.lnk", ImageresMun, 1),
        leadsTo("internetShortcut", "{links}/Site.url", Shell32, 1),
        leadsTo("linkToALink", "{links}/Chain.lnk", Shell32, 2),
        Row{"internetShortcutWithAFileUrl",
            "{links}/Local.url",
            true,
            App,
            1u,
            {},
            {},
            [](const fs::path& links) {
                test::writeFile(links / "Local.url",
                                test::settingsText("[InternetShortcut]\nIconIndex=1\n"
                                                   "IconFile=file:///C:/Program%20Files/%41pp/"
                                                   "App.exe\n"));
            }},
        leadsTo("desktopIni", "{root}/Users/Public/Music/desktop.ini", ImageresMun, 1),
        leadsTo("linkThroughItsRelativePathWithoutARoot", "{links}/App.lnk", App, 0, false),
        // A file that exists by the name given is that file, comma or not.
        Row{"existingNameWithAComma",
            "{links}/copy,1",
            true,
            "links/copy,1",
            std::nullopt,
            {},
            {},
            [](const fs::path& links) {
                fs::remove(links / "copy,1");
                fs::copy_file(links / "../drive_c/Windows/System32/shell32.dll", links / "copy,1");
            }},
        Row{"existingNameWithACommaAndANumber",
            "{links}/copy,1,2",
            true,
            "links/copy,1",
            2u,
            {},
            {},
            [](const fs::path& links) {
                fs::remove(links / "copy,1");
                fs::copy_file(links / "../drive_c/Windows/System32/shell32.dll", links / "copy,1");
            }}),
    RowName);

INSTANTIATE_TEST_SUITE_P(
    Failures, ReferenceRows,
    testing::Values(
        fails("otherDrive", "D:\\x.dll,0", Failure::Kind::Unresolved, "drive D:"),
        fails("networkPath", "\\\\server\\share\\x.dll,0", Failure::Kind::Unresolved, "network"),
        fails("networkPathWithoutLengthLimit", "\\\\?\\UNC\\server\\share\\x.dll,0",
              Failure::Kind::Unresolved, "network"),
        fails("unknownVariable", "%APPDATA%\\x.dll,0", Failure::Kind::Unresolved, "%APPDATA%"),
        fails("missingFile", "C:\\Windows\\nothing.dll,0", Failure::Kind::System, ""),
        fails("indexPastTheEnd", "%SystemRoot%\\System32\\shell32.dll,3", Failure::Kind::NoSuchIcon,
              "index 3"),
        fails("idNotThere", "%SystemRoot%\\System32\\shell32.dll,-2", Failure::Kind::NoSuchIcon,
              "id 2"),
        fails("numberAfterAShortcut", "{links}/Shell.lnk,0", Failure::Kind::NoSuchIcon, "shortcut"),
        fails("notAnIconFile", "{root}/Users/Public/Music/desktop.ini,0", Failure::Kind::NoSuchIcon,
              "shortcut"),
        fails("iconOnTheWeb", "{links}/Web.url", Failure::Kind::Unresolved, "web",
              [](const fs::path& links) {
                  test::writeFile(links / "Web.url",
                                  test::settingsText("[InternetShortcut]\nIconFile=https://"
                                                     "example.org/favicon.ico\n"));
              }),
        fails("linkToItself", "{links}/Self.lnk", Failure::Kind::Unresolved, "loop",
              [](const fs::path& links) { writeLink(links / "Self.lnk", linkTo(".\\Self.lnk")); }),
        fails("linksInALoop", "{links}/LoopA.lnk", Failure::Kind::Unresolved, "loop",
              [](const fs::path& links) {
                  writeLink(links / "LoopA.lnk", linkTo("LoopB.lnk"));
                  writeLink(links / "LoopB.lnk", linkTo("loopa.LNK"));
              }),
        fails("folderWhoseIconIsItself", "{links}/Own.lnk", Failure::Kind::Unresolved, "loop",
              [](const fs::path& links) {
                  fs::create_directories(links / "Own");
                  test::writeFile(links / "Own/desktop.ini",
                                  test::settingsText("[.ShellClassInfo]\nIconResource=.,0\n"));
                  writeLink(links / "Own.lnk", linkTo("Own"));
              }),
        fails("linksTooDeep", "{links}/Deep0.lnk", Failure::Kind::Unresolved, "more than 8",
              [](const fs::path& links) {
                  for (int i = 0; i < 12; ++i)
                      writeLink(links / ("Deep" + std::to_string(i) + ".lnk"),
                                linkTo("Deep" + std::to_string(i + 1) + ".lnk"));
                  fs::copy_file(links / "../drive_c/Program Files/App/App.exe",
                                links / "Deep12.lnk", fs::copy_options::overwrite_existing);
              }),
        fails("damagedLink", "{links}/Damaged.lnk", Failure::Kind::Damaged, "LinkTargetIDList",
              [](const fs::path& links) {
                  ShellLinkDescription link;
                  link.idListDrive = "C:\\";
                  link.idListNames = {"x.exe"};
                  auto built = test::buildShellLink(link);
                  test::putU16(built.bytes, built.idList, 0xFFFF);
                  test::writeFile(links / "Damaged.lnk", built.bytes);
              }),
        fails("linkToNothing", "{links}/Nothing.lnk", Failure::Kind::NoSuchIcon, "names no icon",
              [](const fs::path& links) { writeLink(links / "Nothing.lnk", {}); }),
        fails("linkToAMissingTarget", "{links}/Gone.lnk", Failure::Kind::System, "C:\\Gone",
              [](const fs::path& links) {
                  ShellLinkDescription link;
                  link.localBasePath = "C:\\Gone\\gone.exe";
                  writeLink(links / "Gone.lnk", link);
              }),
        fails("linkToAFolderWithoutDesktopIni", "{links}/Bare.lnk", Failure::Kind::NoSuchIcon,
              "desktop.ini",
              [](const fs::path& links) {
                  fs::create_directories(links / "Bare");
                  writeLink(links / "Bare.lnk", linkTo("Bare"));
              })),
    RowName);

#ifndef _WIN32
// Elsewhere than on Windows, a Windows path needs a root to be found in.
INSTANTIATE_TEST_SUITE_P(
    WithoutARoot, ReferenceRows,
    testing::Values(fails("windowsPath", "C:\\Windows\\System32\\shell32.dll,0",
                          Failure::Kind::Unresolved, "no Windows root", {}, false),
                    fails("variable", "%SystemRoot%\\System32\\shell32.dll,0",
                          Failure::Kind::Unresolved, "no Windows root", {}, false),
                    fails("link", "{links}/Shell.lnk", Failure::Kind::Unresolved, "no Windows root",
                          {}, false)),
    RowName);
#endif

TEST_F(References, aMunRedirectNamesTheFileItStandsFor) {
    const auto icons = openIconReference(
        textOfPath(folder() / "drive_c/Windows/System32/imageres.dll"), WindowsPaths(), nullptr);
    ASSERT_TRUE(icons) << describe(icons.failure());
    EXPECT_EQ(icons->file.filename(), "imageres.dll");
    EXPECT_EQ(icons->source.filename(), "imageres.dll.mun");
    EXPECT_EQ(icons->library.count(), 3u);
}

TEST_F(References, aSystemFileWithoutItsMunHasNoIcons) {
    test::TempDir dir;
    fs::create_directories(dir / "Windows/System32");
    test::writeFile(dir / "Windows/System32/imageres.dll", test::muiStub());
    const auto icons = openIconReference(textOfPath(dir / "Windows/System32/imageres.dll"),
                                         WindowsPaths(), nullptr);
    ASSERT_TRUE(icons) << describe(icons.failure());
    EXPECT_EQ(icons->source, icons->file);
    EXPECT_EQ(icons->library.count(), 0u);
}

} // namespace
} // namespace orvu
