#include "texts/language.h"

#include <cstdlib>

namespace orvu {
namespace {

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// "zh_CN.UTF-8@variant" → "zh_CN"; "zh_CN" → "zh".
std::string_view withoutCodeset(std::string_view locale) {
    return locale.substr(0, locale.find_first_of(".@"));
}
std::string_view languagePart(std::string_view locale) {
    return locale.substr(0, locale.find_first_of("_.@"));
}

bool isCLocale(std::string_view locale) {
    const std::string_view name = withoutCodeset(locale);
    return name == "C" || name == "POSIX";
}

// The available language a locale or LANGUAGE entry names: the same
// language and country first, then the same language.
std::string_view namedLanguage(std::string_view locale,
                               std::span<const std::string_view> available) {
    const std::string_view name = withoutCodeset(locale);
    if (name.empty() || isCLocale(locale))
        return {};
    for (const std::string_view language : available) {
        if (language == name)
            return language;
    }
    for (const std::string_view language : available) {
        if (languagePart(language) == languagePart(name))
            return language;
    }
    return {};
}

} // namespace

LocaleSettings localeSettingsOfEnvironment() {
    return {variable("LANGUAGE"), variable("LC_ALL"), variable("LC_MESSAGES"), variable("LANG")};
}

std::string_view chooseLanguage(const LocaleSettings& settings,
                                std::span<const std::string_view> available) {
    std::string_view preferences = settings.language;
    while (!preferences.empty()) {
        const std::size_t colon = preferences.find(':');
        const std::string_view entry = preferences.substr(0, colon);
        if (const std::string_view language = namedLanguage(entry, available); !language.empty())
            return language;
        preferences = colon == std::string_view::npos ? "" : preferences.substr(colon + 1);
    }
    for (const std::string* locale : {&settings.lcAll, &settings.lcMessages, &settings.lang}) {
        if (locale->empty())
            continue;
        if (isCLocale(*locale))
            return DesignLanguage;
        const std::string_view language = namedLanguage(*locale, available);
        return language.empty() ? SourceLanguage : language;
    }
    return DesignLanguage;
}

} // namespace orvu
