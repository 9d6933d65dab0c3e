#pragma once

#include <concepts>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Every text a person sees is named in the code by its English source and
// looked up here, in the language in use; the translations are compiled into
// the program from the translators' files in texts/po/. xgettext finds the
// texts by these functions' names (texts/extract-texts.sh): write the English
// as a literal in the call, never in a variable.
namespace orvu {

// The text in the language in use, UTF-8; English where the language has
// no translation of it.
const char* text(const char* english);
// The same, where one English text stands for different translations:
// `context` tells them apart ("tile caption" for "Icon %1").
const char* text(const char* context, const char* english);
// The form for the number n: in English `singular` for 1, `plural` otherwise.
const char* text(const char* singular, const char* plural, unsigned long n);

// Names a text of the catalogue where a table holds it, to be looked up
// later with text(): the English as it is. xgettext finds the texts so
// named too.
constexpr const char* textId(const char* english) {
    return english;
}

// `pattern` with %1 … %9 replaced by values[0] … values[8], in whatever
// order the translation puts them; any other character, a lone '%'
// included, stays as it is.
std::string fillIn(std::string_view pattern, std::span<const std::string> values);

namespace detail {
inline std::string valueText(std::string_view value) {
    return std::string(value);
}
template <std::integral Number> std::string valueText(Number value) {
    return std::to_string(value);
}
} // namespace detail

// fillIn(text("Cannot read the file \"%1\": %2"), path, reason): the values
// are texts or whole numbers.
template <typename... Values>
requires(sizeof...(Values) > 0) std::string
    fillIn(std::string_view pattern, const Values&... values) {
    const std::string texts[] = {detail::valueText(values)...};
    return fillIn(pattern, std::span<const std::string>(texts));
}

// The languages the program speaks: SourceLanguage, then each catalogue's.
std::vector<std::string_view> availableLanguages();
// The language in use: chosen from the environment (chooseLanguage) until
// useLanguage names one. A language without a catalogue shows English.
std::string_view languageInUse();
void useLanguage(std::string_view language);

} // namespace orvu
