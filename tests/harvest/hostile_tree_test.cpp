// The folder harvest over trees built to trip it up: special files named
// like executables, link loops, folders that vanish or can't be entered,
// paths longer than the system takes, names that aren't UTF-8, files that
// shrink while they are read. Every scan must end, skip and name what it
// can't read, harvest the rest and change nothing on disk.

#include "harvest/folder_scan.h"
#include "platform/icon_prefetch.h"
#include "platform/path_text.h"
#include "support/headless_window.h"
#include "support/icon_builders.h"
#include "support/sha256.h"
#include "support/test_files.h"
#include "support/unprivileged.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <iostream>
#include <map>

#ifndef _WIN32
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

namespace orvu {
namespace {

namespace fs = std::filesystem;

#ifndef _WIN32

// An executable whose icon i is a solid square of colours[i], `size` pixels
// a side at 32 bpp.
test::ByteVector executableWith(const std::vector<std::uint32_t>& colours, int size = 32) {
    std::vector<test::GroupResource> groups;
    for (std::size_t i = 0; i < colours.size(); ++i) {
        test::GroupResource group;
        group.name = static_cast<std::uint16_t>(i + 1);
        group.images = {{test::groupEntry(size % 256, size % 256, 32, 0),
                         test::solidDib(size, 32, colours[i])}};
        groups.push_back(group);
    }
    return test::buildPe(groups);
}

// A file descriptor closed when it goes.
class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd = -1;
};

// What can be seen of one entry without following links.
struct EntryState {
    unsigned mode = 0;
    long long size = 0;
    long long modifiedNs = 0;
    unsigned long long inode = 0;
    std::string contentHash; // regular files only
    std::string linkTarget;  // links only
    bool operator==(const EntryState&) const = default;
};
using TreeState = std::map<std::string, EntryState>;

std::string readAll(int fd) {
    std::vector<std::uint8_t> bytes;
    std::uint8_t buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0)
            break;
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    return test::sha256Hex(bytes);
}

// The names in a folder reached by descriptor ("." and ".." left out).
std::vector<std::string> namesIn(int folder) {
    std::vector<std::string> names;
    const int listing = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0)
        return names;
    DIR* dir = ::fdopendir(listing);
    if (!dir) {
        ::close(listing);
        return names;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(dir);
    return names;
}

