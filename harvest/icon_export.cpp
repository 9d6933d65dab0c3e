#include "harvest/icon_export.h"

#include "platform/atomic_file.h"

namespace orvu {
namespace {

void put16(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    put16(bytes, value & 0xFFFF);
    put16(bytes, value >> 16);
}

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
    put32(bytes, FileHeaderSize + InfoHeaderSize + imageSize);
    put32(bytes, 0);
    put32(bytes, FileHeaderSize + InfoHeaderSize);
    put32(bytes, InfoHeaderSize);
    put32(bytes, width);
    put32(bytes, height);
    put16(bytes, 1);
    put16(bytes, 24);
    put32(bytes, 0); // BI_RGB
    put32(bytes, imageSize);
    put32(bytes, PixelsPerMetre);
    put32(bytes, PixelsPerMetre);
    put32(bytes, 0);
    put32(bytes, 0);
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

Result<void> savePicture(const Surface& picture, const std::filesystem::path& path) {
    return replaceFileAtomically(path, encodeBitmapFile(picture));
}

} // namespace orvu
