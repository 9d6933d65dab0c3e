#include "support/icon_builders.h"

#include "icons/byte_writer.h"
#include "support/png_writer.h"

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
                             const std::vector<std::uint16_t>& ids, bool cursors) {
    std::vector<GroupEntry> entries;
    for (std::size_t i = 0; i < images.size(); ++i) {
        GroupEntry entry = images[i].entry;
        if (entry.bytesInResource == 0)
            entry.bytesInResource = static_cast<std::uint32_t>(
                images[i].bytes.size() + (cursors ? CursorImageHotspot::Size : 0));
        entry.location = ids[i];
        entries.push_back(entry);
    }
    return cursors ? cursorDirectory(entries) : groupDirectory(entries);
}

// The data of an image resource: a cursor's starts with its hotspot.
ByteVector imageResource(const StoredImage& image, bool cursor) {
    if (!cursor)
        return image.bytes;
    const Hotspot hotspot = image.entry.hotspot.value_or(Hotspot{});
    ByteVector data;
    appendU16(data, static_cast<std::uint16_t>(hotspot.x));
    appendU16(data, static_cast<std::uint16_t>(hotspot.y));
    data.insert(data.end(), image.bytes.begin(), image.bytes.end());
    return data;
}

bool isCursor(const GroupResource& group) {
    return group.type == GroupType::Cursor;
}

// The resource type of a group, and of its images.
constexpr std::uint16_t RtCursor = 1;
constexpr std::uint16_t RtIcon = 3;
constexpr std::uint16_t RtGroupCursor = 12;
constexpr std::uint16_t RtGroupIcon = 14;
constexpr std::uint16_t RtAniCursor = 21;
constexpr std::uint16_t RtAniIcon = 22;

std::uint16_t groupType(const GroupResource& group) {
    switch (group.type) {
    case GroupType::Icon:
        return RtGroupIcon;
    case GroupType::Cursor:
        return RtGroupCursor;
    case GroupType::AnimatedCursor:
        return RtAniCursor;
    case GroupType::AnimatedIcon:
        return RtAniIcon;
    }
    return RtGroupIcon;
}

// The groups with image ids given out from 1 (RT_ICON and RT_CURSOR apart),
// each group's data and each image's.
struct NumberedGroups {
    std::vector<std::vector<std::uint16_t>> iconIds;
    std::vector<ByteVector> directories;
    std::vector<std::vector<ByteVector>> images;
};

NumberedGroups numberIcons(const std::vector<GroupResource>& groups) {
    NumberedGroups result;
    std::uint16_t nextIcon = 1;
    std::uint16_t nextCursor = 1;
    for (const GroupResource& group : groups) {
        const bool cursor = isCursor(group);
        std::vector<std::uint16_t> ids;
        std::vector<ByteVector> images;
        for (const StoredImage& image : group.images) {
            ids.push_back(cursor ? nextCursor++ : nextIcon++);
            images.push_back(imageResource(image, cursor));
        }
        if (group.type == GroupType::AnimatedCursor || group.type == GroupType::AnimatedIcon)
            result.directories.push_back(group.animation);
        else if (std::holds_alternative<ByteVector>(group.rawGroup))
            result.directories.push_back(std::get<ByteVector>(group.rawGroup));
        else
            result.directories.push_back(numberedDirectory(group.images, ids, cursor));
        result.iconIds.push_back(std::move(ids));
        result.images.push_back(std::move(images));
    }
    return result;
}

// One resource data blob in some languages.
struct Leaf {
    ResourceName name;
    std::vector<std::uint16_t> languages;
    const ByteVector* data = nullptr;
};

// Types as a resource directory keeps them: named ones first, by name, then
// numbered ones in ascending order.
struct TypeOrder {
    bool operator()(const ResourceName& a, const ResourceName& b) const {
        if (a.index() != b.index())
            return a.index() == 1;
        return a < b;
    }
};

bool isType(const ResourceName& type, std::uint16_t id) {
    return std::holds_alternative<std::uint16_t>(type) && std::get<std::uint16_t>(type) == id;
}

