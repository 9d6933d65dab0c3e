// Which language a person's settings choose, and what they read in it.

#include "harvest/messages.h"
#include "harvest/tiles.h"
#include "support/c_locale.h"
#include "texts/compiled_catalogues.h"
#include "texts/language.h"
#include "texts/text.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace orvu {
namespace {

TEST(LanguageChoice, languageThenTheLocaleAndTheDesignsChineseInTheCLocale) {
    const std::vector<std::string_view> available{SourceLanguage, DesignLanguage};
    struct Row {
        LocaleSettings settings; // LANGUAGE, LC_ALL, LC_MESSAGES, LANG
        std::string_view shown;
    };
    const Row rows[] = {
        {{"", "", "", ""}, DesignLanguage},
        {{"", "", "", "C"}, DesignLanguage},
        {{"", "", "", "C.UTF-8"}, DesignLanguage},
        {{"", "", "", "POSIX"}, DesignLanguage},
        {{"", "", "", "zh_CN.UTF-8"}, DesignLanguage},
        {{"", "", "", "zh_TW.UTF-8"}, DesignLanguage},
        {{"", "", "", "en_US.UTF-8"}, SourceLanguage},
        {{"", "", "", "de_DE.UTF-8"}, SourceLanguage},
        // LANGUAGE wins, even over the C locale; its first entry that names
        // a language the program speaks.
        {{"en", "", "", ""}, SourceLanguage},
        {{"en", "", "", "C"}, SourceLanguage},
        {{"en_GB:zh_CN", "", "", "zh_CN.UTF-8"}, SourceLanguage},
        {{"de:zh_CN", "", "", "en_US.UTF-8"}, DesignLanguage},
        {{"de", "", "", "zh_CN.UTF-8"}, DesignLanguage},
        {{"de", "", "", ""}, DesignLanguage},
        // LC_ALL over LC_MESSAGES over LANG.
        {{"", "C", "", "en_US.UTF-8"}, DesignLanguage},
        {{"", "de_DE.UTF-8", "zh_CN.UTF-8", ""}, SourceLanguage},
        {{"", "", "en_GB.UTF-8", "zh_CN.UTF-8"}, SourceLanguage},
        {{"", "", "zh_CN.UTF-8", "en_GB.UTF-8"}, DesignLanguage},
    };
    for (const Row& row : rows) {
        const LocaleSettings& s = row.settings;
        EXPECT_EQ(chooseLanguage(s, available), row.shown)
            << "LANGUAGE=" << s.language << " LC_ALL=" << s.lcAll << " LC_MESSAGES=" << s.lcMessages
            << " LANG=" << s.lang;
    }
}

ImageDescription cursorImage() {
    return {32, 32, 32, 0, ImageFormat::Dib, 4264, Hotspot{3, 9}, std::nullopt};
}

TEST(Texts, readInEachLanguageWithTheirValuesInTheirPlaces) {
    const IconOrigin origin{std::make_shared<std::filesystem::path>("a.exe"), 1};
    const IconName name{7, "", 2052};
    struct Row {
        std::string_view language;
        std::function<std::string()> shown;
        std::string expected;
    };
    const Row rows[] = {
        {DesignLanguage, [] { return tileText(3); }, "图标3"},
        {SourceLanguage, [] { return tileText(3); }, "Icon 3"},
        // One English text, two Chinese ones.
        {DesignLanguage, [&] { return messages::iconHeading(2, name); },
         "图标 3 · ID 7 · 语言 2052"},
        {SourceLanguage, [&] { return messages::iconHeading(2, name); },
         "Icon 3 · ID 7 · Language 2052"},
        // The values where each language puts them.
        {DesignLanguage,
         [&] {
             return messages::cannotReadIcon(origin, {Failure::Kind::Damaged, ""});
         },
         "无法读取文件“a.exe”中的图标 2：文件已损坏"},
        {SourceLanguage,
         [&] {
             return messages::cannotReadIcon(origin, {Failure::Kind::Damaged, ""});
         },
         "Cannot read icon 2 of the file \"a.exe\": the file is damaged"},
        // English has a singular; Chinese has one form.
        {SourceLanguage, [] { return messages::savedSummary(1, {}, false); }, "Saved 1 icon."},
        {SourceLanguage, [] { return messages::savedSummary(2, {}, true); },
         "Saving stopped. Saved 2 icons."},
        {DesignLanguage, [] { return messages::savedSummary(1, {}, false); }, "已保存 1 个图标。"},
        {DesignLanguage, [] { return messages::savedSummary(2, {}, true); },
         "保存已停止。已保存 2 个图标。"},
        // Zero takes English's plural and Chinese's one form.
        {SourceLanguage, [] { return messages::savedSummary(0, {}, false); }, "Saved 0 icons."},
        {DesignLanguage, [] { return messages::savedSummary(0, {}, false); }, "已保存 0 个图标。"},
        // A cursor image's label ends with its hotspot.
        {DesignLanguage, [] { return messages::imageLabel(cursorImage()); },
         "32 × 32 · 32 位 · BMP · 热点 (3, 9)"},
        {SourceLanguage, [] { return messages::imageLabel(cursorImage()); },
         "32 × 32 · 32-bit · BMP · Hotspot (3, 9)"},
        {DesignLanguage, [] { return cursorTileText(2); }, "光标2"},
        {SourceLanguage, [] { return cursorTileText(2); }, "Cursor 2"},
        // A language without a catalogue reads English.
        {"de", [] { return tileText(3); }, "Icon 3"},
    };
    for (const Row& row : rows) {
        const test::InLanguage language(row.language);
        EXPECT_EQ(row.shown(), row.expected) << row.language;
    }
}

// Values go where a placeholder of theirs stands, and nowhere else: a % at
// the end of a text (here cut from a longer one) stays a %.
TEST(Texts, valuesGoOnlyWhereTheirPlaceholdersStand) {
    const std::vector<std::string> values = {"a", "b"};
    const std::pair<std::string_view, std::string> cases[] = {
        {"%2 of %1", "b of a"},
        {"100%", "100%"},
        {std::string_view("50%1").substr(0, 3), "50%"},
        {"%3 %0 %x", "%3 %0 %x"},
    };
    for (const auto& [pattern, filled] : cases)
        EXPECT_EQ(fillIn(pattern, std::span<const std::string>(values)), filled) << pattern;
}

// A compiled catalogue (.mo) of the texts given, each source with its
// translation; its first entry the header.
std::vector<std::uint8_t>
compiledCatalogue(const std::vector<std::pair<std::string, std::string>>& texts) {
    std::vector<std::pair<std::string, std::string>> entries{{"", "Plural-Forms: nplurals=3;\n"}};
    entries.insert(entries.end(), texts.begin(), texts.end());
    const auto count = static_cast<std::uint32_t>(entries.size());
    std::vector<std::uint8_t> mo(28 + 16 * count);
    const auto put = [&mo](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            mo[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    };
    put(0, 0x950412DE);
    put(8, count);
    put(12, 28);
    put(16, 28 + 8 * count);
    for (std::uint32_t i = 0; i < count; ++i) {
        for (const auto& [table, text] :
             {std::pair{28u, entries[i].first}, std::pair{28u + 8 * count, entries[i].second}}) {
            put(table + 8 * i, static_cast<std::uint32_t>(text.size()));
            put(table + 8 * i + 4, static_cast<std::uint32_t>(mo.size()));
            mo.insert(mo.end(), text.begin(), text.end());
            mo.push_back(0);
        }
    }
    return mo;
}

// A language of three forms: one, a few (2-4, 22-24, …), many.
unsigned long threeForms(unsigned long n) {
    return n == 1 ? 0 : n % 10 >= 2 && n % 10 <= 4 && (n % 100 < 10 || n % 100 >= 20) ? 1 : 2;
}

TEST(Catalogue, eachNumberGetsTheFormTheLanguagesRuleNames) {
    using namespace std::string_literals;
    const auto mo = compiledCatalogue({{"%1 file\0%1 files"s, "one %1\0few %1\0many %1"s},
                                       {"menu\x04Open"s, "open from the menu"s},
                                       {"Open"s, "open"s}});
    const auto catalogue = Catalogue::read(mo, threeForms);
    ASSERT_TRUE(catalogue);
    struct Row {
        unsigned long n;
        std::string form;
    };
    const Row rows[] = {{0, "many %1"},  {1, "one %1"},   {2, "few %1"},
                        {4, "few %1"},   {5, "many %1"},  {11, "many %1"},
                        {12, "many %1"}, {21, "many %1"}, {22, "few %1"}};
    for (const Row& row : rows)
        EXPECT_EQ(catalogue->find("", "%1 file", row.n), row.form) << row.n;
    EXPECT_STREQ(catalogue->find("", "Open"), "open");
    EXPECT_STREQ(catalogue->find("menu", "Open"), "open from the menu");
    EXPECT_EQ(catalogue->find("", "%1 files"), nullptr);
    EXPECT_EQ(catalogue->find("", "Close"), nullptr);
    // A rule that names a form past the last gives the last.
    const auto pastTheLast = Catalogue::read(mo, [](unsigned long) { return 7ul; });
    ASSERT_TRUE(pastTheLast);
    EXPECT_STREQ(pastTheLast->find("", "%1 file", 1), "many %1");
}

TEST(Catalogue, oneCutShortIsRefusedNotReadPastItsEnd) {
    ASSERT_FALSE(compiledCatalogues().empty());
    const CompiledCatalogue& compiled = compiledCatalogues()[0];
    ASSERT_TRUE(Catalogue::read(compiled.mo, compiled.plural));
    for (std::size_t size = 0; size < compiled.mo.size(); ++size)
        EXPECT_FALSE(Catalogue::read(compiled.mo.first(size), compiled.plural)) << size;
}

// A catalogue whose tables follow its texts, as a .mo may lay them out,
// damaged in each field a text is found by: each is refused, none read past.
TEST(Catalogue, aDamagedTableEntryIsRefused) {
    using Mo = std::vector<std::uint8_t>;
    const Mo whole = [] {
        Mo mo = compiledCatalogue({{"Open", "open"}, {"Close", "close"}});
        const std::uint32_t count = 3;
        const auto tablesEnd = static_cast<std::ptrdiff_t>(28 + 16 * count);
        const auto moved = static_cast<std::uint32_t>(mo.size());
        mo.insert(mo.end(), mo.begin() + 28, mo.begin() + tablesEnd);
        for (const auto& [field, table] : {std::pair{12, moved}, std::pair{16, moved + 8 * count}})
            for (int i = 0; i < 4; ++i)
                mo[field + i] = static_cast<std::uint8_t>(table >> (8 * i));
        return mo;
    }();
    const auto lastLengthAt = whole.size() - 8;
    const auto textsEnd = whole.size() - 16 * 3; // where the tables were moved to
    const struct {
        const char* what;
        std::function<void(Mo&)> damage;
    } cases[] = {
        {"the last translation's offset cut off", [](Mo& mo) { mo.resize(mo.size() - 4); }},
        {"its length cut in half", [](Mo& mo) { mo.resize(mo.size() - 6); }},
        {"a length past the file",
         [&](Mo& mo) {
             for (int i = 0; i < 4; ++i)
                 mo[lastLengthAt + i] = i == 3 ? 0x7F : 0xF0;
         }},
        {"the last text without its NUL", [&](Mo& mo) { mo[textsEnd - 1] = 'x'; }},
        {"another magic", [](Mo& mo) { std::reverse(mo.begin(), mo.begin() + 4); }},
    };
    const auto read = [](const Mo& mo) { return Catalogue::read(mo, threeForms); };
    ASSERT_TRUE(read(whole));
    EXPECT_STREQ(read(whole)->find("", "Close"), "close");
    for (const auto& c : cases) {
        Mo damaged = whole;
        c.damage(damaged);
        EXPECT_FALSE(read(damaged)) << c.what;
    }
}

} // namespace
} // namespace orvu
