#pragma once

#include "icons/byte_view.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <unordered_map>

namespace orvu {

// One language's translations, read from a compiled message catalogue (the
// .mo file that msgfmt makes from a translator's .po file). The texts stay in
// the catalogue's bytes, which must outlive it.
class Catalogue {
public:
    // Which of a translation's forms serves the number n (the catalogue's
    // Plural-Forms rule).
    using PluralRule = unsigned long (*)(unsigned long n);

    // nullopt where the bytes are no catalogue or a text runs outside them.
    static std::optional<Catalogue> read(Bytes mo, PluralRule plural);

    // The translation of `english` (in `context`, where one is given), or
    // null where the catalogue has none. Every text ends in a NUL.
    const char* find(std::string_view context, std::string_view english) const;
    // The form for the number n of a text with plural forms.
    const char* find(std::string_view context, std::string_view english, unsigned long n) const;

private:
    explicit Catalogue(PluralRule plural) : m_plural(plural) {}

    // The key of a text: its English source, after its context and a 0x04.
    std::unordered_map<std::string_view, std::string_view> m_translations;
    PluralRule m_plural;
};

} // namespace orvu
