#include "support/icon_builders.h"

#include "icons/byte_writer.h"

#include <algorithm>
#include <map>
#include <stdexcept>

namespace orvu::test {
namespace {

void align(ByteVector& bytes, std::size_t to) {
    bytes.resize((bytes.size() + to - 1) / to * to, 0);
}

std::uint32_t stride(int width, int bitCount) {
    return static_cast<std::uint32_t>((width * bitCount + 31) / 32 * 4);
}

ByteVector numberedDirectory(const std::vector<StoredImage>& images,
                             const std::vector<std::uint16_t>& ids) {
    std::vector<GroupEntry> entries;
    for (std::size_t i = 0; i < images.size(); ++i) {
        GroupEntry entry = images[i].entry;
        if (entry.bytesInResource == 0)
            entry.bytesInResource = static_cast<std::uint32_t>(images[i].bytes.size());
        entry.location = ids[i];
        entries.push_back(entry);
    }
    return groupDirectory(entries);
}

// The groups with RT_ICON ids given out from 1, and each group's directory bytes.
struct NumberedGroups {
    std::vector<std::vector<std::uint16_t>> iconIds;
    std::vector<ByteVector> directories;
};

NumberedGroups numberIcons(const std::vector<GroupResource>& groups) {
    NumberedGroups result;
    std::uint16_t next = 1;
    for (const GroupResource& group : groups) {
        std::vector<std::uint16_t> ids;
        for (std::size_t i = 0; i < group.images.size(); ++i)
            ids.push_back(next++);
        result.directories.push_back(std::holds_alternative<ByteVector>(group.rawGroup)
                                         ? std::get<ByteVector>(group.rawGroup)
                                         : numberedDirectory(group.images, ids));
        result.iconIds.push_back(std::move(ids));
    }
    return result;
}

// One resource data blob in some languages.
struct Leaf {
    ResourceName name;
    std::vector<std::uint16_t> languages;
    const ByteVector* data = nullptr;
};

// The resource tree, laid out as resource compilers do: directories, then
// data entries, then name strings, then the data.
class ResourceTree {
public:
    ResourceTree(const std::vector<GroupResource>& groups, std::uint32_t dataRva) {
        m_numbered = numberIcons(groups);
        for (std::size_t g = 0; g < groups.size(); ++g) {
            for (std::size_t i = 0; i < groups[g].images.size(); ++i)
                m_icons.push_back(
                    {m_numbered.iconIds[g][i], groups[g].languages, &groups[g].images[i].bytes});
            m_groups.push_back({groups[g].name, groups[g].languages, &m_numbered.directories[g]});
        }
        // Named entries first in the order given, then numbered ones ascending.
        std::stable_sort(m_groups.begin(), m_groups.end(), [](const Leaf& a, const Leaf& b) {
            const bool aNamed = std::holds_alternative<std::u16string>(a.name);
            const bool bNamed = std::holds_alternative<std::u16string>(b.name);
            if (aNamed != bNamed)
                return aNamed;
            if (aNamed)
                return false;
            return std::get<std::uint16_t>(a.name) < std::get<std::uint16_t>(b.name);
        });
        build(dataRva);
    }

    const ByteVector& bytes() const { return m_bytes; }
    std::uint32_t groupTypeDirectory() const { return m_groupTypeDirectory; }
    std::uint32_t iconTypeDirectory() const { return m_iconTypeDirectory; }
    const std::vector<std::uint32_t>& groupDataOffsets() const { return m_groupData; }

private:
    static std::uint32_t directorySize(std::size_t entries) {
        return static_cast<std::uint32_t>(16 + 8 * entries);
    }

