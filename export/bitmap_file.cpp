#include "export/bitmap_file.h"

#include "icons/byte_writer.h"

namespace orvu {
namespace {

constexpr std::uint32_t FileHeaderSize = 14;
constexpr std::uint32_t InfoHeaderSize = 40;
constexpr std::uint32_t PixelsPerMetre = 3780; // 96 dots per inch

} // namespace

std::vector<std::uint8_t> encodeBitmapFile(const Surface& picture) {
    const auto width = static_cast<std::uint32_t>(picture.width);
    const auto height = static_cast<std::uint32_t>(picture.height);
    const std::uint32_t stride = (width * 3 + 3) / 4 * 4;
    const std::uint32_t imageSize = stride * height;
    std::vector<std::uint8_t> bytes;
    bytes.reserve(FileHeaderSize + InfoHeaderSize + imageSize);
    bytes.push_back('B');
    bytes.push_back('M');
    appendU32(bytes, FileHeaderSize + InfoHeaderSize + imageSize);
    appendU32(bytes, 0);
    appendU32(bytes, FileHeaderSize + InfoHeaderSize);
    appendU32(bytes, InfoHeaderSize);
    appendU32(bytes, width);
    appendU32(bytes, height);
    appendU16(bytes, 1);
    appendU16(bytes, 24);
    appendU32(bytes, 0); // BI_RGB
    appendU32(bytes, imageSize);
    appendU32(bytes, PixelsPerMetre);
    appendU32(bytes, PixelsPerMetre);
    appendU32(bytes, 0);
    appendU32(bytes, 0);
    for (int y = picture.height - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::uint32_t pixel = picture.pixel(x, y);
            bytes.push_back(static_cast<std::uint8_t>(pixel));
            bytes.push_back(static_cast<std::uint8_t>(pixel >> 8));
            bytes.push_back(static_cast<std::uint8_t>(pixel >> 16));
        }
        bytes.resize(bytes.size() + (stride - width * 3), 0);
    }
    return bytes;
}

} // namespace orvu
