// The files that name an icon kept elsewhere, read as the shell reads them:
// shell links (.lnk) of every layout the shell writes and hostile ones,
// Internet shortcuts (.url) and desktop.ini in every encoding, icon
// locations ("shell32.dll,-16"), environment variables, icon numbers, and
// the MUI resource of a system file whose icons are kept apart.

#include "icons/icon_library.h"
#include "icons/icon_location.h"
#include "icons/ini_shortcuts.h"
#include "icons/limits.h"
#include "icons/shell_link.h"
#include "icons/shortcut.h"
#include "icons/utf8.h"
#include "support/shortcut_builders.h"

#include <functional>
#include <gtest/gtest.h>
#include <limits>

namespace orvu {
namespace {

using test::BuiltShellLink;
using test::ByteVector;
using test::ShellLinkDescription;
using test::TextEncoding;
using Strings = std::vector<std::string>;

const std::string AppPath = "C:\\Program Files\\App\\App.exe";

// What a test does to a built link before it is read.
using Damage = std::function<void(BuiltShellLink&)>;

// Clears one of the header's LinkFlags, leaving what it announces in place.
void clearFlag(BuiltShellLink& built, std::uint32_t flag) {
    const std::uint32_t flags = *ByteView(built.bytes).u32(0x14);
    test::putU32(built.bytes, 0x14, flags & ~flag);
}

struct LinkRow {
    const char* name;
    ShellLinkDescription link;
    Strings iconFiles;
    std::int32_t number;
    Strings targets;
    Damage damage = nullptr;
    std::optional<Failure::Kind> failure = std::nullopt;
};

ShellLinkDescription withIcon(std::string file, std::int32_t number) {
    ShellLinkDescription link;
    link.iconLocation = std::move(file);
    link.iconIndex = number;
    return link;
}

ShellLinkDescription withTarget(std::string path) {
    ShellLinkDescription link;
    link.localBasePath = std::move(path);
    return link;
}

ShellLinkDescription viaIdList(std::uint16_t version) {
    ShellLinkDescription link;
    link.idListDrive = "C:\\";
    link.idListNames = {"Program Files", "App", "App.exe"};
    link.idListVersion = version;
    return link;
}

ShellLinkDescription with(ShellLinkDescription link,
                          const std::function<void(ShellLinkDescription&)>& change) {
    change(link);
    return link;
}

class ShellLinkReader : public testing::TestWithParam<LinkRow> {};

TEST_P(ShellLinkReader, namesTheIconOrTheTargetAsTheShellReadsIt) {
    const LinkRow& row = GetParam();
    BuiltShellLink built = test::buildShellLink(row.link);
    if (row.damage)
        row.damage(built);
    MemorySource source(built.bytes);
    ASSERT_EQ(shortcutKind("any name", ByteView(built.bytes)), ShortcutKind::ShellLink);
    const auto icon = readShortcut(ShortcutKind::ShellLink, source);
    if (row.failure) {
        ASSERT_FALSE(icon);
        EXPECT_EQ(icon.failure().kind, *row.failure);
        return;
    }
    ASSERT_TRUE(icon) << describe(icon.failure());
    EXPECT_EQ(icon->iconFiles, row.iconFiles);
    if (!row.iconFiles.empty()) {
        EXPECT_EQ(icon->number, row.number);
    }
    EXPECT_EQ(icon->targets, row.targets);
}

INSTANTIATE_TEST_SUITE_P(
    Links, ShellLinkReader,
    testing::Values(
        LinkRow{"iconLocationAndNumber",
                withIcon("%SystemRoot%\\system32\\shell32.dll", -16),
                {"%SystemRoot%\\system32\\shell32.dll"},
                -16,
                {}},
        LinkRow{"iconLocationInAnsi",
                with(withIcon("C:\\Spiele\\Käfer.exe", 2), [](auto& l) { l.unicode = false; }),
                {"C:\\Spiele\\Käfer.exe"},
                2,
                {}},
        LinkRow{"iconLocationAfterTheOtherStrings",
                with(withIcon("C:\\icons.dll", 7),
                     [](auto& l) {
                         l.name = "A comment";
                         l.relativePath = "..\\app.exe";
                         l.arguments = "--start \"x\"";
                     }),
                {"C:\\icons.dll"},
                7,
                {}},
        LinkRow{"iconEnvironmentBlockBeforeTheLocation",
                with(withIcon("C:\\Program Files\\App\\App.exe", 1),
                     [](auto& l) { l.iconEnvironment = "%ProgramFiles%\\App\\App.exe"; }),
                {"%ProgramFiles%\\App\\App.exe", "C:\\Program Files\\App\\App.exe"},
                1,
                {}},
        LinkRow{"targetWithoutAnIcon", withTarget(AppPath), {}, 0, {AppPath}},
        LinkRow{"targetsNumberIgnoredWithoutAnIcon",
                with(withTarget(AppPath), [](auto& l) { l.iconIndex = 3; }),
                {},
                0,
                {AppPath}},
        LinkRow{"targetInUnicodeLinkInfo",
                with(withTarget("C:\\Users\\张三\\应用.exe"),
                     [](auto& l) { l.unicodeLinkInfo = true; }),
                {},
                0,
                {"C:\\Users\\张三\\应用.exe"}},
        LinkRow{"targetPathAndItsSuffix",
                with(withTarget("C:\\Program Files\\"),
                     [](auto& l) { l.commonPathSuffix = "App\\App.exe"; }),
                {},
                0,
                {AppPath}},
        LinkRow{"targetOnANetworkShare",
                with(ShellLinkDescription{},
                     [](auto& l) {
                         l.networkShare = "\\\\server\\tools";
                         l.commonPathSuffix = "app.exe";
                     }),
                {},
                0,
                {"\\\\server\\tools\\app.exe"}},
        LinkRow{"targetOnANetworkShareInUnicode",
                with(ShellLinkDescription{},
                     [](auto& l) {
                         l.networkShare = "\\\\服务器\\工具";
                         l.commonPathSuffix = "应用.exe";
                         l.unicodeLinkInfo = true;
                     }),
                {},
                0,
                {"\\\\服务器\\工具\\应用.exe"}},
        LinkRow{"targetEnvironmentBlockFirst",
                with(withTarget(AppPath),
                     [](auto& l) { l.targetEnvironment = "%ProgramFiles%\\App\\App.exe"; }),
                {},
                0,
                {"%ProgramFiles%\\App\\App.exe", AppPath}},
        // A block whose flag is not set is not looked at.
        LinkRow{
            "targetEnvironmentBlockWithoutItsFlag",
            with(viaIdList(9), [](auto& l) { l.targetEnvironment = "%ProgramFiles%\\Other.exe"; }),
            {},
            0,
            {AppPath},
            [](BuiltShellLink& b) { clearFlag(b, 0x200); }},
        LinkRow{"iconEnvironmentBlockWithoutItsFlag",
                with(withIcon("C:\\icons.dll", 1),
                     [](auto& l) { l.iconEnvironment = "%SystemRoot%\\x.dll"; }),
                {"C:\\icons.dll"},
                1,
                {},
                [](BuiltShellLink& b) { clearFlag(b, 0x4000); }},
        LinkRow{"targetOfAnXpIdList", viaIdList(3), {}, 0, {AppPath}},
        LinkRow{"targetOfAnIdListOfUnicodeNames",
                with(viaIdList(9),
                     [](auto& l) {
                         l.idListNames = {"用户", "张三", "应用.exe"};
                     }),
                {},
                0,
                {"C:\\用户\\张三\\应用.exe"}},
        LinkRow{"targetOfAVistaIdList", viaIdList(7), {}, 0, {AppPath}},
        LinkRow{"targetOfAWindows7IdList", viaIdList(8), {}, 0, {AppPath}},
        LinkRow{"targetOfAWindows10IdList", viaIdList(9), {}, 0, {AppPath}},
        LinkRow{"relativePathLast",
                with(withTarget(AppPath), [](auto& l) { l.relativePath = "..\\App\\App.exe"; }),
                {},
                0,
                {AppPath, "..\\App\\App.exe"}},
        LinkRow{"linkInfoForcedAway",
                with(withTarget(AppPath),
                     [](auto& l) {
                         l.forceNoLinkInfo = true;
                         l.relativePath = "App.exe";
                     }),
                {},
                0,
                {"App.exe"}},
        // Hostile links: sizes and counts past the end, strings without their end.
        LinkRow{"idListPastTheEnd",
                viaIdList(9),
                {},
                0,
                {},
                [](BuiltShellLink& b) { test::putU16(b.bytes, b.idList, 0xFFFF); },
                Failure::Kind::Damaged},
        LinkRow{"idListItemPastItsList",
                viaIdList(9),
                {},
                0,
                {},
                [](BuiltShellLink& b) { test::putU16(b.bytes, b.idList + 2 + 20, 0x7FFF); }},
        LinkRow{"linkInfoPastTheEnd",
                withTarget(AppPath),
                {},
                0,
                {},
                [](BuiltShellLink& b) { test::putU32(b.bytes, b.linkInfo, 0x7FFFFFFF); },
                Failure::Kind::Damaged},
        LinkRow{"linkInfoPathOffsetPastTheInfo",
                withTarget(AppPath),
                {},
                0,
                {},
                [](BuiltShellLink& b) { test::putU32(b.bytes, b.linkInfo + 16, 0xFFFFFFF0); }},
        LinkRow{"linkInfoPathWithoutItsEnd",
                withTarget(AppPath),
                {},
                0,
                {},
                [](BuiltShellLink& b) {
                    // The path's NUL and the suffix after it become letters.
                    const std::uint32_t size = *ByteView(b.bytes).u32(b.linkInfo);
                    for (std::uint64_t i = b.linkInfo + 0x1C + 17; i < b.linkInfo + size; ++i)
                        b.bytes[i] = 'x';
                }},
        LinkRow{"iconAfterALinkInfoOfItsHeaderAlone",
                withIcon("C:\\icons.dll", 4),
                {"C:\\icons.dll"},
                4,
                {},
                [](BuiltShellLink& b) {
                    // A LinkInfo that names no path: its 0x1C-byte header, no flags.
                    ByteVector header(0x1C, 0);
                    test::putU32(header, 0, 0x1C);
                    test::putU32(header, 4, 0x1C);
                    b.bytes.insert(b.bytes.begin() + static_cast<std::ptrdiff_t>(b.linkInfo),
                                   header.begin(), header.end());
                    test::putU32(b.bytes, 0x14, *ByteView(b.bytes).u32(0x14) | 0x2);
                }},
        LinkRow{"stringPastTheEnd",
                withIcon("C:\\icons.dll", 1),
                {},
                0,
                {},
                [](BuiltShellLink& b) { test::putU16(b.bytes, b.iconString, 0xFFFF); },
                Failure::Kind::Damaged},
        LinkRow{"extraBlockPastTheEnd",
                with(withIcon("C:\\icons.dll", 1),
                     [](auto& l) { l.iconEnvironment = "%SystemRoot%\\x.dll"; }),
                {"C:\\icons.dll"},
                1,
                {},
                [](BuiltShellLink& b) { test::putU32(b.bytes, b.extraData, 0x7FFFFFF0); }},
        LinkRow{"environmentBlockWithoutItsEnd",
                with(withIcon("C:\\icons.dll", 1),
                     [](auto& l) { l.iconEnvironment = "%SystemRoot%\\x.dll"; }),
                {"C:\\icons.dll"},
                1,
                {},
                [](BuiltShellLink& b) {
                    std::fill(b.bytes.begin() + static_cast<std::ptrdiff_t>(b.extraData + 8),
                              b.bytes.begin() + static_cast<std::ptrdiff_t>(b.extraData + 0x314),
                              std::uint8_t{'A'});
                }},
        LinkRow{"cutAfterItsStrings",
                withIcon("C:\\icons.dll", 5),
                {"C:\\icons.dll"},
                5,
                {},
                [](BuiltShellLink& b) { b.bytes.resize(b.extraData); }}),
    [](const testing::TestParamInfo<LinkRow>& row) { return std::string(row.param.name); });

TEST(ShellLinkReader, aLinkCutInsideItsHeaderIsDamaged) {
    ByteVector bytes = test::buildShellLink(withIcon("C:\\x.dll", 0)).bytes;
    bytes.resize(40);
    MemorySource source(bytes);
    const auto link = readShellLink(source);
    ASSERT_FALSE(link);
    EXPECT_EQ(link.failure().kind, Failure::Kind::Damaged);
}

// A shortcut is read whole, up to a bound far above what a real one holds.
TEST(Shortcuts, areReadWholeUpToTheirLimit) {
    for (const std::uint64_t size : {limits::MaxShortcutBytes, limits::MaxShortcutBytes + 1}) {
        std::string text = "[InternetShortcut]\r\nIconFile=C:\\icons.dll\r\nIconIndex=2\r\n;";
        text.resize(size, 'x');
        MemorySource source(ByteVector(text.begin(), text.end()));
        const auto icon = readShortcut(ShortcutKind::InternetShortcut, source);
        if (size <= limits::MaxShortcutBytes) {
            ASSERT_TRUE(icon) << describe(icon.failure());
            EXPECT_EQ(icon->iconFiles, Strings{"C:\\icons.dll"});
        } else {
            ASSERT_FALSE(icon);
            EXPECT_EQ(icon.failure().kind, Failure::Kind::OverLimit);
        }
    }
}

// A settings text without a byte order mark is UTF-8 where it is that by
// RFC 3629 (else Latin-1): the edges of each length, overlong forms and
// UTF-16's surrogates.
TEST(SettingsText, isUtf8WhereRfc3629SaysSo) {
    const std::pair<std::string_view, bool> cases[] = {
        {"C:\\\xE5\x9B\xBE\xE6\xA0\x87.dll", true},
        {"\xC2\x80", true},
        {"\xDF\xBF", true},
        {"\xC1\xBF", false},
        {"\xE0\xA0\x80", true},
        {"\xE0\x9F\xBF", false},
        {"\xED\x9F\xBF", true},
        {"\xED\xA0\x80", false},
        {"\xED\xBF\xBF", false},
        {"\xEE\x80\x80", true},
        {"\xEF\xBF\xBF", true},
        {"\xF0\x90\x80\x80", true},
        {"\xF0\x8F\xBF\xBF", false},
        {"\xF4\x8F\xBF\xBF", true},
        {"\xF4\x90\x80\x80", false},
        {"\xE5\x9B", false},
        {"K\xE4"
         "fer",
         false},
    };
    for (const auto& [text, utf8] : cases)
        EXPECT_EQ(isUtf8(text), utf8) << testing::PrintToString(std::string(text));
}

// UTF-16 (of links and settings texts) with characters past U+FFFF, and
// surrogates without their pair, which show as U+FFFD.
TEST(SettingsText, utf16IsReadWithItsSurrogatePairs) {
    const std::pair<std::vector<std::uint16_t>, std::string> cases[] = {
        {{'a', 0xD83D, 0xDE00, 'b', 0x56FE}, "a\U0001F600b\u56FE"},
        {{0xD840, 0xDC00, 0xD840, 0xDC01}, "\U00020000\U00020001"},
        {{0xDBFF, 0xDFFF, 0xD800, 0xDC00}, "\U0010FFFF\U00010000"},
        {{'a', 0xD83D, 'b'}, "a\uFFFDb"},
        {{0xDE00, 'b', 0xD83D}, "\uFFFDb\uFFFD"},
    };
    for (const auto& [units, utf8] : cases) {
        ByteVector bytes;
        for (const std::uint16_t unit : units)
            bytes.insert(bytes.end(), {static_cast<std::uint8_t>(unit & 0xFF),
                                       static_cast<std::uint8_t>(unit >> 8)});
        EXPECT_EQ(utf16ToUtf8(ByteView(bytes)), utf8);
    }
}

struct IniRow {
    const char* name;
    ShortcutKind kind;
    std::string text;
    std::optional<IconLocation> icon;
    TextEncoding encoding = TextEncoding::Utf8;
};

class IniShortcuts : public testing::TestWithParam<IniRow> {};

TEST_P(IniShortcuts, nameTheIconAsWindowsReadsThem) {
    const IniRow& row = GetParam();
    MemorySource source(test::settingsText(row.text, row.encoding));
    const auto icon = readShortcut(row.kind, source);
    ASSERT_TRUE(icon);
    if (!row.icon) {
        EXPECT_TRUE(icon->iconFiles.empty());
        return;
    }
    EXPECT_EQ(icon->iconFiles, Strings{row.icon->file});
    EXPECT_EQ(icon->number, *row.icon->number);
}

constexpr auto Url = ShortcutKind::InternetShortcut;
constexpr auto Folder = ShortcutKind::FolderSettings;

INSTANTIATE_TEST_SUITE_P(
    Files, IniShortcuts,
    testing::Values(
        IniRow{"urlIconFileAndIndex", Url,
               "[InternetShortcut]\nURL=https://example.org/\nIconFile=C:\\x.ico\nIconIndex=2\n",
               IconLocation{"C:\\x.ico", 2}},
        IniRow{"urlWithoutIndex", Url, "[InternetShortcut]\nIconFile=C:\\x.ico\n",
               IconLocation{"C:\\x.ico", 0}},
        IniRow{"urlNegativeIndex", Url, "[InternetShortcut]\nIconIndex=-13\nIconFile=x.dll\n",
               IconLocation{"x.dll", -13}},
        IniRow{"urlWithoutIcon", Url, "[InternetShortcut]\nURL=https://example.org/\n",
               std::nullopt},
        IniRow{"urlIconInAnotherSection", Url,
               "[DEFAULT]\nIconFile=C:\\x.ico\n[InternetShortcut]\nURL=x\n", std::nullopt},
        IniRow{"urlNamesInAnyCaseAndBlanks", Url,
               "; made by hand\n[internetshortcut]\n  iconfile = \"C:\\a b.ico\" \nICONINDEX= 1\n",
               IconLocation{"C:\\a b.ico", 1}},
        IniRow{"urlFirstOfTwo", Url,
               "[InternetShortcut]\nIconFile=first.ico\nIconFile=second.ico\n",
               IconLocation{"first.ico", 0}},
        IniRow{"urlLatin1", Url, "[InternetShortcut]\nIconFile=C:\\Bücher.ico\n",
               IconLocation{"C:\\Bücher.ico", 0}, TextEncoding::Latin1},
        IniRow{"desktopIconResource", Folder,
               "[.ShellClassInfo]\nIconResource=%SystemRoot%\\system32\\imageres.dll,-3\n",
               IconLocation{"%SystemRoot%\\system32\\imageres.dll", -3}},
        IniRow{"desktopIconResourceWithoutNumber", Folder,
               "[.ShellClassInfo]\nIconResource=folder.ico\n", IconLocation{"folder.ico", 0}},
        IniRow{"desktopIconFileAndIndex", Folder,
               "[.ShellClassInfo]\nIconFile=C:\\x.dll\nIconIndex=4\n",
               IconLocation{"C:\\x.dll", 4}},
        IniRow{"desktopIconResourceBeforeIconFile", Folder,
               "[.ShellClassInfo]\nIconFile=old.ico\nIconIndex=9\nIconResource=new.dll,1\n",
               IconLocation{"new.dll", 1}},
        IniRow{"desktopInUtf16", Folder, "[.ShellClassInfo]\nIconResource=C:\\图标.dll,2\n",
               IconLocation{"C:\\图标.dll", 2}, TextEncoding::Utf16WithMark},
        IniRow{"desktopInUtf8WithMark", Folder, "[.ShellClassInfo]\nIconResource=C:\\图标.dll,2\n",
               IconLocation{"C:\\图标.dll", 2}, TextEncoding::Utf8WithMark},
        IniRow{"desktopWithoutIcon", Folder, "[.ShellClassInfo]\nLocalizedResourceName=@x,-1\n",
               std::nullopt}),
    [](const testing::TestParamInfo<IniRow>& row) { return std::string(row.param.name); });

TEST(ShortcutKind, isTakenFromTheHeaderOrTheName) {
    const ByteVector text = test::settingsText("[InternetShortcut]\n");
    EXPECT_EQ(shortcutKind("Site.URL", ByteView(text)), ShortcutKind::InternetShortcut);
    EXPECT_EQ(shortcutKind("DESKTOP.INI", ByteView(text)), ShortcutKind::FolderSettings);
    EXPECT_EQ(shortcutKind("my desktop.ini", ByteView(text)), ShortcutKind::None);
    EXPECT_EQ(shortcutKind("notes.txt", ByteView(text)), ShortcutKind::None);
    const ByteVector link = test::buildShellLink(withIcon("x.dll", 0)).bytes;
    EXPECT_EQ(shortcutKind("renamed.txt", ByteView(link)), ShortcutKind::ShellLink);
}

TEST(IconLocation, isSplitAtItsLastCommaBeforeANumber) {
    const std::vector<std::pair<std::string, std::optional<IconLocation>>> rows = {
        {"shell32.dll,-16", IconLocation{"shell32.dll", -16}},
        {"shell32.dll,0", IconLocation{"shell32.dll", 0}},
        {"a,b.dll,3", IconLocation{"a,b.dll", 3}},
        {" \"C:\\Program Files\\a b.exe\" , 2 ", IconLocation{"C:\\Program Files\\a b.exe", 2}},
        {"x.dll,-2147483648", IconLocation{"x.dll", std::numeric_limits<std::int32_t>::min()}},
        {"x.dll", std::nullopt},
        {"x.dll,", std::nullopt},
        {"x.dll,abc", std::nullopt},
        {"x.dll,3a", std::nullopt},
        {"x.dll,--3", std::nullopt},
        {",3", std::nullopt},
        {"x.dll,2147483648", std::nullopt},
    };
    for (const auto& [text, expected] : rows)
        EXPECT_EQ(splitIconLocation(text), expected) << text;
}

TEST(IconLocation, variablesAreExpandedOnceSoThatTheyCannotLoop) {
    const VariableLookup lookup = [](std::string_view name) -> std::optional<std::string> {
        if (name == "A")
            return "%B%";
        if (name == "B")
            return "%A%";
        if (name == "SELF")
            return "%SELF%\\x";
        if (name == "ROOT")
            return "C:\\Windows";
        return std::nullopt;
    };
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"%ROOT%\\System32\\shell32.dll", "C:\\Windows\\System32\\shell32.dll"},
        {"%A%%B%", "%B%%A%"},
        {"%SELF%", "%SELF%\\x"},
        {"100% sure", "100% sure"},
        {"a%%b", "a%%b"},
        {"%ROOT%%", "C:\\Windows%"},
    };
    for (const auto& [text, expected] : rows) {
        const auto expanded = expandVariables(text, lookup);
        ASSERT_TRUE(expanded) << text;
        EXPECT_EQ(*expanded, expected) << text;
    }
    const auto unknown = expandVariables("%NOPE%\\x.dll", lookup);
    ASSERT_FALSE(unknown);
    EXPECT_EQ(unknown.failure().kind, Failure::Kind::Unresolved);
    EXPECT_NE(unknown.failure().detail.find("%NOPE%"), std::string::npos);
}

