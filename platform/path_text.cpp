#include "path_text.h"

#include "text_case.h"

namespace orvu {
namespace {

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

} // namespace

std::string displayText(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    const std::string bytes(utf8.begin(), utf8.end());
    std::string text;
    text.reserve(bytes.size());
    for (char32_t c : decodeUtf8Lenient(bytes)) {
        // decodeUtf8Lenient keeps a stray byte b as U+DC00 + b.
        appendUtf8(text, c >= 0xDC80 && c <= 0xDCFF ? char32_t{0xFFFD} : c);
    }
    return text;
}

} // namespace orvu
