#include "export/icon_export.h"

#include "icons/byte_writer.h"
#include "icons/icon_choice.h"
#include "icons/icon_file_writer.h"
#include "platform/atomic_file.h"
#include "png/png_encoder.h"

#include <algorithm>
#include <cctype>

namespace orvu {
namespace {

constexpr std::uint32_t FileHeaderSize = 14;
constexpr std::uint32_t InfoHeaderSize = 40;
constexpr std::uint32_t PixelsPerMetre = 3780; // 96 dots per inch

} // namespace

std::optional<SaveFormat> formatOfName(const std::filesystem::path& name) {
    std::string extension = name.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const SaveFormat format : {SaveFormat::Ico, SaveFormat::Png, SaveFormat::Bmp}) {
        if (extension == extensionOf(format))
            return format;
    }
    return std::nullopt;
}

const char* extensionOf(SaveFormat format) {
    switch (format) {
    case SaveFormat::Ico:
        return ".ico";
    case SaveFormat::Png:
        return ".png";
    case SaveFormat::Bmp:
        return ".bmp";
    }
    return "";
}

Result<std::vector<std::uint8_t>> iconFileOf(IconLibrary& library, std::uint32_t k) {
    const auto images = library.images(k);
    if (!images)
        return images.failure();
    return writeIconFile(*images);
}

Result<std::vector<std::uint8_t>> pngOf(IconLibrary& library, std::uint32_t k,
                                        std::optional<int> size) {
    const auto group = library.group(k);
    if (!group)
        return group.failure();
    const auto chosen = size ? chooseImage(*group, *size) : largestImage(*group);
    if (!chosen)
        return damaged("an icon group without images");
    const auto image = library.image(group->entries[*chosen]);
    if (!image)
        return image.failure();
    const auto decoded = library.decode(*image);
    if (!decoded)
        return decoded.failure();
    return encodePng(*decoded);
}

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

Result<void> savePicture(const Surface& picture, const std::filesystem::path& path) {
    return replaceFileAtomically(path, encodeBitmapFile(picture));
}

} // namespace orvu
