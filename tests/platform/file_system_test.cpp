// Folder listings, name matching and reading files that change underneath.

#include "platform/file_source.h"
#include "platform/folder_listing.h"
#include "platform/icon_files.h"
#include "platform/like_pattern.h"
#include "platform/text_case.h"
#include "support/icon_builders.h"
#include "support/name_order.h"
#include "support/test_files.h"
#include "support/unprivileged.h"

#include <gtest/gtest.h>
#include <random>
#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace orvu {
namespace {

namespace fs = std::filesystem;

bool like(std::string_view text, std::string_view pattern) {
    return likeMatch(decodeUtf8Lenient(text), decodeUtf8Lenient(pattern));
}

bool matchesExe(std::string_view name) {
    return NamePattern(ExecutablePattern).matches(name);
}

TEST(LikePattern, executablePatternMatchesOnlyNamesEndingInExe) {
    for (const char* name :
         {"README.EXE", "x.Exe", ".exe", "setup.exe", "a.b.exe", "安装程序.exe", "SETUP.EXE"})
        EXPECT_TRUE(matchesExe(name)) << name;
    for (const char* name :
         {"setup.exe.bak", "exe", "setup.ex", "setupexe", "setup.exe ", "", "setup.ｅｘｅ"})
        EXPECT_FALSE(matchesExe(name)) << name;
}

TEST(LikePattern, operators) {
    EXPECT_TRUE(like("abc", "a?c"));
    EXPECT_FALSE(like("ac", "a?c"));
    EXPECT_TRUE(like("a7c", "a#c"));
    EXPECT_FALSE(like("abc", "a#c"));
    EXPECT_TRUE(like("b", "[abc]"));
    EXPECT_FALSE(like("d", "[abc]"));
    EXPECT_TRUE(like("d", "[!abc]"));
    EXPECT_FALSE(like("a", "[!abc]"));
    EXPECT_TRUE(like("m", "[a-z]"));
    EXPECT_TRUE(like("a", "[a-z]"));
    EXPECT_TRUE(like("z", "[a-z]"));
    EXPECT_FALSE(like("M", "[a-z]"));
    EXPECT_TRUE(like("x[y", "x[y"));
    EXPECT_TRUE(like("", "*"));
    EXPECT_TRUE(like("anything", "*"));
    EXPECT_FALSE(like("abc", "ab"));
    EXPECT_TRUE(like("aXbXc", "*X*X*"));
    EXPECT_TRUE(like("图标1", "图标#"));
}

TEST(LikePattern, manyStarsStayFast) {
    const std::string text(5000, 'a');
    EXPECT_FALSE(like(text + "b", "*a*a*a*a*a*a*a*a*a*a*c"));
}

TEST(TextCase, upperCasesCommonScriptsAndKeepsBadBytes) {
    EXPECT_EQ(toUpper(decodeUtf8Lenient("straße.exe")), decodeUtf8Lenient("STRAßE.EXE"));
    EXPECT_EQ(toUpper(decodeUtf8Lenient("éàü")), decodeUtf8Lenient("ÉÀÜ"));
    EXPECT_EQ(toUpper(decodeUtf8Lenient("привет")), decodeUtf8Lenient("ПРИВЕТ"));
    // Dotless i has the plain capital I; Latin Extended-A around it pairs.
    EXPECT_EQ(toUpper(decodeUtf8Lenient("ıiİĳœž")), decodeUtf8Lenient("IIİĲŒŽ"));
    const std::u32string bad = decodeUtf8Lenient("a\xFF\xC0z");
    ASSERT_EQ(bad.size(), 4u);
    EXPECT_EQ(bad[1], 0xDCFFu);
}

TEST(TextCase, namesSortIgnoringCase) {
    std::vector<std::string> names = {"b.exe", "A.exe", "a.exe", "C.exe", "_x", "B.EXE"};
    std::sort(names.begin(), names.end(), test::lessIgnoringCase);
    EXPECT_EQ(names, (std::vector<std::string>{"A.exe", "a.exe", "B.EXE", "b.exe", "C.exe", "_x"}));
}

void touch(const fs::path& path) {
    test::writeFile(path, {});
}

std::vector<std::string> names(const std::vector<ListedFile>& files) {
    std::vector<std::string> result;
    for (const ListedFile& file : files)
        result.push_back(file.name);
    return result;
}

TEST(FolderListing, filesAndSubfoldersInCaseInsensitiveOrder) {
    test::TempDir dir;
    for (const char* name : {"b.exe", "A.EXE", "c.txt", "a2.exe"})
        touch(dir / name);
    fs::create_directory(dir / "Zeta");
    fs::create_directory(dir / "alpha");
    FolderLister lister;
    const auto listing = lister.list(dir.path());
    ASSERT_TRUE(listing);
    EXPECT_EQ(names(listing->files),
              (std::vector<std::string>{"A.EXE", "a2.exe", "b.exe", "c.txt"}));
    ASSERT_EQ(listing->subfolders.size(), 2u);
    EXPECT_EQ(listing->subfolders[0].filename(), "alpha");
    EXPECT_EQ(listing->subfolders[1].filename(), "Zeta");
}

TEST(FolderListing, specialFilesAreListedButNotRegular) {
#ifdef _WIN32
    GTEST_SKIP() << "FIFOs and links in folders are POSIX things";
#else
    test::TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "pipe.exe").c_str(), 0600), 0);
    fs::create_symlink(dir / "nowhere", dir / "broken.exe");
    touch(dir / "real.exe");
    fs::create_symlink(dir / "real.exe", dir / "link.exe");
    FolderLister lister;
    const auto listing = lister.list(dir.path());
    ASSERT_TRUE(listing);
    std::map<std::string, bool> regular;
    for (const ListedFile& file : listing->files)
        regular[file.name] = file.regular;
    EXPECT_EQ(
        regular,
        (std::map<std::string, bool>{
            {"broken.exe", false}, {"link.exe", true}, {"pipe.exe", false}, {"real.exe", true}}));

    // Opening a FIFO would block; the reader must refuse it without opening.
    const auto pipe = openIconLibrary(dir / "pipe.exe", nullptr);
    ASSERT_FALSE(pipe);
    EXPECT_EQ(pipe.failure().kind, Failure::Kind::NotAFile);