    void build(std::uint32_t dataRva) {
        // Pass 1: offsets.
        std::uint32_t at = directorySize(2);
        m_iconTypeDirectory = at;
        at += directorySize(m_icons.size());
        m_groupTypeDirectory = at;
        at += directorySize(m_groups.size());
        std::vector<std::uint32_t> iconLanguageDirs;
        std::vector<std::uint32_t> groupLanguageDirs;
        for (const Leaf& leaf : m_icons) {
            iconLanguageDirs.push_back(at);
            at += directorySize(leaf.languages.size());
        }
        for (const Leaf& leaf : m_groups) {
            groupLanguageDirs.push_back(at);
            at += directorySize(leaf.languages.size());
        }
        const std::uint32_t dataEntries = at;
        std::size_t entryCount = 0;
        for (const Leaf& leaf : m_icons)
            entryCount += leaf.languages.size();
        for (const Leaf& leaf : m_groups)
            entryCount += leaf.languages.size();
        at += static_cast<std::uint32_t>(16 * entryCount);
        std::map<std::size_t, std::uint32_t> nameOffsets;
        for (std::size_t g = 0; g < m_groups.size(); ++g) {
            if (const auto* name = std::get_if<std::u16string>(&m_groups[g].name)) {
                nameOffsets[g] = at;
                at += static_cast<std::uint32_t>(2 + 2 * name->size());
            }
        }
        at = (at + 7) / 8 * 8;

        // Pass 2: bytes.
        m_bytes.assign(at, 0);
        auto directory = [&](std::uint32_t offset, std::uint16_t named, std::uint16_t numbered) {
            putU16(m_bytes, offset + 12, named);
            putU16(m_bytes, offset + 14, numbered);
        };
        auto entry = [&](std::uint32_t directoryOffset, std::size_t index, std::uint32_t name,
                         std::uint32_t target) {
            putU32(m_bytes, directoryOffset + 16 + 8 * index, name);
            putU32(m_bytes, directoryOffset + 16 + 8 * index + 4, target);
        };
        constexpr std::uint32_t Subdirectory = 0x80000000u;
        directory(0, 0, 2);
        entry(0, 0, 3, Subdirectory | m_iconTypeDirectory);
        entry(0, 1, 14, Subdirectory | m_groupTypeDirectory);

        std::uint32_t nextDataEntry = dataEntries;
        auto placeLeaves = [&](std::vector<Leaf>& leaves, std::uint32_t typeDirectory,
                               const std::vector<std::uint32_t>& languageDirs, bool groups) {
            std::uint16_t named = 0;
            for (const Leaf& leaf : leaves)
                named += std::holds_alternative<std::u16string>(leaf.name) ? 1 : 0;
            directory(typeDirectory, named, static_cast<std::uint16_t>(leaves.size() - named));
            for (std::size_t i = 0; i < leaves.size(); ++i) {
                const Leaf& leaf = leaves[i];
                std::uint32_t name = 0;
                if (const auto* text = std::get_if<std::u16string>(&leaf.name)) {
                    const std::uint32_t offset = nameOffsets.at(i);
                    putU16(m_bytes, offset, static_cast<std::uint16_t>(text->size()));
                    for (std::size_t c = 0; c < text->size(); ++c)
                        putU16(m_bytes, offset + 2 + 2 * c, static_cast<std::uint16_t>((*text)[c]));
                    name = Subdirectory | offset;
                } else {
                    name = std::get<std::uint16_t>(leaf.name);
                }
                entry(typeDirectory, i, name, Subdirectory | languageDirs[i]);
                std::vector<std::uint16_t> languages = leaf.languages;
                directory(languageDirs[i], 0, static_cast<std::uint16_t>(languages.size()));
                for (std::size_t l = 0; l < languages.size(); ++l) {
                    entry(languageDirs[i], l, languages[l], nextDataEntry);
                    const std::uint32_t blob = static_cast<std::uint32_t>(m_bytes.size());
                    if (groups && l == 0)
                        m_groupData.push_back(blob);
                    m_bytes.insert(m_bytes.end(), leaf.data->begin(), leaf.data->end());
                    align(m_bytes, 8);
                    putU32(m_bytes, nextDataEntry, dataRva + blob);
                    putU32(m_bytes, nextDataEntry + 4,
                           static_cast<std::uint32_t>(leaf.data->size()));
                    nextDataEntry += 16;
                }
            }
        };
        placeLeaves(m_icons, m_iconTypeDirectory, iconLanguageDirs, false);
        placeLeaves(m_groups, m_groupTypeDirectory, groupLanguageDirs, true);
    }

