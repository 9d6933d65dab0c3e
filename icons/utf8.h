#pragma once

#include <string>

namespace orvu {

// Appends one code point as UTF-8. Any code point is encoded as it is,
// surrogates included: callers that decode text replace what they can't
// represent before they get here.
void appendUtf8(std::string& out, char32_t c);

} // namespace orvu