#endif
}

TEST(FolderListing, eachFolderIsListedOnceWhateverLinksLeadThere) {
    test::TempDir dir;
    fs::create_directories(dir / "a" / "b");
#ifdef _WIN32
    // Directory links need a privilege (or developer mode) on Windows.
    std::error_code linkError;
    fs::create_directory_symlink(dir.path(), dir / "a" / "b" / "loop", linkError);
    if (linkError)
        GTEST_SKIP() << "no directory links here: " << linkError.message();
#else
    fs::create_directory_symlink(dir.path(), dir / "a" / "b" / "loop");
#endif
    fs::create_directory_symlink(dir / "a", dir / "again");
    FolderLister lister;
    // Walk everything the lister offers; the walk must end.
    std::vector<fs::path> pending{dir.path()};
    int listed = 0;
    while (!pending.empty() && listed < 100) {
        const fs::path folder = pending.back();
        pending.pop_back();
        const auto listing = lister.list(folder);
        ASSERT_TRUE(listing) << folder;
        ++listed;
        pending.insert(pending.end(), listing->subfolders.begin(), listing->subfolders.end());
    }
    EXPECT_TRUE(pending.empty());
    EXPECT_LE(listed, 4);
}

TEST(FolderListing, unlistableFoldersSayWhy) {
    FolderLister lister;
    const auto missing = lister.list("/nonexistent/orvu");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.failure().kind, Failure::Kind::System);
    EXPECT_FALSE(missing.failure().detail.empty());