    NumberedGroups m_numbered;
    std::vector<Leaf> m_icons;
    std::vector<Leaf> m_groups;
    ByteVector m_bytes;
    std::uint32_t m_iconTypeDirectory = 0;
    std::uint32_t m_groupTypeDirectory = 0;
    std::vector<std::uint32_t> m_groupData;
};

constexpr std::uint32_t PeHeaderAt = 0x80;

} // namespace

ByteVector groupDirectory(const std::vector<GroupEntry>& entries) {
    ByteVector bytes;
    appendU16(bytes, 0);
    appendU16(bytes, 1);
    appendU16(bytes, static_cast<std::uint16_t>(entries.size()));
    for (const GroupEntry& entry : entries) {
        bytes.push_back(entry.width);
        bytes.push_back(entry.height);
        bytes.push_back(entry.colourCount);
        bytes.push_back(entry.reserved);
        appendU16(bytes, entry.planes);
        appendU16(bytes, entry.bitCount);
        appendU32(bytes, entry.bytesInResource);
        appendU16(bytes, static_cast<std::uint16_t>(entry.location));
    }
    return bytes;
}

void putU16(ByteVector& bytes, std::uint64_t at, std::uint16_t value) {
    if (at + 2 > bytes.size())
        throw std::out_of_range("putU16 past the end");
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void putU32(ByteVector& bytes, std::uint64_t at, std::uint32_t value) {
    putU16(bytes, at, static_cast<std::uint16_t>(value));
    putU16(bytes, at + 2, static_cast<std::uint16_t>(value >> 16));
}

ByteVector encodeDib(const DibDescription& dib) {
    ByteVector bytes;
    appendU32(bytes, 40);
    appendU32(bytes, static_cast<std::uint32_t>(dib.width));
    appendU32(bytes, static_cast<std::uint32_t>(dib.height * 2));
    appendU16(bytes, 1);
    appendU16(bytes, static_cast<std::uint16_t>(dib.bitCount));
    appendU32(bytes, 0); // BI_RGB
    const std::uint32_t colourStride = stride(dib.width, dib.bitCount);
    const std::uint32_t maskStride = stride(dib.width, 1);
    appendU32(bytes, (colourStride + (dib.withMask ? maskStride : 0)) *
                         static_cast<std::uint32_t>(dib.height));
    appendU32(bytes, 0);
    appendU32(bytes, 0);
    appendU32(bytes, static_cast<std::uint32_t>(dib.bitCount <= 8 ? dib.palette.size() : 0));
    appendU32(bytes, 0);
    if (dib.bitCount <= 8) {
        for (std::uint32_t colour : dib.palette)
            appendU32(bytes, colour & 0xFFFFFF);
    }
    for (int y = dib.height - 1; y >= 0; --y) {
        ByteVector row(colourStride, 0);
        for (int x = 0; x < dib.width; ++x) {
            const std::uint32_t value = dib.pixels.at(static_cast<std::size_t>(y * dib.width + x));
            const auto ux = static_cast<std::size_t>(x);
            switch (dib.bitCount) {
            case 1:
                row[ux / 8] |= static_cast<std::uint8_t>((value & 1) << (7 - ux % 8));
                break;
            case 4:
                row[ux / 2] |= static_cast<std::uint8_t>((value & 0xF) << (ux % 2 ? 0 : 4));
                break;
            case 8:
                row[ux] = static_cast<std::uint8_t>(value);
                break;
            case 16:
                row[ux * 2] = static_cast<std::uint8_t>(value);
                row[ux * 2 + 1] = static_cast<std::uint8_t>(value >> 8);
                break;
            case 24:
                row[ux * 3] = static_cast<std::uint8_t>(value);
                row[ux * 3 + 1] = static_cast<std::uint8_t>(value >> 8);
                row[ux * 3 + 2] = static_cast<std::uint8_t>(value >> 16);
                break;
            case 32:
                for (int b = 0; b < 4; ++b)
                    row[ux * 4 + static_cast<std::size_t>(b)] =
                        static_cast<std::uint8_t>(value >> (8 * b));
                break;
            default:
                throw std::invalid_argument("unsupported bit count");
            }
        }
        bytes.insert(bytes.end(), row.begin(), row.end());
    }
    if (dib.withMask) {
        for (int y = dib.height - 1; y >= 0; --y) {
            ByteVector row(maskStride, 0);
            for (int x = 0; x < dib.width && !dib.mask.empty(); ++x) {
                const auto ux = static_cast<std::size_t>(x);
                if (dib.mask.at(static_cast<std::size_t>(y * dib.width + x)))
                    row[ux / 8] |= static_cast<std::uint8_t>(1 << (7 - ux % 8));
            }
            bytes.insert(bytes.end(), row.begin(), row.end());
        }
    }
    return bytes;
}

ByteVector solidDib(int size, int bitCount, std::uint32_t rgb) {
    DibDescription dib;
    dib.width = size;
    dib.height = size;
    dib.bitCount = bitCount;
    std::uint32_t value = rgb;
    if (bitCount <= 8) {
        dib.palette = {0x000000, rgb};
        value = 1;
    } else if (bitCount == 16) {
        value = ((rgb >> 19) & 31) << 10 | ((rgb >> 11) & 31) << 5 | ((rgb >> 3) & 31);
    } else if (bitCount == 32) {
        value = 0xFF000000u | rgb;
    }
    dib.pixels.assign(static_cast<std::size_t>(size * size), value);
    return encodeDib(dib);
}

GroupEntry groupEntry(int width, int height, int bitCount, std::uint32_t location,
                      std::uint32_t bytes) {
    GroupEntry entry;
    entry.width = static_cast<std::uint8_t>(width);
    entry.height = static_cast<std::uint8_t>(height);
    entry.planes = 1;
    entry.bitCount = static_cast<std::uint16_t>(bitCount);
    entry.bytesInResource = bytes;
    entry.location = location;
    return entry;
}

namespace {

// An icon file's directory entry (ICONDIRENTRY) for the image at `offset`.
void appendFileEntry(ByteVector& bytes, const StoredImage& image, std::uint32_t offset) {
    bytes.push_back(image.entry.width);
    bytes.push_back(image.entry.height);
    bytes.push_back(image.entry.colourCount);
    bytes.push_back(image.entry.reserved);
    appendU16(bytes, image.entry.planes);
    appendU16(bytes, image.entry.bitCount);
    appendU32(bytes, static_cast<std::uint32_t>(image.bytes.size()));
    appendU32(bytes, offset);
}

} // namespace

ByteVector buildIconFile(const std::vector<StoredImage>& images) {
    ByteVector bytes;
    appendU16(bytes, 0);
    appendU16(bytes, 1);
    appendU16(bytes, static_cast<std::uint16_t>(images.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (const StoredImage& image : images) {
        appendFileEntry(bytes, image, offset);
        offset += static_cast<std::uint32_t>(image.bytes.size());
    }
    for (const StoredImage& image : images)
        bytes.insert(bytes.end(), image.bytes.begin(), image.bytes.end());
    return bytes;
}

ByteVector iconFileRepeating(const StoredImage& image, std::uint16_t times) {
    ByteVector bytes;
    appendU16(bytes, 0);
    appendU16(bytes, 1);
    appendU16(bytes, times);
    const auto offset = static_cast<std::uint32_t>(6 + 16 * std::size_t{times});
    for (std::uint32_t i = 0; i < times; ++i)
        appendFileEntry(bytes, image, offset);
    bytes.insert(bytes.end(), image.bytes.begin(), image.bytes.end());
    return bytes;
}

PeLayout peLayout(const std::vector<GroupResource>& groups, const PeOptions& options) {
    const ResourceTree tree(groups, options.sectionRva + options.rootOffsetInSection);
    PeLayout layout;
    layout.peHeader = PeHeaderAt;
    layout.sectionTable = PeHeaderAt + 24 + (options.pe32Plus ? 240 : 224);
    layout.resourceRoot = options.sectionFileOffset + options.rootOffsetInSection;
    layout.groupTypeDirectory = layout.resourceRoot + tree.groupTypeDirectory();
    layout.iconTypeDirectory = layout.resourceRoot + tree.iconTypeDirectory();
    for (std::uint32_t offset : tree.groupDataOffsets())
        layout.groupData.push_back(layout.resourceRoot + offset);
    return layout;
}

ByteVector buildPe(const std::vector<GroupResource>& groups, const PeOptions& options) {
    const ResourceTree tree(groups, options.sectionRva + options.rootOffsetInSection);
    const std::uint32_t optionalSize = options.pe32Plus ? 240 : 224;
    ByteVector bytes(options.sectionFileOffset, 0);
    bytes[0] = 'M';
    bytes[1] = 'Z';
    putU32(bytes, 0x3C, PeHeaderAt);
    bytes[PeHeaderAt] = 'P';
    bytes[PeHeaderAt + 1] = 'E';
    const std::uint32_t file = PeHeaderAt + 4;
    putU16(bytes, file, options.pe32Plus ? 0x8664 : 0x14C);
    putU16(bytes, file + 2, 1);
    putU16(bytes, file + 16, static_cast<std::uint16_t>(optionalSize));
    putU16(bytes, file + 18, 0x2022);
    const std::uint32_t optional = file + 20;
    putU16(bytes, optional, options.pe32Plus ? 0x20B : 0x10B);
    const std::uint32_t directories = optional + (options.pe32Plus ? 112 : 96);
    putU32(bytes, directories - 4, 16); // NumberOfRvaAndSizes
    const std::uint32_t resourceSize =
        options.rootOffsetInSection + static_cast<std::uint32_t>(tree.bytes().size());
    putU32(bytes, directories + 2 * 8, options.sectionRva + options.rootOffsetInSection);
    putU32(bytes, directories + 2 * 8 + 4, static_cast<std::uint32_t>(tree.bytes().size()));
    const std::uint32_t section = optional + optionalSize;
    const char name[8] = {'.', 'r', 's', 'r', 'c', 0, 0, 0};
    std::copy(std::begin(name), std::end(name), bytes.begin() + section);
    const std::uint32_t rawSize = (resourceSize + 0x1FF) / 0x200 * 0x200;
    putU32(bytes, section + 8, resourceSize);
    putU32(bytes, section + 12, options.sectionRva);
    putU32(bytes, section + 16, rawSize);
    putU32(bytes, section + 20, options.sectionFileOffset);
    putU32(bytes, section + 36, 0x40000040);
    bytes.resize(options.sectionFileOffset + options.rootOffsetInSection, 0);
    bytes.insert(bytes.end(), tree.bytes().begin(), tree.bytes().end());
    bytes.resize(options.sectionFileOffset + rawSize, 0);
    return bytes;
}

ByteVector buildNe(const std::vector<GroupResource>& groups, int alignmentShift,
                   RepeatedData repeated) {
    const NumberedGroups numbered = numberIcons(groups);
    std::size_t iconCount = 0;
    for (const GroupResource& group : groups)
        iconCount += group.images.size();

    constexpr std::uint32_t NeAt = 0x40;
    constexpr std::uint32_t TableAt = 0x40; // relative to the NE header
    const std::uint32_t tableSize =
        static_cast<std::uint32_t>(2 + 8 + 12 * groups.size() + 8 + 12 * iconCount + 2);
    ByteVector bytes(NeAt + TableAt + tableSize + 1, 0);
    bytes[0] = 'M';
    bytes[1] = 'Z';
    putU32(bytes, 0x3C, NeAt);
    bytes[NeAt] = 'N';
    bytes[NeAt + 1] = 'E';
    putU16(bytes, NeAt + 0x24, TableAt);
    // The resident-name table follows the resource table; a table past the
    // 16-bit field's reach (65 535 resources) takes all the field can say.
    putU16(bytes, NeAt + 0x26, static_cast<std::uint16_t>(std::min(TableAt + tableSize, 0xFFFFu)));

    const std::uint32_t unit = 1u << alignmentShift;
    using Extent = std::pair<std::uint16_t, std::uint16_t>; // offset and length in units
    std::map<ByteVector, Extent> placed;
    auto place = [&](const ByteVector& data) {
        if (repeated == RepeatedData::Shared) {
            if (const auto found = placed.find(data); found != placed.end())
                return found->second;
        }
        align(bytes, unit);
        const auto offset = static_cast<std::uint32_t>(bytes.size()) >> alignmentShift;
        bytes.insert(bytes.end(), data.begin(), data.end());
        align(bytes, unit);
        const Extent extent(static_cast<std::uint16_t>(offset),
                            static_cast<std::uint16_t>((data.size() + unit - 1) >> alignmentShift));
        if (repeated == RepeatedData::Shared)
            placed.emplace(data, extent);
        return extent;
    };

    std::uint32_t at = NeAt + TableAt;
    putU16(bytes, at, static_cast<std::uint16_t>(alignmentShift));
    at += 2;
    auto typeBlock = [&](std::uint16_t type, std::size_t count) {
        putU16(bytes, at, type);
        putU16(bytes, at + 2, static_cast<std::uint16_t>(count));
        at += 8;
    };
    auto nameInfo = [&](std::pair<std::uint16_t, std::uint16_t> extent, std::uint16_t id) {
        putU16(bytes, at, extent.first);
        putU16(bytes, at + 2, extent.second);
        putU16(bytes, at + 4, 0x1C30);
        putU16(bytes, at + 6, static_cast<std::uint16_t>(0x8000 | id));
        at += 12;
    };
    typeBlock(0x800E, groups.size());
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const auto* id = std::get_if<std::uint16_t>(&groups[g].name);
        nameInfo(place(numbered.directories[g]), id ? *id : static_cast<std::uint16_t>(g + 1));
    }
    typeBlock(0x8003, iconCount);
    for (std::size_t g = 0; g < groups.size(); ++g) {
        for (std::size_t i = 0; i < groups[g].images.size(); ++i)
            nameInfo(place(groups[g].images[i].bytes), numbered.iconIds[g][i]);
    }
    return bytes;
}

} // namespace orvu::test
