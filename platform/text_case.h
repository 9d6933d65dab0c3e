#pragma once

#include "icons/utf8.h"

#include <string>
#include <string_view>

namespace orvu {

// Text as Unicode code points. Bytes that are not valid UTF-8 each become
// one code point U+DC00 + byte (U+DC80 to U+DCFF), so every name survives the round trip and
// compares consistently.
std::u32string decodeUtf8Lenient(std::string_view text);
// appendUtf8 (icons/utf8.h) encodes the U+DC80 to U+DCFF that stand for
// invalid bytes like any other code point.

// Simple upper-case mapping for the scripts that file names commonly use:
// ASCII, Latin-1, Latin Extended-A, Greek, Cyrillic and full-width Latin.
// Other code points stay as they are.
char32_t toUpper(char32_t c);
std::u32string toUpper(std::u32string_view text);

// Orders names as a case-insensitive listing does: by their upper-case code
// points (the key, held as UTF-8, which sorts the same), ties broken by the
// names' own bytes so the order is total.
std::string caseInsensitiveKey(std::string_view name);
bool lessIgnoringCase(std::string_view a, std::string_view b);

} // namespace orvu