#ifndef _WIN32 // Windows keeps no one out of a folder through its permission bits.
    test::TempDir dir;
    fs::create_directory(dir / "locked");
    fs::permissions(dir / "locked", fs::perms::none);
    EXPECT_TRUE(test::runWithoutPrivileges([&] {
        FolderLister unprivileged;
        const auto locked = unprivileged.list(dir / "locked");
        return !locked && locked.failure().kind == Failure::Kind::System;
    }));
#endif
}

TEST(FileSource, filesOpenByNameInTheirListedFolder) {
    test::TempDir dir;
    test::GroupResource group;
    group.name = std::uint16_t{1};
    group.images = {{test::groupEntry(32, 32, 24, 0), test::solidDib(32, 24, 0x123456)}};
    fs::create_directory(dir / "sub");
    test::writeFile(dir / "sub" / "app.exe", test::buildPe({group}));
    FolderLister lister;
    const auto listing = lister.list(dir / "sub");
    ASSERT_TRUE(listing);
    ASSERT_EQ(listing->files.size(), 1u);
    ASSERT_TRUE(listing->folder);
    const ListedFile& file = listing->files[0];
    {
        auto library = openIconLibrary(*listing->folder, file.fileName(),
                                       FileSource::Listed::AsRegularFile, nullptr);
        ASSERT_TRUE(library);
        ASSERT_EQ(library->count(), 1u);
        EXPECT_EQ(library->largeIcon(0)->pixel(0, 0) & 0xFFFFFF, 0x123456u);
    } // closed, so that the folder can be renamed on any system

#ifndef _WIN32
    // The folder is held, not its path: renamed meanwhile, its files still open.
    fs::rename(dir / "sub", dir / "moved");
    EXPECT_TRUE(FileSource::open(*listing->folder, file.fileName(), FileSource::Listed::Unknown));
    EXPECT_FALSE(FileSource::open(dir / "sub" / "app.exe"));
#else
    fs::rename(dir / "sub", dir / "moved");
#endif

    // A folder that can't be held open falls back to full paths, which fail here.
    const auto gone = OpenFolder::open(dir / "sub");
    const auto viaPath = FileSource::open(*gone, "app.exe", FileSource::Listed::AsRegularFile);
    ASSERT_FALSE(viaPath);
    EXPECT_EQ(viaPath.failure().kind, Failure::Kind::System);
}

TEST(IconFiles, unreadablePathsFailAndSayWhy) {
    const auto missing = openIconLibrary("/nonexistent/folder/app.exe", nullptr);
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.failure().kind, Failure::Kind::System);
    EXPECT_FALSE(missing.failure().detail.empty());
    const auto folder = openIconLibrary(fs::current_path().root_path(), nullptr);
    ASSERT_FALSE(folder);
    EXPECT_NE(folder.failure().kind, Failure::Kind::Damaged);
}

TEST(FileSource, closedLibraryKeepsItsCountAndLetsGoOfTheFile) {
    test::TempDir dir;
    test::GroupResource group;
    group.name = std::uint16_t{1};
    group.images = {{test::groupEntry(32, 32, 24, 0), test::solidDib(32, 24, 0x0000FF)}};
    test::writeFile(dir / "app.exe", test::buildPe({group, group}));
    // The process's open descriptors, where the system lists them.
    const auto openFiles = [] {
#ifdef _WIN32
        return std::ptrdiff_t{-1};
#else
        std::error_code error;
        const auto count =
            std::distance(fs::directory_iterator("/proc/self/fd", error), fs::directory_iterator());
        return error ? -1 : count;
#endif
    };
    const auto before = openFiles();
    auto opened = openIconLibrary(dir / "app.exe", nullptr);
    ASSERT_TRUE(opened);
    IconLibrary& library = *opened;
    ASSERT_EQ(library.count(), 2u);
    ASSERT_TRUE(library.largeIcon(1));
    library.closeFile();
    EXPECT_EQ(library.count(), 2u);
    EXPECT_FALSE(library.largeIcon(0));
    EXPECT_FALSE(library.images({GroupKind::Icon, 0}));
    if (before >= 0) {
        EXPECT_EQ(openFiles(), before);
    }
}

