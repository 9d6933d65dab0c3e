// liborvu-icons' reference calls as a program calls them, through the C
// interface alone: orvu_icons_open_reference() with and without a Windows
// root, orvu_icons_referenced_icon() and orvu_icons_source_path(), the
// statuses and messages of what can't be followed; orvu_icons_open() still
// reads exactly the file it names.

#include "orvu-icons.h"
#include "support/shortcut_builders.h"
#include "support/test_files.h"

#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>

namespace {

namespace fs = std::filesystem;
namespace test = orvu::test;

struct Opened {
    orvu_icons_status status = ORVU_ICONS_OK;
    std::string message;               // after a failure
    std::optional<std::uint32_t> icon; // orvu_icons_referenced_icon()
    std::string source;                // orvu_icons_source_path()
    std::uint32_t count = 0;           // orvu_icons_count()
    std::int32_t id = -1;              // the named icon's resource id
};

Opened open(const std::string& reference, const char* root) {
    orvu_icons_file* file = reinterpret_cast<orvu_icons_file*>(0x1); // must stay if it fails
    Opened opened;
    opened.status = orvu_icons_open_reference(reference.c_str(), root, &file);
    if (opened.status != ORVU_ICONS_OK) {
        EXPECT_EQ(file, reinterpret_cast<orvu_icons_file*>(0x1)) << reference;
        opened.message = orvu_icons_last_message();
        return opened;
    }
    const std::unique_ptr<orvu_icons_file, decltype(&orvu_icons_close)> owned(file,
                                                                              orvu_icons_close);
    std::uint32_t icon = 0;
    if (orvu_icons_referenced_icon(file, &icon) == ORVU_ICONS_OK) {
        opened.icon = icon;
        orvu_icons_icon* description = nullptr;
        EXPECT_EQ(orvu_icons_describe(file, icon, &description), ORVU_ICONS_OK);
        opened.id = orvu_icons_icon_id(description);
        orvu_icons_icon_free(description);
    }
    const char* source = nullptr;
    EXPECT_EQ(orvu_icons_source_path(file, &source), ORVU_ICONS_OK);
    opened.source = source ? source : "(null)";
    EXPECT_EQ(orvu_icons_count(file, &opened.count), ORVU_ICONS_OK);
    return opened;
}

class ReferenceCalls : public testing::Test {
protected:
    void SetUp() override { m_tree = test::writeReferenceTree(m_dir.path()); }

    std::string root() const { return m_tree.root.string(); }
    std::string under(const std::string& path) const { return (m_dir.path() / path).string(); }

    test::TempDir m_dir;
    test::ReferenceTree m_tree;
};

TEST_F(ReferenceCalls, nameTheIconAndTheFileItIsReadFrom) {
    const std::string shell32 = under("drive_c/Windows/System32/shell32.dll");
    const std::string mun = under("drive_c/Windows/SystemResources/imageres.dll.mun");
    struct Row {
        std::string reference;
        bool withRoot;
        std::string source;
        std::optional<std::uint32_t> icon;
        std::int32_t id;
        std::uint32_t count;
    };
    const std::vector<Row> rows = {
        {shell32, false, shell32, std::nullopt, -1, 3},
        {shell32 + ",-16", false, shell32, 2u, 16, 3},
        {"%SystemRoot%\\System32\\shell32.dll,1", true, shell32, 1u, 4, 3},
        {under("drive_c/Windows/System32/imageres.dll"), false, mun, std::nullopt, -1, 3},
        {under("links/Music.lnk"), true, mun, 1u, 3, 3},
        {under("links/App.lnk"), false, under("drive_c/Program Files/App/App.exe"), 0u, 100, 2},
    };
    for (const Row& row : rows) {
        const Opened opened = open(row.reference, row.withRoot ? root().c_str() : nullptr);
        ASSERT_EQ(opened.status, ORVU_ICONS_OK) << row.reference << ": " << opened.message;
        EXPECT_EQ(opened.source, row.source) << row.reference;
        EXPECT_EQ(opened.icon, row.icon) << row.reference;
        EXPECT_EQ(opened.id, row.id) << row.reference;
        EXPECT_EQ(opened.count, row.count) << row.reference;
    }
}

TEST_F(ReferenceCalls, whatCantBeFollowedFailsWithItsStatusAndWhy) {
    struct Row {
        std::string reference;
        std::optional<std::string> windowsRoot;
        orvu_icons_status status;
        std::string message; // a part of it
    };
    const std::vector<Row> rows = {
        {"C:\\Windows\\System32\\shell32.dll,0", std::nullopt, ORVU_ICONS_UNRESOLVED,
         "no Windows root"},
        {under("links/Shell.lnk"), std::nullopt, ORVU_ICONS_UNRESOLVED, "no Windows root"},
        {"%NOPE%\\x.dll,0", root(), ORVU_ICONS_UNRESOLVED, "%NOPE%"},
        {under("drive_c/Windows/System32/shell32.dll,-2"), std::nullopt, ORVU_ICONS_NO_SUCH_ICON,
         "resource id 2"},
        {"C:\\gone.dll,0", root(), ORVU_ICONS_SYSTEM_ERROR, ""},
        {under("links/Site.url"), under("links/Site.url"), ORVU_ICONS_NOT_A_FILE, "Windows root"},
    };
    for (const Row& row : rows) {
        const Opened opened =
            open(row.reference, row.windowsRoot ? row.windowsRoot->c_str() : nullptr);
        EXPECT_EQ(opened.status, row.status) << row.reference << ": " << opened.message;
        EXPECT_NE(opened.message.find(row.message), std::string::npos) << opened.message;
    }
    orvu_icons_file* file = nullptr;
    EXPECT_EQ(orvu_icons_open_reference(nullptr, nullptr, &file), ORVU_ICONS_INVALID_ARGUMENT);
    EXPECT_EQ(orvu_icons_open_reference("x", nullptr, nullptr), ORVU_ICONS_INVALID_ARGUMENT);
}

TEST_F(ReferenceCalls, theFirstOpenCallStillReadsExactlyTheFileItNames) {
    orvu_icons_file* file = nullptr;
    EXPECT_EQ(orvu_icons_open(under("links/Shell.lnk").c_str(), &file), ORVU_ICONS_NOT_ICON_FILE);
    EXPECT_EQ(orvu_icons_open(under("drive_c/Windows/System32/shell32.dll,1").c_str(), &file),
              ORVU_ICONS_SYSTEM_ERROR);
    const std::string stub = under("drive_c/Windows/System32/imageres.dll");
    ASSERT_EQ(orvu_icons_open(stub.c_str(), &file), ORVU_ICONS_OK);
    std::uint32_t count = 9;
    std::uint32_t icon = 9;
    const char* source = nullptr;
    EXPECT_EQ(orvu_icons_count(file, &count), ORVU_ICONS_OK);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(orvu_icons_referenced_icon(file, &icon), ORVU_ICONS_NO_SUCH_ICON);
    EXPECT_EQ(icon, 9u);
    EXPECT_EQ(orvu_icons_source_path(file, &source), ORVU_ICONS_OK);
    EXPECT_EQ(std::string(source), stub);
    orvu_icons_close(file);

    const std::vector<std::uint8_t> bytes = test::peWithIconIds({1});
    ASSERT_EQ(orvu_icons_open_memory(bytes.data(), bytes.size(), &file), ORVU_ICONS_OK);
    source = "unchanged";
    EXPECT_EQ(orvu_icons_source_path(file, &source), ORVU_ICONS_OK);
    EXPECT_EQ(source, nullptr);
    orvu_icons_close(file);
}

} // namespace
