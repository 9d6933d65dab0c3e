#include "texts/text.h"

#include "texts/compiled_catalogues.h"
#include "texts/language.h"

#include <atomic>
#include <optional>

namespace orvu {
namespace {

struct Language {
    std::string_view name;
    std::optional<Catalogue> catalogue; // none for English
};

// The languages read once, at the first text: the catalogues' texts stay in
// the program's own bytes.
const std::vector<Language>& languages() {
    static const std::vector<Language> read = [] {
        std::vector<Language> all{{SourceLanguage, std::nullopt}};
        for (const CompiledCatalogue& compiled : compiledCatalogues())
            all.push_back({compiled.language, Catalogue::read(compiled.mo, compiled.plural)});
        return all;
    }();
    return read;
}

const Language* languageNamed(std::string_view name) {
    for (const Language& language : languages()) {
        if (language.name == name)
            return &language;
    }
    return nullptr;
}

std::atomic<const Language*> chosen{nullptr};

const Language& inUse() {
    if (const Language* language = chosen.load())
        return *language;
    const std::vector<std::string_view> available = availableLanguages();
    const Language* fromEnvironment =
        languageNamed(chooseLanguage(localeSettingsOfEnvironment(), available));
    const Language* expected = nullptr;
    chosen.compare_exchange_strong(expected, fromEnvironment ? fromEnvironment : &languages()[0]);
    return *chosen.load();
}

} // namespace

const char* text(const char* english) {
    return text("", english);
}

const char* text(const char* context, const char* english) {
    const Language& language = inUse();
    const char* translation =
        language.catalogue ? language.catalogue->find(context, english) : nullptr;
    return translation ? translation : english;
}

const char* text(const char* singular, const char* plural, unsigned long n) {
    const Language& language = inUse();
    const char* translation =
        language.catalogue ? language.catalogue->find("", singular, n) : nullptr;
    if (translation)
        return translation;
    return n == 1 ? singular : plural;
}

std::string fillIn(std::string_view pattern, std::span<const std::string> values) {
    std::string filled;
    filled.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const bool placeholder = pattern[i] == '%' && i + 1 < pattern.size() &&
                                 pattern[i + 1] >= '1' && pattern[i + 1] <= '9' &&
                                 static_cast<std::size_t>(pattern[i + 1] - '1') < values.size();
        if (placeholder) {
            filled += values[static_cast<std::size_t>(pattern[i + 1] - '1')];
            ++i;
        } else {
            filled += pattern[i];
        }
    }
    return filled;
}

std::vector<std::string_view> availableLanguages() {
    std::vector<std::string_view> names;
    for (const Language& language : languages())
        names.push_back(language.name);
    return names;
}

std::string_view languageInUse() {
    return inUse().name;
}

void useLanguage(std::string_view name) {
    const Language* language = languageNamed(name);
    chosen.store(language ? language : &languages()[0]);
}

} // namespace orvu
