#include "platform/path_text.h"

#include "platform/text_case.h"

namespace orvu {
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