// Walks by descriptors, never by whole paths, so that it reaches folders
// whose paths are longer than the system takes. Special files are looked
// at, never opened; links are not followed.
void snapshotInto(int folder, const std::string& prefix, TreeState& state) {
    for (const std::string& name : namesIn(folder)) {
        struct stat info {};
        if (::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        EntryState entry;
        entry.mode = info.st_mode;
        entry.size = S_ISDIR(info.st_mode) ? 0 : info.st_size;
        entry.modifiedNs =
            static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
        entry.inode = info.st_ino;
        if (S_ISREG(info.st_mode)) {
            Fd file(::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
            if (file.get() >= 0)
                entry.contentHash = readAll(file.get());
        } else if (S_ISLNK(info.st_mode)) {
            char target[4096];
            const ssize_t length = ::readlinkat(folder, name.c_str(), target, sizeof target);
            if (length > 0)
                entry.linkTarget.assign(target, static_cast<std::size_t>(length));
        }
        const std::string path = prefix + "/" + name;
        state[path] = entry;
        if (S_ISDIR(info.st_mode)) {
            Fd sub(::openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
            if (sub.get() >= 0)
                snapshotInto(sub.get(), path, state);
        }
    }
}

TreeState snapshot(const fs::path& root) {
    TreeState state;
    Fd folder(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0)
        snapshotInto(folder.get(), "", state);
    return state;
}

// Removes everything below a folder by descriptors (std::filesystem can't
// reach past the system's path limit).
void removeContents(int folder) {
    for (const std::string& name : namesIn(folder)) {
        struct stat info {};
        if (::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISDIR(info.st_mode)) {
            ::fchmodat(folder, name.c_str(), 0700, 0);
            Fd sub(::openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW));
            if (sub.get() >= 0)
                removeContents(sub.get());
            ::unlinkat(folder, name.c_str(), AT_REMOVEDIR);
        } else {
            ::unlinkat(folder, name.c_str(), 0);
        }
    }
}

class HostileTree : public ::testing::Test {
protected:
    ~HostileTree() override {
        Fd root(::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (root.get() >= 0)
            removeContents(root.get());
    }

    void write(const std::string& name, const test::ByteVector& bytes) {
        fs::create_directories((dir / name).parent_path());
        test::writeFile(dir / name, bytes);
    }

    // Runs the folder harvest over the temporary folder, the disk's state
    // taken before and after.
    void scan() {
        before = snapshot(dir.path());
        FolderScan folderScan(window, keys, nullptr);
        completed = folderScan.run(dir.path());
        skipped = folderScan.skipped();
        after = snapshot(dir.path());
    }

    // The names (last path parts) of what the scan skipped.
    std::vector<std::string> skippedNames() const {
        std::vector<std::string> names;
        for (const messages::Skipped& entry : skipped)
            names.push_back(entry.path.filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::vector<std::uint32_t> cellColours() const {
        std::vector<std::uint32_t> colours;
        for (std::size_t i = 0; i < window.tiles().size(); ++i)
            colours.push_back(window.tiles().cell(i).pixel(16, 16));
        return colours;
    }

    // The one report at the scan's end.
    std::string report() const {
        return window.problems().size() == 1 ? window.problems()[0] : std::string();
    }

    test::TempDir dir;
    HeadlessWindow window;
    FolderKeys keys;
    TreeState before;
    TreeState after;
    bool completed = false;
    std::vector<messages::Skipped> skipped;
};

TEST_F(HostileTree, specialFilesNamedLikeExecutablesAreSkippedUnopenedAndNamed) {
    write("good.exe", executableWith({0x112233}));
    ASSERT_EQ(::mkfifo((dir / "x.exe").c_str(), 0600), 0);
    // Reading these would never end: /dev/zero has no end, /dev/null's
    // device node neither blocks nor holds anything an icon could be.
    fs::create_symlink("/dev/zero", dir / "zero.exe");
    std::vector<std::string> expected = {"x.exe", "zero.exe"};
    if (::mknod((dir / "null.exe").c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0)
        expected.push_back("null.exe");
    else
        std::cout << "no device node here (mknod: " << std::strerror(errno)
                  << "); the link to /dev/zero stands in for it\n";
    std::sort(expected.begin(), expected.end());

    scan();
    EXPECT_TRUE(completed);
    EXPECT_EQ(cellColours(), (std::vector<std::uint32_t>{0x112233}));
    EXPECT_EQ(skippedNames(), expected);
    for (const messages::Skipped& entry : skipped)
        EXPECT_EQ(entry.failure.kind, Failure::Kind::NotAFile) << entry.path;
    EXPECT_NE(report().find("不是普通文件"), std::string::npos) << report();
    for (const std::string& name : expected)
        EXPECT_NE(report().find(name), std::string::npos) << report();
    EXPECT_EQ(after, before);
}

TEST_F(HostileTree, linkLoopsAreWalkedOnce) {
    write("a.exe", executableWith({0x000001}));
    write("sub/b.exe", executableWith({0x000002}));
    fs::create_directory_symlink(dir.path(), dir / "sub" / "up");     // sub/up -> the root
    fs::create_directory_symlink(".", dir / "sub" / "self");          // sub/self -> sub
    fs::create_directory_symlink("../sub", dir / "sub" / "sideways"); // to sub again
    fs::create_symlink("loop.exe", dir / "loop.exe");                 // a link to itself
    scan();
    EXPECT_TRUE(completed);
    EXPECT_EQ(cellColours(), (std::vector<std::uint32_t>{0x000001, 0x000002}));
    EXPECT_EQ(skippedNames(), (std::vector<std::string>{"loop.exe"}));
    EXPECT_NE(report().find("loop.exe"), std::string::npos) << report();
    EXPECT_EQ(after, before);
}

TEST_F(HostileTree, namesThatAreNotUtf8OrHoldCjkAndSpacesAreHarvested) {
    const std::string badName = std::string("bad\xFF\xFE name") + ".exe";
    write(badName, executableWith({0x000001}));
    write("图标 文件夹/安装 程序.exe", executableWith({0x000002}));
    fs::create_directory(dir / std::string("\xC0\xAF folder"));
    write(std::string("\xC0\xAF folder/inner.EXE"), executableWith({0x000003}));
    scan();
    EXPECT_TRUE(completed);
    EXPECT_TRUE(skipped.empty());
    EXPECT_TRUE(window.problems().empty());
    std::vector<std::uint32_t> colours = cellColours();
    std::sort(colours.begin(), colours.end());
    EXPECT_EQ(colours, (std::vector<std::uint32_t>{1, 2, 3}));
    // The status line showed each path as readable text.
    const auto& history = window.statusHistory();
    EXPECT_NE(std::find(history.begin(), history.end(), displayText(dir / badName)), history.end());
    EXPECT_NE(
        std::find(history.begin(), history.end(), (dir / "图标 文件夹" / "安装 程序.exe").string()),
        history.end());
    EXPECT_EQ(after, before);
}

TEST_F(HostileTree, folderDeeperThanThePathLimitIsReportedAndTheScanEnds) {
    write("shallow.exe", executableWith({0x000001}));
    // Nest folders by descriptor until the path passes 4 000 bytes, with an
    // executable at the bottom.
    const std::string name(200, 'd');
    std::size_t pathBytes = dir.path().native().size();
    std::vector<std::unique_ptr<Fd>> chain;
    chain.push_back(std::make_unique<Fd>(::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY)));
    while (pathBytes <= 4200) {
        ASSERT_EQ(::mkdirat(chain.back()->get(), name.c_str(), 0755), 0) << std::strerror(errno);
        chain.push_back(std::make_unique<Fd>(
            ::openat(chain.back()->get(), name.c_str(), O_RDONLY | O_DIRECTORY)));
        ASSERT_GE(chain.back()->get(), 0);
        pathBytes += 1 + name.size();
    }
    {
        Fd deep(::openat(chain.back()->get(), "deep.exe", O_WRONLY | O_CREAT, 0644));
        const test::ByteVector bytes = executableWith({0x000002});
        ASSERT_EQ(::write(deep.get(), bytes.data(), bytes.size()),
                  static_cast<ssize_t>(bytes.size()));
    }
    ASSERT_GT(pathBytes, 4000u);

    scan();
    EXPECT_TRUE(completed);
    // What lies past the limit can't be reached; what lies before it is harvested.
    EXPECT_EQ(cellColours(), (std::vector<std::uint32_t>{0x000001}));
    ASSERT_EQ(skipped.size(), 1u);
    EXPECT_GT(skipped[0].path.native().size(), 4000u);
    // The system's reason, in the window's words.
    EXPECT_NE(report().find("（名称太长）"), std::string::npos) << report().substr(0, 200);
    EXPECT_NE(report().find(name), std::string::npos);
    EXPECT_EQ(after, before);
}

TEST_F(HostileTree, folderRemovedAfterItsParentWasListedIsReported) {
    write("a.exe", executableWith({0x000001}));
    write("b.exe", executableWith({0x000002}));
    write("gone/c.exe", executableWith({0x000003}));
    write("kept/d.exe", executableWith({0x000004}));
    // Once the root is listed, the harvest yields after each of its files;
    // the first yield takes "gone" away before the walk gets there.
    bool removed = false;
    window.onYield = [&] {
        if (!removed)
            removed = fs::remove_all(dir / "gone") > 0;
        return true;
    };
    const TreeState start = snapshot(dir.path());
    scan();
    EXPECT_TRUE(removed);
    EXPECT_TRUE(completed);
    EXPECT_EQ(cellColours(), (std::vector<std::uint32_t>{1, 2, 4}));
    EXPECT_EQ(skippedNames(), (std::vector<std::string>{"gone"}));
    EXPECT_NE(report().find("gone"), std::string::npos) << report();
    // Nothing changed but what the test took away.
    TreeState expected = start;
    std::erase_if(expected, [](const auto& entry) { return entry.first.starts_with("/gone"); });
    EXPECT_EQ(after, expected);
}

TEST_F(HostileTree, foldersAndFilesWithoutPermissionAreSkippedAndNamed) {
    write("open/a.exe", executableWith({0x000001}));
    write("locked/b.exe", executableWith({0x000002}));
    write("unreadable.exe", executableWith({0x000003}));
    fs::permissions(dir / "locked", fs::perms::none);
    fs::permissions(dir / "unreadable.exe", fs::perms::none);
    const TreeState start = snapshot(dir.path());
    // As root, the scan runs in a child that has given up root, where the
    // permissions bind; it reports through its exit status.
    const bool asExpected = test::runWithoutPrivileges([&] {
        HeadlessWindow childWindow;
        FolderKeys childKeys;
        FolderScan folderScan(childWindow, childKeys, nullptr);
        const bool finished = folderScan.run(dir.path());
        std::vector<std::string> names;
        for (const messages::Skipped& entry : folderScan.skipped())
            names.push_back(entry.path.filename().string());
        std::sort(names.begin(), names.end());
        const std::string message =
            childWindow.problems().size() == 1 ? childWindow.problems()[0] : std::string();
        const bool ok = finished && childWindow.tiles().size() == 1 &&
                        childWindow.tiles().cell(0).pixel(16, 16) == 0x000001 &&
                        names == std::vector<std::string>{"locked", "unreadable.exe"} &&
                        message.find("locked") != std::string::npos &&
                        message.find("unreadable.exe") != std::string::npos;
        if (!ok)
            std::cerr << "scan as an ordinary user: " << childWindow.tiles().size()
                      << " icons, report: " << message << "\n";
        return ok;
    });
    EXPECT_TRUE(asExpected);
    EXPECT_EQ(snapshot(dir.path()), start);
}

// Truncates a file once the first tile of it is in the collection, so that
// the rest of it is read from a shorter file.
class ShrinkAfterFirstTile : public TileListener {
public:
    void tilesAppended(std::size_t first, std::size_t) override {
        if (first == 0)
            fs::resize_file(shrinkFile, shrinkTo);
    }
    void tilesCleared() override {}
    fs::path shrinkFile;
    std::uintmax_t shrinkTo = 0;
};

TEST_F(HostileTree, fileThatShrinksWhileReadGivesPlainCellsNotACrash) {
    // More icons than are read ahead of the scan, so that the last ones are
    // read only after the file has been cut: those lose their images.
    const std::uint32_t ahead = IconPrefetch::IconsAhead;
    std::vector<test::GroupResource> groups;
    for (std::uint32_t i = 0; i < ahead + 2; ++i) {
        const bool late = i >= ahead;
        const int size = late ? 128 : 16;
        test::GroupResource group;
        group.name = static_cast<std::uint16_t>(i + 1);
        group.images = {{test::groupEntry(size % 256, size % 256, 32, 0),
                         test::solidDib(size, 32, late ? 0x0000FFu : 0xFF0000u)}};
        groups.push_back(group);
    }
    const test::ByteVector bytes = test::buildPe(groups);
    // Cut where the first late image begins (its header: 40, width 128, height 256).
    const std::uint8_t lateHeader[] = {40, 0, 0, 0, 128, 0, 0, 0, 0, 1, 0, 0};
    const auto cut =
        std::search(bytes.begin(), bytes.end(), std::begin(lateHeader), std::end(lateHeader));
    ASSERT_NE(cut, bytes.end());
    write("shrinking.exe", bytes);
    ShrinkAfterFirstTile shrink;
    shrink.shrinkFile = dir / "shrinking.exe";
    shrink.shrinkTo = static_cast<std::uintmax_t>(cut - bytes.begin());
    window.tiles().setListener(&shrink);
    FolderScan folderScan(window, keys, nullptr);
    EXPECT_TRUE(folderScan.run(dir.path()));
    window.tiles().setListener(nullptr);
    const TileCollection& tiles = window.tiles();
    ASSERT_EQ(tiles.size(), ahead + 2);
    EXPECT_EQ(tiles.cell(0).pixel(8, 8), 0xFF0000u);
    EXPECT_EQ(tiles.cell(ahead - 1).pixel(8, 8), 0xFF0000u);
    for (std::size_t i = ahead; i < ahead + 2; ++i) {
        for (std::uint32_t pixel : tiles.cell(i).pixels)
            ASSERT_EQ(pixel, HeadlessWindow::PreviewBackground) << "icon " << i + 1;
    }
    // Only the test cut the file; the scan wrote nothing to it.
    const test::ByteVector now = test::readFile(dir / "shrinking.exe");
    EXPECT_EQ(now, test::ByteVector(bytes.begin(), cut));
}

TEST_F(HostileTree, zeroByteExecutableHasNoIconsAndIsNoProblem) {
    write("a.exe", {});
    write("b.exe", executableWith({0x000002}));
    scan();
    EXPECT_TRUE(completed);
    EXPECT_EQ(cellColours(), (std::vector<std::uint32_t>{0x000002}));
    EXPECT_TRUE(skipped.empty());
    EXPECT_TRUE(window.problems().empty());
    EXPECT_EQ(after, before);
}

#else

TEST(HostileTree, posixOnly) {
    GTEST_SKIP() << "FIFOs, device nodes, descriptor walks and permission bits are POSIX things";
}

#endif

} // namespace
} // namespace orvu
