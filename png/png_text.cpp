#include "png/png_text.h"

#include "icons/byte_writer.h"
#include "icons/png_decoder.h"

namespace orvu {
namespace {

// The signature, then the IHDR chunk: length, type, 13 bytes of data, CRC.
constexpr std::size_t HeaderEnd = 8 + 4 + 4 + 13 + 4;
constexpr std::size_t LongestKeyword = 79;

void appendBigEndian(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

} // namespace

Result<void> checkTexts(const std::vector<PngText>& texts) {
    for (const PngText& text : texts) {
        const std::string& keyword = text.keyword;
        bool valid = !keyword.empty() && keyword.size() <= LongestKeyword &&
                     keyword.front() != ' ' && keyword.back() != ' ' &&
                     text.text.find('\0') == std::string::npos;
        for (const char c : keyword)
            valid = valid && c >= ' ' && c <= '~';
        if (!valid)
            return Failure{Failure::Kind::Damaged, "no PNG text chunk can have the keyword \"" +
                                                       keyword + "\" or its text"};
    }
    return {};
}

std::vector<std::uint8_t> withTextChunks(std::vector<std::uint8_t> png,
                                         const std::vector<PngText>& texts) {
    if (texts.empty() || png.size() < HeaderEnd)
        return png;
    std::vector<std::uint8_t> chunks;
    for (const PngText& text : texts) {
        std::vector<std::uint8_t> typeAndData{'t', 'E', 'X', 't'};
        typeAndData.insert(typeAndData.end(), text.keyword.begin(), text.keyword.end());
        typeAndData.push_back(0);
        typeAndData.insert(typeAndData.end(), text.text.begin(), text.text.end());
        appendBigEndian(chunks, static_cast<std::uint32_t>(typeAndData.size() - 4));
        chunks.insert(chunks.end(), typeAndData.begin(), typeAndData.end());
        appendBigEndian(chunks, crc32(typeAndData));
    }
    png.insert(png.begin() + HeaderEnd, chunks.begin(), chunks.end());
    return png;
}

} // namespace orvu
