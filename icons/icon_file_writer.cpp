#include "icons/icon_file_writer.h"

#include "icons/byte_writer.h"

#include <limits>

namespace orvu {
namespace {

// A width or height in a file's directory entry: one byte, 0 for 256 and more.
std::uint8_t sizeByte(int pixels) {
    return pixels > 0 && pixels < 256 ? static_cast<std::uint8_t>(pixels) : 0;
}

Result<std::vector<std::uint8_t>> writeDirectoryFile(const std::vector<IconImage>& images,
                                                     std::uint16_t type) {
    if (images.empty())
        return Failure{Failure::Kind::NoSuchIcon, "an icon without images"};
    if (images.size() > limits::MaxGroupEntries)
        return Failure{Failure::Kind::OverLimit,
                       std::to_string(images.size()) + " images in one icon file"};
    const std::uint64_t directorySize =
        IconDirectory::HeaderSize + images.size() * IconDirectoryEntry::FileEntrySize;
    std::uint64_t total = directorySize;
    for (const IconImage& image : images)
        total += image.bytes.size();
    if (total > std::numeric_limits<std::uint32_t>::max())
        return Failure{Failure::Kind::OverLimit,
                       "an icon file of " + std::to_string(total) + " bytes"};

    std::vector<std::uint8_t> file;
    file.reserve(static_cast<std::size_t>(total));
    appendU16(file, 0); // reserved
    appendU16(file, type);
    appendU16(file, static_cast<std::uint32_t>(images.size()));
    std::uint64_t offset = directorySize; // of the first image
    for (const IconImage& image : images) {
        const GroupEntry& entry = image.entry;
        if (entry.cursorSize) {
            // An executable's cursor entry: its size as Windows takes it.
            file.push_back(sizeByte(entry.pixelWidth()));
            file.push_back(sizeByte(entry.pixelHeight()));
            file.push_back(0);
        } else {
            file.push_back(entry.width);
            file.push_back(entry.height);
            file.push_back(entry.colourCount);
        }
        file.push_back(0); // reserved
        if (type == IconDirectory::CursorType) {
            const Hotspot hotspot = entry.hotspot.value_or(Hotspot{});
            appendU16(file, static_cast<std::uint16_t>(hotspot.x));
            appendU16(file, static_cast<std::uint16_t>(hotspot.y));
        } else {
            appendU16(file, entry.planes);
            appendU16(file, entry.bitCount);
        }
        appendU32(file, static_cast<std::uint32_t>(image.bytes.size()));
        appendU32(file, static_cast<std::uint32_t>(offset));
        offset += image.bytes.size();
    }
    for (const IconImage& image : images)
        file.insert(file.end(), image.bytes.begin(), image.bytes.end());
    return file;
}

} // namespace

Result<std::vector<std::uint8_t>> writeIconFile(const std::vector<IconImage>& images) {
    return writeDirectoryFile(images, IconDirectory::IconType);
}

Result<std::vector<std::uint8_t>> writeCursorFile(const std::vector<IconImage>& images) {
    return writeDirectoryFile(images, IconDirectory::CursorType);
}

} // namespace orvu
