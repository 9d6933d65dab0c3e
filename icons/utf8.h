#pragma once

#include "icons/byte_view.h"

#include <string>

namespace orvu {

// Appends one code point as UTF-8. Any code point is encoded as it is,
// surrogates included: callers that decode text replace what they can't
// represent before they get here.
void appendUtf8(std::string& out, char32_t c);

// UTF-16 (little-endian) as UTF-8; unpaired surrogates become U+FFFD. A
// last odd byte is left out.
std::string utf16ToUtf8(ByteView text);

// Bytes of a Windows "ANSI" text, whose code page the file doesn't say, as
// UTF-8, each byte taken as Latin-1 (Windows-1252's letters).
std::string latin1ToUtf8(ByteView text);

// Whether the bytes are well-formed UTF-8 (no overlong forms, surrogates or
// code points past U+10FFFF).
bool isUtf8(std::string_view text);

} // namespace orvu
