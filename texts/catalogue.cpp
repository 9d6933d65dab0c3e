#include "texts/catalogue.h"

#include <string>

namespace orvu {
namespace {

// The layout of a .mo file: a header, then two tables of (length, offset)
// pairs, the sources' and the translations', each text followed by a NUL.
// A source with plural forms is "singular\0plural", its translation the
// forms one after the other, each ending in a NUL.
constexpr std::uint32_t Magic = 0x950412DE;
constexpr std::uint64_t CountAt = 8;
constexpr std::uint64_t SourcesAt = 12;
constexpr std::uint64_t TranslationsAt = 16;
constexpr std::uint64_t TableEntrySize = 8;
constexpr char ContextEnd = '\x04';

// The text that table entry i names, its closing NUL included in the check.
std::optional<std::string_view> textAt(const ByteView& mo, std::uint32_t table, std::uint32_t i) {
    const std::uint64_t entry = std::uint64_t{table} + std::uint64_t{i} * TableEntrySize;
    const auto length = mo.u32(entry);
    const auto offset = mo.u32(entry + 4);
    if (!length || !offset || !mo.contains(*offset, std::uint64_t{*length} + 1) ||
        mo.bytes()[*offset + *length] != 0)
        return std::nullopt;
    return std::string_view(reinterpret_cast<const char*>(mo.bytes().data()) + *offset, *length);
}

std::string keyOf(std::string_view context, std::string_view english) {
    if (context.empty())
        return std::string(english);
    std::string key(context);
    key += ContextEnd;
    key += english;
    return key;
}

} // namespace

std::optional<Catalogue> Catalogue::read(Bytes bytes, PluralRule plural) {
    const ByteView mo(bytes);
    const auto magic = mo.u32(0);
    const auto count = mo.u32(CountAt);
    const auto sources = mo.u32(SourcesAt);
    const auto translations = mo.u32(TranslationsAt);
    if (!magic || *magic != Magic || !count || !sources || !translations)
        return std::nullopt;
    Catalogue catalogue(plural);
    for (std::uint32_t i = 0; i < *count; ++i) {
        const auto source = textAt(mo, *sources, i);
        const auto translation = textAt(mo, *translations, i);
        if (!source || !translation)
            return std::nullopt;
        // A plural source is found by its singular, which ends at its NUL.
        const std::string_view singular = source->substr(0, source->find('\0'));
        // The entry of the empty source is the catalogue's header.
        if (!singular.empty())
            catalogue.m_translations.emplace(singular, *translation);
    }
    return catalogue;
}

const char* Catalogue::find(std::string_view context, std::string_view english) const {
    const auto found = m_translations.find(keyOf(context, english));
    return found == m_translations.end() ? nullptr : found->second.data();
}

const char* Catalogue::find(std::string_view context, std::string_view english,
                            unsigned long n) const {
    const auto found = m_translations.find(keyOf(context, english));
    if (found == m_translations.end())
        return nullptr;
    // The forms follow one another, each ending in a NUL; the catalogue's
    // rule picks one, and a rule that points past the last picks the last.
    std::string_view forms = found->second;
    for (unsigned long form = m_plural(n); form > 0; --form) {
        const std::size_t end = forms.find('\0');
        if (end == std::string_view::npos)
            break;
        forms.remove_prefix(end + 1);
    }
    return forms.data();
}

} // namespace orvu