// The resource tree, laid out as resource compilers do: directories, then
// data entries, then name strings, then the data. The types come in
// ascending order; RT_ICON and RT_GROUP_ICON are always there.
class ResourceTree {
public:
    ResourceTree(const std::vector<GroupResource>& groups, std::uint32_t dataRva,
                 const std::vector<OtherResource>& others = {}) {
        m_numbered = numberIcons(groups);
        m_types[RtIcon];
        m_types[RtGroupIcon];
        for (const OtherResource& other : others)
            m_types[other.type].push_back({other.name, {0}, &other.data});
        for (std::size_t g = 0; g < groups.size(); ++g) {
            const std::uint16_t imageType = isCursor(groups[g]) ? RtCursor : RtIcon;
            for (std::size_t i = 0; i < groups[g].images.size(); ++i)
                m_types[imageType].push_back(
                    {m_numbered.iconIds[g][i], groups[g].languages, &m_numbered.images[g][i]});
            m_types[groupType(groups[g])].push_back(
                {groups[g].name, groups[g].languages, &m_numbered.directories[g]});
        }
        // Named entries first in the order given, then numbered ones ascending.
        for (auto& [type, leaves] : m_types) {
            std::stable_sort(leaves.begin(), leaves.end(), [](const Leaf& a, const Leaf& b) {
                const bool aNamed = std::holds_alternative<std::u16string>(a.name);
                const bool bNamed = std::holds_alternative<std::u16string>(b.name);
                if (aNamed != bNamed)
                    return aNamed;
                if (aNamed)
                    return false;
                return std::get<std::uint16_t>(a.name) < std::get<std::uint16_t>(b.name);
            });
        }
        build(dataRva);
    }

    const ByteVector& bytes() const { return m_bytes; }
    std::uint32_t groupTypeDirectory() const { return m_typeDirectories.at(RtGroupIcon); }
    std::uint32_t iconTypeDirectory() const { return m_typeDirectories.at(RtIcon); }
    const std::vector<std::uint32_t>& groupDataOffsets() const { return m_groupData; }

private:
    static std::uint32_t directorySize(std::size_t entries) {
        return static_cast<std::uint32_t>(16 + 8 * entries);
    }

