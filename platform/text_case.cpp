#include "platform/text_case.h"

#include <algorithm>

namespace orvu {

std::u32string decodeUtf8Lenient(std::string_view text) {
    std::u32string result;
    result.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int length = 0;
        char32_t value = 0;
        if (lead < 0x80) {
            length = 1;
            value = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            value = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            value = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            value = lead & 0x07;
        }
        bool valid = length > 0 && i + static_cast<std::size_t>(length) <= text.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            valid = (next & 0xC0) == 0x80;
            value = value << 6 | (next & 0x3F);
        }
        // Reject overlong forms, surrogates and values past U+10FFFF.
        if (valid && ((length == 3 && value < 0x800) || (length == 4 && value < 0x10000) ||
                      (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF))
            valid = false;
        if (!valid) {
            result.push_back(0xDC00 + lead);
            ++i;
            continue;
        }
        result.push_back(value);
        i += static_cast<std::size_t>(length);
    }
    return result;
}

char32_t toUpper(char32_t c) {
    if (c >= U'a' && c <= U'z')
        return c - 0x20;
    if (c < 0x80)
        return c;
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) ||
        (c >= 0x430 && c <= 0x44F) || (c >= 0xFF41 && c <= 0xFF5A))
        return c - 0x20;
    if (c == 0xFF)
        return 0x178;
    if (c == 0x131) // dotless i, which breaks the pairs of Latin Extended-A
        return U'I';
    if (c == 0x3C2) // final sigma
        return 0x3A3;
    if (c >= 0x450 && c <= 0x45F)
        return c - 0x50;
    // Latin Extended-A pairs capitals and small letters as even/odd, except
    // in 0x139..0x148 and 0x179..0x17E, where the capital is odd.
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177))
        return (c & 1) ? c - 1 : c;
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
        return (c & 1) ? c : c - 1;
    return c;
}

std::u32string toUpper(std::u32string_view text) {
    std::u32string result(text);
    for (char32_t& c : result)
        c = toUpper(c);
    return result;
}

std::string asciiLower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + ('a' - 'A'));
    }
    return lower;
}

std::string caseInsensitiveKey(std::string_view name) {
    std::string key;
    key.reserve(name.size());
    if (std::all_of(name.begin(), name.end(), [](char c) { return (c & 0x80) == 0; })) {
        for (char c : name)
            key += static_cast<char>(toUpper(static_cast<char32_t>(c)));
        return key;
    }
    // UTF-8 orders byte by byte as the code points it encodes do; the code
    // points standing for invalid bytes are encoded the same way.
    for (char32_t c : decodeUtf8Lenient(name))
        appendUtf8(key, toUpper(c));
    return key;
}

} // namespace orvu