TEST(IconLocation, numbersNameAnIndexOrAResourceIdAsWindowsDoes) {
    IconLibrary library = IconLibrary::fromBytes(test::peWithIconIds({1, 4, 16}), nullptr);
    const std::vector<std::pair<std::int32_t, std::optional<std::uint32_t>>> rows = {
        {0, 0u},
        {2, 2u},
        {3, std::nullopt},
        {-1, 0u},
        {-4, 1u},
        {-16, 2u},
        {-2, std::nullopt},
        {-65536 - 16, std::nullopt},
        {std::numeric_limits<std::int32_t>::min(), std::nullopt},
    };
    for (const auto& [number, expected] : rows) {
        const auto icon = iconNumbered(library, number);
        if (expected) {
            ASSERT_TRUE(icon) << number;
            EXPECT_EQ(*icon, *expected) << number;
        } else {
            ASSERT_FALSE(icon) << number;
            EXPECT_EQ(icon.failure().kind, Failure::Kind::NoSuchIcon) << number;
        }
    }
}

TEST(MuiResource, isFoundByItsTypesNameWithOrWithoutIcons) {
    test::PeOptions mui;
    mui.others = {{std::u16string(u"mui"), std::uint16_t{1}, ByteVector(8, 1)}};
    test::PeOptions other;
    other.others = {{std::u16string(u"MUX"), std::uint16_t{1}, ByteVector(8, 1)}};
    test::GroupResource icon;
    icon.name = std::uint16_t{1};
    icon.images = {{test::groupEntry(16, 16, 4, 0), test::solidDib(16, 4, 0xFF)}};
    EXPECT_TRUE(IconLibrary::fromBytes(test::muiStub(), nullptr).hasMuiResource());
    EXPECT_EQ(IconLibrary::fromBytes(test::muiStub(), nullptr).count(), 0u);
    EXPECT_TRUE(IconLibrary::fromBytes(test::buildPe({icon}, mui), nullptr).hasMuiResource());
    EXPECT_FALSE(IconLibrary::fromBytes(test::buildPe({icon}, other), nullptr).hasMuiResource());
    EXPECT_FALSE(IconLibrary::fromBytes(test::buildPe({icon}), nullptr).hasMuiResource());
}

} // namespace
} // namespace orvu
