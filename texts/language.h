#pragma once

#include <span>
#include <string>
#include <string_view>

namespace orvu {

// The language the windows speak is named by its catalogue ("zh_CN"), or is
// English, the language the texts are written in.
inline constexpr std::string_view SourceLanguage = "en";
// The language of the windows' design, which the C locale shows.
inline constexpr std::string_view DesignLanguage = "zh_CN";

// The settings that name the user's language, as a POSIX environment holds
// them; empty where unset. A front end that learns the language elsewhere
// (the user's interface language on Windows) puts it in `lang`.
struct LocaleSettings {
    std::string language;   // LANGUAGE: preferences separated by colons, "de:en"
    std::string lcAll;      // LC_ALL
    std::string lcMessages; // LC_MESSAGES
    std::string lang;       // LANG
};

LocaleSettings localeSettingsOfEnvironment();

// The first of `available` (SourceLanguage and the catalogues' languages)
// that the settings ask for: the first entry of LANGUAGE that names one of
// them, otherwise the locale that LC_ALL, LC_MESSAGES or LANG sets, in that
// order. The C and POSIX locales, and no locale at all, give DesignLanguage;
// a locale of a language without a catalogue gives SourceLanguage.
std::string_view chooseLanguage(const LocaleSettings& settings,
                                std::span<const std::string_view> available);

} // namespace orvu
