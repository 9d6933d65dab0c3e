#pragma once

#include "texts/catalogue.h"

#include <span>
#include <string_view>

namespace orvu {

// A translation compiled into the program: the .mo bytes that msgfmt made
// from texts/po/<language>.po at build time, and the plural rule of its
// header. The build generates their definition (embed-catalogues.cmake).
struct CompiledCatalogue {
    std::string_view language;
    Bytes mo;
    Catalogue::PluralRule plural;
};

std::span<const CompiledCatalogue> compiledCatalogues();

} // namespace orvu