    void build(std::uint32_t dataRva) {
        // Pass 1: offsets.
        std::uint32_t at = directorySize(m_types.size());
        for (const auto& [type, leaves] : m_types) {
            m_typeDirectories[type] = at;
            at += directorySize(leaves.size());
        }
        std::map<ResourceName, std::vector<std::uint32_t>, TypeOrder> languageDirs;
        std::size_t entryCount = 0;
        for (const auto& [type, leaves] : m_types) {
            for (const Leaf& leaf : leaves) {
                languageDirs[type].push_back(at);
                at += directorySize(leaf.languages.size());
                entryCount += leaf.languages.size();
            }
        }
        const std::uint32_t dataEntries = at;
        at += static_cast<std::uint32_t>(16 * entryCount);
        std::map<std::pair<ResourceName, std::size_t>, std::uint32_t> nameOffsets;
        std::map<ResourceName, std::uint32_t, TypeOrder> typeNameOffsets;
        for (const auto& [type, leaves] : m_types) {
            if (const auto* name = std::get_if<std::u16string>(&type)) {
                typeNameOffsets[type] = at;
                at += static_cast<std::uint32_t>(2 + 2 * name->size());
            }
            for (std::size_t i = 0; i < leaves.size(); ++i) {
                if (const auto* name = std::get_if<std::u16string>(&leaves[i].name)) {
                    nameOffsets[{type, i}] = at;
                    at += static_cast<std::uint32_t>(2 + 2 * name->size());
                }
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
        const auto nameAt = [&](std::uint32_t offset, const std::u16string& text) {
            putU16(m_bytes, offset, static_cast<std::uint16_t>(text.size()));
            for (std::size_t c = 0; c < text.size(); ++c)
                putU16(m_bytes, offset + 2 + 2 * c, static_cast<std::uint16_t>(text[c]));
            return Subdirectory | offset;
        };
        const auto namedTypes = static_cast<std::uint16_t>(typeNameOffsets.size());
        directory(0, namedTypes, static_cast<std::uint16_t>(m_types.size() - namedTypes));
        std::size_t typeIndex = 0;
        for (const auto& [type, leaves] : m_types) {
            const std::uint32_t name =
                std::holds_alternative<std::u16string>(type)
                    ? nameAt(typeNameOffsets.at(type), std::get<std::u16string>(type))
                    : std::get<std::uint16_t>(type);
            entry(0, typeIndex++, name, Subdirectory | m_typeDirectories[type]);
        }

        std::uint32_t nextDataEntry = dataEntries;
        for (const auto& [type, leaves] : m_types) {
            const std::uint32_t typeDirectory = m_typeDirectories[type];
            std::uint16_t named = 0;
            for (const Leaf& leaf : leaves)
                named += std::holds_alternative<std::u16string>(leaf.name) ? 1 : 0;
            directory(typeDirectory, named, static_cast<std::uint16_t>(leaves.size() - named));
            for (std::size_t i = 0; i < leaves.size(); ++i) {
                const Leaf& leaf = leaves[i];
                std::uint32_t name = 0;
                if (const auto* text = std::get_if<std::u16string>(&leaf.name)) {
                    name = nameAt(nameOffsets.at({type, i}), *text);
                } else {
                    name = std::get<std::uint16_t>(leaf.name);
                }
                const std::uint32_t languageDir = languageDirs[type][i];
                entry(typeDirectory, i, name, Subdirectory | languageDir);
                const std::vector<std::uint16_t>& languages = leaf.languages;
                directory(languageDir, 0, static_cast<std::uint16_t>(languages.size()));
                for (std::size_t l = 0; l < languages.size(); ++l) {
                    entry(languageDir, l, languages[l], nextDataEntry);
                    const std::uint32_t blob = static_cast<std::uint32_t>(m_bytes.size());
                    if (isType(type, RtGroupIcon) && l == 0)
                        m_groupData.push_back(blob);
                    m_bytes.insert(m_bytes.end(), leaf.data->begin(), leaf.data->end());
                    align(m_bytes, 8);
                    putU32(m_bytes, nextDataEntry, dataRva + blob);
                    putU32(m_bytes, nextDataEntry + 4,
                           static_cast<std::uint32_t>(leaf.data->size()));
                    nextDataEntry += 16;
                }
            }
        }
    }

    NumberedGroups m_numbered;
    std::map<ResourceName, std::vector<Leaf>, TypeOrder> m_types;
    std::map<ResourceName, std::uint32_t, TypeOrder> m_typeDirectories;
    ByteVector m_bytes;
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

ByteVector cursorDirectory(const std::vector<GroupEntry>& entries) {
    ByteVector bytes;
    appendU16(bytes, 0);
    appendU16(bytes, 2);
    appendU16(bytes, static_cast<std::uint16_t>(entries.size()));
    for (const GroupEntry& entry : entries) {
        const CursorSize size = entry.cursorSize.value_or(
            CursorSize{entry.width, static_cast<std::uint16_t>(2 * entry.height)});
        appendU16(bytes, size.width);
        appendU16(bytes, size.height);
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

GroupEntry entryListingPngByItsHeader(const ByteVector& png) {
    const ByteView bytes(png);
    GroupEntry entry;
    entry.width = static_cast<std::uint8_t>(*bytes.u32(4));      // biWidth
    entry.height = static_cast<std::uint8_t>(*bytes.u32(8) / 2); // biHeight, halved
    entry.planes = *bytes.u16(12);                               // biPlanes: "IH"
    entry.bitCount = *bytes.u16(14);                             // biBitCount: "DR"
    entry.bytesInResource = static_cast<std::uint32_t>(png.size());
    return entry;
}

GroupResource iconListingPngByItsHeader(std::uint32_t pngArgb) {
    GroupResource group;
    group.name = std::u16string(u"MAINICON");
    for (const auto& [size, rgb] : {std::pair{16, 0xFF0000u}, {32, 0x00FF00u}, {48, 0x0000FFu}})
        group.images.push_back({groupEntry(size, size, 32, 0), solidDib(size, 32, rgb)});
    const ByteVector png = encodePng(256, 256, std::vector<std::uint32_t>(256 * 256, pngArgb));
    group.images.push_back({entryListingPngByItsHeader(png), png});
    return group;
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

// An icon file's directory entry (ICONDIRENTRY) for the image at `offset`;
// a cursor file's has the hotspot in place of planes and bit count.
void appendFileEntry(ByteVector& bytes, const StoredImage& image, std::uint32_t offset,
                     bool cursor = false) {
    const Hotspot hotspot = image.entry.hotspot.value_or(Hotspot{});
    bytes.push_back(image.entry.width);
    bytes.push_back(image.entry.height);
    bytes.push_back(image.entry.colourCount);
    bytes.push_back(image.entry.reserved);
    appendU16(bytes, cursor ? static_cast<std::uint16_t>(hotspot.x) : image.entry.planes);
    appendU16(bytes, cursor ? static_cast<std::uint16_t>(hotspot.y) : image.entry.bitCount);
    appendU32(bytes, static_cast<std::uint32_t>(image.bytes.size()));
    appendU32(bytes, offset);
}

ByteVector buildIconOrCursorFile(const std::vector<StoredImage>& images, bool cursor) {
    ByteVector bytes;
    appendU16(bytes, 0);
    appendU16(bytes, cursor ? 2 : 1);
    appendU16(bytes, static_cast<std::uint16_t>(images.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (const StoredImage& image : images) {
        appendFileEntry(bytes, image, offset, cursor);
        offset += static_cast<std::uint32_t>(image.bytes.size());
    }
    for (const StoredImage& image : images)
        bytes.insert(bytes.end(), image.bytes.begin(), image.bytes.end());
    return bytes;
}

// A RIFF chunk: its id, size and data, padded to an even size.
void appendChunk(ByteVector& bytes, const char (&id)[5], const ByteVector& data) {
    bytes.insert(bytes.end(), id, id + 4);
    appendU32(bytes, static_cast<std::uint32_t>(data.size()));
    bytes.insert(bytes.end(), data.begin(), data.end());
    if (data.size() % 2)
        bytes.push_back(0);
}

ByteVector numbers(const std::vector<std::uint32_t>& values) {
    ByteVector bytes;
    for (std::uint32_t value : values)
        appendU32(bytes, value);
    return bytes;
}

} // namespace

ByteVector buildCursorFile(const std::vector<StoredImage>& images) {
    return buildIconOrCursorFile(images, true);
}

ByteVector buildAnimation(const AnimationDescription& animation) {
    const auto frames = static_cast<std::uint32_t>(animation.frames.size());
    const auto steps = static_cast<std::uint32_t>(
        animation.sequence.empty() ? animation.frames.size() : animation.sequence.size());
    ByteVector header;
    appendU32(header, 36);
    appendU32(header, animation.frameCount.value_or(frames));
    appendU32(header, animation.stepCount.value_or(steps));
    appendU32(header, animation.width);
    appendU32(header, animation.height);
    appendU32(header, 0); // bit count
    appendU32(header, 1); // planes
    appendU32(header, animation.displayRate);
    appendU32(header, animation.flags.value_or(animation.sequence.empty() ? 1 : 3));
    ByteVector form{'A', 'C', 'O', 'N'};
    if (animation.titled) {
        ByteVector info{'I', 'N', 'F', 'O'};
        appendChunk(info, "INAM", ByteVector{'B', 'u', 's', 'y', 0});
        appendChunk(form, "LIST", info);
    }
    if (!animation.headerLast)
        appendChunk(form, "anih", header);
    if (!animation.rates.empty())
        appendChunk(form, "rate", numbers(animation.rates));
    if (!animation.sequence.empty())
        appendChunk(form, "seq ", numbers(animation.sequence));
    if (animation.headerLast)
        appendChunk(form, "anih", header);
    ByteVector list{'f', 'r', 'a', 'm'};
    for (const ByteVector& frame : animation.frames)
        appendChunk(list, "icon", frame);
    appendChunk(form, "LIST", list);
    ByteVector bytes;
    appendChunk(bytes, "RIFF", form);
    if (animation.riffSize)
        putU32(bytes, 4, *animation.riffSize);
    return bytes;
}

ByteVector buildIconFile(const std::vector<StoredImage>& images) {
    return buildIconOrCursorFile(images, false);
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
    const ResourceTree tree(groups, options.sectionRva + options.rootOffsetInSection,
                            options.others);
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
    const ResourceTree tree(groups, options.sectionRva + options.rootOffsetInSection,
                            options.others);
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
    // The blocks: group icons and icons always, group cursors and cursors
    // where there are any.
    std::size_t iconGroups = 0;
    std::size_t iconCount = 0;
    std::size_t cursorGroups = 0;
    std::size_t cursorCount = 0;
    for (const GroupResource& group : groups) {
        (isCursor(group) ? cursorGroups : iconGroups) += 1;
        (isCursor(group) ? cursorCount : iconCount) += group.images.size();
    }
    const std::size_t blocks = cursorGroups ? 4 : 2;

    constexpr std::uint32_t NeAt = 0x40;
    constexpr std::uint32_t TableAt = 0x40; // relative to the NE header
    const std::uint32_t tableSize = static_cast<std::uint32_t>(
        2 + 8 * blocks + 12 * (groups.size() + iconCount + cursorCount) + 2);
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
    auto blocksOf = [&](bool cursors, std::uint16_t groupType, std::size_t groupCount,
                        std::uint16_t imageType, std::size_t imageCount) {
        typeBlock(groupType, groupCount);
        for (std::size_t g = 0; g < groups.size(); ++g) {
            if (isCursor(groups[g]) != cursors)
                continue;
            const auto* id = std::get_if<std::uint16_t>(&groups[g].name);
            nameInfo(place(numbered.directories[g]), id ? *id : static_cast<std::uint16_t>(g + 1));
        }
        typeBlock(imageType, imageCount);
        for (std::size_t g = 0; g < groups.size(); ++g) {
            if (isCursor(groups[g]) != cursors)
                continue;
            for (std::size_t i = 0; i < groups[g].images.size(); ++i)
                nameInfo(place(numbered.images[g][i]), numbered.iconIds[g][i]);
        }
    };
    blocksOf(false, 0x800E, iconGroups, 0x8003, iconCount);
    if (cursorGroups)
        blocksOf(true, 0x800C, cursorGroups, 0x8001, cursorCount);
    return bytes;
}

} // namespace orvu::test
