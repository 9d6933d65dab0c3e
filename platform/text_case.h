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
// Other code points stay as they are. Written here because no library at
// hand does it the same on every system without a locale: std::toupper and
// towupper follow the process's locale (ASCII only in the C locale), Qt is
// not in the layers below the window, and ICU would be a large dependency
// for a few hundred code points.
char32_t toUpper(char32_t c);
std::u32string toUpper(std::u32string_view text);

// ASCII letters in lower case, every other byte as it is: for the words the
// program defines (file extensions, URI schemes, option values), which no
// locale may change and no other script's letters may match.
std::string asciiLower(std::string_view text);

// A name's key for comparing and ordering names in any letter case: its
// upper-case code points, held as UTF-8, which sorts the same. A
// case-insensitive listing orders by it, ties broken by the names' own
// bytes so the order is total.
std::string caseInsensitiveKey(std::string_view name);

} // namespace orvu
