#include "icons/icon_file_writer.h"

#include "icons/byte_writer.h"

#include <limits>

namespace orvu {

Result<std::vector<std::uint8_t>> writeIconFile(const std::vector<IconImage>& images) {
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
    appendU16(file, IconDirectory::IconType);
    appendU16(file, static_cast<std::uint32_t>(images.size()));
    std::uint64_t offset = directorySize; // of the first image
    for (const IconImage& image : images) {
        const GroupEntry& entry = image.entry;
        file.push_back(entry.width);
        file.push_back(entry.height);
        file.push_back(entry.colourCount);
        file.push_back(0); // reserved
        appendU16(file, entry.planes);
        appendU16(file, entry.bitCount);
        appendU32(file, static_cast<std::uint32_t>(image.bytes.size()));
        appendU32(file, static_cast<std::uint32_t>(offset));
        offset += image.bytes.size();
    }
    for (const IconImage& image : images)
        file.insert(file.end(), image.bytes.begin(), image.bytes.end());
    return file;
}

} // namespace orvu