TEST(FileSource, specialFileInAListedFolderIsNeverReadAndNeverBlocks) {
#ifdef _WIN32
    GTEST_SKIP() << "FIFOs are POSIX things";
#else
    test::TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "pipe.exe").c_str(), 0600), 0);
    const auto folder = OpenFolder::open(dir.path());
    // Unknown: looked at, and refused without being opened. Listed as a
    // regular file, then replaced by a FIFO before it is opened: opening
    // doesn't wait for a writer, and the file is refused after it.
    for (const auto listed : {FileSource::Listed::Unknown, FileSource::Listed::AsRegularFile}) {
        const auto source = FileSource::open(*folder, "pipe.exe", listed);
        ASSERT_FALSE(source);
        EXPECT_EQ(source.failure().kind, Failure::Kind::NotAFile);
    }
#endif
}

TEST(FileSource, fileThatShrinksWhileReadFailsItsReadsQuietly) {
    test::TempDir dir;
    // An image larger than the reader's cached chunk, so that it is read afresh.
    test::GroupResource group;
    group.name = std::uint16_t{1};
    group.images = {{test::groupEntry(128, 128, 32, 0), test::solidDib(128, 32, 0xFF0000)}};
    const test::ByteVector file = test::buildPe({group});
    test::writeFile(dir / "app.exe", file);
    auto library = openIconLibrary(dir / "app.exe", nullptr);
    ASSERT_TRUE(library);
    ASSERT_EQ(library->count(), 1u);
    fs::resize_file(dir / "app.exe", 0x500);
    EXPECT_FALSE(library->largeIcon(0));
}

TEST(FileSource, readsAcrossItsCachedChunk) {
    test::TempDir dir;
    test::ByteVector bytes(100000);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 7);
    test::writeFile(dir / "data", bytes);
    auto source = FileSource::open(dir / "data");
    ASSERT_TRUE(source);
    for (std::uint64_t at : {0ull, 4090ull, 16380ull, 99990ull, 50000ull, 10ull}) {
        const std::uint64_t length = std::min<std::uint64_t>(20, bytes.size() - at);
        const auto read = (*source)->read(at, length, 20, "data");
        ASSERT_TRUE(read) << at;
        EXPECT_TRUE(std::equal(read->begin(), read->end(),
                               bytes.begin() + static_cast<std::ptrdiff_t>(at)));
    }
    EXPECT_FALSE((*source)->read(99990, 11, 100, "data"));
    EXPECT_FALSE((*source)->read(0, 30000, 20000, "data"));
    const auto large = (*source)->read(1000, 30000, 30000, "data");
    ASSERT_TRUE(large);
    EXPECT_EQ((*large)[29999], bytes[30999]);
}

TEST(FileSource, readsJumpingBetweenManyPlacesGiveTheFilesBytes) {
    // As a library of many icons reads: back and forth between a few
    // directories, more of them than the source keeps at once.
    test::TempDir dir;
    test::ByteVector bytes(300000);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 131 + i / 251);
    test::writeFile(dir / "data", bytes);
    auto source = FileSource::open(dir / "data");
    ASSERT_TRUE(source);
    std::mt19937 random(1027);
    std::vector<std::uint64_t> places;
    for (int i = 0; i < 12; ++i)
        places.push_back(random() % bytes.size());
    for (int i = 0; i < 3000; ++i) {
        const std::uint64_t at = std::min<std::uint64_t>(
            places[random() % places.size()] + random() % 9000, bytes.size() - 1);
        const std::uint64_t length =
            std::min<std::uint64_t>(1 + random() % 5000, bytes.size() - at);
        const auto read = (*source)->read(at, length, length, "data");
        ASSERT_TRUE(read) << at << " " << length;
        ASSERT_TRUE(
            std::equal(read->begin(), read->end(), bytes.begin() + static_cast<std::ptrdiff_t>(at)))
            << at << " " << length;
    }
}

} // namespace
} // namespace orvu
