#pragma once

#include "icons/icon_drawing.h"
#include "icons/icon_library.h"
#include "icons/result.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace orvu {

// What an icon is saved as: the whole icon, every image as stored (.ico);
// one image at its natural size with its alpha (.png); the tile's 32 x 32
// cell drawn on the preview's background (.bmp).
enum class SaveFormat { Ico, Png, Bmp };

// The format a file name's extension names (.ico, .png, .bmp in any case).
std::optional<SaveFormat> formatOfName(const std::filesystem::path& name);
// ".ico", ".png" or ".bmp".
const char* extensionOf(SaveFormat format);

// Icon k of the library as an .ico file's bytes.
Result<std::vector<std::uint8_t>> iconFileOf(IconLibrary& library, std::uint32_t k);
// One image of icon k as a PNG file's bytes: the image Windows would show at
// `size` x `size`, or with no size the largest.
Result<std::vector<std::uint8_t>> pngOf(IconLibrary& library, std::uint32_t k,
                                        std::optional<int> size = std::nullopt);

// A picture as a Windows bitmap file: 24 bits per pixel, rows bottom-up.
std::vector<std::uint8_t> encodeBitmapFile(const Surface& picture);

// Writes the picture to the path as a Windows bitmap, replacing any file
// there only once the whole picture is written.
Result<void> savePicture(const Surface& picture, const std::filesystem::path& path);

} // namespace orvu
