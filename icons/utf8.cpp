#include "icons/utf8.h"

namespace orvu {

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

std::string utf16ToUtf8(ByteView text) {
    std::string utf8;
    for (std::uint64_t i = 0; i + 1 < text.size(); i += 2) {
        const std::uint32_t unit = *text.u16(i);
        const auto next = text.u16(i + 2);
        if (unit >= 0xD800 && unit < 0xDC00 && next && *next >= 0xDC00 && *next < 0xE000) {
            appendUtf8(utf8, 0x10000 + ((unit - 0xD800) << 10) + (*next - 0xDC00));
            i += 2;
        } else {
            appendUtf8(utf8, unit >= 0xD800 && unit < 0xE000 ? 0xFFFD : unit);
        }
    }
    return utf8;
}

std::string latin1ToUtf8(ByteView text) {
    std::string utf8;
    for (const std::uint8_t byte : text.bytes())
        appendUtf8(utf8, byte);
    return utf8;
}

bool isUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<std::uint8_t>(text[i]);
        std::size_t length = 0;
        char32_t c = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead < 0xE0) {
            length = 2;
            c = lead & 0x1F;
        } else if (lead >= 0xE0 && lead < 0xF0) {
            length = 3;
            c = lead & 0x0F;
        } else if (lead >= 0xF0 && lead < 0xF5) {
            length = 4;
            c = lead & 0x07;
        } else {
            return false;
        }
        if (text.size() - i < length)
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto byte = static_cast<std::uint8_t>(text[i + k]);
            if ((byte & 0xC0) != 0x80)
                return false;
            c = c << 6 | (byte & 0x3F);
        }
        if ((length == 3 && (c < 0x800 || (c >= 0xD800 && c < 0xE000))) ||
            (length == 4 && (c < 0x10000 || c > 0x10FFFF)))
            return false;
        i += length;
    }
    return true;
}

} // namespace orvu
